#pragma once

#include "export/ExportTable.h"

// A field as CSV holds it: quoted, with inner quotes doubled, when it holds a comma, a quote or
// a line break; as it is otherwise.
QString CsvField(const QString& text);

// A text cell that a spreadsheet would take for a formula (it begins with "=", "+", "-", "@", a
// tab or a carriage return, and is no plain number) with an apostrophe in front, as spreadsheets
// themselves mark text; a name typed as "=HYPERLINK(...)" never runs when the file is opened.
QString CsvSafeText(const QString& text);

// Writes the table at path as CSV: UTF-8 with a byte order mark (so that spreadsheets read
// Chinese right), the header first, fields separated by commas, lines ended by CR LF. Every
// field is the text the window shows, text cells made safe with CsvSafeText.
ExportResult WriteCsv(const ExportTable& table, const QString& path,
                      const ExportProgress& progress = {});
