#include "documents/CostLedger.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QVariant>

#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "db/SchemaUpgrade.h"
#include "documents/CostMath.h"
#include "documents/DocumentPlan.h"

namespace {

struct Movement {
    double qty = 0;
    double amount = 0;
};

CConnection& Shop() {
    return *Db();
}

QString RowId() {
    return Shop().Dialect().RowIdColumn();
}

// A figure to bind, NULL when there is none.
QVariant Money(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

std::optional<double> Optional(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

// The document's stored rows summed per product, quantities signed as they move the stock.
QMap<QString, Movement> DocumentMovements(const DocumentTable& table, const QString& oddnum) {
    QMap<QString, Movement> moves;
    CSqlReader rows(
        QStringLiteral("SELECT code,\"count\",total FROM %1 WHERE oddnum=?").arg(table.table),
        {oddnum});
    while (rows.Next()) {
        double qty = 0;
        double amount = 0;
        const QString code = rows.Text(0);
        if (code.isEmpty() || !PlainNumber(rows.Text(1), &qty) ||
            !PlainNumber(rows.Text(2), &amount))
            continue;
        Movement& move = moves[code];
        move.qty += table.stockSign * qty;
        move.amount += amount;
    }
    return moves;
}

// The goods a sales movement moved, as a positive quantity for a sale.
double GoodsOf(const QString& doctable, double qty) {
    return doctable == QLatin1String("saleout") ? -qty : qty;
}

struct Row {
    QVariant id;
    QString doctable;
    QString oddnum;
    double qty = 0;
    double amount = 0;
    std::optional<double> unitcost, cost, qtyafter, avgafter;
};

void WriteProductState(const QString& code, const std::optional<CostState>& state) {
    Shop().Execute(QStringLiteral("DELETE FROM cost_product WHERE code=?"), {code});
    if (state)
        Shop().Execute(
            QStringLiteral("INSERT INTO cost_product (code, qty, avgcost) VALUES (?,?,?)"),
            {code, state->qty, Money(state->average)});
}

// The state after the product's last movement placed before seq; none when there is none.
std::optional<CostState> StateBefore(const QString& code, qint64 seq) {
    CSqlReader reader(QStringLiteral("SELECT qtyafter,avgafter FROM cost_move WHERE code=? AND "
                                     "seq<? ORDER BY seq DESC,doctable DESC,oddnum DESC LIMIT 1"),
                      {code, seq});
    if (!reader.Next())
        return std::nullopt;
    return CostState{reader.Value(0).toDouble(), Optional(reader.Value(1))};
}

QVector<Row> MovementsFrom(const QString& code, qint64 seq) {
    QVector<Row> rows;
    CSqlReader reader(QStringLiteral("SELECT %1,doctable,oddnum,qty,amount,unitcost,cost,qtyafter,"
                                     "avgafter FROM cost_move WHERE code=? AND seq>=? ORDER BY "
                                     "seq,doctable,oddnum")
                          .arg(RowId()),
                      {code, seq});
    while (reader.Next())
        rows.append({reader.Value(0), reader.Text(1), reader.Text(2), reader.Value(3).toDouble(),
                     reader.Value(4).toDouble(), Optional(reader.Value(5)),
                     Optional(reader.Value(6)), Optional(reader.Value(7)),
                     Optional(reader.Value(8))});
    return rows;
}

// Walks the product's movements in order from the first one a write changed (seq); those
// before it keep what they hold. The movement of the document just written takes the average
// of its moment as its cost per unit when it has none recorded yet (fresh).
void WalkProduct(const QString& code, qint64 seq, const QString& doctable, const QString& oddnum,
                 bool fresh) {
    std::optional<CostState> last = StateBefore(code, seq);
    CostState state = last.value_or(CostState());
    for (const Row& row : MovementsFrom(code, seq)) {
        const bool stockIn = row.doctable == QLatin1String("entry");
        const CostState before = state;
        state = AfterMovement(state, stockIn, row.qty, row.amount);
        last = state;
        std::optional<double> unitcost = row.unitcost;
        if (fresh && !stockIn && row.doctable == doctable && row.oddnum == oddnum)
            unitcost = before.average;
        std::optional<double> cost;
        if (!stockIn && unitcost)
            cost = RoundMoney(GoodsOf(row.doctable, row.qty) * *unitcost);
        if (unitcost == row.unitcost && cost == row.cost && state.qty == row.qtyafter &&
            state.average == row.avgafter)
            continue;
        Shop().Execute(
            QStringLiteral("UPDATE cost_move SET unitcost=?,cost=?,qtyafter=?,avgafter=? "
                           "WHERE %1=?")
                .arg(RowId()),
            {Money(unitcost), Money(cost), state.qty, Money(state.average), row.id});
    }
    WriteProductState(code, last);
}

qint64 NextSeq() {
    CSqlReader reader(QStringLiteral("SELECT max(seq) FROM cost_move"));
    return reader.Next() ? reader.Value(0).toLongLong() + 1 : 1;
}

// A movement of the document as the ledger holds it.
struct StoredMove {
    QVariant id;
    qint64 seq = 0;
};

} // namespace

namespace {

// Brings the movements stored under a document in line with now and walks the products again.
void RecordMovements(const QString& doctable, const QString& oddnum,
                     const QMap<QString, Movement>& now, CostRemoval removal) {
    QHash<QString, StoredMove> stored;
    {
        CSqlReader reader(
            QStringLiteral("SELECT code,%1,seq FROM cost_move WHERE oddnum=? AND doctable=?")
                .arg(RowId()),
            {oddnum, doctable});
        while (reader.Next())
            stored.insert(reader.Text(0), {reader.Value(1), reader.Value(2).toLongLong()});
    }
    // Per product touched: the first movement whose change the walk must carry forward.
    QHash<QString, qint64> from;
    for (auto it = stored.constBegin(); it != stored.constEnd(); ++it) {
        from.insert(it.key(), it->seq);
        if (now.contains(it.key()))
            continue;
        const QString sql = removal == CostRemoval::KeepGoods
                                ? QStringLiteral("UPDATE cost_move SET oddnum='' WHERE %1=?")
                                : QStringLiteral("DELETE FROM cost_move WHERE %1=?");
        Shop().Execute(sql.arg(RowId()), {it->id});
    }
    qint64 seq = 0;
    QSet<QString> fresh;
    for (auto it = now.constBegin(); it != now.constEnd(); ++it) {
        if (stored.contains(it.key())) {
            Shop().Execute(
                QStringLiteral("UPDATE cost_move SET qty=?,amount=? WHERE %1=?").arg(RowId()),
                {it->qty, it->amount, stored.value(it.key()).id});
            continue;
        }
        if (seq == 0)
            seq = NextSeq();
        from.insert(it.key(), seq);
        Shop().Execute(QStringLiteral("INSERT INTO cost_move (seq,doctable,oddnum,code,qty,amount) "
                                      "VALUES (?,?,?,?,?,?)"),
                       {seq++, doctable, oddnum, it.key(), it->qty, it->amount});
        fresh.insert(it.key());
    }
    for (auto it = from.constBegin(); it != from.constEnd(); ++it)
        WalkProduct(it.key(), it.value(), doctable, oddnum, fresh.contains(it.key()));
}

} // namespace

void RecordDocumentCosts(const DocumentTable& table, const QString& oddnum, CostRemoval removal) {
    RecordMovements(table.table, oddnum, DocumentMovements(table, oddnum), removal);
}

void RecordStockCountCosts(const QString& oddnum, const QMap<QString, double>& moves) {
    QMap<QString, Movement> now;
    for (auto it = moves.constBegin(); it != moves.constEnd(); ++it) {
        if (it.value() != 0)
            now.insert(it.key(), {it.value(), 0});
    }
    RecordMovements(StockCountDoctable(), oddnum, now, CostRemoval::Forget);
}

QString StockCountDoctable() {
    return QStringLiteral("count");
}

namespace {

// The posted stock counts are no document table the upgrade reads: their corrections go after
// the documents' movements, count by count. The ledger's writes use the program's connection,
// so only a rebuild of that database replays them (a shop file being made holds none).
void ReplayStockCounts(CConnection& connection) {
    if (&connection != Db().get())
        return;
    QMap<QString, QMap<QString, double>> counts;
    CSqlReader reader(QStringLiteral("SELECT oddnum, code, difference FROM harbor_stocktake_line"));
    while (reader.Next()) {
        double difference = 0;
        if (PlainNumber(reader.Text(2), &difference))
            counts[reader.Text(0)][reader.Text(1)] += difference;
    }
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        RecordStockCountCosts(it.key(), it.value());
}

} // namespace

void RebuildCostLedger(CConnection& connection) {
    connection.Execute(QStringLiteral("DELETE FROM cost_move"));
    connection.Execute(QStringLiteral("DELETE FROM cost_product"));
    // The upgrade step that brought the cost tables fills them from the stored documents.
    for (const SchemaUpgradeStep& step : SchemaUpgradeSteps()) {
        if (!step.statements.filter(QStringLiteral("CREATE TABLE cost_move")).isEmpty()) {
            for (const QString& statement : step.statements) {
                if (!statement.startsWith(QLatin1String("CREATE")) &&
                    !statement.startsWith(QLatin1String("DROP")))
                    connection.Execute(connection.Dialect().SchemaText(statement));
            }
        }
    }
    ReplayStockCounts(connection);
}
