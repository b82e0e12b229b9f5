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

void LockProducts(QStringList codes) {
    LockSorted(std::move(codes), [](CConnection& connection, const QString& code) {
        connection.LockRows(QStringLiteral("SELECT code FROM property WHERE code=?"), {code});
    });
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
