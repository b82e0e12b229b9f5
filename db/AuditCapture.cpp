#include "db/AuditCapture.h"

#include <QUuid>

#include "db/CConnection.h"
#include "db/CSqlReader.h"

namespace {

// The entry key of the capture open on the server, per connection.
QString g_serverEntry;

QString Quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QStringList SqliteColumns(CConnection& connection, const QString& table) {
    QStringList columns;
    CSqlReader reader(connection, QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table});
    while (reader.Next())
        columns.append(reader.Text(0));
    return columns;
}

// json_object('code', NEW."code", ...) for one side of a row; the password hash hidden.
QString SqliteImage(const QStringList& columns, const QString& side) {
    QStringList parts;
    for (const QString& column : columns) {
        const QString value = side + QLatin1Char('.') + Quoted(column);
        parts.append(QStringLiteral("'%1'").arg(column));
        parts.append(column == QLatin1String("pwhash")
                         ? QStringLiteral("CASE WHEN %1 IS NULL THEN NULL ELSE '*' END").arg(value)
                         : value);
    }
    return QStringLiteral("json_object(%1)").arg(parts.join(QLatin1Char(',')));
}

void InstallSqlite(CConnection& connection) {
    connection.Execute(
        QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS harbor_audit_rows "
                       "(tablename TEXT, op TEXT, before_row TEXT, after_row TEXT)"));
    connection.Execute(
        QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS harbor_audit_on (flag INTEGER)"));
    for (const QString& table : AuditedTables()) {
        const QStringList columns = SqliteColumns(connection, table);
        const QString oldImage = SqliteImage(columns, QStringLiteral("OLD"));
        const QString newImage = SqliteImage(columns, QStringLiteral("NEW"));
        const struct {
            const char* op;
            QString before;
            QString after;
        } events[] = {{"INSERT", QStringLiteral("NULL"), newImage},
                      {"UPDATE", oldImage, newImage},
                      {"DELETE", oldImage, QStringLiteral("NULL")}};
        for (const auto& event : events) {
            const QString op = QString::fromLatin1(event.op);
            connection.Execute(
                QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS harbor_audit_%1_%2 AFTER %3 ON "
                               "%1 WHEN EXISTS (SELECT 1 FROM harbor_audit_on) BEGIN INSERT "
                               "INTO harbor_audit_rows VALUES ('%1', '%3', %4, %5); END")
                    .arg(table, op.toLower(), op, event.before, event.after));
        }
    }
}

const char* const kServerFunction =
    "CREATE OR REPLACE FUNCTION harbor_audit_capture() RETURNS trigger LANGUAGE plpgsql AS $$ "
    "DECLARE entry text := current_setting('harbor.audit_entry', true); "
    "BEGIN "
    "IF entry IS NULL OR entry = '' THEN RETURN NULL; END IF; "
    "INSERT INTO harbor_audit_stage (entry, tablename, op, before_row, after_row) VALUES (entry, "
    "TG_TABLE_NAME, TG_OP, "
    "CASE WHEN TG_OP <> 'INSERT' THEN (to_jsonb(OLD) - 'harbor_id' - 'pwhash')::text END, "
    "CASE WHEN TG_OP <> 'DELETE' THEN (to_jsonb(NEW) - 'harbor_id' - 'pwhash')::text END); "
    "RETURN NULL; END $$";

// The log takes new entries only; the newest one's number and hash are copied to the head.
const char* const kServerGuard =
    "CREATE OR REPLACE FUNCTION harbor_audit_guard() RETURNS trigger LANGUAGE plpgsql AS $$ "
    "BEGIN "
    "IF TG_OP <> 'INSERT' THEN RAISE EXCEPTION '操作日志只能添加,不能修改或删除'; END IF; "
    "UPDATE harbor_audit_head SET seq = NEW.seq, hash = NEW.hash; "
    "IF NOT FOUND THEN INSERT INTO harbor_audit_head (seq, hash) VALUES (NEW.seq, NEW.hash); "
    "END IF; RETURN NEW; END $$";

bool ServerTriggersComplete(CConnection& connection) {
    CSqlReader reader(connection, QStringLiteral("SELECT count(*) FROM pg_trigger WHERE tgname IN "
                                                 "('harbor_audit', 'harbor_audit_guard')"));
    return reader.Next() && reader.Text(0).toInt() == AuditedTables().size() + 1;
}

void InstallServer(CConnection& connection) {
    if (ServerTriggersComplete(connection))
        return;
    connection.BeginTransaction();
    try {
        connection.LockKey(QStringLiteral("harbor_audit_install"));
        connection.Execute(QString::fromUtf8(kServerFunction));
        connection.Execute(QString::fromUtf8(kServerGuard));
        for (const QString& table : AuditedTables())
            connection.Execute(QStringLiteral("CREATE OR REPLACE TRIGGER harbor_audit AFTER INSERT "
                                              "OR UPDATE OR DELETE ON %1 FOR EACH ROW EXECUTE "
                                              "FUNCTION harbor_audit_capture()")
                                   .arg(table));
        connection.Execute(
            QStringLiteral("CREATE OR REPLACE TRIGGER harbor_audit_guard BEFORE INSERT OR UPDATE "
                           "OR DELETE ON harbor_audit FOR EACH ROW EXECUTE FUNCTION "
                           "harbor_audit_guard()"));
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        throw;
    }
}

} // namespace

const QStringList& AuditedTables() {
    static const QStringList tables = {QStringLiteral("name1"),
                                       QStringLiteral("name2"),
                                       QStringLiteral("name3"),
                                       QStringLiteral("name4"),
                                       QStringLiteral("name5"),
                                       QStringLiteral("property"),
                                       QStringLiteral("printcodedata"),
                                       QStringLiteral("customer"),
                                       QStringLiteral("supplier"),
                                       QStringLiteral("employee"),
                                       QStringLiteral("companyinfo"),
                                       QStringLiteral("saleout"),
                                       QStringLiteral("salein"),
                                       QStringLiteral("entry"),
                                       QStringLiteral("minstock"),
                                       QStringLiteral("harbor_operator"),
                                       QStringLiteral("harbor_role_permission"),
                                       QStringLiteral("harbor_setting")};
    return tables;
}

void InstallAuditCapture(CConnection& connection) {
    if (connection.IsServer())
        InstallServer(connection);
    else
        InstallSqlite(connection);
}

void BeginAuditCapture(CConnection& connection) {
    if (connection.IsServer()) {
        g_serverEntry = QUuid::createUuid().toString(QUuid::WithoutBraces);
        CSqlReader set(connection,
                       QStringLiteral("SELECT set_config('harbor.audit_entry', ?, true)"),
                       {g_serverEntry});
        set.Next();
        return;
    }
    connection.Execute(QStringLiteral("DELETE FROM temp.harbor_audit_rows"));
    connection.Execute(QStringLiteral("INSERT INTO temp.harbor_audit_on (flag) VALUES (1)"));
}

QList<StagedRow> EndAuditCapture(CConnection& connection) {
    const bool server = connection.IsServer();
    const QString select =
        server ? QStringLiteral("SELECT tablename, op, before_row, after_row FROM "
                                "harbor_audit_stage WHERE entry=? ORDER BY harbor_id")
               : QStringLiteral("SELECT tablename, op, before_row, after_row FROM "
                                "temp.harbor_audit_rows ORDER BY rowid");
    const QVariantList values = server ? QVariantList{g_serverEntry} : QVariantList{};
    QList<StagedRow> rows;
    {
        CSqlReader reader(connection, select, values);
        while (reader.Next())
            rows.append({reader.Text(0), reader.Text(1), reader.Text(2), reader.Text(3)});
    }
    if (server) {
        connection.Execute(QStringLiteral("DELETE FROM harbor_audit_stage WHERE entry=?"),
                           {g_serverEntry});
        CSqlReader clear(connection,
                         QStringLiteral("SELECT set_config('harbor.audit_entry', '', true)"));
        clear.Next();
    } else {
        connection.Execute(QStringLiteral("DELETE FROM temp.harbor_audit_on"));
        connection.Execute(QStringLiteral("DELETE FROM temp.harbor_audit_rows"));
    }
    return rows;
}
