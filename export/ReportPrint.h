#pragma once

#include <QString>
#include <QStringList>

#include "export/ExportTable.h"

class QPrinter;
class QWidget;

// A list printed on pages of its own: the title and the shop's letterhead, lines about the list,
// a ruled table whose header row repeats on every page, lines under it and the page numbers.
// The table is the one an export writes, so a window prints exactly what it exports; its Number
// columns are right-aligned.
struct Report {
    QString title;
    QStringList letterhead; // the shop's name, then its contact line (ShopLetterhead)
    QStringList heading;    // lines above the table
    ExportTable table;
    QStringList footing; // lines under the table (totals)
};

// The shop's name and contact line from companyinfo; empty when there is none. Raises
// CDbException.
QStringList ShopLetterhead();

// Whether the report goes on landscape pages: when its columns need more room than portrait.
bool ReportNeedsLandscape(const Report& report);

// Draws the report on the printer's pages (its page size and orientation as set); returns the
// number of pages.
int PrintReport(QPrinter& printer, const Report& report);

// The print preview, from which the user prints or saves a PDF file.
void PreviewReport(QWidget* parent, const Report& report);

// Writes the report as an A4 PDF file; false when the file cannot be written.
bool SaveReportPdf(const Report& report, const QString& path);
// Asks for the file (the title is proposed) and writes the PDF, telling where it went.
void ChooseReportPdf(QWidget* parent, const Report& report);
