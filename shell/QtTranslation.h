#pragma once

class QCoreApplication;

// Qt's own texts (the buttons of the file, print and preview dialogs, the context menus of text
// boxes) in simplified Chinese, like the rest of the program. Returns false when Qt's Chinese
// translation is not installed; the program then shows those texts in English.
bool InstallQtChinese(QCoreApplication& app);
