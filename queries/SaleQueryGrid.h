#pragma once

#include <QStringList>
#include <memory>

#include "documents/ReturnOrigins.h"
#include "queries/SaleQuerySql.h"

class CGridCtrl;
class CGridRowSource;

// The two tables of the query windows: the document list (one row per document, the state as a
// drop list, only the received amount and the state editable) and the read-only line detail.
// Both have a fixed header row and a fixed row-number column, rows 25 pixels high.

enum SaleListColumn : int {
    kListOddnum = 1,
    kListCustomer = 2,
    kListTime = 3,
    kListReceivable = 4,
    kListReceipt = 5,
    kListState = 6,
    kListEmployee = 7,
    kListColumns = 8,
};

// headers: the texts of columns 1 to 7.
void SetupSaleListGrid(CGridCtrl* grid, const QStringList& headers);
// Lists the documents of a query (SaleListQuery) in a grid set up as above.
void ShowSaleList(CGridCtrl* grid, std::shared_ptr<CGridRowSource> documents);
void SetupSaleDetailGrid(CGridCtrl* grid);
void AppendSaleDetailRow(CGridCtrl* grid, const SaleDetailLine& line);
// Below a sale's lines, the returns taken from it; below a return's lines, the sales its lines
// came from (a sale deleted since is named so). Each document a title row, then its lines.
void AppendReturnLinkRows(CGridCtrl* grid, const QVector<ReturnLink>& links, bool ofSale);
