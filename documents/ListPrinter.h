#pragma once

#include <QString>
#include <QStringList>

#include "documents/ListPrintCanvas.h"
#include "ui/ListPrintData.h"

// One page set-up of a print job, in device pixels.
struct ListPrintPage {
    int width = 0;  // printable width
    int height = 0; // printable height of one page
    int dpiY = 180; // device pixels per inch, vertical
    bool paged = true;
};

// Lays out and draws a list of one of the four kinds as one tall drawing: the title with the
// shop's name, the header texts, the ruled table, the summary texts and, for sales lists,
// the shop's contact lines. When paged, rows that would run into the bottom of a page go on
// the next one, which starts with a rule 1.5 row heights below its top. A printer shows page
// p by shifting the drawing up by (p - 1) page heights.
class ListPrinter {
  public:
    ListPrinter(const ListPrintData& list, const QString& companyName,
                const QStringList& companyLines);

    // Scale from the layout's 180 units per inch to the device.
    static float Scale(int dpiY);
    // Pages of a paged job before drawing: rows include the header row.
    static int PagedPageCount(int kind, int rows, float s, int pageHeight);
    // Length in device pixels of the one page that holds a whole list.
    static int SinglePageLength(int kind, int rows, float s);
    // A length in device pixels as tenths of a millimetre.
    static int TenthsOfMillimetre(int length, int dpi);

    // Draws the whole list; returns the number of pages it takes (1 when not paged).
    int Draw(ListPrintCanvas& canvas, const ListPrintPage& page) const;

  private:
    const ListPrintData& m_list;
    QString m_strCompanyName;
    QStringList m_strCompanyLine;
};
