#include "export/ExportTable.h"

#include <QRegularExpression>
#include <algorithm>

#include "text/NumericText.h"

namespace {

// Excel counts days from 1900 and ends with 9999.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 9999;
constexpr int kMaxDecimals = 10;
constexpr double kMinWidth = 6;
constexpr double kMaxWidth = 60;
constexpr int kSheetNameLength = 31;

int DecimalsOf(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    return point < 0 ? 0 : int(text.size() - point - 1);
}

bool InWorkbookRange(const QDate& date) {
    return date.isValid() && date.year() >= kFirstYear && date.year() <= kLastYear;
}

ExportCell TextCell(const QString& text) {
    ExportCell cell;
    cell.type = ExportCell::Text;
    cell.text = text;
    return cell;
}

ExportCell NumberCell(const ExportColumn& column, const QString& text) {
    if (!IsPlainDecimal(text))
        return TextCell(text);
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return TextCell(text);
    ExportCell cell;
    cell.type = ExportCell::Number;
    cell.number = value;
    cell.decimals = std::clamp(std::max(column.decimals, DecimalsOf(text)), 0, kMaxDecimals);
    return cell;
}

ExportCell DateCell(const QString& text) {
    const QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (when.isValid() && InWorkbookRange(when.date())) {
        ExportCell cell;
        cell.type = ExportCell::DateTime;
        cell.when = when;
        return cell;
    }
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (InWorkbookRange(date)) {
        ExportCell cell;
        cell.type = ExportCell::Date;
        cell.when = QDateTime(date, QTime(0, 0));
        return cell;
    }
    return TextCell(text);
}

// What a cell shows in the workbook, for the width of its column.
QString ShownText(const ExportColumn& column, const QString& text) {
    const ExportCell cell = CellFor(column, text);
    switch (cell.type) {
    case ExportCell::Number:
        return QString::number(cell.number, 'f', cell.decimals);
    case ExportCell::Date:
        return QStringLiteral("0000-00-00");
    case ExportCell::DateTime:
        return QStringLiteral("0000-00-00 00:00:00");
    default:
        return text;
    }
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

ExportColumn ColumnFor(const QString& header, const ExportKinds& kinds) {
    for (const ExportColumnKind& kind : kinds) {
        if (kind.header == header)
            return {header, kind.kind, kind.decimals};
    }
    return {header, ExportKind::Text, 0};
}

ExportCell CellFor(const ExportColumn& column, const QString& text) {
    if (text.isEmpty())
        return {};
    switch (column.kind) {
    case ExportKind::Number:
        return NumberCell(column, text);
    case ExportKind::Date:
        return DateCell(text);
    case ExportKind::Text:
        break;
    }
    return TextCell(text);
}

int DisplayWidth(const QString& text) {
    // Character by character, without a copy of the text (columns are sized over every row).
    int width = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < size && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text.at(++i).unicode());
        width += IsWide(c) ? 2 : 1;
    }
    return width;
}

double ColumnWidthFor(const ExportTable& table, int column) {
    ExportRowCursor cursor(table);
    return ColumnWidthFor(table.columns.at(column), cursor.FirstRows(), column);
}

double ColumnWidthFor(const ExportColumn& kind, const QList<QStringList>& rows, int column) {
    // The header is bold: a little wider than its characters.
    double widest = DisplayWidth(kind.header) * 1.1;
    for (const QStringList& row : rows) {
        if (column >= row.size()) // an empty cell
            continue;
        // A text column shows its texts as they are: measured without a copy.
        const QString& text = row.at(column);
        const int width = kind.kind == ExportKind::Text ? DisplayWidth(text)
                                                        : DisplayWidth(ShownText(kind, text));
        widest = std::max<double>(widest, width);
    }
    return std::clamp(widest + 2, kMinWidth, kMaxWidth);
}

QString SheetName(const QString& title) {
    static const QRegularExpression refused(QStringLiteral("[\\[\\]:*?/\\\\\\x00-\\x1f]"));
    QString name = QString(title).replace(refused, QStringLiteral("_")).trimmed();
    while (name.startsWith(u'\''))
        name.remove(0, 1);
    name = name.left(kSheetNameLength);
    while (name.endsWith(u'\''))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

QString ProposedFileName(const QString& title, const QDate& date, ExportFormat format) {
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString base = QString(title).replace(refused, QStringLiteral("_")).trimmed();
    if (base.isEmpty())
        base = QStringLiteral("导出");
    return base + u'_' + date.toString(QStringLiteral("yyyy-MM-dd")) + u'.' + FormatSuffix(format);
}

QString FormatSuffix(ExportFormat format) {
    return format == ExportFormat::Csv ? QStringLiteral("csv") : QStringLiteral("xlsx");
}

const QStringList* ExportRowCursor::Next() {
    const int index = m_nNext;
    if (index >= m_table.RowCount())
        return nullptr;
    if (!m_table.IsStreamed()) {
        ++m_nNext;
        return &m_table.rows[index];
    }
    if (index - m_nBlockFirst >= m_block.size() && !ReadBlock(index))
        return nullptr;
    if (index - m_nBlockFirst >= m_block.size())
        return nullptr; // the list ended sooner than counted
    ++m_nNext;
    return &m_block[index - m_nBlockFirst];
}

const QList<QStringList>& ExportRowCursor::FirstRows() {
    if (!m_table.IsStreamed())
        return m_table.rows;
    if (m_nBlockFirst != 0)
        ReadBlock(0);
    return m_block;
}

bool ExportRowCursor::ReadBlock(int first) {
    m_block.clear();
    m_nBlockFirst = first;
    const int count = std::min(kBlockRows, m_table.stream.count - first);
    if (count <= 0 || m_table.stream.read(first, count, m_block, m_strError))
        return true;
    if (m_strError.isEmpty())
        m_strError = QStringLiteral("记录读取失败");
    return false;
}
