#pragma once

#include "app/SqlText.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include "documents/SaleDocKind.h"

class CRecordset;

// The header that every stored line row repeats.
struct SaleDocHeader {
    QString oddnum;
    QString customer;
    QString mydate;
    QString receivable;
    QString receipt;
    QString state;
    QString employeeName;
    QString employeeId;
};

// One line of the table as it is stored.
struct SaleDocLine {
    QString name;
    QString shortName;
    QString code;
    QString spec;
    QString price;
    QString count;
    QString discount;
    QString amount;
    QString pcs;
    QString remark;
};

// Writes a sales document (saleout or salein) and the stock it moves. Each stored row stands
// for the table line at its position; stock always moves from what a stored row says to what
// its line says, so the stock matches the stored rows whatever was edited in between.
// Every method raises CDbException on a database error; callers run them in one transaction.
class CSaleDocStore {
  public:
    explicit CSaleDocStore(const SaleDocKind& kind) : m_kind(kind) {}

    // Why the document cannot be saved, or the empty text: customer, state, at least one line,
    // a quantity on every line, and numbers where stock and amounts are computed from text.
    static QString Refusal(const SaleDocHeader& header, const QVector<SaleDocLine>& lines,
                           const QString& receiptName);
    // The customers whose pinyin initials contain the text, in the order found.
    static QStringList CustomersByInitials(const QString& initials);
    // The name of the employee with the number; found tells whether there is one.
    static QString EmployeeName(const QString& employeeId, bool* found);

    // The number of rows stored under the document number.
    int StoredRowCount(const QString& oddnum) const;

    // Rewrites the stored rows with the lines at their positions, appends the rest, moves the
    // stock by the differences and sets the number columns of all the document's rows.
    void Save(const SaleDocHeader& header, const QVector<SaleDocLine>& lines) const;

    // Removes the stored row of the line at position index (0 for the first line) and puts
    // its stored quantity back. False when the line was never stored.
    bool DeleteStoredLine(const QString& oddnum, int index, const QString& receivable,
                          const QString& receipt) const;

  private:
    SqlStatement SelectDocumentSql(const QString& oddnum) const;
    void PutRow(CRecordset& rs, const SaleDocHeader& header, const SaleDocLine& line) const;
    void ChangeStock(const QString& code, float delta) const;
    // Sets freceivable and freceipt of all the document's rows.
    void SetNumberColumns(const QString& oddnum, const QString& receivable,
                          const QString& receipt) const;

    SaleDocKind m_kind;
};
