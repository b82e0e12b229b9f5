#pragma once

#include <QDialog>
#include <QVector>

#include "documents/DeletedDocuments.h"
#include "documents/DocumentPlan.h"

class CGridCtrl;
class QPlainTextEdit;
class QPushButton;

// 已删除单据: the documents of one table deleted as a whole, newest first, with who deleted
// them, where and when, and whether their stock was given back; the lines of the one chosen;
// 恢复 puts it back (its stock moved again when the delete gave it back), in one transaction.
class CDeletedDocsDlg : public QDialog {
    Q_OBJECT
  public:
    CDeletedDocsDlg(const DocumentTable& table, QWidget* parent = nullptr);

    CGridCtrl* List() const { return m_pList; }
    QPushButton* RestoreButton() const { return m_pRestore; }
    QPlainTextEdit* LinesBox() const { return m_pLines; }
    // The list row (1-based) chosen, as a click on it does.
    void Choose(int row);
    // 恢复 of the chosen document; true when it was put back.
    bool Restore();

  signals:
    // A document was put back: the query window lists it again.
    void restored(const QString& oddnum);

  private:
    void Reload();
    const DeletedDocument* Chosen() const;

    const DocumentTable& m_table;
    CGridCtrl* m_pList = nullptr;
    QPlainTextEdit* m_pLines = nullptr;
    QPushButton* m_pRestore = nullptr;
    QVector<DeletedDocument> m_documents;
    QStringList m_lines; // the lines of each listed document, as shown
    int m_nChosen = 0;
};
