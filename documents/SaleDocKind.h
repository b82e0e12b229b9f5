#pragma once

#include "ui/PickArea.h"
#include <QList>
#include <QString>

// Line table columns of the sales documents.
enum SaleColumn : int {
    kLineName = 1,
    kLineShortName = 2,
    kLineCode = 3,
    kLineSpec = 4,
    kLinePrice = 5,
    kLineCount = 6,
    kLineDiscount = 7,
    kLineAmount = 8,
    kLinePcs = 9,
    kLineRemark = 10,
    kSaleColumns = 11,
};

// What tells the sales-out document from the sales-return document.
struct SaleDocKind {
    QString title;        // window title, also how pickers find the window
    int pickTarget = 0;   // PickArea().m_nPickTarget
    QString table;        // saleout or salein
    QString frameCaption; // caption of the frame around the controls
    QString timeLabel;    // 销售时间: / 退货时间:
    QString receivableLabel;
    QString receiptLabel;
    QString stateLabel;
    QString barcodeLabel;  // label above the barcode box
    QString closeQuestion; // asked when an unsaved document is closed
    QString closeCaption;
    QList<int> recomputeColumns; // columns whose end of edit recomputes the line
    bool derivesPrice = true;    // sales-out: price from base price, discount and tax
    bool storesPcsRemarks = true;

    static SaleDocKind SaleOut();
    static SaleDocKind SaleIn();
};
