#include "documents/CEntryStore.h"

#include "app/CConnection.h"
#include "app/CHarborApp.h"
#include "app/CRecordset.h"
#include "app/SqlText.h"
#include "documents/SaleLineMath.h"

namespace {

QString SelectDocument(const QString& oddnum) {
    return SqlFormat("SELECT * FROM entry WHERE oddnum='%s'", {oddnum});
}

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
    rs.Open(QStringLiteral("SELECT mc FROM supplier WHERE pinyin LIKE '%%1%'")
                .arg(SqlLikeEscape(initials)));
    for (; !rs.IsEOF(); rs.MoveNext())
        names.append(rs.GetCollect(QStringLiteral("mc")));
    rs.Close();
    return names;
}

QString CEntryStore::ShortName(const QString& code, bool* found) {
    CRecordset rs;
    rs.Open(SqlFormat("SELECT * FROM property WHERE code='%s'", {code}));
    *found = !rs.IsEOF();
    const QString shortName = *found ? rs.GetCollect(QStringLiteral("shortname")) : QString();
    rs.Close();
    return shortName;
}

int CEntryStore::StoredRowCount(const QString& oddnum) {
    CRecordset rs;
    rs.Open(SelectDocument(oddnum));
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
    rs.Open(SelectDocument(header.oddnum));
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
    for (const EntryStockMove& move : EntryStockMoves(stored, lines))
        ChangeStock(SqlFormat("SELECT total FROM property WHERE code='%s'", {move.code}),
                    move.delta);
    SetMoney(header.oddnum, header.money);
}

void CEntryStore::ChangeStock(const QString& select, int delta) {
    CRecordset rs;
    rs.Open(select);
    if (!rs.IsEOF()) {
        rs.PutCollect(QStringLiteral("total"),
                      EntryStockAfter(rs.GetCollect(QStringLiteral("total")), delta));
        rs.Update();
    }
    rs.Close();
}

void CEntryStore::SetMoney(const QString& oddnum, const QString& money) {
    theApp.m_pConnection->Execute(SqlFormat("update entry set fmoney='%s'where oddnum='%s'",
                                            {NumberColumnText(money), oddnum}));
}

bool CEntryStore::DeleteStoredLine(const QString& oddnum, int index, const QString& money) {
    CRecordset rs;
    rs.Open(SelectDocument(oddnum));
    if (index < 0 || index >= rs.GetRecordCount()) {
        rs.Close();
        return false;
    }
    for (int i = 0; i < index; ++i)
        rs.MoveNext();
    const EntryLine line = StoredLine(rs);
    rs.Delete();
    rs.Close();
    ChangeStock(SqlFormat("select * from property where code='%s'", {line.code}),
                -WholeCount(line.count));
    theApp.m_pConnection->Execute(
        SqlFormat("UPDATE entry SET money='%s' WHERE oddnum='%s'", {money, oddnum}));
    SetMoney(oddnum, money);
    return true;
}
