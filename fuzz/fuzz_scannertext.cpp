// The scanner text parser: every entry and every problem stands on its own line of the input.
#include <QRegularExpression>

#include "FuzzCheck.h"
#include "text/NumericText.h"
#include "text/ScannerText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = FuzzText(data, size);
    const ScannerText scanned = ParseScannerText(text);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineEnd);

    FUZZ_CHECK(text.contains(scanned.employeeId));
    FUZZ_CHECK(scanned.employeeId == scanned.employeeId.trimmed());
    FUZZ_CHECK(scanned.IsWellFormed() ==
               (!scanned.employeeId.isEmpty() && !scanned.entries.isEmpty() &&
                scanned.problems.isEmpty()));
    int previous = 0;
    QList<int> taken;
    for (const ScannerEntry& entry : scanned.entries) {
        FUZZ_CHECK(entry.line > previous && entry.line <= lines.size());
        previous = entry.line;
        taken.append(entry.line);
        FUZZ_CHECK(entry.code.size() == 10);
        for (QChar c : entry.code)
            FUZZ_CHECK(c >= u'0' && c <= u'9');
        FUZZ_CHECK(IsPlainDecimal(entry.quantity) && TextToFloat(entry.quantity) > 0);
        const QString line = lines[entry.line - 1].trimmed();
        FUZZ_CHECK(line.contains(QLatin1Char('#') + entry.code + QLatin1Char(',')));
        FUZZ_CHECK(line.endsWith(entry.quantity));
    }
    previous = 0;
    for (const ScannerProblem& problem : scanned.problems) {
        FUZZ_CHECK(problem.line > previous && problem.line <= lines.size());
        previous = problem.line;
        FUZZ_CHECK(!taken.contains(problem.line));
        FUZZ_CHECK(problem.text == lines[problem.line - 1]);
        FUZZ_CHECK(!DescribeScannerProblem(problem).isEmpty());
    }
    return 0;
}
