#pragma once

#include <QDialog>

#include "catalogue/CCatalogueLists.h"
#include "ui/PickArea.h"

class CGridCtrl;

// 商品选择: the modal picker that a document opens when its product box is empty. The user
// walks the five catalogue levels and double-clicks a specification; the product goes to the
// document named by PickArea().m_nPickTarget.
class CSelectNameDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CSelectNameDlg(QWidget* parent = nullptr);

    // List k (1 to 5).
    CGridCtrl* List(int k) const { return m_pLists->List(k); }
    const CCatalogueTree& Path() const { return m_pLists->Path(); }

    // The close box: hands over what was last picked (nothing after a refusal) and closes.
    void reject() override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void OnSpecDoubleClick(int row, int col);

    CCatalogueLists* m_pLists = nullptr;
    QString m_strFullName; // the product last double-clicked, emptied when it was refused
    QString m_strFullCode;
    QString m_strSpec;
};
