#pragma once

#include <QString>
#include <QStringList>

// Look-ups of the stock-in document window. Its rows are written through CDocumentStore with
// DocumentTable::Entry().
class CEntryStore {
  public:
    // The suppliers whose pinyin initials contain the text, in the order found.
    static QStringList SuppliersByInitials(const QString& initials);
};
