#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "documents/EntryLineMath.h"

class CRecordset;

// The header that every stored line row of a stock-in document repeats.
struct EntryHeader {
    QString oddnum;
    QString supplier;
    QString mydate;
    QString money;
    QString state;
};

// Reads and writes stock-in documents (table entry) and the stock they raise. Stored rows stand
// for the table lines at their positions, in the order the document's query returns them.
// Every method raises CDbException on a database error; callers run them in one transaction.
class CEntryStore {
  public:
    // The suppliers whose pinyin initials contain the text, in the order found.
    static QStringList SuppliersByInitials(const QString& initials);
    // The short name of a product; found tells whether property has a row for the code.
    static QString ShortName(const QString& code, bool* found);
    // The number of rows stored under the document number.
    static int StoredRowCount(const QString& oddnum);

    // Rewrites the stored rows with the lines at their positions, appends the rest, moves the
    // stock by the differences and sets fmoney on all the document's rows.
    static void Save(const EntryHeader& header, const QVector<EntryLine>& lines);

    // Removes the stored row of the line at position index (0 for the first line), takes its
    // stored quantity off its product's stock and puts the new amount on the remaining rows.
    // False when the line was never stored.
    static bool DeleteStoredLine(const QString& oddnum, int index, const QString& money);

  private:
    static void PutRow(CRecordset& rs, const EntryHeader& header, const EntryLine& line);
    // Adds delta to the total of the product that the select statement finds, if any.
    static void ChangeStock(const QString& select, const QString& code, int delta);
    static void SetMoney(const QString& oddnum, const QString& money);
};
