#include "app/DecimalCents.h"

namespace {

constexpr qint64 kLimit = 1000000000000000LL; // 10^15 hundredths

} // namespace

bool ParseCents(const QString& text, qint64* cents) {
    int i = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        ++i;
    qint64 whole = 0;
    int digits = 0;
    for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128; ++i, ++digits) {
        whole = whole * 10 + (text.at(i).unicode() - '0');
        if (whole >= kLimit / 100)
            return false;
    }
    qint64 fraction = 0;
    int decimals = 0;
    bool roundUp = false;
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        for (++i; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128; ++i) {
            const int digit = text.at(i).unicode() - '0';
            if (decimals < 2)
                fraction = fraction * 10 + digit;
            else if (decimals == 2)
                roundUp = digit >= 5;
            ++decimals;
        }
    }
    if (i != text.size() || digits + decimals == 0)
        return false;
    for (int d = qMin(decimals, 2); d < 2; ++d)
        fraction *= 10;
    const qint64 value = whole * 100 + fraction + (roundUp ? 1 : 0);
    *cents = negative ? -value : value;
    return true;
}

qint64 CentsOr0(const QString& text) {
    qint64 cents = 0;
    return ParseCents(text, &cents) ? cents : 0;
}

QString CentsText(qint64 cents) {
    const qint64 magnitude = cents < 0 ? -cents : cents;
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}
