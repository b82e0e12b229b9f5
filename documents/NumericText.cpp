#include "documents/NumericText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// 0.1 to the power k by square-and-multiply, in the precision of T.
template <typename T> T TenthPower(int k) {
    T result = 1;
    T base = T(0.1);
    while (k > 0) {
        if (k & 1)
            result = result * base;
        base = base * base;
        k >>= 1;
    }
    return result;
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The value with a fixed number of decimals, independent of the locale.
QString Fixed(float value, int decimals) {
    char buffer[80];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, double(value),
                                      std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// The formatted text up to its n-th decimal (up to the point for n = 0).
QString KeepDecimals(const QString& formatted, int n) {
    const qsizetype point = formatted.indexOf(u'.');
    return formatted.left(n == 0 ? point : point + n + 1);
}

} // namespace

float TextToFloat(const QString& text) {
    QStringView rest(text);
    const bool negative = rest.startsWith(u'-');
    if (negative)
        rest = rest.mid(1);
    float r = 0.0f;
    bool afterPoint = false;
    bool anyDigit = false;
    int k = 0;
    for (QChar c : rest) {
        if (c == u'.' && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (!IsDigit(c))
            break;
        const float digit = float(c.unicode() - u'0');
        anyDigit = true;
        if (!afterPoint) {
            r = r * 10.0f;
            r = r + digit;
        } else {
            const float tenth = float(TenthPower<double>(++k));
            r = r + digit * tenth;
        }
    }
    if (!anyDigit)
        return 0.0f;
    return negative ? -r : r;
}

bool IsPlainDecimal(const QString& text) {
    QStringView rest(text);
    if (rest.startsWith(u'-'))
        rest = rest.mid(1);
    int digits = 0;
    int points = 0;
    for (QChar c : rest) {
        if (c == u'.')
            ++points;
        else if (IsDigit(c))
            ++digits;
        else
            return false;
    }
    return digits > 0 && points <= 1 && std::isfinite(TextToFloat(text));
}

QString RoundText(float value, int n) {
    n = std::clamp(n, 0, 5);
    const QString formatted = Fixed(value, n + 2);
    const qsizetype point = formatted.indexOf(u'.');
    if (point < 0)
        return formatted; // inf or nan
    const QChar dropped = formatted[point + n + 1];
    const QChar kept = formatted[point + n];
    const bool up = dropped > u'5' || (dropped == u'5' && kept.unicode() % 2 == 1);
    if (!up)
        return KeepDecimals(formatted, n);
    const float step = TenthPower<float>(n);
    const float moved = value >= 0 ? value + step : value - step;
    return KeepDecimals(Fixed(moved, n + 2), n);
}
