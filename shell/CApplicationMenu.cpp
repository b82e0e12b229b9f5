#include "shell/CApplicationMenu.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

CApplicationMenu::CApplicationMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {}

QMenu* CApplicationMenu::AddSplitMenu(const QString& text, std::function<void()> command,
                                      QChar commandKey, QChar menuKey) {
    QMenu* menu = addMenu(text);
    m_pSplitAction = menu->menuAction();
    m_pSplitAction->setToolTip(QStringLiteral("%1 (%2, %3)").arg(text, commandKey, menuKey));
    m_command = std::move(command);
    m_commandKey = commandKey.toUpper();
    m_menuKey = menuKey.toUpper();
    return menu;
}

// The menu closes first; the command runs from the event loop, so that a dialog it opens is not
// stacked on a closing popup.
void CApplicationMenu::RunSplitCommand() {
    close();
    if (m_command)
        QTimer::singleShot(0, this, [command = m_command] { command(); });
}

void CApplicationMenu::OpenSplitMenu() {
    setActiveAction(m_pSplitAction);
    if (QMenu* menu = m_pSplitAction->menu()) {
        const QRect item = actionGeometry(m_pSplitAction);
        menu->popup(mapToGlobal(item.topRight()));
        menu->setActiveAction(menu->actions().value(0));
    }
}

void CApplicationMenu::keyPressEvent(QKeyEvent* event) {
    if (m_pSplitAction && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QString text = event->text().toUpper();
        if (!text.isEmpty() && text.at(0) == m_commandKey) {
            RunSplitCommand();
            return;
        }
        if (!text.isEmpty() && text.at(0) == m_menuKey) {
            OpenSplitMenu();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            activeAction() == m_pSplitAction) {
            RunSplitCommand();
            return;
        }
    }
    QMenu::keyPressEvent(event);
}

void CApplicationMenu::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pSplitAction && event->button() == Qt::LeftButton &&
        actionAt(event->position().toPoint()) == m_pSplitAction) {
        RunSplitCommand();
        return;
    }
    QMenu::mouseReleaseEvent(event);
}
