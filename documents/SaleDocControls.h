#pragma once

#include <QSize>

#include "documents/SaleDocKind.h"

class CGridCtrl;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The controls of a sales document window and where they stand.
struct SaleDocControls {
    enum Label {
        kOddnumLabel,
        kCustomerLabel,
        kTimeLabel,
        kEmployeeNameLabel,
        kEmployeeIdLabel,
        kReceivableLabel,
        kReceivableUnit,
        kReceiptLabel,
        kReceiptUnit,
        kStateLabel,
        kBarcodeLabel,
        kSearchLabel,
        kHint,
        kLabels
    };

    QGroupBox* m_pFrame = nullptr;
    QLabel* m_pLabels[kLabels] = {};
    QLineEdit* m_pOddnum = nullptr;
    QComboBox* m_pCustomer = nullptr;
    QPushButton* m_pSelectCustomer = nullptr;
    QLineEdit* m_pTime = nullptr;
    QLineEdit* m_pEmployeeName = nullptr;
    QLineEdit* m_pEmployeeId = nullptr;
    QLineEdit* m_pReceivable = nullptr;
    QLineEdit* m_pReceipt = nullptr;
    QComboBox* m_pState = nullptr;
    QPlainTextEdit* m_pBarcode = nullptr;
    QLineEdit* m_pSearch = nullptr;
    QPushButton* m_pAddLine = nullptr;
    QPushButton* m_pDeleteLine = nullptr;
    CGridCtrl* m_pGrid = nullptr;
    QPushButton* m_pNewDoc = nullptr;
    QPushButton* m_pSave = nullptr;
    QPushButton* m_pPrintSetup = nullptr;
    QPushButton* m_pPrintReceipt = nullptr; // 打印小票
    QPushButton* m_pPreview = nullptr;
    QPushButton* m_pPrint = nullptr;
    QCheckBox* m_pSinglePage = nullptr;
    // Beside the payment state: the products the last save took under their minimum stock.
    QLabel* m_pLowStock = nullptr;

    // Makes the controls as children of parent, with the texts of the kind.
    void Create(QWidget* parent, const SaleDocKind& kind);
    // Places them in a band 1100 pixels wide, centred in a window of the given size.
    void LayOut(QSize size);
};
