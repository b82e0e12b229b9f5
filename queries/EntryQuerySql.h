#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include "ui/CPagedSqlSource.h"

// Reading and changing stored stock-in documents (table entry) for the stock-in query.
// The database functions raise CDbException; callers run them through RunDbRead/RunDbAction.

// One stock-in document as the query lists it: the header its rows repeat.
struct EntryDocument {
    QString oddnum;
    QString supplier;
    QString mydate;
    QString money;
    QString state;
};

// The payment states a stock-in document is offered.
QStringList EntryStates();

// The number bounds of a date range: the start date's prefix with "001", the end date's with "999".
QString FirstOddnumOf(const QDate& date);
QString LastOddnumOf(const QDate& date);

// The exact sum of the documents' amounts with 2 decimals.
QString EntryDocumentsTotal(const QVector<EntryDocument>& documents);

// The documents numbered for a date from start to end whose supplier and state contain the
// typed texts (empty texts match everything), in the order the database returns them.
QVector<EntryDocument> FindEntryDocuments(const QDate& start, const QDate& end,
                                          const QString& supplier, const QString& state);

// The same list as the window reads it, a page at a time: one row per document in number
// order (oddnum, supplier, date, amount, state), the total amount in whole hundredths.
PagedQuery EntryListQuery(const QDate& start, const QDate& end, const QString& supplier,
                          const QString& state);
// The total of the list from the sum of EntryListQuery (hundredths; empty for none).
QString EntryTotalFromCents(const QString& cents);

// The lines of a document: name, code, packing, price, quantity and amount.
QVector<QStringList> EntryDocumentLines(const QString& oddnum);

// Writes the state on every row of the document with one statement; returns how many rows it
// changed.
int SetEntryDocumentState(const QString& oddnum, const QString& state);

// The suppliers whose pinyin initials contain the typed text.
QStringList SuppliersWithInitials(const QString& initials);
