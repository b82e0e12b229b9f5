#include "accounts/CIdleSignIn.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "accounts/CSignInDlg.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/Db.h"
#include "db/OperatorSession.h"
#include "db/OperatorStore.h"

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        return true;
    default:
        return false;
    }
}

} // namespace

CIdleSignIn::CIdleSignIn(QWidget* mainWindow) : QObject(mainWindow), m_pMainWindow(mainWindow) {
    m_lastInput.start();
    qApp->installEventFilter(this);
    connect(&m_timer, &QTimer::timeout, this, [this] { Check(m_lastInput.elapsed()); });
    m_timer.start(20 * 1000);
}

bool CIdleSignIn::eventFilter(QObject* watched, QEvent* event) {
    if (IsUserInput(event->type()))
        m_lastInput.restart();
    return QObject::eventFilter(watched, event);
}

int CIdleSignIn::Minutes() const {
    if (!Db() || !Db()->IsOpen())
        return 0;
    try {
        return IdleMinutes(*Db());
    } catch (const CDbException&) {
        return 0; // a lost server is told by the next action, not by a clock
    }
}

void CIdleSignIn::Check(qint64 idleMs) {
    if (m_bAsking || !OperatorSession::Instance().SignedIn())
        return;
    const int minutes = Minutes();
    if (minutes <= 0 || idleMs < qint64(minutes) * 60 * 1000)
        return;
    AskAgain();
}

void CIdleSignIn::AskAgain() {
    m_bAsking = true;
    OperatorSession::Instance().SignOut();
    // Only a right password ends the box: cancelling it asks again.
    while (m_pMainWindow) {
        CSignInDlg dialog(m_pMainWindow);
        dialog.setWindowTitle(QStringLiteral("无人操作，请重新登录"));
        if (dialog.exec() == QDialog::Accepted) {
            OperatorSession::Instance().SignIn(dialog.Result());
            break;
        }
    }
    m_lastInput.restart();
    m_bAsking = false;
}
