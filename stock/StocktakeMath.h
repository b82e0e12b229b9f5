#pragma once

#include <QString>
#include <QVector>
#include <optional>

#include "export/ExportTable.h"

// A stock count (盘点) without the database: the products counted, what each one's count
// differs from its book stock, and that difference at cost. Quantities in hundredths.

// One product of a count as the window holds it.
struct StocktakeItem {
    QString code;
    QString name;
    QString spec;
    QString book;                   // the stock figure as stored when the count started
    std::optional<double> unitcost; // the moving-average cost; none while it is unknown
    QString counted;                // 实盘 as typed; empty: the product is not counted
};

// The book stock in hundredths (an empty figure is 0); none when it is no plain number.
std::optional<qint64> BookCents(const StocktakeItem& item);

// 差异: counted less book, in hundredths; none when the product is not counted or its book
// stock is no number.
std::optional<qint64> DifferenceCents(const StocktakeItem& item);

// The value of a difference at the cost per unit, in whole cents; none when the cost is
// unknown (never a silent 0).
std::optional<qint64> DifferenceValueCents(qint64 differenceCents,
                                           const std::optional<double>& unitcost);

// The counted products of a count and what their differences come to.
struct StocktakeTotals {
    int counted = 0;       // products with a 实盘
    int differing = 0;     // of them, the ones whose count differs from the book
    qint64 valueCents = 0; // the differences at cost, where the cost is known
    int unknownValues = 0; // differing products whose cost is unknown
};
StocktakeTotals SumStocktake(const QVector<StocktakeItem>& items);

// The line under the count's grid: "已盘 3 种商品, 差异 2 种, 差异金额 -12.50 元" with the
// products whose cost is unknown named by their number.
QString StocktakeTotalsText(const StocktakeTotals& totals);

// The count sheet to print: 序号, 条形码, 商品名称, 包装规格, 账面库存 and an empty 实盘
// column to write the counted figures in.
ExportTable CountSheetTable(const QVector<StocktakeItem>& items);
