#include "accounts/AuditedTransaction.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSysInfo>

#include "accounts/AuditCapture.h"
#include "accounts/AuditLog.h"
#include "accounts/OperatorSession.h"
#include "app/CConnection.h"
#include "app/CDbException.h"
#include "app/HarborMessageBox.h"

namespace {

AuditEntry NewEntry(const QString& what, const QString& operatorName, const QString& object) {
    OperatorSession& session = OperatorSession::Instance();
    AuditEntry entry;
    entry.at = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    entry.op = operatorName.isEmpty() ? session.Operator().name : operatorName;
    entry.authorizer = session.TakeAuthorizer();
    entry.workstation = QSysInfo::machineHostName();
    entry.action = what;
    entry.object = object;
    return entry;
}

} // namespace

void RunAuditedTransaction(CConnection& connection, const QString& what,
                           const std::function<void()>& action, const QString& operatorName,
                           const QString& object) {
    if (connection.InTransaction()) {
        // Nested: a failure here still spoils the outer action.
        connection.BeginTransaction();
        try {
            action();
            connection.Commit();
        } catch (...) {
            connection.Rollback();
            throw;
        }
        return;
    }
    connection.BeginTransaction();
    AuditHead head;
    try {
        BeginAuditCapture(connection);
        action();
        AuditEntry entry = NewEntry(what, operatorName, object);
        FillAuditImages(&entry, EndAuditCapture(connection));
        head = AppendAuditEntry(connection, entry);
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        OperatorSession::Instance().TakeAuthorizer();
        throw;
    }
    WriteAuditHead(connection, head);
}

void LogDatabaseEvent(QWidget* parent, CConnection& connection, const QString& what,
                      const QString& file, bool restored) {
    try {
        if (restored)
            ResetAuditHead(connection);
        RunAuditedTransaction(
            connection, what, [] {}, QString(), QFileInfo(file).fileName());
    } catch (const CDbException& error) {
        HarborMessageBox(
            parent, QStringLiteral("%1已完成,但没能记入操作日志: %2").arg(what, error.Message()));
    }
}
