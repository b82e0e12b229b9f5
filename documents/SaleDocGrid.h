#pragma once

#include <QString>
#include <QStringList>

#include "documents/CSaleDocStore.h"
#include "documents/ScannerText.h"

class CGridCtrl;

// The line table of the sales documents: a fixed header row, a fixed line-number column,
// rows 25 pixels high.

void SetupSaleGrid(CGridCtrl* grid);
// Appends an empty line numbered after the others; returns its row.
int AppendSaleLine(CGridCtrl* grid);
// Numbers the lines 1, 2, ... again.
void RenumberSaleLines(CGridCtrl* grid);
// Fills the product columns of a line (short name, spec, price) and makes its discount and
// remark cells drop lists showing "1.0" and the empty remark.
void SetSaleLineProduct(CGridCtrl* grid, int row, const QString& shortName, const QString& spec,
                        const QString& price, const QStringList& discounts);
// Shows a line amount, right-aligned.
void SetSaleLineAmount(CGridCtrl* grid, int row, const QString& amount);

SaleDocLine ReadSaleLine(const CGridCtrl* grid, int row);
// The amounts of all data lines.
QStringList SaleLineAmounts(const CGridCtrl* grid);
int SaleLineCount(const CGridCtrl* grid);

// Line work that looks products up in property (raises CDbException on a database error).

// Puts a picked product into a line: name and code, then its properties. Clears quantity and
// amount. False when property has no row for the code (the line keeps name and code).
bool FillPickedProduct(CGridCtrl* grid, int row, const QString& name, const QString& code);
// Recomputes a line after the edit of column col (the columns of the kind only).
void RecomputeSaleLine(CGridCtrl* grid, int row, int col, const SaleDocKind& kind);
// Appends a filled line for every scanned product found in property; returns the codes of
// those that were not found.
QStringList AppendScannedLines(CGridCtrl* grid, const QList<ScannerEntry>& entries);
