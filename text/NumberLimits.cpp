#include "text/NumberLimits.h"

#include "text/NumericText.h"

namespace {

QString LimitText(double value) {
    return QString::number(value, 'f', 2);
}

// The decimals of a plain decimal text without its trailing zeros ("2.500" has 1).
int SignificantDecimals(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    if (point < 0)
        return 0;
    qsizetype end = text.size();
    while (end > point + 1 && text[end - 1] == u'0')
        --end;
    return int(end - point - 1);
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

QString TypedNumberProblem(NumberKind kind, const QString& field, const QString& text) {
    const QString problem = NumberProblem(kind, field, text);
    if (!problem.isEmpty() || text.isEmpty())
        return problem;
    if (kind != NumberKind::Price && kind != NumberKind::Discount && SignificantDecimals(text) > 2)
        return QStringLiteral("%1最多两位小数,请改正").arg(field);
    return QString();
}
