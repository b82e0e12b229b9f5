#include "ui/CWorkSubWindow.h"

#include <QApplication>
#include <QCloseEvent>

#include "ui/CWorkDialog.h"

CWorkSubWindow::CWorkSubWindow(CWorkDialog* dialog) : m_pDialog(dialog) {
    setWidget(dialog);
    setWindowTitle(dialog->windowTitle());
    setWindowIcon(QApplication::windowIcon());
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, dialog->GetCloseBox() == CWorkDialog::CloseBox::Destroys);
    setOption(QMdiSubWindow::RubberBandResize, false);
}

void CWorkSubWindow::closeEvent(QCloseEvent* event) {
    if (m_pDialog->GetCloseBox() == CWorkDialog::CloseBox::Hides) {
        hide();
        event->ignore();
        return;
    }
    if (!m_pDialog->QueryClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
