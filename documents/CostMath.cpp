#include "documents/CostMath.h"

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
    int digits = 0;
    int points = 0;
    for (qsizetype i = text.startsWith(u'-') ? 1 : 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c != u'.' || ++points > 1)
            return false;
    }
    if (digits == 0)
        return false;
    *value = text.toDouble();
    return true;
}
