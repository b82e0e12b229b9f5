#pragma once

class QWidget;

// 快捷键一览 under the help button: the keys of the document windows, pickers and queries.
void ShowKeyMapDialog(QWidget* parent);
