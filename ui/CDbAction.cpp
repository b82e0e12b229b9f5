#include "ui/CDbAction.h"

#include "db/AuditedTransaction.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/Db.h"
#include "ui/HarborMessageBox.h"
#include "ui/ShellLink.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

bool g_lastInDoubt = false;

void ReportFailure(QWidget* parent, const QString& what, const CDbException& error) {
    const QString head = error.GetKind() == CDbException::Kind::InDoubt
                             ? QStringLiteral("%1没有得到数据库的确认。").arg(what)
                             : QStringLiteral("%1失败,所做的修改没有保存。").arg(what);
    QString text = QStringLiteral("%1\n\n数据库信息: %2").arg(head, error.Message());
    HarborMessageBox(parent, text, MsgIcon::Stop);
}

QString ReadFailureText(const QString& what, const CDbException& error) {
    return QStringLiteral("%1失败。\n\n数据库信息: %2").arg(what, error.Message());
}

} // namespace

bool RunDbAction(QWidget* parent, const QString& what, const std::function<void()>& action) {
    CConnection* connection = Db().get();
    g_lastInDoubt = false;
    try {
        if (!connection || !connection->IsOpen())
            throw CDbException(QStringLiteral("没有数据库连接"));
        // The change and its log entry, in one transaction.
        RunAuditedTransaction(*connection, what, action);
        return true;
    } catch (const CDbException& error) {
        g_lastInDoubt = error.GetKind() == CDbException::Kind::InDoubt;
        ReportFailure(parent, what, error);
        // The file under the program is gone: nothing more can be saved until the user
        // points the program at its database again.
        if (error.GetKind() == CDbException::Kind::Lost)
            if (CShellLink* link = ShellLink())
                link->ReconnectFromSettings();
    }
    return false;
}

bool LastActionInDoubt() {
    return g_lastInDoubt;
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
