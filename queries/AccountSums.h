#pragma once

#include <QPair>
#include <QString>
#include <QVector>

#include "db/PrefixSearch.h"
#include "queries/AccountChart.h"
#include "queries/MonthChart.h"

// The figures of 帐目统计 for the documents whose numbers lie in a range (the numbers begin
// with the date): the header amounts of sales, returns and stock-ins, each document counted
// once, and the cost of the goods sold from the cost ledger. Reads only; raises CDbException
// on a database error.
AccountFigures ReadAccountFigures(const TextRange& numbers);

// The twelve months of a year (four digits): net sales from the headers, the cost of goods
// from the ledger, the gross profit.
QVector<MonthFigures> ReadYearMonths(const QString& year);

// The numbers of the days from one date to another, both included.
TextRange DayRange(const QString& fromYyyyMmDd, const QString& toYyyyMmDd);

// The figures with their names as the window, its export and `--report summary` show them:
// 应收款 实收款 应退款 实退款 进货款 利润 销售成本 毛利 库存金额 盘点差异.
QVector<QPair<QString, double>> SummaryFigures(const AccountFigures& figures);
