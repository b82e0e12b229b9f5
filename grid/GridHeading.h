#pragma once

class CGridCtrl;

// Makes an editable grid with one fixed heading row and one fixed column: the heading texts
// centred in a row rowHeight high, each column its width, neither columns nor rows resizable by
// dragging. The document and count windows set up their grids with it.
void SetFixedHeading(CGridCtrl* grid, const char* const* headers, const int* widths, int columns,
                     int rowHeight);

// White cells and background, rows rowHeight high, and every default cell (fixed or not)
// centred on one line: the plain look of the program's lists and line tables.
void SetPlainCentredLook(CGridCtrl* grid, int rowHeight);
