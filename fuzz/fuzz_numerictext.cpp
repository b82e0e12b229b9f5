// TextToFloat, IsPlainDecimal and RoundText on any text, and RoundText on any float.
#include <cmath>
#include <cstring>

#include "FuzzCheck.h"
#include "text/NumericText.h"

namespace {

// "-"? digits, then "." and exactly n digits when n > 0.
bool HasDecimals(const QString& text, int n) {
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const qsizetype digitsFrom = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i == digitsFrom)
        return false;
    if (n == 0)
        return i == text.size();
    if (i >= text.size() || text[i] != u'.')
        return false;
    return text.size() - i - 1 == n;
}

// RoundText gives n decimals, and reads back as a number within one step of the last decimal
// (plus what double precision loses on the way).
void CheckRound(double value, int n) {
    const QString rounded = RoundText(value, n);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(!IsPlainDecimal(rounded));
        return;
    }
    FUZZ_CHECK(HasDecimals(rounded, n));
    if (std::fabs(value) > 1e307)
        return; // reading back may overflow double precision
    FUZZ_CHECK(IsPlainDecimal(rounded));
    const double back = TextToFloat(rounded);
    const double step = std::pow(10.0, -n);
    FUZZ_CHECK(std::fabs(back - value) <= step * 1.001 + std::fabs(value) * 1e-12);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = FuzzText(data, size);
    const double value = TextToFloat(text);
    FUZZ_CHECK(!std::isnan(value));
    if (IsPlainDecimal(text))
        FUZZ_CHECK(std::isfinite(value));
    // A leading minus only turns the sign.
    if (!text.startsWith(u'-'))
        FUZZ_CHECK(TextToFloat(QStringLiteral("-") + text) == -value);

    const int n = int(size % 6);
    CheckRound(value, n);
    if (size >= 4) {
        float raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckRound(raw, n);
    }
    if (size >= 8) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckRound(raw, n);
    }
    return 0;
}
