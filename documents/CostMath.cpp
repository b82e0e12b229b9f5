#include "documents/CostMath.h"

#include <QRegularExpression>
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
    static const QRegularExpression plain(QStringLiteral("^-?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    if (!plain.match(text).hasMatch())
        return false;
    *value = text.toDouble();
    return true;
}
