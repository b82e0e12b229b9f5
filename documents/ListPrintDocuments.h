#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "ui/ListPrintData.h"

// How the document windows turn their line tables into printed lists.

// The unit of a packing specification: 10个/箱 gives 箱.
QString PrintUnitText(const QString& spec);
// The first four GBK bytes of a remark, never half a character: "含税(1.10)" gives 含税.
QString PrintRemarkText(const QString& remark);
// The leading decimal digits of a text as a number, 0 when there are none.
int LeadingNumber(const QString& text);

// The header of a sales document as printed.
struct SaleListHeader {
    bool saleOut = true; // false: a sales-return document
    QString oddnum;
    QString customer;
    QString time;
    QString receivable;
    QString receipt;
    QString state;
};

// Fills a kind 1 list from a sales document's lines, each the ten texts name, short name,
// code, specification, price, quantity, discount, amount, packages and remark. A sales-out list
// also gets the sum of the package counts, which it returns.
int FillSaleList(ListPrintData& list, const SaleListHeader& header,
                 const QVector<QStringList>& lines);
// "累计欠款:" with what a customer owes today: the closing balance of their statement (sales
// due less received, less returns due less refunded), the one figure every print shows.
// Reads the database.
QString CustomerBalanceText(const QString& customer);

// The header of a stock-in document as printed.
struct EntryListHeader {
    QString oddnum;
    QString supplier;
    QString date;
    QString money;
    QString state;
};

// Fills a kind 2 list from a stock-in document's lines, each the seven texts name, short name,
// code, specification, price, quantity and amount.
void FillEntryList(ListPrintData& list, const EntryListHeader& header,
                   const QVector<QStringList>& lines);
