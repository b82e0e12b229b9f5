#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "documents/CDocumentStore.h"
#include "documents/DocumentForm.h"
#include "documents/DocumentLine.h"
#include "documents/ProductFacts.h"

// A document of one form as its table keeps it: the look-ups of the window, the checks before
// a save, and the texts of its header and lines in the order of the table's columns
// (DocumentTable). The writes go through Documents().
class CFormStore {
  public:
    explicit CFormStore(const DocumentForm& form);

    // Why the document cannot be saved, or the empty text. Sales forms: customer, state, at
    // least one line, a price and a quantity on every line, every number plain and within its
    // limits, an amount received when the state is 欠款. The stock-in: EntryRefusal.
    QString Refusal(const DocumentHeader& header, const QVector<DocumentLine>& lines) const;
    // The names of the party table (customer, supplier) whose pinyin initials contain the text,
    // in the order found.
    static QStringList PartiesByInitials(const QString& partyTable, const QString& initials);
    // The name of the employee with the number; found tells whether there is one.
    static QString EmployeeName(const QString& employeeId, bool* found);

    const CDocumentStore& Documents() const { return m_documents; }

    QStringList LineTexts(const DocumentLine& line) const;
    DocumentLine LineFromTexts(const QStringList& texts) const;
    QStringList HeaderTexts(const DocumentHeader& header) const;
    DocumentHeader HeaderFromTexts(const QString& oddnum, const QStringList& texts) const;

  private:
    QString SaleRefusal(const DocumentHeader& header, const QVector<DocumentLine>& lines) const;

    DocumentForm m_form;
    CDocumentStore m_documents;
};
