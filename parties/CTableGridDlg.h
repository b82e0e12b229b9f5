#pragma once

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

#include "text/TableRowMatch.h"
#include "ui/CWorkDialog.h"

class CGridCtrl;
class CGridResult;
class CRecordset;
class QGroupBox;
class QPushButton;

// What sets one table dialog (customers, suppliers, employees) apart from the others.
struct TableGridSetup {
    QString noun;             // what a record is, for messages: "客户"
    QString selectSql;        // "SELECT * FROM customer": load and save
    const char* deleteFormat; // "select * from customer where mc=?"
    QStringList fields;       // the columns shown in grid columns 1..n; the first is the name
    QStringList headers;      // every grid column, "序号" first
    QList<int> widths;        // every grid column
    int centredLoadedColumns; // loaded rows centre columns 0..n-1; added rows centre all
    QString pinyinField;      // initials of the name written at every save; empty for none
    QString namelessMessage;  // a row without a name cannot be saved
    QList<NameField> names;   // the values stored as names or codes, checked at a save
    bool noteBelowButtons;    // the note under the buttons rather than beside them
    int width;                // the dialog's width on opening
};

// A work dialog that keeps every record of one table in an editable grid: "新增" adds a row,
// "保存" writes all rows back, "删除" removes the clicked row and its record at once.
// Each grid row remembers the values of the record it stands for, so a save rewrites exactly
// that record and a delete removes exactly it, whatever was edited or deleted before. A row
// whose record was changed or removed since it was loaded (by another window or workstation)
// is refused by name, and the list is read again: no record is duplicated, overwritten or lost.
class CTableGridDlg : public CWorkDialog {
    Q_OBJECT
  public:
    CTableGridDlg(const QString& title, const TableGridSetup& setup, QWidget* parent = nullptr);
    ~CTableGridDlg() override;

    Placement GetPlacement() const override { return Placement::Column; }
    QSize sizeHint() const override;

    // Fills the grid with every record of the table (done on construction).
    void LoadGrid();
    void OnAdd();
    void OnSave();
    void OnDelete();

    CGridCtrl* Grid() const { return m_pGrid; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* SaveButton() const { return m_pSave; }
    QPushButton* DeleteButton() const { return m_pDelete; }
    QPushButton* ExportButton() const { return m_pExport; }

    // The cell of the last left click in the grid: 0 for none or the header, -1 outside cells.
    int m_nClickRow = 0;
    int m_nClickCol = 0;

  protected:
    // Notes the left clicks that the grid does not report: outside the cells and on the
    // focus cell.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void SetupGrid();
    void AppendGridRow(const QStringList& values, int centredColumns);
    void Renumber();
    std::vector<TableRow> GridRows() const;
    QStringList ReadRecord(const CRecordset& rs) const;
    void WriteRecord(CRecordset& rs, const QStringList& values) const;
    void SaveRows(const std::vector<TableRow>& rows, std::vector<bool>& written,
                  QStringList& stale);
    bool DeleteRecord(const QStringList& stored);
    void OnGridClick(int row, int col);

    TableGridSetup m_setup;
    QGroupBox* m_pButtonBox = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pSave = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pExport = nullptr;
    CGridCtrl* m_pGrid = nullptr;
    // Per data row (grid row - 1): the values of the record it stands for; none for added rows.
    std::vector<std::optional<QStringList>> m_stored;
};
