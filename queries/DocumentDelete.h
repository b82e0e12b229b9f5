#pragma once

#include <QString>

struct DocumentTable;
class QWidget;

// The words of "删除本单" in one query window.
struct DeleteWords {
    QString question;  // 确定要删除该销售单吗?
    QString caption;   // 删除销售单
    QString giveBack;  // what giving the stock back does to this kind of document
    QString givenBack; // said afterwards when the stock was given back
};

// "删除本单": asks whether the stock the document moved goes back (it was entered by mistake)
// or stays as it is (an old record is removed), or nothing happens; deletes the document and
// moves the stock as chosen in one transaction, and says which was done. True when the
// document was deleted.
bool DeleteDocumentAsked(QWidget* parent, const DocumentTable& table, const DeleteWords& words,
                         const QString& oddnum);
