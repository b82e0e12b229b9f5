#pragma once

#include <QWidget>

#include "catalogue/CCatalogueTree.h"

class CGridCtrl;
class QLabel;

// The five catalogue lists side by side with ">>>" between them, as the product picker and the
// label window show them. A click on a node of lists 1 to 4 remembers it in Path(), refills the
// next list and list 5, and then reports nodeChosen. Clicks in list 5 are only reported.
class CCatalogueLists : public QWidget {
    Q_OBJECT
  public:
    explicit CCatalogueLists(QWidget* parent = nullptr);

    // List k (1 to 5).
    CGridCtrl* List(int k) const { return m_pList[k]; }
    CCatalogueTree& Path() { return m_tree; }
    const CCatalogueTree& Path() const { return m_tree; }

    // Fills list 1 with every level-1 node; false after a database error (already reported).
    bool FillFirstList();
    // Whether (row, col) is a data cell of the list.
    static bool IsDataCell(const CGridCtrl* list, int row, int col);

  signals:
    void nodeChosen(int k);
    void specClicked(int row, int col);
    void specDoubleClicked(int row, int col);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CGridCtrl* CreateList(int k);
    void FillList(int k, const QVector<CatalogueRow>& rows);
    void ClearListsFrom(int k);
    void OnListClick(int k, int row, int col);

    CCatalogueTree m_tree;
    CGridCtrl* m_pList[CCatalogueTree::kLevels + 1] = {};
    QLabel* m_pArrow[CCatalogueTree::kLevels] = {};
};
