#pragma once

#include <QList>
#include <functional>

#include "export/ExportTable.h"

class CGridCtrl;
class QWidget;

// Exporting a grid as the window shows it. A window gives each grid one short kind table,
// for example
//
//   const ExportKinds kListKinds = {{"单号", ExportKind::Text}, {"应收款", ExportKind::Number}};
//   AttachGridExport(m_pList, kListKinds);             // right-click menu on the grid
//   connect(button, &QPushButton::clicked, this, [this] { ExportGrid(this, m_pList, kinds); });
//
// title names the sheet and the proposed file; empty means the title of the grid's window.

// The grid as a table: the header row's texts as headers, the texts of the data rows shown
// (hidden rows and columns and rows with no text left out), without the row-number column.
ExportTable ReadGridTable(const CGridCtrl& grid, const QString& title, const ExportKinds& kinds);

// The same for export: the rows of a grid in virtual mode are read from its row source a
// block at a time while the file is written, never all held.
ExportTable StreamGridTable(const CGridCtrl& grid, const QString& title, const ExportKinds& kinds);

// Whether a column is the grid's row-number column: a fixed column headed by nothing or
// "序号".
bool IsRowNumberColumn(const CGridCtrl& grid, int col);

// Exports what the grid shows through the save dialog; format is the one proposed.
bool ExportGrid(QWidget* parent, CGridCtrl* grid, const ExportKinds& kinds,
                ExportFormat format = ExportFormat::Xlsx, const QString& title = QString());

// Gives the grid a right-click menu with "导出到 Excel..." and "导出到 CSV...".
void AttachGridExport(CGridCtrl* grid, const ExportKinds& kinds, const QString& title = QString());

// The title of the window that holds the widget.
QString WindowTitleOf(const QWidget* widget);

// An item that a window adds to the top of a grid's right-click menu, for the row clicked.
struct GridMenuItem {
    QString text;
    std::function<void()> run; // runs after the menu has closed; null shows the item disabled
};
// The items for a click on a grid row (0 for the header row, -1 outside the rows).
using GridMenuItems = std::function<QList<GridMenuItem>(int row)>;
// Puts the window's items above the export items of the grid's right-click menu.
void AddGridMenuItems(CGridCtrl* grid, GridMenuItems items);
