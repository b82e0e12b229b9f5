#pragma once

#include "export/ExportTable.h"

// A field as CSV holds it: quoted, with inner quotes doubled, when it holds a comma, a quote or
// a line break; as it is otherwise.
QString CsvField(const QString& text);

// Writes the table at path as CSV: UTF-8 with a byte order mark (so that spreadsheets read
// Chinese right), the header first, fields separated by commas, lines ended by CR LF. Every
// field is the text the window shows.
ExportResult WriteCsv(const ExportTable& table, const QString& path,
                      const ExportProgress& progress = {});
