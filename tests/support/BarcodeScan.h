#pragma once

#include <QList>
#include <QStringList>

// The Code 128 barcodes on each page of a PDF, as a scanner reads them: the pages rendered at
// 300 dpi (pdftoppm) and decoded with zbarimg. One list of codes per page, in zbar's order;
// empty when the PDF cannot be read.
QList<QStringList> ScanPdfBarcodes(const QString& pdfPath);
