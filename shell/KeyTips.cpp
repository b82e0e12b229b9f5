#include "shell/KeyTips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// A widget that stands in a sub-window other than the active one of its work area is behind
// another window: its tip would be pressed on the wrong window.
bool InActiveSubWindow(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const auto* sub = qobject_cast<const QMdiSubWindow*>(w)) {
            const QMdiArea* area = sub->mdiArea();
            return !area || area->activeSubWindow() == sub;
        }
    }
    return true;
}

QLabel* MakeTip(QWidget* window, const QString& letter) {
    auto* tip = new QLabel(letter, window);
    tip->setObjectName(QStringLiteral("keyTip"));
    tip->setAttribute(Qt::WA_TransparentForMouseEvents);
    tip->setFocusPolicy(Qt::NoFocus);
    tip->setAlignment(Qt::AlignCenter);
    tip->setStyleSheet(QStringLiteral("QLabel#keyTip { background: #fff6c8; color: #202020; "
                                      "border: 1px solid #8a7a3a; border-radius: 2px; "
                                      "font-weight: bold; padding: 0px 3px; }"));
    tip->adjustSize();
    return tip;
}

} // namespace

CKeyTips::CKeyTips(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

CKeyTips::~CKeyTips() {
    Hide();
}

QString CKeyTips::TipOf(const QWidget* widget) {
    const QString own = widget->property("keyTip").toString();
    if (!own.isEmpty())
        return own.toUpper();
    QString text;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    else if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->buddy())
        text = label->text();
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    if (mnemonic.isEmpty())
        return QString();
    return QKeySequence(mnemonic[0].key()).toString().toUpper();
}

QList<QLabel*> CKeyTips::Shown() const {
    QList<QLabel*> shown;
    for (const QPointer<QLabel>& tip : m_tips) {
        if (tip && tip->isVisible())
            shown.append(tip);
    }
    return shown;
}

bool CKeyTips::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Alt alone: the press of the key may or may not carry its own modifier.
        if (key->key() == Qt::Key_Alt && !key->isAutoRepeat() &&
            (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier) {
            Show(QApplication::activeWindow());
            return true; // Alt alone moves the focus nowhere
        }
        Hide();
        break;
    }
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt) {
            const bool wasShown = !m_tips.isEmpty();
            Hide();
            if (wasShown)
                return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::WindowDeactivate:
        Hide();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CKeyTips::Show(QWidget* window) {
    Hide();
    if (!window)
        return;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible() || !widget->isEnabled() || !InActiveSubWindow(widget))
            continue;
        const QString letter = TipOf(widget);
        if (letter.isEmpty())
            continue;
        QLabel* tip = MakeTip(window, letter);
        // Under the middle of the widget's lower edge, inside the window.
        const QPoint anchor = widget->mapTo(window, QPoint(widget->width() / 2, widget->height()));
        QPoint at(anchor.x() - tip->width() / 2, anchor.y() - tip->height() / 2);
        at.setX(qBound(0, at.x(), qMax(0, window->width() - tip->width())));
        at.setY(qBound(0, at.y(), qMax(0, window->height() - tip->height())));
        tip->move(at);
        tip->raise();
        tip->show();
        m_tips.append(tip);
    }
}

void CKeyTips::Hide() {
    for (const QPointer<QLabel>& tip : std::as_const(m_tips)) {
        if (tip) {
            tip->hide();
            tip->deleteLater();
        }
    }
    m_tips.clear();
}
