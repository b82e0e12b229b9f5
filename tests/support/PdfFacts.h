#pragma once

#include <QSizeF>
#include <QString>

// Pages and the first page's size in points of a PDF that Qt wrote.
struct PdfFacts {
    int pages = 0;
    QSizeF size;
};

PdfFacts ReadPdf(const QString& path);

// The text of a PDF as pdftotext lays it out, for checking what the pages say; empty when the
// PDF cannot be read.
QString PdfText(const QString& path);
