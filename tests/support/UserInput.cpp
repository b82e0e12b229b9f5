#include "UserInput.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QtTest>

void TypeText(QWidget* widget, const QString& text) {
    QString pending;
    auto commit = [&] {
        if (pending.isEmpty())
            return;
        QInputMethodEvent event;
        event.setCommitString(pending);
        QApplication::sendEvent(widget, &event);
        pending.clear();
    };
    for (QChar ch : text) {
        if (ch.unicode() < 128) {
            commit();
            QTest::keyClick(widget, ch.toLatin1());
        } else {
            pending += ch;
        }
    }
    commit();
}
