#include "documents/CostMath.h"

#include <charconv>
#include <cmath>

CostState AfterMovement(const CostState& before, bool stockIn, double qty, double amount) {
    CostState after = before;
    after.qty = before.qty + qty;
    if (!stockIn || qty <= 0)
        return after;
    if (!before.average || before.qty <= 0)
        after.average = amount / qty;
    else
        after.average = (before.qty * *before.average + amount) / (before.qty + qty);
    return after;
}

double RoundMoney(double amount) {
    return std::round(amount * 100) / 100;
}

bool PlainNumber(const QString& text, double* value) {
    // Read without QString::toDouble: the reports read a stock figure of every product.
    char ascii[64];
    const bool fits = text.size() < qsizetype(sizeof ascii);
    int digits = 0;
    int points = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool sign = c == u'-' && i == 0;
        const bool point = c == u'.' && ++points == 1;
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (!sign && !point)
            return false;
        if (fits)
            ascii[i] = char(c);
    }
    if (digits == 0)
        return false;
    const std::from_chars_result read =
        fits ? std::from_chars(ascii, ascii + text.size(), *value) : std::from_chars_result{};
    if (!fits || read.ec != std::errc())
        *value = text.toDouble();
    return true;
}
