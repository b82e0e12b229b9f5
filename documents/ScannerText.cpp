#include "documents/ScannerText.h"

namespace {

constexpr int kCodeLength = 10;

QString QuantityAfter(const QString& text, int comma) {
    int end = comma + 1;
    while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
        ++end;
    return text.mid(comma + 1, end - comma - 1).trimmed();
}

} // namespace

ScannerText ParseScannerText(const QString& text) {
    ScannerText result;
    result.employeeId = text.left(1);
    const int commas = text.count(QLatin1Char(','));
    const int hashes = text.count(QLatin1Char('#'));
    if (commas == 0 || commas != hashes)
        return result;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char(','))
            continue;
        if (i < kCodeLength + 1) // the employee number comes before the first code
            return ScannerText{false, result.employeeId, {}};
        result.entries.append({text.mid(i - kCodeLength, kCodeLength), QuantityAfter(text, i)});
    }
    result.wellFormed = true;
    return result;
}
