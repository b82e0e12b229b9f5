#include "documents/CEntryStore.h"

#include "app/RowLocks.h"
#include "app/CConnection.h"
#include "app/CHarborApp.h"
#include "app/CRecordset.h"
#include "app/SqlText.h"
#include "documents/SaleLineMath.h"

namespace {

const char* const kSelectDocument = "SELECT * FROM entry WHERE oddnum=?";

EntryLine StoredLine(const CRecordset& rs) {
    EntryLine line;
    line.code = rs.GetCollect(QStringLiteral("code"));
    line.count = rs.GetCollect(QStringLiteral("count"));
    return line;
}

} // namespace

QStringList CEntryStore::SuppliersByInitials(const QString& initials) {
    QStringList names;
    CRecordset rs;
    // Typed initials match only themselves: their own % and _ are no wildcards.
    rs.Open(QStringLiteral("SELECT mc FROM supplier WHERE pinyin LIKE ?"), {LikeContains(initials)});
    for (; !rs.IsEOF(); rs.MoveNext())
        names.append(rs.GetCollect(QStringLiteral("mc")));
    rs.Close();
    return names;
}

QString CEntryStore::ShortName(const QString& code, bool* found) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM property WHERE code=?"), {code});
    *found = !rs.IsEOF();
    const QString shortName = *found ? rs.GetCollect(QStringLiteral("shortname")) : QString();
    rs.Close();
    return shortName;
}

int CEntryStore::StoredRowCount(const QString& oddnum) {
    LockFirstSave(QStringLiteral("entry"), oddnum);
    CRecordset rs;
    rs.Open(QString::fromUtf8(kSelectDocument), {oddnum});
    const int count = rs.GetRecordCount();
    rs.Close();
    return count;
}

void CEntryStore::PutRow(CRecordset& rs, const EntryHeader& header, const EntryLine& line) {
    rs.PutCollect(QStringLiteral("oddnum"), header.oddnum);
    rs.PutCollect(QStringLiteral("supplier"), header.supplier);
    rs.PutCollect(QStringLiteral("mydate"), header.mydate);
    rs.PutCollect(QStringLiteral("money"), header.money);
    rs.PutCollect(QStringLiteral("state"), header.state);
    rs.PutCollect(QStringLiteral("mc"), line.name);
    rs.PutCollect(QStringLiteral("shortname"), line.shortName);
    rs.PutCollect(QStringLiteral("code"), line.code);
    rs.PutCollect(QStringLiteral("spec"), line.spec);
    rs.PutCollect(QStringLiteral("price"), line.price);
    rs.PutCollect(QStringLiteral("count"), line.count);
    rs.PutCollect(QStringLiteral("total"), line.amount);
}

void CEntryStore::Save(const EntryHeader& header, const QVector<EntryLine>& lines) {
    QVector<EntryLine> stored;
    CRecordset rs;
    rs.Open(QString::fromUtf8(kSelectDocument), {header.oddnum});
    const int storedCount = rs.GetRecordCount();
    for (const EntryLine& line : lines) {
        if (stored.size() < storedCount) {
            stored.append(StoredLine(rs));
            PutRow(rs, header, line);
            rs.Update();
            rs.MoveNext();
        } else {
            rs.AddNew();
            PutRow(rs, header, line);
            rs.Update();
        }
    }
    rs.Close();
    const QVector<EntryStockMove> moves = EntryStockMoves(stored, lines);
    QStringList codes;
    for (const EntryStockMove& move : moves)
        codes.append(move.code);
    LockProducts(codes);
    for (const EntryStockMove& move : moves)
        ChangeStock(QStringLiteral("SELECT total FROM property WHERE code=?"), move.code,
                    move.delta);
    SetMoney(header.oddnum, header.money);
}

void CEntryStore::ChangeStock(const QString& select, const QString& code, int delta) {
    LockProducts({code});
    CRecordset rs;
    rs.Open(select, {code});
    if (!rs.IsEOF()) {
        rs.PutCollect(QStringLiteral("total"),
                      EntryStockAfter(rs.GetCollect(QStringLiteral("total")), delta));
        rs.Update();
    }
    rs.Close();
}

void CEntryStore::SetMoney(const QString& oddnum, const QString& money) {
    theApp.m_pConnection->Execute(QStringLiteral("update entry set fmoney=?where oddnum=?"),
                                  {NumberColumnText(money), oddnum});
}

bool CEntryStore::DeleteStoredLine(const QString& oddnum, int index, const QString& money) {
    CRecordset rs;
    rs.Open(QString::fromUtf8(kSelectDocument), {oddnum});
    if (index < 0 || index >= rs.GetRecordCount()) {
        rs.Close();
        return false;
    }
    for (int i = 0; i < index; ++i)
        rs.MoveNext();
    const EntryLine line = StoredLine(rs);
    rs.Delete();
    rs.Close();
    ChangeStock(QStringLiteral("select * from property where code=?"), line.code,
                -WholeCount(line.count));
    theApp.m_pConnection->Execute(QStringLiteral("UPDATE entry SET money=? WHERE oddnum=?"),
                                  {money, oddnum});
    SetMoney(oddnum, money);
    return true;
}
