#include "db/ServerAuditGuard.h"

#include "db/CConnection.h"

QStringList ServerAuditGuardStatements(const QString& programRole) {
    const QString role = QLatin1Char('"') + programRole + QLatin1Char('"');
    return {
        QStringLiteral("ALTER TABLE harbor_audit OWNER TO CURRENT_USER"),
        QStringLiteral("ALTER TABLE harbor_audit_head OWNER TO CURRENT_USER"),
        QStringLiteral("ALTER FUNCTION harbor_audit_guard() OWNER TO CURRENT_USER"),
        QStringLiteral("ALTER FUNCTION harbor_audit_guard() SECURITY DEFINER"),
        QStringLiteral("ALTER FUNCTION harbor_audit_guard() SET search_path = public"),
        QStringLiteral("REVOKE ALL ON harbor_audit, harbor_audit_head FROM PUBLIC, %1").arg(role),
        QStringLiteral("GRANT SELECT, INSERT ON harbor_audit TO %1").arg(role),
        QStringLiteral("GRANT SELECT ON harbor_audit_head TO %1").arg(role),
        // The program's role owns the schema public, and a schema's owner may drop what is in
        // it: an event trigger of the superuser, in a schema of its own, refuses that.
        QStringLiteral("CREATE SCHEMA IF NOT EXISTS harbor_owner AUTHORIZATION CURRENT_USER"),
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION harbor_owner.keep_audit() RETURNS event_trigger LANGUAGE "
            "plpgsql AS $$ BEGIN IF EXISTS (SELECT 1 FROM pg_event_trigger_dropped_objects() "
            "WHERE object_identity LIKE '%harbor_audit%') AND NOT (SELECT rolsuper FROM pg_roles "
            "WHERE rolname = session_user) THEN RAISE EXCEPTION '操作日志不能删除'; END IF; END "
            "$$"),
        QStringLiteral("DROP EVENT TRIGGER IF EXISTS harbor_keep_audit"),
        QStringLiteral("CREATE EVENT TRIGGER harbor_keep_audit ON sql_drop EXECUTE FUNCTION "
                       "harbor_owner.keep_audit()"),
    };
}

void GuardServerAudit(CConnection& ownerConnection, const QString& programRole) {
    ownerConnection.BeginTransaction();
    try {
        for (const QString& statement : ServerAuditGuardStatements(programRole))
            ownerConnection.Execute(statement);
        ownerConnection.Commit();
    } catch (...) {
        ownerConnection.Rollback();
        throw;
    }
}
