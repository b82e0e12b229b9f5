#pragma once

#include <QDate>
#include <QDialog>

#include "export/ReportPrint.h"
#include "parties/PartyStatement.h"

class CGridCtrl;
class QDateEdit;
class QLabel;
class QPushButton;

// 对账单: the statement of one customer (sales-out and sales-return documents) or supplier
// (stock-in documents) over a date range, with the opening balance, a running balance and the
// totals; printed, previewed, saved as PDF or exported as the grid shows it. Opened from the
// right-click menu of 客户管理 and 供货商管理.
class CStatementDlg : public QDialog {
    Q_OBJECT
  public:
    CStatementDlg(StatementParty party, const QString& name, QWidget* parent = nullptr);
    ~CStatementDlg() override;

    // Opens a statement window of its own for the party, over the current month or the range
    // given.
    static CStatementDlg* Open(StatementParty party, const QString& name, QWidget* parent,
                               const QDate& from = QDate(), const QDate& to = QDate());
    // The same for the party a query window's filter box holds, over the query's dates; tells
    // the user when the box names no party.
    static CStatementDlg* OpenFromFilter(StatementParty party, const QString& typed,
                                         QWidget* parent, const QDate& from, const QDate& to);

    void SetRange(const QDate& from, const QDate& to);
    // Reads the documents again and fills the grid and the totals.
    void Query();
    // What the print, the preview and the PDF show.
    Report StatementReport() const;

    void Print();
    void Preview();
    void SavePdf();
    void Export();

    const PartyStatement& Statement() const { return m_statement; }
    CGridCtrl* Grid() const { return m_pGrid; }
    QLabel* TotalsLabel() const { return m_pTotals; }
    QDateEdit* FromBox() const { return m_pFrom; }
    QDateEdit* ToBox() const { return m_pTo; }
    QPushButton* QueryButton() const { return m_pQuery; }

  private:
    void CreateControls();
    void SetupGrid();
    void FillGrid(const ExportTable& table);
    QString TotalsText() const;

    StatementParty m_party;
    QString m_strName;
    QDate m_from;
    QDate m_to;
    PartyStatement m_statement;
    bool m_bRead = false;

    QDateEdit* m_pFrom = nullptr;
    QDateEdit* m_pTo = nullptr;
    QPushButton* m_pQuery = nullptr;
    CGridCtrl* m_pGrid = nullptr;
    QLabel* m_pTotals = nullptr;
};
