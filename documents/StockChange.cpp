#include "documents/StockChange.h"

#include "db/CConnection.h"
#include "db/CRecordset.h"
#include "db/Db.h"
#include "db/RowLocks.h"
#include "text/Cents.h"
#include "text/DecimalValue.h"
#include "text/NumberLimits.h"
#include "text/NumericText.h"

#include <QHash>
#include <algorithm>

namespace {

constexpr qint64 kMaxStockCents = qint64(kMaxQuantity * 100 + 0.5);

struct StockWrite {
    QString code;
    QString total;
};

} // namespace

QVector<StockMove> MergeStockMoves(const QVector<StockMove>& moves) {
    QVector<StockMove> merged;
    QHash<QString, qsizetype> index;
    for (const StockMove& move : moves) {
        const QString key = move.code.isEmpty() ? QLatin1Char('\n') + move.line : move.code;
        const auto it = index.constFind(key);
        if (it == index.constEnd()) {
            index.insert(key, merged.size());
            merged.append(move);
        } else {
            merged[*it].cents += move.cents;
        }
    }
    merged.removeIf([](const StockMove& move) { return move.cents == 0; });
    return merged;
}

QString MoveStock(const QVector<StockMove>& moves, QStringList* unmoved) {
    QVector<StockMove> merged = MergeStockMoves(moves);
    QStringList lost;
    merged.removeIf([&](const StockMove& move) {
        if (!move.code.isEmpty())
            return false;
        lost.append(move.line);
        return true;
    });
    // On the shop's server a second workstation's save waits here until this one ends.
    QStringList codes;
    for (const StockMove& move : merged)
        codes.append(move.code);
    LockProducts(codes);
    QVector<StockWrite> writes;
    for (const StockMove& move : merged) {
        CRecordset rs;
        rs.Open(QStringLiteral("SELECT name,total FROM property WHERE code=?"), {move.code});
        if (rs.IsEOF()) {
            lost.append(move.line); // no such product: nothing to keep
            continue;
        }
        const QString name = rs.GetCollect(QStringLiteral("name"));
        const QString total = rs.GetCollect(QStringLiteral("total"));
        rs.Close();
        if (!total.isEmpty() && !IsPlainDecimal(total))
            return QStringLiteral("商品<%1>的库存\"%2\"不是数字,请先在商品信息中改正,本次没有保存")
                .arg(name, total);
        // The stored digits stay: 98.505 less 1 is 97.505, never 97.50.
        const std::optional<DecimalValue> before = DecimalValue::Read(total);
        const std::optional<DecimalValue> after =
            before ? before->Rounded(std::max(2, before->Scale()))
                         .Plus(DecimalValue::FromCents(move.cents))
                   : std::nullopt;
        const std::optional<qint64> afterCents = after ? after->Cents() : std::nullopt;
        if (!afterCents || *afterCents > kMaxStockCents || *afterCents < -kMaxStockCents)
            return QStringLiteral("商品<%1>的库存将成为%2,超出%3的限度,本次没有保存")
                .arg(name, after ? after->Text() : total, CentsText(kMaxStockCents));
        writes.append({move.code, after->Text()});
    }
    for (const StockWrite& write : writes)
        Db()->Execute(QStringLiteral("UPDATE property SET total=? WHERE code=?"),
                      {write.total, write.code});
    if (unmoved)
        *unmoved = lost;
    return QString();
}

void SetCountedStock(const QString& code, qint64 cents) {
    Db()->Execute(QStringLiteral("UPDATE property SET total=? WHERE code=?"),
                  {CentsText(cents), code});
}

QString UnmovedStockNotice(const QStringList& unmoved) {
    if (unmoved.isEmpty())
        return QString();
    return QStringLiteral("以下商品已不在商品资料中,库存没有变动:\n") +
           unmoved.join(QLatin1Char('\n'));
}
