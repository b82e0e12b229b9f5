#include "catalogue/MinimumStock.h"

#include <QSet>

#include "catalogue/ProductSearch.h"
#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "text/Cents.h"
#include "text/NumberLimits.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentre = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
constexpr int kColMinimum = kProductColumnCount;
constexpr int kColMissing = kProductColumnCount + 1;

} // namespace

QString MinimumStockProblem(const QString& text) {
    if (text.isEmpty())
        return QString();
    const QString field = QString::fromUtf8(kMinimumHeader);
    const QString problem = TypedNumberProblem(NumberKind::Stock, field, text);
    if (!problem.isEmpty())
        return problem;
    if (text.toDouble() < 0)
        return QStringLiteral("%1不能是负数,请改正").arg(field);
    return QString();
}

QString ReadMinimumStock(const QString& code) {
    CSqlReader reader(QStringLiteral("SELECT minimum FROM minstock WHERE code=?"), {code});
    return reader.Next() ? reader.Text(0) : QString();
}

void WriteMinimumStock(const QString& code, const QString& minimum) {
    Db()->Execute(QStringLiteral("DELETE FROM minstock WHERE code=?"), {code});
    if (!minimum.isEmpty())
        Db()->Execute(QStringLiteral("INSERT INTO minstock (code, minimum) VALUES (?, ?)"),
                      {code, minimum});
}

QVector<LowStockItem> LowStockItems(const QVector<StockLevel>& products) {
    QVector<LowStockItem> items;
    QSet<QString> listed;
    for (const StockLevel& product : products) {
        qint64 minimum = 0;
        if (product.minimum.isEmpty() || !TextToCents(product.minimum, &minimum) ||
            listed.contains(product.code))
            continue;
        const qint64 stock = CentsOf(product.total);
        if (stock > minimum)
            continue;
        listed.insert(product.code);
        items.append({product, minimum - stock});
    }
    return items;
}

QVector<LowStockItem> ReadLowStock() {
    CSqlReader reader(QStringLiteral(
        "SELECT property.code AS code, name, shortname, spec, price, total, minimum FROM "
        "property, minstock WHERE property.code=minstock.code ORDER BY property.code"));
    const int code = reader.Column(QStringLiteral("code"));
    const int name = reader.Column(QStringLiteral("name"));
    const int shortName = reader.Column(QStringLiteral("shortname"));
    const int spec = reader.Column(QStringLiteral("spec"));
    const int price = reader.Column(QStringLiteral("price"));
    const int total = reader.Column(QStringLiteral("total"));
    const int minimum = reader.Column(QStringLiteral("minimum"));
    QVector<StockLevel> products;
    while (reader.Next())
        products.append({reader.Text(code), reader.Text(name), reader.Text(shortName),
                         reader.Text(spec), reader.Text(price), reader.Text(total),
                         reader.Text(minimum)});
    return LowStockItems(products);
}

QVector<StockLevel> ReadStockLevels(const QStringList& codes) {
    QVector<StockLevel> levels;
    if (codes.isEmpty() || SqlScalar(QStringLiteral("SELECT COUNT(*) FROM minstock")).toInt() == 0)
        return levels;
    QSet<QString> seen;
    for (const QString& code : codes) {
        if (seen.contains(code))
            continue;
        seen.insert(code);
        CSqlReader reader(
            QStringLiteral("SELECT name, shortname, spec, price, total, minimum FROM property, "
                           "minstock WHERE property.code=minstock.code AND property.code=?"),
            {code});
        if (reader.Next())
            levels.append({code, reader.Text(0), reader.Text(1), reader.Text(2), reader.Text(3),
                           reader.Text(4), reader.Text(5)});
    }
    return levels;
}

QVector<LowStockItem> NewlyLowStock(const QVector<StockLevel>& before,
                                    const QVector<StockLevel>& after) {
    QSet<QString> lowBefore;
    for (const LowStockItem& item : LowStockItems(before))
        lowBefore.insert(item.product.code);
    QVector<LowStockItem> items = LowStockItems(after);
    items.removeIf([&](const LowStockItem& item) { return lowBefore.contains(item.product.code); });
    return items;
}

QString LowStockNoticeText(const QVector<LowStockItem>& items) {
    if (items.isEmpty())
        return QString();
    QStringList parts;
    for (const LowStockItem& item : items) {
        const StockLevel& p = item.product;
        const QString name = p.shortName.isEmpty() ? p.name : p.shortName;
        parts.append(QStringLiteral("%1 缺%2").arg(name.isEmpty() ? p.code : name,
                                                   QuantityText(item.missing)));
    }
    return QStringLiteral("库存低于最低库存: %1").arg(parts.join(QStringLiteral(", ")));
}

QString QuantityText(qint64 hundredths) {
    if (hundredths % 100 == 0)
        return QString::number(hundredths / 100);
    return CentsText(hundredths);
}

int FillLowStockGrid(CGridCtrl& grid) {
    const QVector<LowStockItem> items = ReadLowStock();
    SetupProductGrid(grid);
    grid.SetColumnCount(kProductColumnCount + 2);
    // Room for the two columns more within the search's width.
    grid.SetColumnWidth(kColName, 270);
    grid.SetColumnWidth(kColShortName, 160);
    const int width = grid.GetColumnWidth(kColTotal);
    for (int col : {kColMinimum, kColMissing}) {
        grid.SetColumnWidth(col, width);
        grid.SetCellFormat(0, col, kCentre);
    }
    grid.SetCellText(0, kColMinimum, QString::fromUtf8(kMinimumHeader));
    grid.SetCellText(0, kColMissing, QString::fromUtf8(kMissingHeader));
    int count = 0;
    for (const LowStockItem& item : items) {
        const StockLevel& p = item.product;
        const int row = grid.AppendRow(QString::number(++count));
        grid.SetRowHeight(row, kRowHeight);
        grid.SetCellFormat(row, kColNumber, kCentre);
        const QString texts[] = {p.name,  p.shortName, p.spec,    p.code,
                                 p.price, p.total,     p.minimum, QuantityText(item.missing)};
        for (int col = kColName; col <= kColMissing; ++col) {
            grid.SetCellText(row, col, texts[col - kColName]);
            grid.SetCellFormat(row, col, col >= kColPrice ? kRight : kCentre);
        }
    }
    grid.Refresh();
    return count;
}
