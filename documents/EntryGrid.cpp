#include "documents/EntryGrid.h"

#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/GridHeading.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

} // namespace

void SetupEntryGrid(CGridCtrl* grid) {
    static const char* const headers[kEntryColumns] = {"",         "商品名称", "商品简称", "条形码",
                                                       "包装规格", "单价",     "数量",     "金额"};
    static const int widths[kEntryColumns] = {25, 305, 180, 95, 80, 65, 65, 65};
    grid->SetGridBkColor(Qt::white);
    grid->SetTextBkColor(Qt::white);
    grid->SetDefCellHeight(kRowHeight);
    if (CGridDefaultCell* cell = grid->GetDefaultCell(true, false))
        cell->SetFormat(kCentred);
    SetFixedHeading(grid, headers, widths, kEntryColumns, kRowHeight);
}

int AppendEntryLine(CGridCtrl* grid) {
    const int row = grid->AppendRow();
    grid->SetRowHeight(row, kRowHeight);
    grid->SetCellFormat(row, 0, kCentred);
    grid->SetCellText(row, 0, QString::asprintf("%d", row));
    for (int col = 1; col < kEntryColumns; ++col) {
        grid->SetCellFormat(row, col, kLeft);
        const bool typed = col == kEntryPrice || col == kEntryCount;
        grid->SetCellReadOnly(row, col, !typed);
    }
    return row;
}

void RenumberEntryLines(CGridCtrl* grid) {
    for (int row = 1; row < grid->GetRowCount(); ++row)
        grid->SetCellText(row, 0, QString::asprintf("%d", row));
}

void SetEntryLineProduct(CGridCtrl* grid, int row, const QString& name, const QString& code,
                         const QString& spec) {
    grid->SetCellText(row, kEntryName, name);
    grid->SetCellText(row, kEntryCode, code);
    grid->SetCellText(row, kEntrySpec, spec);
    for (int col : {kEntryShortName, kEntryPrice, kEntryCount, kEntryAmount})
        grid->SetCellText(row, col, QString());
    for (int col = kEntryName; col <= kEntrySpec; ++col)
        grid->SetCellFormat(row, col, kCentred);
}

void SetEntryLineAmount(CGridCtrl* grid, int row, const QString& amount) {
    grid->SetCellText(row, kEntryAmount, amount);
    grid->SetCellFormat(row, kEntryAmount, kRight);
}

EntryLine ReadEntryLine(const CGridCtrl* grid, int row) {
    return EntryLine{grid->GetCellText(row, kEntryName),  grid->GetCellText(row, kEntryShortName),
                     grid->GetCellText(row, kEntryCode),  grid->GetCellText(row, kEntrySpec),
                     grid->GetCellText(row, kEntryPrice), grid->GetCellText(row, kEntryCount),
                     grid->GetCellText(row, kEntryAmount)};
}

QVector<EntryLine> ReadEntryLines(const CGridCtrl* grid) {
    QVector<EntryLine> lines;
    for (int row = 1; row < grid->GetRowCount(); ++row)
        lines.append(ReadEntryLine(grid, row));
    return lines;
}
