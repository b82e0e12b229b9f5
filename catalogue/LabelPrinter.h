#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include "catalogue/LabelSheet.h"

class QPainter;
class QPrinter;

// What one product label shows.
struct ProductLabel {
    QString shortname;
    QString spec;
    QString price;
    QString code; // ten digits, printed as a Code 128 barcode with the digits below
};

// Prints labels on sheets of label paper: the paper and full-page origin of the sheet.
void SetupLabelPrinter(QPrinter& printer, const LabelSheet& sheet);

// Prints the labels in order, row by row, starting a new page when a sheet is full. Returns the
// number of pages printed (0 when the printer could not be started).
int PrintLabels(QPrinter& printer, const QList<ProductLabel>& labels, const LabelSheet& sheet);

// Paints one label into rect (device pixels of a device with dpi dots per inch): the short name,
// the specification and price, the barcode and its digits.
void PaintLabel(QPainter& painter, const QRect& rect, int dpi, const ProductLabel& label,
                bool border);
