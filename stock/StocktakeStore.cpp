#include "stock/StocktakeStore.h"

#include <QMap>
#include <QSysInfo>
#include <QVariant>

#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "db/OperatorSession.h"
#include "db/PrefixSearch.h"
#include "db/RowLocks.h"
#include "text/HarborClock.h"
#include "text/Cents.h"
#include "documents/CostLedger.h"
#include "documents/Oddnum.h"
#include "documents/StockChange.h"
#include "text/NumericText.h"

namespace {

CConnection& Shop() {
    return *Db();
}

StocktakeRefusal Refused(const QString& message) {
    return StocktakeRefusal{message, {}};
}

// A counted product as the posting finds it under its lock.
struct CountWrite {
    const StocktakeItem* item = nullptr;
    QString book;       // stored now
    qint64 counted = 0; // hundredths
    double difference = 0;
};

QVector<const StocktakeItem*> CountedItems(const QVector<StocktakeItem>& items) {
    QVector<const StocktakeItem*> counted;
    for (const StocktakeItem& item : items) {
        if (!item.counted.isEmpty())
            counted.append(&item);
    }
    return counted;
}

// Reads every counted product under its lock; refuses the whole count when one is gone, has
// no plain stock figure or has another stock than the count read.
QVector<CountWrite> ReadCountWrites(const QVector<const StocktakeItem*>& counted) {
    QStringList codes;
    for (const StocktakeItem* item : counted)
        codes.append(item->code);
    LockProducts(codes);
    QVector<CountWrite> writes;
    QStringList deleted;
    StocktakeRefusal refusal;
    for (const StocktakeItem* item : counted) {
        CSqlReader reader(QStringLiteral("SELECT total FROM property WHERE code=?"), {item->code});
        if (!reader.Next()) {
            deleted.append(QStringLiteral("商品<%1>").arg(item->name));
            continue;
        }
        const QString book = reader.Text(0);
        if (!book.isEmpty() && !IsPlainDecimal(book))
            throw Refused(
                QStringLiteral("商品<%1>的库存\"%2\"不是数字,请先在商品信息中改正,本次没有过账")
                    .arg(item->name, book));
        if (book != item->book)
            refusal.changed.append({item->code, item->name, item->book, book});
        CountWrite write{item, book, 0, 0};
        TextToCents(item->counted, &write.counted);
        write.difference = double(write.counted) / 100 - TextToFloat(book);
        writes.append(write);
    }
    if (!deleted.isEmpty())
        throw Refused(
            QStringLiteral("以下商品已从商品资料中删除,不能过账,请清空它们的实盘数后再过账:\n") +
            deleted.join(QLatin1Char('\n')));
    if (!refusal.changed.isEmpty()) {
        refusal.message = QStringLiteral("以下商品的库存在盘点开始后有变动(其他窗口或电脑的单据),"
                                         "本次没有过账。账面库存已更新为现在的库存,请核对实盘数后"
                                         "再次过账:");
        for (const BookChange& change : std::as_const(refusal.changed))
            refusal.message += QStringLiteral("\n商品<%1>: 盘点开始时 %2, 现在 %3")
                                   .arg(change.name, change.before, change.now);
        throw refusal;
    }
    return writes;
}

// The next number of the day's counts: one posting at a time per day on the server.
QString NextStocktakeNumber() {
    const QString prefix = OddnumPrefix(HarborToday());
    LockFirstSave(QStringLiteral("harbor_stocktake"), prefix);
    const TextRange range = PrefixRange(prefix);
    CSqlReader reader(
        QStringLiteral("SELECT max(oddnum) FROM harbor_stocktake WHERE oddnum >= ? AND oddnum < ?"),
        {range.low, range.high});
    const int last = reader.Next() ? reader.Text(0).mid(8).toInt() : 0;
    if (last >= 999)
        throw Refused(QStringLiteral("今天的盘点单号已用完,本次没有过账"));
    return prefix + QStringLiteral("%1").arg(last + 1, 3, 10, QLatin1Char('0'));
}

void WriteLines(const QString& oddnum, const QVector<CountWrite>& writes) {
    for (const CountWrite& write : writes) {
        QVariant unitcost;
        QVariant value;
        CSqlReader reader(QStringLiteral("SELECT unitcost, cost FROM cost_move WHERE doctable=? "
                                         "AND oddnum=? AND code=?"),
                          {StockCountDoctable(), oddnum, write.item->code});
        if (reader.Next()) {
            unitcost = reader.Value(0);
            value = reader.Value(1);
        }
        Shop().Execute(
            QStringLiteral("INSERT INTO harbor_stocktake_line (oddnum, code, name, spec, "
                           "book, counted, difference, unitcost, value) VALUES "
                           "(?,?,?,?,?,?,?,?,?)"),
            {oddnum, write.item->code, write.item->name, write.item->spec, write.book,
             CentsText(write.counted), RoundText(write.difference, 2), unitcost, value});
    }
}

} // namespace

QVector<CountScope> ReadCountScopes() {
    QVector<CountScope> scopes{{QString(), QStringLiteral("全部商品")}};
    QMap<QString, QString> names;
    for (const QString& table : {QStringLiteral("name1"), QStringLiteral("name2")}) {
        CSqlReader reader(QStringLiteral("SELECT bh, mc FROM %1 ORDER BY bh").arg(table));
        while (reader.Next())
            names.insert(reader.Text(0), reader.Text(1));
    }
    for (auto it = names.constBegin(); it != names.constEnd(); ++it) {
        const QString parent = names.value(it.key().left(2));
        const bool second = it.key().size() > 2 && !parent.isEmpty();
        scopes.append({it.key(), second ? parent + QLatin1Char('-') + it.value() : it.value()});
    }
    return scopes;
}

QVector<StocktakeItem> ReadStocktakeItems(const QString& prefix) {
    const TextRange range = PrefixRange(prefix);
    QString sql =
        QStringLiteral("SELECT p.code, p.name, p.spec, p.total, c.avgcost FROM property p "
                       "LEFT JOIN cost_product c ON c.code = p.code WHERE p.code <> ''");
    QVariantList values;
    if (!prefix.isEmpty()) {
        sql += QStringLiteral(" AND p.code >= ? AND p.code < ?");
        values = {range.low, range.high};
    }
    QVector<StocktakeItem> items;
    CSqlReader reader(sql + QStringLiteral(" ORDER BY p.code"), values);
    while (reader.Next()) {
        StocktakeItem item{reader.Text(0), reader.Text(1), reader.Text(2),
                           reader.Text(3), std::nullopt,   QString()};
        if (!reader.Value(4).isNull())
            item.unitcost = reader.Value(4).toDouble();
        items.append(item);
    }
    return items;
}

QString PostStocktake(const QVector<StocktakeItem>& items, const QString& scope,
                      const QDateTime& startedAt) {
    const QVector<const StocktakeItem*> counted = CountedItems(items);
    if (counted.isEmpty())
        throw Refused(QStringLiteral("没有输入任何商品的实盘数,没有可过账的内容"));
    const QVector<CountWrite> writes = ReadCountWrites(counted);
    const QString oddnum = NextStocktakeNumber();
    Shop().Execute(QStringLiteral("INSERT INTO harbor_stocktake (oddnum, scope, startedat, postedat, "
                                  "postedby, workstation) VALUES (?,?,?,?,?,?)"),
                   {oddnum, scope, startedAt.toString(Qt::ISODate), HarborNow().toString(Qt::ISODate),
                    OperatorSession::Instance().Operator().name, QSysInfo::machineHostName()});
    QMap<QString, double> moves;
    for (const CountWrite& write : writes) {
        if (CentsOf(write.book) == write.counted && write.difference == 0)
            continue;
        SetCountedStock(write.item->code, write.counted);
        moves.insert(write.item->code, write.difference);
    }
    RecordStockCountCosts(oddnum, moves);
    WriteLines(oddnum, writes);
    return oddnum;
}
