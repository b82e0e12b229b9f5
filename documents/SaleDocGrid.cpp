#include "documents/SaleDocGrid.h"

#include "app/CRecordset.h"
#include "app/SqlText.h"
#include "documents/SaleDocKind.h"
#include "documents/SaleLineMath.h"
#include "documents/ScannerText.h"
#include "grid/CGridCellCombo.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"

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
    static const int widths[kSaleColumns] = {25, 220, 125, 80, 80, 70, 50, 60, 70, 50, 90};
    grid->SetGridBkColor(Qt::white);
    grid->SetTextBkColor(Qt::white);
    grid->SetDefCellHeight(kRowHeight);
    for (bool fixedRow : {false, true}) {
        for (bool fixedCol : {false, true}) {
            if (CGridDefaultCell* cell = grid->GetDefaultCell(fixedRow, fixedCol))
                cell->SetFormat(kCentred);
        }
    }
    grid->SetEditable(true);
    grid->SetColumnCount(kSaleColumns);
    grid->SetRowCount(1);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->SetRowHeight(0, kRowHeight);
    for (int col = 0; col < kSaleColumns; ++col) {
        grid->SetCellText(0, col, QString::fromUtf8(headers[col]));
        grid->SetCellFormat(0, col, kCentred);
        grid->SetColumnWidth(col, widths[col]);
    }
    grid->SetColumnResize(false);
    grid->SetRowResize(false);
}

int AppendSaleLine(CGridCtrl* grid) {
    const int row = grid->AppendRow();
    grid->SetRowHeight(row, kRowHeight);
    for (int col = 0; col < kSaleColumns; ++col)
        grid->SetCellFormat(row, col, col == kLineAmount ? kRight : kCentred);
    grid->SetCellText(row, 0, QString::number(row));
    return row;
}

void RenumberSaleLines(CGridCtrl* grid) {
    for (int row = 1; row < grid->GetRowCount(); ++row)
        grid->SetCellText(row, 0, QString::number(row));
}

void SetSaleLineProduct(CGridCtrl* grid, int row, const QString& shortName, const QString& spec,
                        const QString& price, const QStringList& discounts) {
    MakeDropList(grid, row, kLineDiscount, discounts, QStringLiteral("1.0"));
    MakeDropList(grid, row, kLineRemark, RemarkOptions(), QString());
    grid->SetCellText(row, kLineShortName, shortName);
    grid->SetCellText(row, kLineSpec, spec);
    grid->SetCellText(row, kLinePrice, price);
    grid->Refresh();
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

bool FillPickedProduct(CGridCtrl* grid, int row, const QString& name, const QString& code) {
    grid->SetCellText(row, kLineName, name);
    grid->SetCellText(row, kLineCode, code);
    grid->SetCellText(row, kLineCount, QString());
    grid->SetCellText(row, kLineAmount, QString());
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT shortname,spec,price,discount1,discount2,discount3 FROM property "
                           "WHERE code=?"),
            {code});
    if (rs.IsEOF()) {
        grid->Refresh();
        return false;
    }
    SetSaleLineProduct(grid, row, rs.GetCollect("shortname"), rs.GetCollect("spec"),
                       rs.GetCollect("price"),
                       DiscountOptions(rs.GetCollect("discount1"), rs.GetCollect("discount2"),
                                       rs.GetCollect("discount3")));
    rs.Close();
    return true;
}

void RecomputeSaleLine(CGridCtrl* grid, int row, int col, const SaleDocKind& kind) {
    const SaleDocLine line = ReadSaleLine(grid, row);
    if (!kind.derivesPrice) {
        const QString amount = ReturnLineAmount(line.count, line.price, line.discount, line.remark);
        if (!amount.isEmpty())
            SetSaleLineAmount(grid, row, amount);
        return;
    }
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT price FROM property WHERE code=?"), {line.code});
    const QString base = rs.IsEOF() ? QString() : rs.GetCollect("price");
    rs.Close();
    const SaleOutLine before{line.price, line.count, line.discount, line.remark, line.amount};
    const SaleOutLine after = RecomputeSaleOutLine(col, base, before);
    grid->SetCellText(row, kLinePrice, after.price);
    grid->SetCellText(row, kLineDiscount, after.discount);
    grid->SetCellText(row, kLineRemark, after.remark);
    SetSaleLineAmount(grid, row, after.amount);
}

QStringList AppendScannedLines(CGridCtrl* grid, const QList<ScannerEntry>& entries) {
    QStringList missing;
    for (const ScannerEntry& entry : entries) {
        CRecordset rs;
        rs.Open(QStringLiteral("SELECT name,shortname,spec,price,discount1,discount2,discount3 "
                               "FROM property WHERE code=?"),
                {entry.code});
        if (rs.IsEOF()) {
            missing.append(entry.code);
            continue;
        }
        const int row = AppendSaleLine(grid);
        grid->SetCellText(row, kLineCode, entry.code);
        grid->SetCellText(row, kLineCount, entry.quantity);
        grid->SetCellText(row, kLineName, rs.GetCollect("name"));
        SetSaleLineProduct(grid, row, rs.GetCollect("shortname"), rs.GetCollect("spec"),
                           rs.GetCollect("price"),
                           DiscountOptions(rs.GetCollect("discount1"), rs.GetCollect("discount2"),
                                           rs.GetCollect("discount3")));
        const QString amount = ImportLineAmount(entry.quantity, rs.GetCollect("price"));
        if (!amount.isEmpty())
            SetSaleLineAmount(grid, row, amount);
        rs.Close();
    }
    return missing;
}
