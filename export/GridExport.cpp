#include "export/GridExport.h"

#include <QCursor>
#include <QMenu>

#include "export/ExportDialogs.h"
#include "grid/CGridCtrl.h"
#include "ui/CWorkDialog.h"

namespace {

bool IsBlank(const QStringList& texts) {
    for (const QString& text : texts) {
        if (!text.isEmpty())
            return false;
    }
    return true;
}

// The window's own items of a grid's menu, kept with the grid.
class GridMenuItemsHolder : public QObject {
  public:
    GridMenuItemsHolder(GridMenuItems items, QObject* parent)
        : QObject(parent), m_items(std::move(items)) {
        setObjectName(QStringLiteral("gridMenuItems"));
    }
    GridMenuItems m_items;

    static GridMenuItemsHolder* Of(CGridCtrl* grid) {
        return dynamic_cast<GridMenuItemsHolder*>(
            grid->findChild<QObject*>(QStringLiteral("gridMenuItems"), Qt::FindDirectChildrenOnly));
    }
};

// The export (or a window's item) starts after the menu has closed and returned, never from
// inside the menu's own event handling: its dialogs run event loops that could delete a menu
// still at work.
void ShowExportMenu(CGridCtrl* grid, const ExportKinds& kinds, const QString& title, int row) {
    QMenu menu(grid);
    menu.setObjectName(QStringLiteral("exportMenu"));
    QList<GridMenuItem> own;
    if (auto* holder = GridMenuItemsHolder::Of(grid))
        own = holder->m_items(row);
    QList<QAction*> ownActions;
    for (const GridMenuItem& item : own) {
        ownActions.append(menu.addAction(item.text));
        ownActions.last()->setEnabled(bool(item.run));
    }
    if (!own.isEmpty())
        menu.addSeparator();
    QAction* excel = menu.addAction(QStringLiteral("导出到 Excel..."));
    QAction* csv = menu.addAction(QStringLiteral("导出到 CSV..."));
    QAction* chosen = menu.exec(QCursor::pos());
    if (chosen == excel || chosen == csv)
        ExportGrid(grid->window(), grid, kinds,
                   chosen == csv ? ExportFormat::Csv : ExportFormat::Xlsx, title);
    const int index = ownActions.indexOf(chosen);
    if (index >= 0 && own.at(index).run)
        own.at(index).run();
}

} // namespace

bool IsRowNumberColumn(const CGridCtrl& grid, int col) {
    if (col >= grid.GetFixedColumnCount() || grid.GetFixedRowCount() == 0)
        return false;
    const QString header = grid.GetCellText(grid.GetFixedRowCount() - 1, col);
    return header.isEmpty() || header == QStringLiteral("序号");
}

namespace {

// The columns the grid shows, without the row-number column: their grid indices, and the
// table's columns for them.
QList<int> ShownColumns(const CGridCtrl& grid, const ExportKinds& kinds, ExportTable& table) {
    const int headerRow = grid.GetFixedRowCount() - 1;
    QList<int> shown;
    for (int col = 0; col < grid.GetColumnCount(); ++col) {
        if (grid.GetColumnWidth(col) > 0 && !IsRowNumberColumn(grid, col)) {
            shown.append(col);
            table.columns.append(
                ColumnFor(headerRow >= 0 ? grid.GetCellText(headerRow, col) : QString(), kinds));
        }
    }
    return shown;
}

} // namespace

ExportTable StreamGridTable(const CGridCtrl& grid, const QString& title, const ExportKinds& kinds) {
    const std::shared_ptr<CGridRowSource> source = grid.GetRowSource();
    if (!source)
        return ReadGridTable(grid, title, kinds);
    ExportTable table;
    table.title = title;
    const QList<int> shown = ShownColumns(grid, kinds, table);
    table.stream.count = source->RowCount();
    table.stream.read = [source, shown](int first, int count, QList<QStringList>& rows,
                                        QString& error) {
        QList<QStringList> read;
        if (!source->ReadRowsQuietly(first, count, read, error))
            return false;
        for (const QStringList& texts : std::as_const(read)) {
            QStringList picked;
            picked.reserve(shown.size());
            for (int col : shown)
                picked.append(texts.value(col));
            rows.append(picked);
        }
        return true;
    };
    return table;
}

ExportTable ReadGridTable(const CGridCtrl& grid, const QString& title, const ExportKinds& kinds) {
    ExportTable table;
    table.title = title;
    const QList<int> shown = ShownColumns(grid, kinds, table);
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        if (grid.GetRowHeight(row) <= 0)
            continue;
        QStringList texts;
        texts.reserve(shown.size());
        for (int col : shown)
            texts.append(grid.GetCellText(row, col));
        if (!IsBlank(texts))
            table.rows.append(texts);
    }
    return table;
}

QString WindowTitleOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const CWorkDialog*>(w) || w->isWindow())
            return w->windowTitle();
    }
    return {};
}

bool ExportGrid(QWidget* parent, CGridCtrl* grid, const ExportKinds& kinds, ExportFormat format,
                const QString& title) {
    const QString name = title.isEmpty() ? WindowTitleOf(grid) : title;
    return ExportWithDialogs(parent, StreamGridTable(*grid, name, kinds), format);
}

void AttachGridExport(CGridCtrl* grid, const ExportKinds& kinds, const QString& title) {
    QObject::connect(grid, &CGridCtrl::rightClick, grid,
                     [grid, kinds, title](int row) { ShowExportMenu(grid, kinds, title, row); });
}

void AddGridMenuItems(CGridCtrl* grid, GridMenuItems items) {
    delete GridMenuItemsHolder::Of(grid);
    new GridMenuItemsHolder(std::move(items), grid);
}
