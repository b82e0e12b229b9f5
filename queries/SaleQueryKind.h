#pragma once

#include <QString>
#include <QStringList>

#include "queries/DocumentDelete.h"

// What tells the sales-out query from the sales-return query.
struct SaleQueryKind {
    QString title;                     // window title
    QString table;                     // saleout or salein
    QString listCaption;               // frame around the filters and the document list
    QString detailCaption;             // frame around the lines of one document
    QString stateLabel;                // 收款状态: / 退款状态:
    QStringList totalLabels;           // due, received, outstanding
    QStringList listHeaders;           // list columns 1 to 7
    bool hasInvoice = true;            // the invoice date controls
    bool rowNumberShowsDetail = false; // a click on the row number opens the document
    bool redDeleteButton = true;
    DeleteWords deleteWords;
    // Printing: the list with its three total labels, and one document with its header labels
    // (time, amount due, amount received, state).
    QString listPrintTitle;
    QStringList listPrintTotals;
    QString detailPrintTitle;
    QStringList detailPrintLabels;

    static SaleQueryKind SaleOut();
    static SaleQueryKind SaleIn();
};
