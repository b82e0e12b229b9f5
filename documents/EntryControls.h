#pragma once

#include <QSize>

class CGridCtrl;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls of the stock-in window and where they stand.
struct EntryControls {
    enum Label {
        kOddnumLabel,
        kSupplierLabel,
        kDateLabel,
        kMoneyLabel,
        kMoneyUnit,
        kStateLabel,
        kSearchLabel,
        kSearchHint,
        kGridHint,
        kLabels
    };

    QGroupBox* m_pFrame = nullptr;
    QLabel* m_pLabels[kLabels] = {};
    QLineEdit* m_pOddnum = nullptr;
    QComboBox* m_pSupplier = nullptr;
    QPushButton* m_pSelectSupplier = nullptr;
    QDateEdit* m_pDate = nullptr;
    QLineEdit* m_pMoney = nullptr;
    QComboBox* m_pState = nullptr;
    QLineEdit* m_pSearch = nullptr;
    QPushButton* m_pAddLine = nullptr;
    QPushButton* m_pDeleteLine = nullptr;
    CGridCtrl* m_pGrid = nullptr;
    QPushButton* m_pNewDoc = nullptr;
    QPushButton* m_pSave = nullptr;
    QPushButton* m_pPrintSetup = nullptr;
    QPushButton* m_pPreview = nullptr;
    QPushButton* m_pPrint = nullptr;
    QCheckBox* m_pSinglePage = nullptr;

    // Makes the controls as children of parent.
    void Create(QWidget* parent);
    // Places them for a window of the given size: a frame half the width plus 300 pixels wide,
    // centred, the header in two rows, the table below and the buttons along the bottom.
    void LayOut(QSize size);
};
