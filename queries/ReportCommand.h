#pragma once

#include <QString>
#include <QStringList>

#include "queries/ProfitReports.h"

// `Harbor --report NAME [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--db FILE]
// [--out FILE.csv|FILE.xlsx] [--days N] [--by quantity|profit]`: one of the owner's reports,
// as UTF-8 CSV on standard output or written to the file.
struct ReportOptions {
    ReportRequest request;
    QString database; // --db: the shop file; empty: the Lanset.ini beside the program
    QString out;      // --out: the file to write; empty: standard output
};

// Reads the arguments after --report. The period defaults to the month of today. False with
// the reason in error when an argument is wrong.
bool ParseReportOptions(const QStringList& args, const QDate& today, ReportOptions* options,
                        QString* error);

// The report as CSV text: the header line (none for summary, whose lines are name,value) and
// one line per row, fields as the CSV export writes them, lines ended by "\n".
QString ReportCsvText(const QString& name, const ExportTable& table);

// The command: connects as the program does (never creating a missing file), writes the
// report, returns 0, or 1 with the reason on standard error.
int ReportCommand(const QStringList& args);
