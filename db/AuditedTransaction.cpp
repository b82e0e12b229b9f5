#include "db/AuditedTransaction.h"

#include <QDateTime>
#include <QSysInfo>

#include "db/AuditCapture.h"
#include "db/AuditLog.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/OperatorSession.h"

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
