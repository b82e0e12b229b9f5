#include "app/RowLocks.h"

#include "app/CConnection.h"
#include "app/CHarborApp.h"

void LockProducts(QStringList codes) {
    CConnection* connection = theApp.m_pConnection.get();
    if (!connection || !connection->IsServer())
        return;
    codes.sort();
    codes.removeDuplicates();
    for (const QString& code : std::as_const(codes))
        connection->LockRows(QStringLiteral("SELECT code FROM property WHERE code=?"), {code});
}

void LockFirstSave(const QString& table, const QString& oddnum) {
    CConnection* connection = theApp.m_pConnection.get();
    if (!connection || !connection->IsServer())
        return;
    connection->LockKey(table + QLatin1Char(':') + oddnum.left(8));
}

void LockSaleReturns(QStringList saleOddnums) {
    CConnection* connection = theApp.m_pConnection.get();
    if (!connection || !connection->IsServer())
        return;
    saleOddnums.sort();
    saleOddnums.removeDuplicates();
    for (const QString& oddnum : std::as_const(saleOddnums))
        connection->LockKey(QStringLiteral("return-of:") + oddnum);
}
