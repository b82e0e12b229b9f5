#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "documents/CDocumentStore.h"
#include "documents/ProductFacts.h"
#include "documents/SaleDocKind.h"

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

// A sales document (saleout or salein) as its table keeps it: the lookups of the window, the
// checks before a save, and the texts of its header and lines in the order of the table's
// columns (DocumentTable). The writes go through Documents().
class CSaleDocStore {
  public:
    explicit CSaleDocStore(const SaleDocKind& kind);

    // Why the document cannot be saved, or the empty text: customer, state, at least one line,
    // a price and a quantity on every line, every number plain and within its limits, an
    // amount received when the state is 欠款.
    static QString Refusal(const SaleDocHeader& header, const QVector<SaleDocLine>& lines,
                           const SaleDocKind& kind);
    // The customers whose pinyin initials contain the text, in the order found.
    static QStringList CustomersByInitials(const QString& initials);
    // The name of the employee with the number; found tells whether there is one.
    static QString EmployeeName(const QString& employeeId, bool* found);
    // The first line (0-based) whose name is not the name of its code's product, or whose code
    // has no product, among the lines marked to check; -1 when all agree. Reads property.
    static int MismatchedLine(const QVector<SaleDocLine>& lines, const QVector<bool>& check);

    const CDocumentStore& Documents() const { return m_documents; }

    QStringList LineTexts(const SaleDocLine& line) const;
    SaleDocLine LineFromTexts(const QStringList& texts) const;
    QStringList HeaderTexts(const SaleDocHeader& header) const;
    SaleDocHeader HeaderFromTexts(const QString& oddnum, const QStringList& texts) const;

  private:
    SaleDocKind m_kind;
    CDocumentStore m_documents;
};
