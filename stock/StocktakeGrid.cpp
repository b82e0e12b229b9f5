#include "stock/StocktakeGrid.h"

#include <QColor>
#include <QStyle>

#include <algorithm>

#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/GridHeading.h"
#include "text/Cents.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

constexpr int kNameWidth = 330;

const QColor kChangedBook(255, 236, 160);
const QColor kLoss(190, 0, 0);
const QColor kGain(0, 110, 0);

} // namespace

void SetupStocktakeGrid(CGridCtrl* grid) {
    static const char* const headers[kCountColumns] = {
        "", "条形码", "商品名称", "包装规格", "账面库存", "实盘", "差异", "差异金额"};
    static const int widths[kCountColumns] = {40, 110, kNameWidth, 110, 90, 90, 90, 100};
    grid->SetGridBkColor(Qt::white);
    grid->SetTextBkColor(Qt::white);
    grid->SetDefCellHeight(kRowHeight);
    if (CGridDefaultCell* cell = grid->GetDefaultCell(true, false))
        cell->SetFormat(kCentred);
    SetFixedHeading(grid, headers, widths, kCountColumns, kRowHeight);
}

void FitStocktakeColumns(CGridCtrl* grid) {
    int others = 0;
    for (int col = 0; col < kCountColumns; ++col)
        others += col == kCountName ? 0 : grid->GetColumnWidth(col);
    const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    grid->SetColumnWidth(kCountName,
                         std::max(kNameWidth, grid->viewport()->width() - others - scrollBar - 2));
    grid->Refresh();
}

void FillStocktakeGrid(CGridCtrl* grid, const QVector<StocktakeItem>& items, bool editable) {
    grid->DeleteNonFixedRows();
    grid->SetRowCount(int(items.size()) + 1);
    for (int i = 0; i < items.size(); ++i) {
        const int row = i + 1;
        grid->SetRowHeight(row, kRowHeight);
        grid->SetCellFormat(row, kCountNumber, kCentred);
        grid->SetCellText(row, kCountNumber, QString::number(row));
        for (int col = kCountCode; col < kCountColumns; ++col) {
            grid->SetCellFormat(row, col, col >= kCountBook ? kRight : kLeft);
            grid->SetCellReadOnly(row, col, !editable || col != kCountCounted);
        }
        grid->SetCellText(row, kCountCode, items[i].code);
        grid->SetCellText(row, kCountName, items[i].name);
        grid->SetCellText(row, kCountSpec, items[i].spec);
        ShowStocktakeRow(grid, row, items[i]);
    }
    grid->Refresh();
}

void ShowStocktakeRow(CGridCtrl* grid, int row, const StocktakeItem& item, bool bookChanged) {
    grid->SetCellText(row, kCountBook, item.book);
    grid->SetCellBackColor(row, kCountBook, bookChanged ? kChangedBook : QColor());
    grid->SetCellText(row, kCountCounted, item.counted);
    const std::optional<qint64> difference = DifferenceCents(item);
    QString value;
    QColor colour;
    if (difference) {
        colour = *difference < 0 ? kLoss : *difference > 0 ? kGain : QColor();
        const std::optional<qint64> cents = DifferenceValueCents(*difference, item.unitcost);
        value = cents ? CentsText(*cents) : QStringLiteral("成本未知");
    }
    grid->SetCellText(row, kCountDifference, difference ? CentsText(*difference) : QString());
    grid->SetCellText(row, kCountValue, value);
    grid->SetCellTextColor(row, kCountDifference, colour);
    grid->SetCellTextColor(row, kCountValue, colour);
    grid->RedrawRow(row);
}

int StocktakeRowOf(const CGridCtrl* grid, const QString& code) {
    for (int row = grid->GetFixedRowCount(); row < grid->GetRowCount(); ++row) {
        if (grid->GetCellText(row, kCountCode) == code)
            return row;
    }
    return -1;
}
