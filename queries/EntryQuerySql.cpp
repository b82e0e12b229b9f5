#include "queries/EntryQuerySql.h"

#include <cmath>

#include "db/CConnection.h"
#include "db/CRecordset.h"
#include "db/Db.h"
#include "db/SqlText.h"
#include "documents/Oddnum.h"
#include "documents/SaleLineMath.h"
#include "text/Cents.h"

QStringList EntryStates() {
    return {QStringLiteral("未付"), QStringLiteral("已付")};
}

QString FirstOddnumOf(const QDate& date) {
    return OddnumPrefix(date) + QStringLiteral("001");
}

QString LastOddnumOf(const QDate& date) {
    return OddnumPrefix(date) + QStringLiteral("999");
}

QString EntryDocumentsTotal(const QVector<EntryDocument>& documents) {
    QStringList amounts;
    for (const EntryDocument& document : documents)
        amounts.append(document.money);
    return SumAmounts(amounts);
}

namespace {

// Typed filter texts stand in the LIKE patterns with their own wildcards escaped; an empty
// filter matches a NULL supplier or state too.
const QString kEntryFilter = QStringLiteral("oddnum BETWEEN ? AND ? AND COALESCE(supplier,'') "
                                            "LIKE ? AND COALESCE(state,'') LIKE ?");

QVariantList EntryFilterValues(const QDate& start, const QDate& end, const QString& supplier,
                               const QString& state) {
    return {FirstOddnumOf(start), LastOddnumOf(end), LikeContains(supplier), LikeContains(state)};
}

} // namespace

PagedQuery EntryListQuery(const QDate& start, const QDate& end, const QString& supplier,
                          const QString& state) {
    PagedQuery query;
    query.columns = QStringLiteral("oddnum,MIN(supplier),MIN(mydate),MIN(money),MIN(state)");
    query.table = QStringLiteral("entry");
    query.where = kEntryFilter;
    query.values = EntryFilterValues(start, end, supplier, state);
    query.key = QStringLiteral("oddnum");
    query.grouped = true;
    query.sums = QStringLiteral("'','','',%1,''").arg(CentsSum(QStringLiteral("fmoney")));
    query.sumsOver = QStringLiteral("oddnum,fmoney");
    return query;
}

QString EntryTotalFromCents(const QString& cents) {
    return CentsText(std::llround(cents.toDouble()));
}

QVector<EntryDocument> FindEntryDocuments(const QDate& start, const QDate& end,
                                          const QString& supplier, const QString& state) {
    QVector<EntryDocument> documents;
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT DISTINCT oddnum,supplier,mydate,money,state FROM entry WHERE ") +
                kEntryFilter,
            EntryFilterValues(start, end, supplier, state));
    for (; !rs.IsEOF(); rs.MoveNext())
        documents.append({rs.GetCollect("oddnum"), rs.GetCollect("supplier"),
                          rs.GetCollect("mydate"), rs.GetCollect("money"), rs.GetCollect("state")});
    rs.Close();
    return documents;
}

QVector<QStringList> EntryDocumentLines(const QString& oddnum) {
    QVector<QStringList> lines;
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT mc,code,spec,price,count,total FROM entry WHERE oddnum =?"),
            {oddnum});
    for (; !rs.IsEOF(); rs.MoveNext())
        lines.append({rs.GetCollect("mc"), rs.GetCollect("code"), rs.GetCollect("spec"),
                      rs.GetCollect("price"), rs.GetCollect("count"), rs.GetCollect("total")});
    rs.Close();
    return lines;
}

int SetEntryDocumentState(const QString& oddnum, const QString& state) {
    return Db()->Execute(QStringLiteral("update entry set state=? where oddnum=?"),
                         {state, oddnum});
}

QStringList SuppliersWithInitials(const QString& initials) {
    QStringList names;
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT mc FROM supplier WHERE pinyin LIKE ?"),
            {LikeContains(initials)});
    for (; !rs.IsEOF(); rs.MoveNext())
        names.append(rs.GetCollect("mc"));
    rs.Close();
    return names;
}
