#include "text/DecimalValue.h"

#include "text/NumericText.h"

#include <algorithm>

namespace {

// Beyond this many digits a product of two values could leave 128 bits.
constexpr int kMaxDigits = 30;
constexpr int kMaxScale = 36;

__int128 PowerOfTen(int n) {
    __int128 result = 1;
    while (n-- > 0)
        result *= 10;
    return result;
}

int DigitCount(__int128 units) {
    int digits = 0;
    for (units = units < 0 ? -units : units; units > 0; units /= 10)
        ++digits;
    return digits;
}

bool FitsExactly(__int128 units, int scale) {
    return DigitCount(units) <= kMaxDigits && scale <= kMaxScale;
}

} // namespace

std::optional<DecimalValue> DecimalValue::Read(const QString& text) {
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const bool negative = i == 1;
    __int128 units = 0;
    int scale = 0;
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' && !point) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            if (units != 0 || c != u'0')
                ++digits;
            if (digits > kMaxDigits)
                return std::nullopt;
            units = units * 10 + (c.unicode() - u'0');
            if (point)
                ++scale;
        } else {
            break;
        }
    }
    return DecimalValue(negative ? -units : units, scale);
}

DecimalValue DecimalValue::FromCents(qint64 cents) {
    return DecimalValue(cents, 2);
}

std::optional<DecimalValue> DecimalValue::WithScale(int scale) const {
    if (scale <= m_scale)
        return *this;
    const __int128 units = m_units * PowerOfTen(scale - m_scale);
    if (!FitsExactly(units, scale))
        return std::nullopt;
    return DecimalValue(units, scale);
}

std::optional<DecimalValue> DecimalValue::Times(const DecimalValue& other) const {
    const __int128 units = m_units * other.m_units;
    const int scale = m_scale + other.m_scale;
    if (!FitsExactly(units, scale))
        return std::nullopt;
    return DecimalValue(units, scale);
}

std::optional<DecimalValue> DecimalValue::Plus(const DecimalValue& other) const {
    const int scale = std::max(m_scale, other.m_scale);
    const auto a = WithScale(scale);
    const auto b = other.WithScale(scale);
    if (!a || !b || !FitsExactly(a->m_units + b->m_units, scale))
        return std::nullopt;
    return DecimalValue(a->m_units + b->m_units, scale);
}

DecimalValue DecimalValue::Rounded(int n) const {
    if (n >= m_scale)
        return WithScale(n).value_or(*this);
    const __int128 step = PowerOfTen(m_scale - n);
    const __int128 magnitude = m_units < 0 ? -m_units : m_units;
    const __int128 rounded = (magnitude + step / 2) / step;
    return DecimalValue(m_units < 0 ? -rounded : rounded, n);
}

std::optional<qint64> DecimalValue::Cents() const {
    const DecimalValue cents = Rounded(2);
    if (cents.m_scale != 2 || DigitCount(cents.m_units) > 18)
        return std::nullopt;
    return qint64(cents.m_units);
}

QString DecimalValue::Text() const {
    const __int128 magnitude = m_units < 0 ? -m_units : m_units;
    QString digits;
    for (__int128 rest = magnitude; rest > 0; rest /= 10)
        digits.prepend(QChar(u'0' + int(rest % 10)));
    if (digits.size() <= m_scale)
        digits = QString(m_scale + 1 - digits.size(), u'0') + digits;
    if (m_scale > 0)
        digits.insert(digits.size() - m_scale, u'.');
    return (m_units < 0 ? QStringLiteral("-") : QString()) + digits;
}

QString RoundedProduct(const QStringList& factors, int n) {
    std::optional<DecimalValue> product = DecimalValue::Read(QStringLiteral("1"));
    double approximate = 1.0;
    for (const QString& factor : factors) {
        const auto value = DecimalValue::Read(factor);
        product = product && value ? product->Times(*value) : std::nullopt;
        approximate *= TextToFloat(factor);
    }
    if (!product)
        return RoundText(approximate, n);
    return product->Rounded(n).Text();
}

int WrittenDecimals(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    return point < 0 ? 0 : int(text.size() - point - 1);
}
