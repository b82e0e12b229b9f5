#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

// Types text as a user does: plain keys for ASCII, the input method's commit for Chinese.
void TypeText(QWidget* widget, const QString& text);
// A left click on a button as a user gives it (on the indicator of a radio button).
void Click(QAbstractButton* button);
// Shows a window at a working height, as the main window opens it, and waits until it is on
// the screen.
void ShowAtWorkingSize(QWidget& window);
// Delivers every event posted so far, deferred deletes included: what a queued call or a zero
// timer would still do has been done when it returns.
void DeliverPostedEvents();
