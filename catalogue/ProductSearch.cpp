#include "catalogue/ProductSearch.h"

#include "db/CSqlReader.h"
#include "db/SqlText.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "ui/CPagedSqlSource.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentre = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

struct ColumnDef {
    const char* header;
    int width;
    quint32 format;
    const char* field; // property column shown, none for the row number
};

const ColumnDef kColumns[kProductColumnCount] = {
    {"", 50, kCentre, nullptr},
    {"商品名称", 350, kCentre, "name"},
    {"商品简称", 200, kCentre, "shortname"},
    {"包装规格", 100, kCentre, "spec"},
    {"条形码", 100, kCentre, "code"},
    {"单价", 80, kRight, "price"},
    {"库存", 80, kRight, "total"},
};

} // namespace

void SetupProductGrid(CGridCtrl& grid) {
    grid.SetEditable(false);
    grid.SetListMode(true); // a click marks the whole product row
    grid.SetSingleRowSelection(true);
    grid.SetGridBkColor(Qt::white);
    grid.SetTextBkColor(Qt::white);
    grid.SetColumnCount(kProductColumnCount);
    grid.SetRowCount(1);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetRowHeight(0, kRowHeight);
    for (int col = 0; col < kProductColumnCount; ++col) {
        grid.SetColumnWidth(col, kColumns[col].width);
        grid.SetCellText(0, col, QString::fromUtf8(kColumns[col].header));
        grid.SetCellFormat(0, col, kCentre);
    }
}

int FillProductGrid(CGridCtrl& grid, const SqlStatement& sql) {
    grid.DeleteNonFixedRows();
    CSqlReader reader(sql);
    int fields[kProductColumnCount] = {};
    for (int col = 1; col < kProductColumnCount; ++col)
        fields[col] = reader.Column(QString::fromUtf8(kColumns[col].field));
    int count = 0;
    while (reader.Next()) {
        ++count;
        const int row = grid.AppendRow(QString::number(count), kRowHeight);
        grid.SetCellFormat(row, kColNumber, kCentre);
        for (int col = 1; col < kProductColumnCount; ++col) {
            grid.SetCellText(row, col, reader.Text(fields[col]));
            grid.SetCellFormat(row, col, kColumns[col].format);
        }
    }
    grid.Refresh();
    return count;
}

PagedQuery ProductListQuery(const SqlStatement& condition) {
    QStringList fields;
    for (int col = 1; col < kProductColumnCount; ++col)
        fields << QString::fromUtf8(kColumns[col].field);
    PagedQuery query;
    query.columns = fields.join(QLatin1Char(','));
    query.table = QStringLiteral("property");
    query.where = condition.sql;
    query.values = condition.values;
    return query;
}

int ShowProductList(CGridCtrl& grid, const SqlStatement& condition, QWidget* parent,
                    const QString& what) {
    auto source = std::make_shared<CPagedSqlSource>(ProductListQuery(condition), parent, what);
    grid.SetRowSource(source, kRowHeight);
    for (int col = 0; col < kProductColumnCount; ++col)
        grid.SetColumnFormat(col, kColumns[col].format);
    return source->RowCount();
}

SqlStatement ProductSelectSql(const SqlStatement& condition) {
    return {QStringLiteral("SELECT * FROM property WHERE ") + condition.sql, condition.values};
}

SqlStatement LikeSearchSql(const QString& sql, const QString& typed) {
    return {sql, QVariantList(sql.count(QLatin1Char('?')), LikeContains(typed))};
}

QString FoldSearchText(const QString& typed) {
    QString folded = typed;
    for (QChar& c : folded) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return folded;
}
