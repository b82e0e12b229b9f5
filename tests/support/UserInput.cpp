#include "UserInput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QRadioButton>
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

void Click(QAbstractButton* button) {
    // A radio button is clicked on its indicator, where a user clicks.
    if (auto* radio = qobject_cast<QRadioButton*>(button))
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    else
        QTest::mouseClick(button, Qt::LeftButton);
}

void ShowAtWorkingSize(QWidget& window) {
    window.resize(window.sizeHint().width(), 420);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

void DeliverPostedEvents() {
    // A delivered event may post the next one (a deleted editor's last calls): a few rounds.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
