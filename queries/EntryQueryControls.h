#pragma once

#include <QStringList>
#include <memory>

struct EntryDocument;
class CGridCtrl;
class CGridRowSource;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Columns of the document list.
enum EntryListColumn {
    kListOddnum = 1,
    kListSupplier,
    kListDate,
    kListMoney,
    kListState,
    kListColumns
};

// The controls of the stock-in query window, where they stand, and how its two tables are filled.
struct EntryQueryControls {
    enum Label {
        kDateLabel,
        kToLabel,
        kSupplierLabel,
        kStateLabel,
        kTotalLabel,
        kTotalUnit,
        kLabels
    };

    QGroupBox* m_pListFrame = nullptr;
    QGroupBox* m_pDetailFrame = nullptr;
    QLabel* m_pLabels[kLabels] = {};
    QDateEdit* m_pStart = nullptr;
    QDateEdit* m_pEnd = nullptr;
    QComboBox* m_pSupplier = nullptr;
    QPushButton* m_pStatement = nullptr; // 对账单 of the supplier in the box
    QComboBox* m_pState = nullptr;
    QPushButton* m_pQuery = nullptr;
    QLineEdit* m_pTotal = nullptr;
    QPushButton* m_pPrintSetup = nullptr;
    QPushButton* m_pPreview = nullptr;
    QPushButton* m_pPrint = nullptr;
    QCheckBox* m_pSinglePage = nullptr;
    QPushButton* m_pDelete = nullptr;  // 删除本单, in the detail half
    QPushButton* m_pDeleted = nullptr; // 已删除单据, beside it
    CGridCtrl* m_pList = nullptr;
    CGridCtrl* m_pDetail = nullptr;

    // Makes the controls in parent and lays them out there.
    void Create(QWidget* parent);

    // Appends a list row for the document; its state becomes a drop-down cell.
    // Lists the documents of a query (EntryListQuery).
    void ShowDocuments(std::shared_ptr<CGridRowSource> documents);
    // Appends a detail row: name, code, packing, price, quantity, amount.
    void AppendLine(const QStringList& line);

  private:
    void LayOut(QWidget* parent);
};
