#pragma once

#include "db/SqlText.h"
#include "ui/CPagedSqlSource.h"

#include <QDate>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// Reading and changing stored sales documents (saleout) and sales returns (salein) for the
// two query windows. A document is one row per line with the header repeated.
// Functions that touch the database raise CDbException; callers run writes in one transaction.

struct SaleQueryFilter {
    QDate start;
    QDate end;
    QString customer; // typed text, matched anywhere in the name
    QString state;    // empty matches every state
    QString employee;
};

// One document of the list.
struct SaleQueryRow {
    QString oddnum;
    QString customer;
    QString mydate;
    QString receivable;
    QString receipt;
    QString state;
    QString employeeName;
};

struct SaleQueryTotals {
    QString due;
    QString received;
    QString outstanding;
};

// One line of a document.
struct SaleDetailLine {
    QString name;
    QString code;
    QString spec;
    QString price;
    QString count;
    QString discount;
    QString total;
    QString pcs;
    QString remarks;
    QString shortName;
};

// The three payment states in the order the lists offer them.
QStringList SaleStates();

// The number range of the documents drawn from start to end: "yyyyMMdd001" to "yyyyMMdd999".
QPair<QString, QString> OddnumBounds(const QDate& start, const QDate& end);
// The list statement of a table, with every typed filter escaped.
SqlStatement SaleQueryStatement(const QString& table, const SaleQueryFilter& filter);
// The exact sums of due and received with 2 decimals, and their difference.
SaleQueryTotals SumSaleQueryRows(const QVector<SaleQueryRow>& rows);
// What a state cell shows for a stored state: the word itself, or "欠款" for any other text.
QString StateCellText(const QString& state);
// The amount received after choosing a state: all of it, "0", or what was typed for "欠款".
QString ReceiptForState(const QString& state, const QString& due, const QString& typed);

// Every document of the list read at once, as the list statement gives them.
QVector<SaleQueryRow> QuerySaleDocuments(const QString& table, const SaleQueryFilter& filter);
// The list as the window reads it, a page at a time: one row per document in number order, the
// state as its cell shows it, the totals of due and received in whole hundredths.
PagedQuery SaleListQuery(const QString& table, const SaleQueryFilter& filter);
// The totals of the list from the sums of SaleListQuery (hundredths; empty for none).
SaleQueryTotals SaleTotalsFromCents(const QString& dueCents, const QString& receivedCents);
// The lines of a document, its header as stored on the first line, and its invoice date
// where the table keeps one ("" when none).
struct SaleDetail {
    QVector<SaleDetailLine> lines;
    QString invoiceDate;
    QString customer;
    QString mydate;
    QString receivable;
    QString receipt;
    QString state;
};
SaleDetail ReadSaleDetail(const QString& table, const QString& oddnum);
QStringList EmployeeNames();

// Sets the state, the amount received and its number copy of every row of the document with
// one statement; the amount received follows the state from the amount due as stored
// ("欠款" takes typed). Returns the amount received written.
QString WriteSaleState(const QString& table, const QString& oddnum, const QString& state,
                       const QString& typed);
void WriteInvoiceDate(const QString& oddnum, const QString& date);
