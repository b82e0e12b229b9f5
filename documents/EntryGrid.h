#pragma once

#include <QVector>

#include "documents/EntryLineMath.h"

class CGridCtrl;

// The line table of the stock-in document: a fixed header row, a fixed line-number column,
// rows 25 pixels high. Only the price and the quantity are typed; the product columns change
// through the pickers, the amount is computed.
enum EntryColumn {
    kEntryName = 1,
    kEntryShortName,
    kEntryCode,
    kEntrySpec,
    kEntryPrice,
    kEntryCount,
    kEntryAmount,
    kEntryColumns
};

void SetupEntryGrid(CGridCtrl* grid);
// Appends an empty line numbered after the others; returns its row.
int AppendEntryLine(CGridCtrl* grid);
// Numbers the lines 1, 2, ... again.
void RenumberEntryLines(CGridCtrl* grid);
// Puts a product into a line and empties its short name, price, quantity and amount.
void SetEntryLineProduct(CGridCtrl* grid, int row, const QString& name, const QString& code,
                         const QString& spec);
// Shows a line amount, right-aligned.
void SetEntryLineAmount(CGridCtrl* grid, int row, const QString& amount);

EntryLine ReadEntryLine(const CGridCtrl* grid, int row);
QVector<EntryLine> ReadEntryLines(const CGridCtrl* grid);
