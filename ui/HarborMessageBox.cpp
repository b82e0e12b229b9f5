#include "ui/HarborMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Stop:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void SetMessageBoxHook(MessageHook hook) {
    Hook() = std::move(hook);
}

int HarborMessageBox(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                     const QString& caption) {
    const MessageRecord record{text, caption.isEmpty() ? QString::fromUtf8(kAppTitle) : caption,
                               icon, buttons};
    if (Hook())
        return Hook()(record);

    QMessageBox box(BoxIcon(icon), record.caption, text, QMessageBox::NoButton,
                    parent ? parent : QApplication::activeWindow());
    switch (buttons) {
    case MsgButtons::Ok:
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        break;
    case MsgButtons::OkCancel:
        box.setDefaultButton(box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole));
        box.setEscapeButton(static_cast<QAbstractButton*>(
            box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole)));
        break;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        box.setDefaultButton(box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole));
        box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
        if (buttons == MsgButtons::YesNoCancel)
            box.setEscapeButton(static_cast<QAbstractButton*>(
                box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole)));
        break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    switch (clicked ? box.buttonRole(clicked) : QMessageBox::RejectRole) {
    case QMessageBox::YesRole:
        return IDYES;
    case QMessageBox::NoRole:
        return IDNO;
    case QMessageBox::AcceptRole:
        return IDOK;
    default:
        break;
    }
    return buttons == MsgButtons::YesNo ? IDNO : (buttons == MsgButtons::Ok ? IDOK : IDCANCEL);
}
