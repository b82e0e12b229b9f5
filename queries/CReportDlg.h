#pragma once

#include "export/ExportTable.h"
#include "queries/ProfitReports.h"
#include "ui/CWorkDialog.h"

class CGridCtrl;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;

// 经营报表: the owner's reports (ProfitReports) for a period, one at a time as a list that can
// be exported and printed like the other lists. Reads only.
class CReportDlg : public CWorkDialog {
    Q_OBJECT
  public:
    explicit CReportDlg(QWidget* parent = nullptr);
    ~CReportDlg() override;

    // The report chosen in the box with the period and the days of the window.
    ReportRequest Request() const;
    // Reads the chosen report into the list; false on a database error (the list stays empty).
    bool Query();
    // The list as shown, as the export writes it.
    ExportTable ShownTable() const;
    void PrintList();

    QComboBox* ReportBox() const { return m_pReport; }
    QDateEdit* FromBox() const { return m_pFrom; }
    QDateEdit* ToBox() const { return m_pTo; }
    QSpinBox* DaysBox() const { return m_pDays; }
    QPushButton* QueryButton() const { return m_pQuery; }
    QPushButton* ExportButton() const { return m_pExport; }
    QPushButton* PrintButton() const { return m_pPrint; }
    CGridCtrl* Grid() const { return m_pGrid; }

  private:
    void CreateControls();
    void Fill(const ExportTable& table);
    void LayOut();

    QComboBox* m_pReport = nullptr;
    QDateEdit* m_pFrom = nullptr;
    QDateEdit* m_pTo = nullptr;
    QSpinBox* m_pDays = nullptr;
    QPushButton* m_pQuery = nullptr;
    QPushButton* m_pExport = nullptr;
    QPushButton* m_pPrint = nullptr;
    QLabel* m_pPeriodLabel = nullptr;
    QLabel* m_pToLabel = nullptr;
    QLabel* m_pDaysLabel = nullptr;
    QLabel* m_pHits = nullptr;
    CGridCtrl* m_pGrid = nullptr;
    ExportTable m_shown;
};
