#include "app/CDbAction.h"

#include "accounts/AuditedTransaction.h"
#include "app/CConnection.h"
#include "app/CDbException.h"
#include "app/CHarborApp.h"
#include "app/HarborMessageBox.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

void ReportFailure(QWidget* parent, const QString& what, const CDbException& error) {
    QString text =
        QStringLiteral("%1失败,所做的修改没有保存。\n\n数据库信息: %2").arg(what, error.Message());
    HarborMessageBox(parent, text, MsgIcon::Stop);
}

QString ReadFailureText(const QString& what, const CDbException& error) {
    return QStringLiteral("%1失败。\n\n数据库信息: %2").arg(what, error.Message());
}

} // namespace

bool RunDbAction(QWidget* parent, const QString& what, const std::function<void()>& action) {
    CConnection* connection = theApp.m_pConnection.get();
    try {
        if (!connection || !connection->IsOpen())
            throw CDbException(QStringLiteral("没有数据库连接"));
        // The change and its log entry, in one transaction.
        RunAuditedTransaction(*connection, what, action);
        return true;
    } catch (const CDbException& error) {
        ReportFailure(parent, what, error);
        // The file under the program is gone: nothing more can be saved until the user
        // points the program at its database again.
        if (error.GetKind() == CDbException::Kind::Lost)
            theApp.ReconnectFromSettings();
    }
    return false;
}

bool RunDbRead(QWidget* parent, const QString& what, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const CDbException& error) {
        HarborMessageBox(parent, ReadFailureText(what, error), MsgIcon::Stop);
    }
    return false;
}

bool RunDbReadWhilePainting(QWidget* parent, const QString& what,
                            const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const CDbException& error) {
        QTimer::singleShot(
            0, qApp, [window = QPointer<QWidget>(parent), text = ReadFailureText(what, error)] {
                HarborMessageBox(window, text, MsgIcon::Stop);
            });
    }
    return false;
}
