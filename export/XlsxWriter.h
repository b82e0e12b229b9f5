#pragma once

#include "export/ExportTable.h"

// Writes the table as a workbook of one sheet at path: a bold, frozen header row, numbers as
// numbers, dates as dates, columns as wide as their texts. Rows are streamed, so a long list
// needs little memory. On cancel or failure nothing is written at path.
ExportResult WriteXlsx(const ExportTable& table, const QString& path,
                       const ExportProgress& progress = {});
