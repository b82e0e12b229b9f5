#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message of the program goes through HarborMessageBox, so tests can answer them.
enum class MsgIcon { None, Information, Exclamation, Question, Stop };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
// Answers, with the values the dialogs compare against.
enum MsgAnswer { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// The caption of every message box unless a window names another.
inline const char* const kAppTitle = "远航五交化销售管理系统";

struct MessageRecord {
    QString text;
    QString caption;
    MsgIcon icon;
    MsgButtons buttons;
};

int HarborMessageBox(QWidget* parent, const QString& text, MsgIcon icon = MsgIcon::Exclamation,
                     MsgButtons buttons = MsgButtons::Ok, const QString& caption = QString());

// Tests install a hook that records each message and returns the answer instead of showing a
// box. An empty hook restores the real boxes.
using MessageHook = std::function<int(const MessageRecord&)>;
void SetMessageBoxHook(MessageHook hook);
