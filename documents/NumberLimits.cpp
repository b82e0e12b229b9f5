#include "documents/NumberLimits.h"

#include "documents/NumericText.h"

namespace {

QString LimitText(double value) {
    return QString::number(value, 'f', 2);
}

} // namespace

NumberRange RangeOf(NumberKind kind) {
    switch (kind) {
    case NumberKind::Quantity:
    case NumberKind::Stock:
        return {-kMaxQuantity, kMaxQuantity};
    case NumberKind::Price:
        return {0, kMaxPrice};
    case NumberKind::Discount:
        return {0, 1};
    case NumberKind::Amount:
        return {0, kMaxAmount};
    }
    return {0, 0};
}

QString NumberProblem(NumberKind kind, const QString& field, const QString& text) {
    if (text.isEmpty())
        return QString();
    if (!IsPlainDecimal(text))
        return QStringLiteral("%1\"%2\"不是数字,请改正").arg(field, text);
    const NumberRange range = RangeOf(kind);
    const double value = text.toDouble();
    if (value > range.high)
        return QStringLiteral("%1不能超过%2,请改正").arg(field, LimitText(range.high));
    if (value < range.low) {
        if (range.low == 0)
            return QStringLiteral("%1不能是负数,请改正").arg(field);
        return QStringLiteral("%1不能小于%2,请改正").arg(field, LimitText(range.low));
    }
    return QString();
}
