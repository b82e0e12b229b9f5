#pragma once

#include "db/SqlText.h"
#include "ui/CWorkDialog.h"

class CGridCtrl;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// 库存盘点: finds products by a keyword in their full name or their short name (or in the
// initials of either) and lists them with code, price and stock; or lists the products at or
// under their minimum stock with how many are missing (低于最低库存). Read-only; the list can be
// exported and printed.
// The search choice, the keyword and the hit count outlive the window: reopened, it shows
// them again with an empty grid.
class CInventoryDlg : public CWorkDialog {
    Q_OBJECT
  public:
    explicit CInventoryDlg(QWidget* parent = nullptr);
    ~CInventoryDlg() override;

    // The condition on property for a keyword: by name (0) or by short name (1); 2 lists low
    // stock. SearchSql is the whole statement, for a plain read of every row.
    static SqlStatement SearchCondition(int searchBy, const QString& keyword);
    static SqlStatement SearchSql(int searchBy, const QString& keyword);

    void Search();

    CGridCtrl* Grid() const { return m_pGrid; }
    QLineEdit* KeywordBox() const { return m_pKeyword; }
    QLineEdit* HitsBox() const { return m_pHits; }
    QRadioButton* ByNameButton() const { return m_pByName; }
    QRadioButton* ByShortNameButton() const { return m_pByShortName; }
    QRadioButton* BelowMinimumButton() const { return m_pBelowMinimum; }
    QPushButton* PrintButton() const { return m_pPrint; }
    // Preview of the list as the grid shows it, to print or save as PDF.
    void PrintList();
    QPushButton* SearchButton() const { return m_pSearch; }
    QPushButton* ExportButton() const { return m_pExport; }
    // Opens 盘点, the stock count of a class or of the whole catalogue.
    void OpenStocktake();
    QPushButton* StocktakeButton() const { return m_pStocktake; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void LoadValues();
    void StoreValues();
    void LayOut();

    int m_nSearchBy = 0; // 0 by name, 1 by short name, 2 below the minimum stock
    QString m_strKeyword;
    QString m_strHits;

    QGroupBox* m_pSearchFrame = nullptr;
    QGroupBox* m_pGridFrame = nullptr;
    QLabel* m_pKeywordLabel = nullptr;
    QLineEdit* m_pKeyword = nullptr;
    QButtonGroup* m_pSearchBy = nullptr;
    QRadioButton* m_pByName = nullptr;
    QRadioButton* m_pByShortName = nullptr;
    QRadioButton* m_pBelowMinimum = nullptr;
    QPushButton* m_pPrint = nullptr;
    QPushButton* m_pSearch = nullptr;
    QLabel* m_pHitsBefore = nullptr;
    QLineEdit* m_pHits = nullptr;
    QLabel* m_pHitsAfter = nullptr;
    QPushButton* m_pExport = nullptr;
    QPushButton* m_pStocktake = nullptr;
    CGridCtrl* m_pGrid = nullptr;
};
