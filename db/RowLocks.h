#pragma once

#include <QString>
#include <QStringList>

// What two workstations on the shop's server must not do at the same moment, locked inside the
// save's transaction and held until it ends. The local file needs none of it: a save there
// holds the file's write lock from its start.

// Before a save changes stock: the product rows it touches, in code order (so two saves never
// wait for each other in a circle). The second save waits, then reads the stock the first one
// left.
void LockProducts(QStringList codes);

// Before the first save of a document number: one save at a time per table and date, so the
// second one sees the first one's rows and draws the next number.
void LockFirstSave(const QString& table, const QString& oddnum);

// Before the returns taken from sales are checked against them, and before such a sale is
// saved again: one at a time per sale, in number order.
void LockSaleReturns(QStringList saleOddnums);
