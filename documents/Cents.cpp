#include "documents/Cents.h"

#include "documents/DecimalValue.h"
#include "documents/NumericText.h"

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
    const bool negative = cents < 0;
    const quint64 magnitude = negative ? quint64(-cents) : quint64(cents);
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

qint64 SumCents(const QStringList& texts) {
    qint64 sum = 0;
    for (const QString& text : texts)
        sum += CentsOf(text);
    return sum;
}
