#pragma once

#include <QList>
#include <QStringList>
#include <QVector>
#include <utility>

class CGridCtrl;

// Sets up a grid of the coding window: one header row with the given texts and column widths,
// the first fixedCols columns fixed, rows 25 pixels high, every cell centred, white background.
void SetupCatalogueGrid(CGridCtrl* grid, const QStringList& headers, const QVector<int>& widths,
                        int fixedCols);

// Formats a newly filled cell like the rest of a catalogue grid.
void CentreCell(CGridCtrl* grid, int row, int col);

// When the grid is narrower than its columns (widths as set up), narrows the given columns, each
// by at most its slack, so that the last column stays in view; otherwise restores the widths.
void FitCatalogueColumns(CGridCtrl* grid, const QVector<int>& widths,
                         const QList<std::pair<int, int>>& slack);

// Appends a data row to a catalogue grid and returns its index.
int AppendCatalogueRow(CGridCtrl* grid);
