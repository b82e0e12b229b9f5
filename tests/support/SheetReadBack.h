#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class CGridCtrl;

// An exported file as a real spreadsheet reader sees it: openpyxl and Python's csv module,
// run by /usr/bin/python3 (read_sheet.py beside this file).

struct SheetCell {
    QString type;   // "s" text, "n" number, "d" date and time, "" empty
    QString value;  // text; number as Python writes it; date as yyyy-MM-ddTHH:mm:ss
    QString format; // the cell's number format
};

struct SheetReadBack {
    bool ok = false;
    QString error; // why the file could not be read
    // .xlsx
    QStringList sheets;
    QString freeze;                // the first cell below and right of the frozen panes
    QList<double> widths;          // column widths; negative where none is set
    QList<bool> headerBold;        // the cells of the first row
    QList<QList<SheetCell>> cells; // every row, the header first
    // .csv
    bool bom = false;
    QList<QStringList> records; // every record, the header first
};

SheetReadBack ReadSheetBack(const QString& path);

// Compares every cell of the sheet with the grid: the first row holds the headers of the grid's
// columns from firstCol on, each later row the texts of one data row. kinds gives, by header,
// the type a column's non-empty cells must have: 'n' a number with at least two decimals in its
// format, 'i' a number with as many decimals as its text shows, 'd' a date, 's' text (the
// default). A text in a number column that is no plain number must be text. A number must equal the
// grid's text as a number, with as many decimals in its format as the text shows when more; a date
// must be the grid's text. Returns the first difference, empty when there is none.
QString CompareSheetWithGrid(const SheetReadBack& sheet, const CGridCtrl& grid, int firstCol,
                             const QHash<QString, char>& kinds);

// The same for a CSV file: every field is the grid's text.
QString CompareCsvWithGrid(const SheetReadBack& csv, const CGridCtrl& grid, int firstCol);
