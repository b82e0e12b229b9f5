#pragma once

class CGridCtrl;
class QString;

// Makes an editable grid with one fixed heading row and one fixed column: the heading texts
// centred in a row rowHeight high, each column its width, neither columns nor rows resizable by
// dragging. The document and count windows set up their grids with it.
void SetFixedHeading(CGridCtrl* grid, const char* const* headers, const int* widths, int columns,
                     int rowHeight);

// White cells and background, rows rowHeight high, and every default cell (fixed or not)
// centred on one line: the plain look of the program's lists and line tables.
void SetPlainCentredLook(CGridCtrl* grid, int rowHeight);

// Widens a column (never narrows it) so that a text like sample shows whole in its cells: the
// row numbers of a long list, an 11-digit document number.
void WidenColumnFor(CGridCtrl* grid, int col, const QString& sample);
