#include "ui/CWorkDialog.h"

#include <QKeyEvent>
#include <QList>
#include <QMdiSubWindow>
#include <QPointer>

namespace {

QList<CWorkDialog*>& OpenDialogs() {
    static QList<CWorkDialog*> dialogs;
    return dialogs;
}

} // namespace

CWorkDialog::CWorkDialog(const QString& title, QWidget* parent) : QWidget(parent) {
    setWindowTitle(title);
    setAutoFillBackground(true);
    OpenDialogs().append(this);
}

CWorkDialog::~CWorkDialog() {
    OpenDialogs().removeAll(this);
}

QWidget* CWorkDialog::HostWindow() {
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    return sub ? static_cast<QWidget*>(sub) : this;
}

void CWorkDialog::HideDialog() {
    HostWindow()->hide();
}

void CWorkDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        HideDialog();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept(); // a stray Enter must not take the dialog away
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CWorkDialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_bShownOnce)
        return;
    m_bShownOnce = true;
    FirstShown();
}

CWorkDialog* FindWorkWindow(const QString& title) {
    for (CWorkDialog* dialog : OpenDialogs()) {
        if (dialog->windowTitle() == title)
            return dialog;
    }
    return nullptr;
}
