#include "text/Cents.h"

#include "text/DecimalValue.h"
#include "text/NumericText.h"

#include <charconv>
#include <cmath>

namespace {

constexpr double kLargest = 1e13;

} // namespace

bool TextToCents(const QString& text, qint64* cents) {
    if (text.isEmpty()) {
        *cents = 0;
        return true;
    }
    if (!IsPlainDecimal(text) || std::fabs(TextToFloat(text)) > kLargest)
        return false;
    // Two decimals rounded half up on the digits as written.
    const std::optional<DecimalValue> value = DecimalValue::Read(text);
    const std::optional<qint64> rounded = value ? value->Cents() : std::nullopt;
    if (!rounded)
        return false;
    *cents = *rounded;
    return true;
}

qint64 CentsOf(const QString& text) {
    qint64 cents = 0;
    return TextToCents(text, &cents) ? cents : 0;
}

QString CentsText(qint64 cents) {
    // Written straight into a buffer: long lists format many thousands of figures.
    const bool negative = cents < 0;
    const quint64 magnitude = negative ? 0 - quint64(cents) : quint64(cents);
    char text[32]; // the sign, at most 18 digits, the point and two decimals
    char* end = text;
    if (negative)
        *end++ = '-';
    end = std::to_chars(end, text + 24, magnitude / 100).ptr;
    *end++ = '.';
    *end++ = char('0' + magnitude % 100 / 10);
    *end++ = char('0' + magnitude % 10);
    return QString::fromLatin1(text, end - text);
}

qint64 SumCents(const QStringList& texts) {
    qint64 sum = 0;
    for (const QString& text : texts)
        sum += CentsOf(text);
    return sum;
}
