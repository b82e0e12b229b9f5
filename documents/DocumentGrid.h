#pragma once

#include <QString>
#include <QStringList>

#include "documents/CFormStore.h"

class CGridCtrl;

// The line table of a document form: a fixed header row, a fixed line-number column, rows 25
// pixels high, the columns the form names. The product columns (name, short name,
// specification) and the amount are filled by the program; the price, quantity and the
// form's other columns (the code where a typed code loads its product, discount, packages,
// remark) are the user's.

void SetupLineGrid(CGridCtrl* grid, const DocumentForm& form);
// The product name column takes the width the other columns leave in the table, at least
// kNameColumnMinimum: the table fills the room the window gives it.
void FitLineColumns(CGridCtrl* grid, const DocumentForm& form);
constexpr int kNameColumnMinimum = 120;
// Appends an empty line numbered after the others; returns its row.
int AppendLineRow(CGridCtrl* grid, const DocumentForm& form);
// Numbers the lines 1, 2, ... again.
void RenumberLines(CGridCtrl* grid);
// Puts a product into a line: name, code, short name and spec; the price where the form takes
// the catalogue's (else the price, quantity and amount are emptied); the discount drop list at
// "1.0" and the remark drop list at the empty text where the form has them.
void PutLineProduct(CGridCtrl* grid, const DocumentForm& form, int row, const QString& code,
                    const ProductFacts& product);
// Puts a stored line back into a table line; the discount drop list offers the product's
// discounts (discounts) and shows the stored one.
void PutStoredLine(CGridCtrl* grid, const DocumentForm& form, int row, const DocumentLine& line,
                   const QStringList& discounts);
// A return line taken from a sale: only its quantity and packages stay open to typing.
void LockTakenSaleLine(CGridCtrl* grid, const DocumentForm& form, int row);
// Shows a line amount, right-aligned.
void SetLineAmount(CGridCtrl* grid, const DocumentForm& form, int row, const QString& amount);

DocumentLine ReadLine(const CGridCtrl* grid, const DocumentForm& form, int row);
QVector<DocumentLine> ReadLines(const CGridCtrl* grid, const DocumentForm& form);
// The amounts of all data lines.
QStringList LineAmounts(const CGridCtrl* grid, const DocumentForm& form);
