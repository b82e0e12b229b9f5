#include "parties/PartyStatement.h"

#include <QSet>
#include <algorithm>

#include "db/CSqlReader.h"
#include "db/SqlText.h"
#include "text/Cents.h"
#include "text/OddnumText.h"

namespace {

const char* const kSaleOut = "销售出库";
const char* const kSaleIn = "销售退货";
const char* const kEntry = "采购入库";

// The last document number of a day: every number of the day sorts at or below it.
QString EndOfDay(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("999");
}

void ReadSales(const QString& sql, const QString& name, const QDate& to, int sign, const char* kind,
               QVector<StatementDocument>* documents) {
    CSqlReader reader(sql, {name, EndOfDay(to)});
    const int oddnum = reader.Column(QStringLiteral("oddnum"));
    const int receivable = reader.Column(QStringLiteral("receivable"));
    const int receipt = reader.Column(QStringLiteral("receipt"));
    QSet<QString> seen; // a document's rows repeat its header
    while (reader.Next()) {
        const QString number = reader.Text(oddnum);
        if (seen.contains(number))
            continue;
        seen.insert(number);
        documents->append({number, QString::fromUtf8(kind), sign * CentsOf(reader.Text(receivable)),
                           sign * CentsOf(reader.Text(receipt))});
    }
}

} // namespace

PartyStatement ComputeStatement(QVector<StatementDocument> documents, const QDate& from,
                                const QDate& to) {
    std::stable_sort(
        documents.begin(), documents.end(),
        [](const StatementDocument& a, const StatementDocument& b) { return a.oddnum < b.oddnum; });
    PartyStatement statement;
    for (const StatementDocument& document : documents) {
        const QDate date = OddnumDate(document.oddnum);
        if (!date.isValid() || date > to)
            continue;
        if (date < from) {
            statement.opening += document.due - document.paid;
            continue;
        }
        statement.totalDue += document.due;
        statement.totalPaid += document.paid;
        const qint64 before =
            statement.lines.isEmpty() ? statement.opening : statement.lines.last().balance;
        statement.lines.append({document, date, before + document.due - document.paid});
    }
    statement.closing = statement.opening + statement.totalDue - statement.totalPaid;
    return statement;
}

QVector<StatementDocument> ReadStatementDocuments(StatementParty party, const QString& name,
                                                  const QDate& to) {
    QVector<StatementDocument> documents;
    if (party == StatementParty::Customer) {
        ReadSales(QStringLiteral("SELECT DISTINCT oddnum,receivable,receipt FROM saleout WHERE "
                                 "customer=? AND oddnum<=?"),
                  name, to, 1, kSaleOut, &documents);
        ReadSales(QStringLiteral("SELECT DISTINCT oddnum,receivable,receipt FROM salein WHERE "
                                 "customer=? AND oddnum<=?"),
                  name, to, -1, kSaleIn, &documents);
        return documents;
    }
    CSqlReader reader(QStringLiteral("SELECT DISTINCT oddnum,money,state FROM entry WHERE "
                                     "supplier=? AND oddnum<=?"),
                      {name, EndOfDay(to)});
    const int oddnum = reader.Column(QStringLiteral("oddnum"));
    const int money = reader.Column(QStringLiteral("money"));
    const int state = reader.Column(QStringLiteral("state"));
    QSet<QString> seen;
    while (reader.Next()) {
        const QString number = reader.Text(oddnum);
        if (seen.contains(number))
            continue;
        seen.insert(number);
        const qint64 amount = CentsOf(reader.Text(money));
        const bool paid = reader.Text(state) == QStringLiteral("已付");
        documents.append({number, QString::fromUtf8(kEntry), amount, paid ? amount : 0});
    }
    return documents;
}

QString StatementPartyName(StatementParty party, const QString& typed) {
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return QString();
    const bool customer = party == StatementParty::Customer;
    // Any row at all tells the name is known; a sum would not do, as "+" joins texts in the
    // statements the program writes.
    const QString known =
        customer ? SqlScalar(QStringLiteral("SELECT 1 FROM customer WHERE mc=? UNION ALL "
                                            "SELECT 1 FROM saleout WHERE customer=? UNION ALL "
                                            "SELECT 1 FROM salein WHERE customer=?"),
                             {name, name, name})
                 : SqlScalar(QStringLiteral("SELECT 1 FROM supplier WHERE mc=? UNION ALL "
                                            "SELECT 1 FROM entry WHERE supplier=?"),
                             {name, name});
    if (!known.isEmpty())
        return name;
    CSqlReader reader(customer ? QStringLiteral("SELECT DISTINCT mc FROM customer WHERE mc LIKE ?")
                               : QStringLiteral("SELECT DISTINCT mc FROM supplier WHERE mc LIKE ?"),
                      {LikeContains(name)});
    QStringList names;
    while (reader.Next() && names.size() < 2)
        names.append(reader.Text(0));
    return names.size() == 1 ? names.first() : QString();
}

QString DueHeader(StatementParty party) {
    return party == StatementParty::Customer ? QStringLiteral("应收金额")
                                             : QStringLiteral("应付金额");
}

QString PaidHeader(StatementParty party) {
    return party == StatementParty::Customer ? QStringLiteral("已收金额")
                                             : QStringLiteral("已付金额");
}

ExportTable StatementTable(StatementParty party, const PartyStatement& statement, const QDate& from,
                           const QString& title) {
    ExportTable table;
    table.title = title;
    table.columns = {
        {QStringLiteral("日期"), ExportKind::Date}, {QStringLiteral("单号"), ExportKind::Text},
        {QStringLiteral("摘要"), ExportKind::Text}, {DueHeader(party), ExportKind::Number},
        {PaidHeader(party), ExportKind::Number},    {QStringLiteral("余额"), ExportKind::Number}};
    const QString dateFormat = QStringLiteral("yyyy-MM-dd");
    table.rows.append({from.toString(dateFormat), QString(), QStringLiteral("期初余额"), QString(),
                       QString(), CentsText(statement.opening)});
    for (const StatementLine& line : statement.lines)
        table.rows.append({line.date.toString(dateFormat), line.document.oddnum, line.document.kind,
                           CentsText(line.document.due), CentsText(line.document.paid),
                           CentsText(line.balance)});
    table.rows.append({QString(), QString(), QStringLiteral("本期合计"),
                       CentsText(statement.totalDue), CentsText(statement.totalPaid),
                       CentsText(statement.closing)});
    return table;
}
