#include "text/ScannerText.h"

#include "text/NumericText.h"

namespace {

constexpr qsizetype kCodeLength = 10;
constexpr qsizetype kLongestQuote = 40; // characters of a line quoted in a message

bool IsLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

bool IsCode(QStringView code) {
    if (code.size() != kCodeLength)
        return false;
    for (QChar c : code) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// One product line, from its "#" on: "#", code, ",", quantity.
void ParseEntryLine(QStringView line, QStringView entry, int number, ScannerText& result) {
    auto refuse = [&](ScannerProblem::Kind kind) {
        result.problems.append({kind, number, line.toString()});
    };
    entry = entry.trimmed();
    if (!entry.startsWith(u'#') || entry.count(u'#') != 1 || entry.count(u',') != 1)
        return refuse(ScannerProblem::Kind::Malformed);
    const qsizetype comma = entry.indexOf(u',');
    const QStringView code = entry.mid(1, comma - 1);
    const QStringView quantity = entry.mid(comma + 1).trimmed();
    if (!IsCode(code))
        return refuse(ScannerProblem::Kind::BadCode);
    const QString quantityText = quantity.toString();
    if (!IsPlainDecimal(quantityText))
        return refuse(ScannerProblem::Kind::BadQuantity);
    if (!(TextToFloat(quantityText) > 0.0f))
        return refuse(ScannerProblem::Kind::NotPositive);
    result.entries.append({code.toString(), quantityText, number});
}

} // namespace

bool ScannerText::IsWellFormed() const {
    return !employeeId.isEmpty() && !entries.isEmpty() && problems.isEmpty();
}

ScannerText ParseScannerText(QStringView text) {
    ScannerText result;
    const qsizetype firstHash = text.indexOf(u'#');
    if (firstHash < 0)
        return result;
    result.employeeId = text.left(firstHash).trimmed().toString();

    const qsizetype n = text.size();
    qsizetype start = 0;
    int number = 1;
    while (start < n) {
        qsizetype end = start;
        while (end < n && !IsLineEnd(text[end]))
            ++end;
        // Lines before the first "#" carry the employee number; the first product line starts
        // at that "#".
        if (end > firstHash) {
            const QStringView line = text.mid(start, end - start);
            const qsizetype from = qMax(start, firstHash) - start;
            if (!line.mid(from).trimmed().isEmpty())
                ParseEntryLine(line, line.mid(from), number, result);
        }
        // CR LF is one line end.
        if (end + 1 < n && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
        ++number;
    }
    return result;
}

QString DescribeScannerProblem(const ScannerProblem& problem) {
    QString quoted = problem.text.left(kLongestQuote);
    if (problem.text.size() > kLongestQuote)
        quoted += QStringLiteral("…");
    QString what;
    switch (problem.kind) {
    case ScannerProblem::Kind::Malformed:
        what = QStringLiteral("格式应为\"#条码,数量\"");
        break;
    case ScannerProblem::Kind::BadCode:
        what = QStringLiteral("条码应为10位数字");
        break;
    case ScannerProblem::Kind::BadQuantity:
        what = QStringLiteral("数量不是数字");
        break;
    case ScannerProblem::Kind::NotPositive:
        what = QStringLiteral("数量必须大于0");
        break;
    }
    return QStringLiteral("第%1行\"%2\":%3").arg(problem.line).arg(quoted, what);
}
