#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class CGridCtrl;

// Each product's minimum stock, kept in table minstock (one row per product code; no row or
// an empty minimum means none), and the products at or under it.

// Why a typed minimum cannot be stored, naming the field; empty when it can (the empty text
// removes the minimum).
QString MinimumStockProblem(const QString& text);
// The stored minimum of a product; empty for none. Raises CDbException.
QString ReadMinimumStock(const QString& code);
// Stores (or, with the empty text, removes) the minimum of a product. Run it inside the save's
// transaction. Raises CDbException.
void WriteMinimumStock(const QString& code, const QString& minimum);

// A product with its stock and its minimum, as stored.
struct StockLevel {
    QString code;
    QString name;
    QString shortName;
    QString spec;
    QString price;
    QString total;
    QString minimum;
};

// A product at or under its minimum: missing is the minimum less the stock, in hundredths.
struct LowStockItem {
    StockLevel product;
    qint64 missing = 0;
};

// The products whose stock is at or under their minimum, in the order given (each code once).
// A product without a minimum is never listed; an empty stock counts as 0.
QVector<LowStockItem> LowStockItems(const QVector<StockLevel>& products);
// The same over the stored products, by code. Raises CDbException.
QVector<LowStockItem> ReadLowStock();

// The stored stock and minimum of those of the codes that have a minimum, each code once. One
// look at minstock when no product has a minimum. Raises CDbException.
QVector<StockLevel> ReadStockLevels(const QStringList& codes);
// The products at or under their minimum in after that were above it in before (or not in it):
// what a save took under. Products that were low already are not told again.
QVector<LowStockItem> NewlyLowStock(const QVector<StockLevel>& before,
                                    const QVector<StockLevel>& after);
// One line for the sales window: "库存低于最低库存: 螺丝刀 缺3, 电线 缺2.50"; empty for none.
QString LowStockNoticeText(const QVector<LowStockItem>& items);

// A quantity of hundredths as the lists show it: "5", "2.50", "-1".
QString QuantityText(qint64 hundredths);

// Header texts of the two columns that the low-stock list adds to the product grid.
inline const char* const kMinimumHeader = "最低库存";
inline const char* const kMissingHeader = "缺少数量";

// Puts the low-stock products into the product grid (its columns plus 最低库存 and 缺少数量);
// returns their number. Raises CDbException.
int FillLowStockGrid(CGridCtrl& grid);
