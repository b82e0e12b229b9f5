#pragma once

#include "export/ExportTable.h"

// Exports the table to path in the given format. The file is written under a temporary name in
// the same folder and takes its name only when complete, replacing a file of that name; a
// cancelled or failed export removes what it wrote and leaves an existing file as it was.
ExportResult ExportToFile(const ExportTable& table, const QString& path, ExportFormat format,
                          const ExportProgress& progress = {});
