#pragma once

class CWorkDialog;
class QWidget;

// The modeless dialog that a ribbon command opens over the work area, newly created; null
// for commands that open no such dialog.
CWorkDialog* CreateWorkDialog(int command);

// Opens the modal dialog of a command that has one made afresh each time (公司信息);
// false for other commands.
bool RunModalDialog(int command, QWidget* parent);
