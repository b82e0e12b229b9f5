#pragma once

#include <QDialog>

#include "db/SqlText.h"
#include "ui/PickArea.h"

class CGridCtrl;
class CGridResult;
class QLabel;
class QPushButton;

// 拼音选择商品: the modal picker that a document opens when its product box holds text.
// Lists the products whose full name, initials or code contain PickArea().m_strPickQuery and
// hands the chosen one to the document named by PickArea().m_nPickTarget.
// It opens with the first product chosen and the focus in the list, so that the arrow keys,
// PageUp/PageDown and Home/End choose, Enter picks and Escape leaves without touching the mouse.
class CPinyinSelectDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CPinyinSelectDlg(QWidget* parent = nullptr);

    // The condition on property that finds the products for a search text, and the whole
    // statement, for a plain read of every row.
    static SqlStatement SearchCondition(const QString& query);
    static SqlStatement SearchSql(const QString& query);

    CGridCtrl* Grid() const { return m_pGrid; }
    QPushButton* SelectButton() const { return m_pSelect; }
    QPushButton* ExitButton() const { return m_pExit; }
    QLabel* QueryLabel() const { return m_pQuery; }
    int SelectedRow() const { return m_nSelRow; }
    // How many products the search found.
    int MatchCount() const { return m_nMatches; }
    // Hands the chosen row to the document; true when it took the product.
    bool PickSelected();

    // Any close other than a taken pick leaves nothing picked.
    void reject() override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Search();
    void OnGridClick(int row, int col, CGridResult* result);
    void OnGridSelChanged(int row, int col, CGridResult* result);
    bool IsDataCell(int row, int col) const;
    void OnSelect();
    void ChooseFirstRow();
    void ChooseRow(int row);

    CGridCtrl* m_pGrid = nullptr;
    QPushButton* m_pSelect = nullptr;
    QPushButton* m_pExit = nullptr;
    QLabel* m_pQuery = nullptr; // the search text and the number of matches
    int m_nMatches = 0;
    int m_nSelRow = 0; // data row last clicked; 0 for none
};
