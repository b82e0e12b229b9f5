#pragma once

#include <QList>

#include "documents/DocumentForm.h"

class CGridCtrl;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

// The controls of a document window. Those of a feature the form does not offer stay null:
// the clock, the employee, the amount received, the barcode box, the receipt button and the
// low-stock note belong to the counter forms, the delivery date to the stock-in.
struct DocumentControls {
    QGroupBox* m_pFrame = nullptr;
    QLabel* m_pOddnumLabel = nullptr;
    QLineEdit* m_pOddnum = nullptr;
    QLabel* m_pPartyLabel = nullptr;
    QComboBox* m_pParty = nullptr; // the customer or the supplier
    QPushButton* m_pSelectParty = nullptr;
    QLabel* m_pTimeLabel = nullptr;
    QLineEdit* m_pTime = nullptr;
    QLabel* m_pDateLabel = nullptr;
    QDateEdit* m_pDate = nullptr;
    QLabel* m_pEmployeeNameLabel = nullptr;
    QLineEdit* m_pEmployeeName = nullptr;
    QLabel* m_pEmployeeIdLabel = nullptr;
    QLineEdit* m_pEmployeeId = nullptr;
    QLabel* m_pReceivableLabel = nullptr;
    QLineEdit* m_pReceivable = nullptr; // the amount due: 应收, 应退, 本单金额
    QLabel* m_pReceivableUnit = nullptr;
    QLabel* m_pReceiptLabel = nullptr;
    QLineEdit* m_pReceipt = nullptr;
    QLabel* m_pReceiptUnit = nullptr;
    QLabel* m_pStateLabel = nullptr;
    QComboBox* m_pState = nullptr;
    // Beside the payment state: the products the last save took under their minimum stock.
    QLabel* m_pLowStock = nullptr;
    QPlainTextEdit* m_pBarcode = nullptr;
    QLabel* m_pSearchLabel = nullptr;
    QLineEdit* m_pSearch = nullptr;
    QLabel* m_pSearchHint = nullptr;
    QPushButton* m_pAddLine = nullptr;
    QPushButton* m_pDeleteLine = nullptr;
    QLabel* m_pGridHint = nullptr;
    CGridCtrl* m_pGrid = nullptr;
    QPushButton* m_pNewDoc = nullptr;
    QPushButton* m_pSave = nullptr;
    QPushButton* m_pPrintSetup = nullptr;
    QPushButton* m_pPreview = nullptr;
    QPushButton* m_pPrint = nullptr;
    QCheckBox* m_pSinglePage = nullptr;
    QPushButton* m_pPrintReceipt = nullptr; // 打印小票
    QPushButton* m_pSavePrint = nullptr;
    QPushButton* m_pSaveNew = nullptr;
    QPushButton* m_pScanner = nullptr;        // counter forms: 导入扫描枪数据
    QPushButton* m_pReturnFromSale = nullptr; // returns: 按原单退货

    // Makes the controls of the form as children of parent.
    void Create(QWidget* parent, const DocumentForm& form);
    // Lays them out in window with Qt layouts: the header in the frame, the table taking the
    // room that is left, the status line of the last save beside the document buttons.
    void Arrange(QWidget* window, const DocumentForm& form, QLabel* statusLine);

    // A control of a header row and the width it takes at most; 0 for a label, which keeps its
    // text, -1 for the last control, which takes what the row leaves.
    struct Slot {
        QWidget* widget;
        int width;
    };

  private:
    QList<Slot> PartySlots(int buttonWidth) const;
    QList<Slot> ProductSlots(int searchWidth) const;
    void CreateHeader(QWidget* parent, const DocumentForm& form);
    void CreateCounter(QWidget* parent, const DocumentForm& form);
    void CreateButtons(QWidget* parent);
    void ArrangeCounter(QVBoxLayout* header, QVBoxLayout* page);
    void ArrangeEntry(QVBoxLayout* header, QVBoxLayout* page);
    QHBoxLayout* ButtonRow(QLabel* statusLine);
};
