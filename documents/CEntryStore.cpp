#include "documents/CEntryStore.h"

#include "db/CRecordset.h"
#include "db/SqlText.h"

QStringList CEntryStore::SuppliersByInitials(const QString& initials) {
    QStringList names;
    CRecordset rs;
    // Typed initials match only themselves: their own % and _ are no wildcards.
    rs.Open(QStringLiteral("SELECT mc FROM supplier WHERE pinyin LIKE ?"),
            {LikeContains(initials)});
    for (; !rs.IsEOF(); rs.MoveNext())
        names.append(rs.GetCollect(QStringLiteral("mc")));
    rs.Close();
    return names;
}
