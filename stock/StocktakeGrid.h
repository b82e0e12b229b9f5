#pragma once

#include <QVector>

#include "stock/StocktakeMath.h"

class CGridCtrl;

// The grid of a stock count: a header row, the line number, the product, 账面库存, the typed
// 实盘 and the computed 差异 and 差异金额. Only 实盘 is typed.
enum StocktakeColumn {
    kCountNumber = 0,
    kCountCode,
    kCountName,
    kCountSpec,
    kCountBook,
    kCountCounted,
    kCountDifference,
    kCountValue,
    kCountColumns
};

void SetupStocktakeGrid(CGridCtrl* grid);
// Gives 商品名称 the width the other columns leave in the grid (at least its own).
void FitStocktakeColumns(CGridCtrl* grid);
// One row per product, in their order; 实盘 editable unless the count is posted.
void FillStocktakeGrid(CGridCtrl* grid, const QVector<StocktakeItem>& items, bool editable);
// Shows a product's book stock, 差异 and 差异金额 (empty while not counted; "成本未知" when
// its cost is unknown) in its row; a changed book stock is marked.
void ShowStocktakeRow(CGridCtrl* grid, int row, const StocktakeItem& item,
                      bool bookChanged = false);
// The row of a product by its code, or -1.
int StocktakeRowOf(const CGridCtrl* grid, const QString& code);
