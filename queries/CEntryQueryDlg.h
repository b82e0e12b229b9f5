#pragma once

#include <QDate>
#include <QString>
#include <memory>

#include "queries/EntryQueryControls.h"
#include "text/HarborClock.h"
#include "ui/CWorkDialog.h"

class CPagedSqlSource;

struct CGridResult;

// "入库单查询": lists the stored stock-in documents numbered for a date range, narrowed by
// supplier and payment state, with the sum of their amounts; shows the lines of a clicked
// document and writes a payment state chosen in the list to every row of its document.
class CEntryQueryDlg : public CWorkDialog {
    Q_OBJECT
  public:
    explicit CEntryQueryDlg(QWidget* parent = nullptr);
    ~CEntryQueryDlg() override;

    bool QueryClose() override;

    // "查询": lists the documents that match the boxes and shows their total.
    void Query();
    // Enter in the supplier box: lists the suppliers whose initials hold the typed text.
    void SearchSupplier();
    // Shows the lines of the document in the detail table.
    void ShowDetail(const QString& oddnum);
    // "打印" (1), "打印设置" (2) and "打印预览" (3): the listed documents and their total.
    void PrintList(int mode);
    // "删除本单": removes the document of the clicked list row, with or without taking its
    // stock off again, as the user chooses.
    void DeleteDocument();
    // 已删除单据 of stock-ins; a document put back shows in the list again.
    void ShowDeleted();
    // "对账单": the statement of the supplier in the box over the query's dates.
    void OpenStatement();

    CGridCtrl* ListGrid() const { return m_ui.m_pList; }
    CGridCtrl* DetailGrid() const { return m_ui.m_pDetail; }
    QDateEdit* StartBox() const { return m_ui.m_pStart; }
    QDateEdit* EndBox() const { return m_ui.m_pEnd; }
    QComboBox* SupplierBox() const { return m_ui.m_pSupplier; }
    QComboBox* StateBox() const { return m_ui.m_pState; }
    QPushButton* QueryButton() const { return m_ui.m_pQuery; }
    QLineEdit* TotalBox() const { return m_ui.m_pTotal; }
    QPushButton* PrintButton() const { return m_ui.m_pPrint; }
    QPushButton* PreviewButton() const { return m_ui.m_pPreview; }
    QPushButton* PrintSetupButton() const { return m_ui.m_pPrintSetup; }
    QCheckBox* SinglePageBox() const { return m_ui.m_pSinglePage; }
    QPushButton* DeleteButton() const { return m_ui.m_pDelete; }
    QPushButton* DeletedButton() const { return m_ui.m_pDeleted; }
    QPushButton* StatementButton() const { return m_ui.m_pStatement; }

    QDate m_startDate = HarborToday();
    QDate m_endDate;
    QString m_strSupplier;
    QString m_strState;
    QString m_strTotal;
    int m_nClickRow = -1;
    int m_nClickCol = -1;
    bool m_bSinglePage = true;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FirstShown() override;

  private:
    void ReadBoxes();
    void ClearDetail();
    void OnListClick(int row, int col);
    void OnListEndEdit(int row, int col, CGridResult* result);
    bool IsDocumentRow(int row) const;
    void OnSinglePage(bool on);

    EntryQueryControls m_ui;
    std::shared_ptr<CPagedSqlSource> m_pDocuments; // the listed documents; none when unread
};
