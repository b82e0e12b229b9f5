#include "documents/LineChecks.h"

#include "text/Cents.h"
#include "text/NumberLimits.h"
#include "text/NumericText.h"

QString QuantityProblem(const QString& field, const QString& text, bool saleOut) {
    const QString problem = TypedNumberProblem(NumberKind::Quantity, field, text);
    if (!problem.isEmpty() || text.isEmpty())
        return problem;
    const double value = TextToFloat(text);
    if (value <= 0)
        return saleOut ? QStringLiteral("%1必须大于0,退货请使用销售退货").arg(field)
                       : QStringLiteral("%1必须大于0,请改正").arg(field);
    return QString();
}

QString PriceProblem(const QString& field, const QString& text) {
    return NumberProblem(NumberKind::Price, field, text);
}

QString AmountProblem(const QString& field, const QString& text) {
    return TypedNumberProblem(NumberKind::Amount, field, text);
}

QString ProductProblem(const QString& name, const QString& price, const QString& discount1,
                       const QString& discount2, const QString& discount3, const QString& stock) {
    const QString product = QStringLiteral("商品<%1>的").arg(name);
    const struct {
        NumberKind kind;
        const char* field;
        const QString& text;
    } figures[] = {{NumberKind::Price, "单价", price},
                   {NumberKind::Discount, "折扣1", discount1},
                   {NumberKind::Discount, "折扣2", discount2},
                   {NumberKind::Discount, "折扣3", discount3},
                   {NumberKind::Stock, "库存", stock}};
    for (const auto& figure : figures) {
        const QString problem =
            NumberProblem(figure.kind, product + QString::fromUtf8(figure.field), figure.text);
        if (!problem.isEmpty())
            return problem.chopped(QStringLiteral("请改正").size()) +
                   QStringLiteral("请先在商品信息中改正");
    }
    return QString();
}
