#pragma once

#include <QDateTime>
#include <QVector>

#include "export/ReportPrint.h"
#include "stock/StocktakeStore.h"
#include "ui/CWorkDialog.h"

class CGridCtrl;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct CGridResult;

// 盘点: a stock count of a class or of the whole catalogue. 开始盘点 reads the products with
// their book stock; the count sheet prints them with an empty 实盘 column; 实盘 is typed in
// the grid or found by scanning a product's code into 条形码 (Enter goes to its 实盘, Enter
// after the figure, or F3, back to the box); 差异 and its value at cost follow every figure. 过账
// sets each counted product to its counted stock in one correction document; a product without 实盘
// is not touched. When another window or computer changed a counted product's stock since the count
// started, nothing is posted: its book stock is shown anew and marked, and the count is posted when
// 过账 is pressed again. A posted count is read-only; the next count corrects it.
class CStocktakeDlg : public CWorkDialog {
    Q_OBJECT
  public:
    explicit CStocktakeDlg(QWidget* parent = nullptr);
    ~CStocktakeDlg() override;

    bool QueryClose() override;

    void StartCount();
    void Post();
    // The count sheet of the products counted now, as it prints.
    Report CountSheet() const;
    void PrintCountSheet();

    QComboBox* ScopeBox() const { return m_pScope; }
    QPushButton* StartButton() const { return m_pStart; }
    QLineEdit* ScanBox() const { return m_pScan; }
    CGridCtrl* Grid() const { return m_pGrid; }
    QPushButton* PrintButton() const { return m_pPrint; }
    QPushButton* PostButton() const { return m_pPost; }
    QLabel* TotalsLabel() const { return m_pTotals; }
    QLabel* NumberLabel() const { return m_pNumber; }
    const QVector<StocktakeItem>& Items() const { return m_items; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void LayOut();
    void FillScopes();
    void OnScan();
    void FocusScanBox();
    void OnGridEndEdit(int row, int col, CGridResult* result);
    void ShowTotals();
    void ShowRefusal(const StocktakeRefusal& refusal);
    void ShowPosted(const QString& oddnum);
    bool HasUnpostedCounts() const;
    int ItemIndex(int row) const;

    QVector<StocktakeItem> m_items;
    QString m_strScope;
    QDateTime m_startedAt;
    QString m_strPosted; // the number once posted: the count is read-only
    int m_nScanRow = -1; // the row a scan led to: Enter after its figure goes back to the box

    QComboBox* m_pScope = nullptr;
    QPushButton* m_pStart = nullptr;
    QPushButton* m_pPrint = nullptr;
    QLineEdit* m_pScan = nullptr;
    QPushButton* m_pPost = nullptr;
    QLabel* m_pNumber = nullptr;
    CGridCtrl* m_pGrid = nullptr;
    QLabel* m_pTotals = nullptr;
};
