#include "documents/SaleDocGrid.h"

#include "documents/SaleDocKind.h"
#include "documents/SaleLineMath.h"
#include "grid/CGridCellCombo.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/GridHeading.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

void MakeDropList(CGridCtrl* grid, int row, int col, const QStringList& options,
                  const QString& shown) {
    grid->SetCellType<CGridCellCombo>(row, col);
    if (auto* combo = dynamic_cast<CGridCellCombo*>(grid->GetCell(row, col)))
        combo->SetStyle(CBS_DROPDOWNLIST);
    grid->SetComboOptions(row, col, options);
    grid->SetCellText(row, col, shown);
    grid->SetCellFormat(row, col, kCentred);
}

} // namespace

void SetupSaleGrid(CGridCtrl* grid) {
    static const char* const headers[kSaleColumns] = {"",         "商品名称", "商品简称", "条形码",
                                                      "包装规格", "单价",     "数量",     "折扣",
                                                      "金额",     "件数",     "备注"};
    static const int widths[kSaleColumns] = {25, 205, 125, 95, 80, 70, 50, 60, 70, 50, 90};
    grid->SetGridBkColor(Qt::white);
    grid->SetTextBkColor(Qt::white);
    grid->SetDefCellHeight(kRowHeight);
    for (bool fixedRow : {false, true}) {
        for (bool fixedCol : {false, true}) {
            if (CGridDefaultCell* cell = grid->GetDefaultCell(fixedRow, fixedCol))
                cell->SetFormat(kCentred);
        }
    }
    SetFixedHeading(grid, headers, widths, kSaleColumns, kRowHeight);
}

int AppendSaleLine(CGridCtrl* grid) {
    const int row = grid->AppendRow();
    grid->SetRowHeight(row, kRowHeight);
    for (int col = 0; col < kSaleColumns; ++col)
        grid->SetCellFormat(row, col, col == kLineAmount ? kRight : kCentred);
    // The product's own texts and the amount come from the program, never from typing.
    for (int col : {kLineName, kLineShortName, kLineSpec, kLineAmount})
        grid->SetCellReadOnly(row, col);
    grid->SetCellText(row, 0, QString::number(row));
    return row;
}

void RenumberSaleLines(CGridCtrl* grid) {
    for (int row = 1; row < grid->GetRowCount(); ++row)
        grid->SetCellText(row, 0, QString::number(row));
}

void PutSaleLineProduct(CGridCtrl* grid, int row, const QString& code,
                        const ProductFacts& product) {
    MakeDropList(grid, row, kLineDiscount,
                 DiscountOptions(product.discount1, product.discount2, product.discount3),
                 QStringLiteral("1.0"));
    MakeDropList(grid, row, kLineRemark, RemarkOptions(), QString());
    grid->SetCellText(row, kLineName, product.name);
    grid->SetCellText(row, kLineCode, code);
    grid->SetCellText(row, kLineShortName, product.shortName);
    grid->SetCellText(row, kLineSpec, product.spec);
    grid->SetCellText(row, kLinePrice, product.price);
    grid->Refresh();
}

void PutStoredSaleLine(CGridCtrl* grid, int row, const SaleDocLine& line,
                       const QStringList& discounts) {
    MakeDropList(grid, row, kLineDiscount, discounts, line.discount);
    MakeDropList(grid, row, kLineRemark, RemarkOptions(), line.remark);
    const QString texts[] = {line.name,  line.shortName, line.code,   line.spec, line.price,
                             line.count, line.discount,  line.amount, line.pcs,  line.remark};
    for (int col = kLineName; col <= kLineRemark; ++col)
        grid->SetCellText(row, col, texts[col - kLineName]);
    SetSaleLineAmount(grid, row, line.amount);
}

void LockTakenSaleLine(CGridCtrl* grid, int row) {
    for (const int col : {kLineCode, kLinePrice, kLineDiscount, kLineRemark})
        grid->SetCellReadOnly(row, col);
}

void SetSaleLineAmount(CGridCtrl* grid, int row, const QString& amount) {
    grid->SetCellText(row, kLineAmount, amount);
    grid->SetCellFormat(row, kLineAmount, kRight);
    grid->RedrawRow(row);
}

SaleDocLine ReadSaleLine(const CGridCtrl* grid, int row) {
    auto text = [grid, row](int col) { return grid->GetCellText(row, col); };
    return SaleDocLine{text(kLineName),     text(kLineShortName), text(kLineCode),
                       text(kLineSpec),     text(kLinePrice),     text(kLineCount),
                       text(kLineDiscount), text(kLineAmount),    text(kLinePcs),
                       text(kLineRemark)};
}

QStringList SaleLineAmounts(const CGridCtrl* grid) {
    QStringList amounts;
    for (int row = 1; row < grid->GetRowCount(); ++row)
        amounts.append(grid->GetCellText(row, kLineAmount));
    return amounts;
}

int SaleLineCount(const CGridCtrl* grid) {
    return grid->GetRowCount() - 1;
}
