#pragma once

#include <QDate>
#include <QString>
#include <QVector>

#include "export/ExportTable.h"

// A statement (对账单) of one customer or supplier over a date range: each document with its
// amount due and the amount paid, a running balance that starts from the balance of everything
// before the range, and the totals. For a customer the balance is what the customer owes: a
// sales-out document adds its amount due less what was received, a sales-return takes off its
// refund less what was paid back. For a supplier it is what the shop owes: a stock-in document
// adds its amount, less the same amount once it is marked 已付. Amounts are whole cents.

enum class StatementParty { Customer, Supplier };

struct StatementDocument {
    QString oddnum;
    QString kind;    // "销售出库", "销售退货", "采购入库"
    qint64 due = 0;  // signed by its effect on the balance (a return is negative)
    qint64 paid = 0; // likewise
};

struct StatementLine {
    StatementDocument document;
    QDate date; // the document's date, from its number
    qint64 balance = 0;
};

struct PartyStatement {
    qint64 opening = 0; // the balance of the documents before the range
    QVector<StatementLine> lines;
    qint64 totalDue = 0;
    qint64 totalPaid = 0;
    qint64 closing = 0;
};

// Pure: the statement over [from, to] of a party's documents, given in any order. Documents
// after the range and documents without a date in their number are left out.
PartyStatement ComputeStatement(QVector<StatementDocument> documents, const QDate& from,
                                const QDate& to);

// A party's documents up to the end of `to`, one per document number, read from saleout and
// salein (customer) or entry (supplier). Raises CDbException.
QVector<StatementDocument> ReadStatementDocuments(StatementParty party, const QString& name,
                                                  const QDate& to);

// The party a query window's filter box stands for: the typed name when a party or a document
// carries exactly that name, else the one party whose name contains it; empty when there is
// none or more than one. Raises CDbException.
QString StatementPartyName(StatementParty party, const QString& typed);

// The statement as a table: the opening line, the documents, the totals line. Its headers
// depend on the party ("应收金额"/"已收金额" or "应付金额"/"已付金额").
ExportTable StatementTable(StatementParty party, const PartyStatement& statement, const QDate& from,
                           const QString& title);
// What the statement's amount columns are called for the party.
QString DueHeader(StatementParty party);
QString PaidHeader(StatementParty party);
