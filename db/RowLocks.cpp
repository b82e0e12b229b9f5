#include "db/RowLocks.h"

#include "db/CConnection.h"
#include "db/Db.h"

#include <functional>

namespace {

// Locks each key once, in sorted order (so two saves never wait for each other in a circle);
// nothing on the local file.
void LockSorted(QStringList keys, const std::function<void(CConnection&, const QString&)>& lock) {
    CConnection* connection = Db().get();
    if (!connection || !connection->IsServer())
        return;
    keys.sort();
    keys.removeDuplicates();
    for (const QString& key : std::as_const(keys))
        lock(*connection, key);
}

} // namespace

// The rows of many products in one statement, locked in code order as it returns them; each
// product once in a transaction (the window locks what it will move before the stock move
// asks again).
void LockProducts(QStringList codes) {
    CConnection* connection = Db().get();
    if (!connection || !connection->IsServer() || !connection->InTransaction())
        return;
    codes.sort();
    codes.removeDuplicates();
    codes.removeIf([&](const QString& code) {
        return !connection->NoteHeldLock(QStringLiteral("property:") + code);
    });
    constexpr qsizetype kBatch = 200;
    for (qsizetype first = 0; first < codes.size(); first += kBatch) {
        const QStringList part = codes.mid(first, kBatch);
        QStringList marks(part.size(), QStringLiteral("?"));
        connection->LockRows(
            QStringLiteral("SELECT code FROM property WHERE code IN (%1) ORDER BY code")
                .arg(marks.join(QLatin1Char(','))),
            QVariantList(part.cbegin(), part.cend()));
    }
}

void LockFirstSave(const QString& table, const QString& oddnum) {
    CConnection* connection = Db().get();
    if (!connection || !connection->IsServer())
        return;
    connection->LockKey(table + QLatin1Char(':') + oddnum.left(8));
}

void LockSaleReturns(QStringList saleOddnums) {
    LockSorted(std::move(saleOddnums), [](CConnection& connection, const QString& oddnum) {
        connection.LockKey(QStringLiteral("return-of:") + oddnum);
    });
}
