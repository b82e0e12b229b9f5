#include "db/OperatorSession.h"

#include "db/Db.h"
#include "db/OperatorStore.h"

OperatorSession& OperatorSession::Instance() {
    static OperatorSession session;
    return session;
}

QString OperatorSession::TakeAuthorizer() {
    QString name;
    name.swap(m_strAuthorizer);
    return name;
}

bool HasPermission(Permission permission) {
    const OperatorSession& session = OperatorSession::Instance();
    if (session.SignedIn())
        return session.Operator().permissions.contains(PermissionKey(permission));
    return !Db() || !AccountsEnabled(*Db());
}
