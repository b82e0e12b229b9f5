#pragma once

#include <QString>

class QWidget;

// Types text as a user does: plain keys for ASCII, the input method's commit for Chinese.
void TypeText(QWidget* widget, const QString& text);
