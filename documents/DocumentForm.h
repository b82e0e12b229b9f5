#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "documents/DocumentPlan.h"
#include "ui/PickArea.h"

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

// Line table columns of the stock-in document.
enum EntryColumn : int {
    kEntryName = 1,
    kEntryShortName,
    kEntryCode,
    kEntrySpec,
    kEntryPrice,
    kEntryCount,
    kEntryAmount,
    kEntryColumns
};

// Where the fields of a line stand in a form's table; -1 for a field the form has no column for.
struct LineColumns {
    int name = -1;
    int shortName = -1;
    int code = -1;
    int spec = -1;
    int price = -1;
    int count = -1;
    int discount = -1;
    int amount = -1;
    int pcs = -1;
    int remark = -1;
};

// What one document window is: its texts, its line table, the table it is stored in, and the
// features it offers. The sales-out, sales-return and stock-in windows are three forms of one
// window (CDocumentDlg).
struct DocumentForm {
    DocumentKind kind = DocumentKind::SaleOut;
    QString title;        // window title, also how pickers find the window
    int pickTarget = 0;   // PickArea().m_nPickTarget
    QString table;        // saleout, salein or entry
    QString frameCaption; // caption of the frame around the controls
    QString partyLabel;   // 销售客户: / 供货商:
    QString partyButton;  // the button that opens the party dialog
    QString partyTable;   // customer or supplier
    QString partyLookup;  // what a failed party search is called
    QString timeLabel;    // 销售时间: / 退货时间: (forms with a clock)
    QString dateLabel;    // 供货日期: (forms with a delivery date)
    QString receivableLabel;
    QString receiptLabel;
    QString stateLabel;
    QStringList states;    // offered in the state box
    QString closeQuestion; // asked when an unsaved document is closed
    QString closeCaption;
    QString saveAction; // how a failed save names what it did
    int width = 1260;   // the window's first size
    int height = 700;

    // The line table.
    QStringList headers;
    QList<int> widths;
    LineColumns columns;
    QList<int> recomputeColumns; // columns whose end of edit recomputes the line
    bool typedCode = true;       // a code typed into a line loads its product
    bool catalogPrice = true;    // a picked product brings its price (and discounts)
    bool derivesPrice = true;    // sales-out: price from base price, discount and tax
    bool storesPcsRemarks = true;

    // Features. A counter form sells over the counter: the employee, the clock, the amount
    // received with its state, the scanner text, the receipt slip and the low-stock note.
    bool counter = true;
    bool hasDate = false;         // the delivery date picks the number's day
    bool returnsFromSale = false; // 按原单退货
    bool checksPrices = false;    // a price under the catalogue needs its permission
    int listKind = 1;             // the home view's list that prints the document

    bool IsSaleOut() const { return kind == DocumentKind::SaleOut; }
    const DocumentTable& Table() const { return DocumentTable::Of(kind); }

    static DocumentForm SaleOut();
    static DocumentForm SaleIn();
    static DocumentForm Entry();
};
