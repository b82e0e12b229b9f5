#pragma once

#include "export/ExportTable.h"

class QWidget;

// The export as the user goes through it: a save dialog that proposes "title_date.xlsx" (or .csv)
// in the folder used last, a question before a file is replaced, a progress dialog with a
// cancel button for long lists, and a message that says where the file went or what failed.
// Returns true when the file was written.
bool ExportWithDialogs(QWidget* parent, const ExportTable& table, ExportFormat format);

// The format a chosen file name asks for: its suffix, or the chosen filter when it has no known
// suffix.
ExportFormat FormatForPath(const QString& path, ExportFormat filterFormat);

// The name filter offered for a format in the save dialog.
QString FormatFilter(ExportFormat format);
