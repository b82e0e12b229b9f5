#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "db/SqlText.h"
#include "export/ExportTable.h"

// The owner's reports of 经营报表 and `Harbor --report`: sales and gross profit by product, by
// class of the catalogue (its first level), by customer and by employee, the best sellers,
// the slow movers and the stock value by class. Sales are the sales-out lines less the
// sales-return lines of the period, as their documents store the amounts; the cost of goods is
// what each line recorded in the cost ledger. A group with a line of unknown cost shows its
// cost, gross profit and margin as 未知. Reads only; raises CDbException on a database error.

struct ReportRequest {
    QString name; // one of ReportNames()
    QDate from;   // the period, both days included
    QDate to;
    int days = 90;         // slow movers: no sale in so many days up to the period's end
    bool byProfit = false; // best sellers: by gross profit instead of by quantity
    int limit = 20;        // best sellers: how many
};

// profit-by-product, profit-by-class, profit-by-customer, profit-by-employee, best-sellers,
// slow-movers, stock-value, summary.
QStringList ReportNames();
// The title of a report as the window and its print show it.
QString ReportTitle(const ReportRequest& request);

// The statements a report reads, in the order BuildReport runs them (the benchmark suite
// runs the same ones straight on the engine). The summary reads the figures of 帐目统计
// (ReadAccountFigures), whose statements are not listed here: its list is empty.
QList<SqlStatement> ReportStatements(const ReportRequest& request);

// The report as a table: its numbers "%.2f" (no thousands separators), unknown costs "未知".
ExportTable BuildReport(const ReportRequest& request);

// The text shown for a cost that is not known.
QString UnknownCostText();
