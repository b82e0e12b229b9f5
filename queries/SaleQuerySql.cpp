#include "queries/SaleQuerySql.h"

#include <cmath>

#include "db/CConnection.h"
#include "db/CRecordset.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "db/SqlText.h"
#include "documents/Oddnum.h"
#include "documents/SaleLineMath.h"
#include "text/Cents.h"
#include "text/NumericText.h"

namespace {

const QString kSettled = QStringLiteral("结清");
const QString kOpen = QStringLiteral("未结");
const QString kDebt = QStringLiteral("欠款");

} // namespace

QStringList SaleStates() {
    return {kSettled, kOpen, kDebt};
}

QPair<QString, QString> OddnumBounds(const QDate& start, const QDate& end) {
    return {OddnumPrefix(start) + QStringLiteral("001"), OddnumPrefix(end) + QStringLiteral("999")};
}

// An empty filter matches every document, those without a customer or an employee too (older
// files, imports and other workstations leave them NULL).
SqlStatement SaleQueryStatement(const QString& table, const SaleQueryFilter& filter) {
    const auto [low, high] = OddnumBounds(filter.start, filter.end);
    return {QStringLiteral("SELECT DISTINCT oddnum,customer,mydate,receivable,receipt,state,"
                           "employeename FROM %1 WHERE oddnum BETWEEN ? AND ? AND "
                           "COALESCE(customer,'') LIKE ? AND COALESCE(state,'') LIKE ? AND "
                           "COALESCE(employeename,'') LIKE ?")
                .arg(table),
            {low, high, LikeContains(filter.customer), LikeContains(filter.state),
             LikeContains(filter.employee)}};
}

// The filter of the list statement over the lines of the documents; a document is listed when
// one of its lines matches (they all carry the same header).
PagedQuery SaleListQuery(const QString& table, const SaleQueryFilter& filter) {
    const SqlStatement plain = SaleQueryStatement(table, filter);
    const QString where = plain.sql.mid(plain.sql.indexOf(QStringLiteral(" WHERE ")) + 7);
    const QString state = QStringLiteral("CASE WHEN MIN(state) IN ('%1','%2') THEN MIN(state) "
                                         "ELSE '%3' END")
                              .arg(kSettled, kOpen, kDebt);
    PagedQuery query;
    query.columns = QStringLiteral("oddnum,MIN(customer),MIN(mydate),MIN(receivable),"
                                   "MIN(receipt),%1,MIN(employeename)")
                        .arg(state);
    query.table = table;
    query.where = where;
    query.values = plain.values;
    query.key = QStringLiteral("oddnum");
    query.grouped = true;
    query.sums =
        QStringLiteral("'','','',%1,%2,'',''")
            .arg(CentsSum(QStringLiteral("freceivable")), CentsSum(QStringLiteral("freceipt")));
    query.sumsOver = QStringLiteral("oddnum,freceivable,freceipt");
    return query;
}

SaleQueryTotals SaleTotalsFromCents(const QString& dueCents, const QString& receivedCents) {
    const qint64 due = std::llround(dueCents.toDouble());
    const qint64 received = std::llround(receivedCents.toDouble());
    return {CentsText(due), CentsText(received), CentsText(due - received)};
}

SaleQueryTotals SumSaleQueryRows(const QVector<SaleQueryRow>& rows) {
    qint64 due = 0;
    qint64 received = 0;
    for (const SaleQueryRow& row : rows) {
        due += CentsOf(row.receivable);
        received += CentsOf(row.receipt);
    }
    return {CentsText(due), CentsText(received), CentsText(due - received)};
}

QString StateCellText(const QString& state) {
    return state == kSettled || state == kOpen ? state : kDebt;
}

QString ReceiptForState(const QString& state, const QString& due, const QString& typed) {
    if (state == kSettled)
        return due;
    if (state == kOpen)
        return QStringLiteral("0");
    if (state == kDebt)
        return typed;
    return QString();
}

QVector<SaleQueryRow> QuerySaleDocuments(const QString& table, const SaleQueryFilter& filter) {
    // A forward read with its columns found once: a year holds tens of thousands of documents.
    CSqlReader reader(SaleQueryStatement(table, filter));
    const int columns[] = {reader.Column("oddnum"),      reader.Column("customer"),
                           reader.Column("mydate"),      reader.Column("receivable"),
                           reader.Column("receipt"),     reader.Column("state"),
                           reader.Column("employeename")};
    QVector<SaleQueryRow> rows;
    while (reader.Next())
        rows.append({reader.Text(columns[0]), reader.Text(columns[1]), reader.Text(columns[2]),
                     reader.Text(columns[3]), reader.Text(columns[4]), reader.Text(columns[5]),
                     reader.Text(columns[6])});
    return rows;
}

SaleDetail ReadSaleDetail(const QString& table, const QString& oddnum) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM %1 WHERE oddnum =?").arg(table), {oddnum});
    SaleDetail detail;
    if (!rs.IsEOF()) {
        if (rs.GetFieldNames().contains(QStringLiteral("invoicedate")))
            detail.invoiceDate = rs.GetCollect("invoicedate");
        detail.customer = rs.GetCollect("customer");
        detail.mydate = rs.GetCollect("mydate");
        detail.receivable = rs.GetCollect("receivable");
        detail.receipt = rs.GetCollect("receipt");
        detail.state = rs.GetCollect("state");
    }
    for (; !rs.IsEOF(); rs.MoveNext())
        detail.lines.append({rs.GetCollect("mc"), rs.GetCollect("code"), rs.GetCollect("spec"),
                             rs.GetCollect("price"), rs.GetCollect("count"),
                             rs.GetCollect("discount"), rs.GetCollect("total"),
                             rs.GetCollect("pcs"), rs.GetCollect("remarks"),
                             rs.GetCollect("shortname")});
    rs.Close();
    return detail;
}

QStringList EmployeeNames() {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM employee"));
    QStringList names;
    for (; !rs.IsEOF(); rs.MoveNext())
        names.append(rs.GetCollect("name"));
    rs.Close();
    return names;
}

QString WriteSaleState(const QString& table, const QString& oddnum, const QString& state,
                       const QString& typed) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM %1 WHERE oddnum=?").arg(table), {oddnum});
    const QString due = rs.IsEOF() ? QString() : rs.GetCollect(QStringLiteral("receivable"));
    rs.Close();
    const QString receipt = ReceiptForState(state, due, typed);
    Db()->Execute(
        QStringLiteral("update %1 set receipt=?,freceipt=?,state=? where oddnum=?").arg(table),
        {receipt, NumberColumnText(receipt), state, oddnum});
    return receipt;
}

void WriteInvoiceDate(const QString& oddnum, const QString& date) {
    Db()->Execute(QStringLiteral("update saleout set invoicedate=? where oddnum=?"),
                  {date, oddnum});
}
