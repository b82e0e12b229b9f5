#include "grid/GridHeading.h"

#include <QFontMetrics>
#include <QString>

#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"

void SetFixedHeading(CGridCtrl* grid, const char* const* headers, const int* widths, int columns,
                     int rowHeight) {
    constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    grid->SetEditable(true);
    grid->SetColumnCount(columns);
    grid->SetRowCount(1);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->SetRowHeight(0, rowHeight);
    for (int col = 0; col < columns; ++col) {
        grid->SetCellText(0, col, QString::fromUtf8(headers[col]));
        grid->SetCellFormat(0, col, kCentred);
        grid->SetColumnWidth(col, widths[col]);
    }
    grid->SetColumnResize(false);
    grid->SetRowResize(false);
}

void SetPlainCentredLook(CGridCtrl* grid, int rowHeight) {
    grid->SetGridBkColor(Qt::white);
    grid->SetTextBkColor(Qt::white);
    grid->SetDefCellHeight(rowHeight);
    for (bool fixedRow : {false, true}) {
        for (bool fixedCol : {false, true}) {
            if (CGridDefaultCell* cell = grid->GetDefaultCell(fixedRow, fixedCol))
                cell->SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
}

void WidenColumnFor(CGridCtrl* grid, int col, const QString& sample) {
    const CGridDefaultCell* cell = grid->GetDefaultCell(false, false);
    const QFontMetrics metrics(cell ? cell->GetFont() : grid->font());
    const int margin = cell ? cell->GetMargin() : 3;
    const int wanted = metrics.horizontalAdvance(sample) + 2 * margin + 4;
    if (wanted > grid->GetColumnWidth(col))
        grid->SetColumnWidth(col, wanted);
}
