#pragma once

#include <QString>
#include <QStringList>

#include "documents/CSaleDocStore.h"
#include "text/ScannerText.h"

class CGridCtrl;

// The line table of the sales documents: a fixed header row, a fixed line-number column,
// rows 25 pixels high. The product columns (name, short name, specification) and the amount
// are filled by the program; the code, price, quantity, discount, packages and remark are the
// user's.

void SetupSaleGrid(CGridCtrl* grid);
// Appends an empty line numbered after the others; returns its row.
int AppendSaleLine(CGridCtrl* grid);
// Numbers the lines 1, 2, ... again.
void RenumberSaleLines(CGridCtrl* grid);
// Puts a product into a line: name, code, short name, spec and price, the discount drop list
// at "1.0" and the remark drop list at the empty text. The quantity and the amount stay.
void PutSaleLineProduct(CGridCtrl* grid, int row, const QString& code, const ProductFacts& product);
// Puts a stored line back into a table line; the discount drop list offers the product's
// discounts (discounts) and shows the stored one.
void PutStoredSaleLine(CGridCtrl* grid, int row, const SaleDocLine& line,
                       const QStringList& discounts);
// A return line taken from a sale: only its quantity and packages stay open to typing.
void LockTakenSaleLine(CGridCtrl* grid, int row);
// Shows a line amount, right-aligned.
void SetSaleLineAmount(CGridCtrl* grid, int row, const QString& amount);

SaleDocLine ReadSaleLine(const CGridCtrl* grid, int row);
// The amounts of all data lines.
QStringList SaleLineAmounts(const CGridCtrl* grid);
int SaleLineCount(const CGridCtrl* grid);
