#pragma once

#include <QDate>
#include <QString>
#include <memory>

#include "queries/SaleQueryControls.h"
#include "queries/SaleQueryKind.h"
#include "text/HarborClock.h"
#include "ui/CWorkDialog.h"
#include "ui/ListPrintData.h"

class CGridResult;
class CPagedSqlSource;
struct DocumentTable;
struct SaleDetail;

// A document query window: the sales-out query (销售出库查询) and the sales-return query
// (销售退货查询) are two instances that differ by their SaleQueryKind.
// Lists the documents of a date range narrowed by customer, state and employee with their
// totals; a click shows a document's lines; the list's state drop lists settle documents;
// "删除本单" removes a document; sales-out documents also keep an invoice date.
class CSaleQueryDlg : public CWorkDialog {
    Q_OBJECT
  public:
    explicit CSaleQueryDlg(const SaleQueryKind& kind, QWidget* parent = nullptr);
    ~CSaleQueryDlg() override;

    const SaleQueryKind& Kind() const { return m_kind; }

    // "查询": empties the detail and lists the documents that match the filters.
    void Query();
    // Enter in the customer box: lists the customers whose initials hold the typed text.
    void SearchCustomer();
    // Shows the lines of document oddnum in the detail table.
    void ShowDetail(const QString& oddnum);
    // "删除本单": removes the document of the clicked list row after asking.
    void DeleteDocument();
    // 已删除单据 of this window's table; a document put back shows in the list again.
    void ShowDeleted();
    // "对账单": the statement of the customer in the customer box over the query's dates.
    void OpenStatement();
    // The list's "打印" (1), "打印设置" (2) and "打印预览" (3): the listed documents and their
    // totals.
    void PrintList(int mode);
    // The same for the shown document with its lines, its piece count and the customer's balance.
    void PrintDetail(int mode);
    // Enter in the 单号 box (a scanned receipt): shows the document of the number typed.
    void ShowTypedDocument();
    // "打印小票": the receipt of the shown document.
    void PrintDetailReceipt();
    bool QueryClose() override;

    const SaleQueryControls& Ui() const { return m_ui; }

    QDate m_dateStart = HarborToday();
    QDate m_dateEnd;
    QString m_strCustomer;
    QString m_strState;
    QString m_strEmployee;
    QString m_strDue;
    QString m_strReceived;
    QString m_strOutstanding;
    int m_nClickRow = -1;
    int m_nClickCol = -1;
    QString m_strCurOddnum;
    bool m_bInvoiced = false;
    QDate m_dateInvoice;
    bool m_bSinglePage = true;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FirstShown() override;

  private:
    void ConnectControls();
    void LoadEmployees();
    void ReadFilters();
    void RunQuery();
    const DocumentTable& Table() const;
    void ClearDetail();
    void OnListClick(int row, int col);
    void OnListEndEdit(int row, int col, CGridResult* result);
    bool RefuseReceipt(int row);
    void ChangeState(int row, int col);
    bool IsDocumentCell(int row, int col) const;
    void ResetInvoice();
    void SetInvoice(const QString& date);
    void OnInvoiceClicked(bool checked);
    void OnInvoiceDateChanged(const QDate& date);
    void WriteInvoice(const QString& date);
    void OnSinglePage(bool on);
    void PrepareDetailPrint(const QString& oddnum, const SaleDetail& detail,
                            const QString& balance);
    void RefreshDetailPrint();

    SaleQueryKind m_kind;
    SaleQueryControls m_ui;
    std::shared_ptr<CPagedSqlSource> m_pDocuments; // the listed documents; none when unread
    ListPrintData m_detailPrint{1}; // the shown document as it prints; no rows when none
};
