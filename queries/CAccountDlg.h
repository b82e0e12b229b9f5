#pragma once

#include "export/ExportTable.h"
#include "queries/AccountChart.h"
#include "queries/MonthChart.h"
#include "ui/CWorkDialog.h"

class QComboBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

// 帐目统计: a year's or a month's sales due and received, returns due and refunded,
// purchases and profit, as figures on a bar chart. Documents belong to a period by the date
// prefix of their number. Reads only. The close box hides the window; showing it again reads
// the years and the figures afresh, so what it shows is never older than the window.
class CAccountDlg : public CWorkDialog {
    Q_OBJECT
  public:
    explicit CAccountDlg(QWidget* parent = nullptr);
    ~CAccountDlg() override;

    CloseBox GetCloseBox() const override { return CloseBox::Hides; }

    // The number prefix and the chart title of a period: year is four digits, month "00" for
    // the whole year or "01" to "12". False when either is not of that form.
    static bool PeriodOf(const QString& year, const QString& month, QString* pattern,
                         QString* title);

    // Sums the period's documents and repaints. An invalid period is refused with a message;
    // on a refusal or a database error the chart shows no figures. Returns whether figures
    // were computed.
    bool Compute(const QString& year, const QString& month);

    AccountFigures Figures() const;
    bool HasFigures() const { return m_bHasFigures; }
    QString Title() const { return m_strTitle; }
    // Where the chart is painted: right of the column of boxes, above the bottom margin.
    QRect ChartArea() const;
    // The chart as it is laid out in the window now.
    AccountChart Chart() const;

    QComboBox* YearBox() const { return m_pYear; }
    QComboBox* MonthBox() const { return m_pMonth; }
    QPushButton* ExportButton() const { return m_pExport; }
    // 销售成本, 毛利, 毛利率 and 库存金额 as the window shows them beside the chart.
    QLabel* CostText() const { return m_pCostText; }
    // When checked the window shows the twelve months of the chosen year instead.
    QCheckBox* MonthsBox() const { return m_pMonths; }
    QVector<MonthFigures> Months() const { return m_months; }
    // The chart of the months as it is laid out in the window now.
    MonthChart MonthsChart() const;

    // The figures shown, as a table of one row: the period, the amounts of SummaryFigures and
    // the margin. No row when there are no figures.
    ExportTable FiguresTable() const;

    // Reads the year list again, keeping the chosen year where it still has documents, and
    // recomputes the figures.
    void Refresh();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void CreateControls();
    void FillMonthBox();
    void FillYearBox();
    void OnSelectionChange();
    void ClearFigures();
    void ReadSums(const QString& pattern);

    void ShowCostText();

    QString m_strTitle;
    AccountFigures m_figures;
    bool m_bHasFigures = false;
    bool m_bFresh = true; // the figures the constructor read, not shown yet

    QGroupBox* m_pPeriodFrame = nullptr;
    QComboBox* m_pYear = nullptr;
    QComboBox* m_pMonth = nullptr;
    QPushButton* m_pExport = nullptr;
    QLabel* m_pCostText = nullptr;
    QCheckBox* m_pMonths = nullptr;
    QVector<MonthFigures> m_months;
    QString m_strYear;
};
