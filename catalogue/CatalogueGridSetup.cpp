#include "catalogue/CatalogueGridSetup.h"

#include "grid/CGridCtrl.h"
#include "grid/GridHeading.h"

namespace {
constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
} // namespace

void SetupCatalogueGrid(CGridCtrl* grid, const QStringList& headers, const QVector<int>& widths,
                        int fixedCols) {
    SetPlainCentredLook(grid, kRowHeight);
    grid->SetColumnCount(int(headers.size()));
    grid->SetRowCount(1);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(fixedCols);
    grid->SetRowHeight(0, kRowHeight);
    for (int col = 0; col < headers.size(); ++col) {
        grid->SetCellText(0, col, headers.at(col));
        CentreCell(grid, 0, col);
        grid->SetColumnWidth(col, widths.value(col, 60));
    }
    grid->SetColumnResize(false);
    grid->SetRowResize(false);
}

void CentreCell(CGridCtrl* grid, int row, int col) {
    grid->SetCellFormat(row, col, kCentred);
}

int AppendCatalogueRow(CGridCtrl* grid) {
    const int row = grid->AppendRow();
    grid->SetRowHeight(row, kRowHeight);
    for (int col = 0; col < grid->GetColumnCount(); ++col)
        CentreCell(grid, row, col);
    return row;
}

void FitCatalogueColumns(CGridCtrl* grid, const QVector<int>& widths,
                         const QList<std::pair<int, int>>& slack) {
    const int room = grid->width() - 2 * grid->frameWidth() - grid->GetScrollBarThickness();
    int excess = 0;
    for (int width : widths)
        excess += width;
    excess = qMax(0, excess - room);
    for (const auto& [col, most] : slack) {
        const int cut = qMin(excess, most);
        grid->SetColumnWidth(col, widths.value(col) - cut);
        excess -= cut;
    }
    grid->Refresh();
}
