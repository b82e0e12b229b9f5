#include "text/NumericText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// 0.1 to the power k by square-and-multiply.
double TenthPower(int k) {
    double result = 1;
    double base = 0.1;
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
QString Fixed(double value, int decimals) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// The formatted text up to its n-th decimal (up to the point for n = 0).
QString KeepDecimals(const QString& formatted, int n) {
    const qsizetype point = formatted.indexOf(u'.');
    return formatted.left(n == 0 ? point : point + n + 1);
}

// The leading plain number of a text ("-", digits, at most one point), or empty when there is
// no digit in it.
QByteArray LeadingNumber(const QString& text) {
    QByteArray number;
    qsizetype i = 0;
    if (text.startsWith(u'-')) {
        number.append('-');
        i = 1;
    }
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' && !point) {
            point = true;
            number.append('.');
        } else if (IsDigit(c)) {
            digit = true;
            number.append(char(c.unicode()));
        } else {
            break;
        }
    }
    return digit ? number : QByteArray();
}

} // namespace

double TextToFloat(const QString& text) {
    QByteArray number = LeadingNumber(text);
    if (number.isEmpty())
        return 0.0;
    if (number.endsWith('.'))
        number.chop(1);
    const bool negative = number.startsWith('-');
    const char* first = number.constData() + (negative ? 1 : 0);
    const char* last = number.constData() + number.size();
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    return negative ? -value : value;
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

QString RoundText(double value, int n) {
    n = std::clamp(n, 0, 5);
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("nan")
                                 : (value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf"));
    const QString formatted = Fixed(value, n + 2);
    const qsizetype point = formatted.indexOf(u'.');
    const QChar dropped = formatted[point + n + 1];
    const QChar kept = formatted[point + n]; // the point itself when n is 0: a 5 rounds down
    const bool up = dropped > u'5' || (dropped == u'5' && kept.unicode() % 2 == 1);
    const QString truncated = KeepDecimals(formatted, n);
    if (!up)
        return truncated;
    // One step away from zero from the kept digits (from the value itself a carry in the
    // dropped digits could round twice: 0.995 to no decimals is 1, not 2).
    const double step = TenthPower(n);
    const double base = truncated.toDouble();
    const bool negative = formatted.startsWith(u'-');
    return Fixed(negative ? base - step : base + step, n);
}
