#include "stock/StocktakeMath.h"

#include <cmath>

#include "documents/CostMath.h"
#include "text/Cents.h"
#include "text/NumericText.h"

std::optional<qint64> BookCents(const StocktakeItem& item) {
    if (!item.book.isEmpty() && !IsPlainDecimal(item.book))
        return std::nullopt;
    qint64 cents = 0;
    if (!TextToCents(item.book, &cents))
        return std::nullopt;
    return cents;
}

std::optional<qint64> DifferenceCents(const StocktakeItem& item) {
    qint64 counted = 0;
    const std::optional<qint64> book = BookCents(item);
    if (item.counted.isEmpty() || !book || !TextToCents(item.counted, &counted))
        return std::nullopt;
    return counted - *book;
}

std::optional<qint64> DifferenceValueCents(qint64 differenceCents,
                                           const std::optional<double>& unitcost) {
    if (!unitcost)
        return std::nullopt;
    return qint64(std::llround(RoundMoney(double(differenceCents) / 100 * *unitcost) * 100));
}

StocktakeTotals SumStocktake(const QVector<StocktakeItem>& items) {
    StocktakeTotals totals;
    for (const StocktakeItem& item : items) {
        const std::optional<qint64> difference = DifferenceCents(item);
        if (!difference)
            continue;
        ++totals.counted;
        if (*difference == 0)
            continue;
        ++totals.differing;
        if (const auto value = DifferenceValueCents(*difference, item.unitcost))
            totals.valueCents += *value;
        else
            ++totals.unknownValues;
    }
    return totals;
}

QString StocktakeTotalsText(const StocktakeTotals& totals) {
    QString text = QStringLiteral("已盘 %1 种商品, 差异 %2 种, 差异金额 %3 元")
                       .arg(totals.counted)
                       .arg(totals.differing)
                       .arg(CentsText(totals.valueCents));
    if (totals.unknownValues > 0)
        text += QStringLiteral(" (%1 种商品成本未知, 未计入)").arg(totals.unknownValues);
    return text;
}

ExportTable CountSheetTable(const QVector<StocktakeItem>& items) {
    ExportTable table;
    table.title = QStringLiteral("盘点表");
    for (const char* header : {"序号", "条形码", "商品名称", "包装规格", "账面库存", "实盘"})
        table.columns.append({QString::fromUtf8(header), ExportKind::Text, 2});
    table.columns[4].kind = ExportKind::Number;
    int number = 0;
    for (const StocktakeItem& item : items)
        table.rows.append({QString::number(++number), item.code, item.name, item.spec, item.book,
                           QString(6, QChar(0x3000))}); // room to write in
    return table;
}
