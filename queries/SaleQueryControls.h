#pragma once

#include "queries/SaleQueryKind.h"

class CGridCtrl;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls of a query window and where they stand: filters, totals and the document list
// on the left, the lines of one document on the right.
struct SaleQueryControls {
    enum Label {
        kDateLabel,
        kToLabel,
        kStateLabel,
        kCustomerLabel,
        kEmployeeLabel,
        kDueLabel,
        kDueUnit,
        kReceivedLabel,
        kReceivedUnit,
        kOutstandingLabel,
        kOutstandingUnit,
        kLabels
    };

    QGroupBox* m_pListFrame = nullptr;
    QGroupBox* m_pDetailFrame = nullptr;
    QLabel* m_pLabels[kLabels] = {};
    QDateEdit* m_pStart = nullptr;
    QDateEdit* m_pEnd = nullptr;
    QComboBox* m_pState = nullptr;
    QComboBox* m_pCustomer = nullptr;
    QPushButton* m_pStatement = nullptr; // 对账单 of the customer in the box
    QComboBox* m_pEmployee = nullptr;
    QPushButton* m_pQuery = nullptr;
    QLineEdit* m_pDue = nullptr;
    QLineEdit* m_pReceived = nullptr;
    QLineEdit* m_pOutstanding = nullptr;
    QPushButton* m_pListPrintSetup = nullptr;
    QPushButton* m_pListPreview = nullptr;
    QPushButton* m_pListPrint = nullptr;
    CGridCtrl* m_pList = nullptr;
    QPushButton* m_pDetailPrintSetup = nullptr;
    QPushButton* m_pDetailPreview = nullptr;
    QPushButton* m_pDetailPrint = nullptr;
    QCheckBox* m_pSinglePage = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pDeleted = nullptr; // 已删除单据
    QCheckBox* m_pInvoiced = nullptr;  // null without invoice dates
    QDateEdit* m_pInvoiceDate = nullptr;
    CGridCtrl* m_pDetail = nullptr;
    QLabel* m_pOddnumLabel = nullptr;
    QLineEdit* m_pOddnum = nullptr;          // 单号: a typed or scanned number shows its document
    QPushButton* m_pDetailReceipt = nullptr; // 打印小票 of the shown document

    // Makes the controls in parent, with the texts of the kind, and lays them out there.
    void Create(QWidget* parent, const SaleQueryKind& kind);

  private:
    void LayOut(QWidget* parent);
};
