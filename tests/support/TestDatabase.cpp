#include "TestDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include "app/CConnection.h"
#include "app/CDbException.h"
#include "app/CHarborApp.h"
#include "app/CSqlReader.h"
#include "app/ConnectionString.h"
#include "app/DatabaseInit.h"
#include "app/SchemaUpgrade.h"

namespace {

const char* const kAdminConnection = "harbor-test-admin";

QString Env(const char* name, const char* fallback) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QString::fromLatin1(fallback) : QString::fromLocal8Bit(value);
}

QSqlDatabase Admin() {
    if (QSqlDatabase::contains(QLatin1String(kAdminConnection)))
        return QSqlDatabase::database(QLatin1String(kAdminConnection));
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QLatin1String(kAdminConnection));
    db.setHostName(Env("HARBOR_TEST_PGHOST", "127.0.0.1"));
    db.setPort(Env("HARBOR_TEST_PGPORT", "5432").toInt());
    db.setDatabaseName(QStringLiteral("postgres"));
    db.setUserName(QStringLiteral("postgres"));
    db.setPassword(Env("HARBOR_TEST_PGPASSWORD", ""));
    if (!db.open())
        qFatal("The test server does not answer (start it with scripts/test-server.sh): %s",
               qPrintable(db.lastError().text()));
    return db;
}

ServerAddress AddressOf(const QString& database) {
    ServerAddress address;
    address.host = Env("HARBOR_TEST_PGHOST", "127.0.0.1");
    address.port = Env("HARBOR_TEST_PGPORT", "5432").toInt();
    address.database = database;
    address.password = QString::fromLatin1(kDatabasePassword);
    return address;
}

// A template per schema: a changed schema or upgrade step gets a template of its own.
QString TemplateName() {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(SchemaStatements().join(QLatin1Char('\n')).toUtf8());
    for (const SchemaUpgradeStep& step : SchemaUpgradeSteps())
        hash.addData(step.statements.join(QLatin1Char('\n')).toUtf8());
    return QStringLiteral("harbor_tpl_") + QString::fromLatin1(hash.result().toHex().left(12));
}

QString TemplateDatabase() {
    static const QString name = [] {
        const QString tpl = TemplateName();
        // Test programs run side by side: one makes the template, the others wait for it.
        TestDatabase::AdminExec(QStringLiteral("SELECT pg_advisory_lock(7391)"));
        QSqlQuery query(Admin());
        query.exec(QStringLiteral("SELECT 1 FROM pg_database WHERE datname='%1'").arg(tpl));
        if (!query.next()) {
            TestDatabase::AdminExec(
                QStringLiteral(
                    "DO $$BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname='harbor') THEN "
                    "CREATE ROLE harbor LOGIN PASSWORD '%1'; END IF; END$$")
                    .arg(QLatin1String(kDatabasePassword)));
            TestDatabase::AdminExec(
                QStringLiteral("CREATE DATABASE %1 OWNER harbor TEMPLATE template0 "
                               "ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'")
                    .arg(tpl));
            CConnection connection;
            connection.OpenServer(AddressOf(tpl), true);
            connection.Close();
        }
        TestDatabase::AdminExec(QStringLiteral("SELECT pg_advisory_unlock(7391)"));
        return tpl;
    }();
    return name;
}

} // namespace

std::shared_ptr<CConnection> TestDatabase::ConnectWorkstation(const QString& where) {
    auto connection = std::make_shared<CConnection>();
    if (OnServer())
        connection->OpenServer(ServerFor(where));
    else
        connection->OpenFile(where);
    theApp.m_pConnection = connection;
    return connection;
}

ServerAddress TestDatabase::ServerFor(const QString& database) {
    return AddressOf(database);
}

void TestDatabase::CreateServerDatabase(const QString& name) {
    AdminExec(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 OWNER harbor")
                  .arg(name, TemplateDatabase()));
}

bool TestDatabase::OnServer() {
    return qgetenv("HARBOR_TEST_ENGINE") == "postgres";
}

QString TestDatabase::RowKey() {
    return OnServer() ? QStringLiteral("harbor_id") : QStringLiteral("rowid");
}

void TestDatabase::AdminExec(const QString& sql) {
    QSqlQuery query(Admin());
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

TestDatabase::TestDatabase() {
    auto connection = std::make_shared<CConnection>();
    if (OnServer()) {
        static int counter = 0;
        const QString name =
            QStringLiteral("harbor_t%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        // A test program killed earlier under the same process id may have left its database.
        AdminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        AdminExec(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 OWNER harbor")
                      .arg(name, TemplateDatabase()));
        m_address = AddressOf(name);
        connection->OpenServer(m_address);
    } else {
        m_strPath = m_dir.filePath(QStringLiteral("Harbor.accdb"));
        CreateEmptyDatabase(m_strPath);
        connection->OpenFile(m_strPath);
    }
    theApp.m_pConnection = connection;
}

TestDatabase::~TestDatabase() {
    if (theApp.m_pConnection)
        theApp.m_pConnection->Close();
    theApp.m_pConnection.reset();
    if (!m_address.database.isEmpty() && m_address.database != QLatin1String("harbor") &&
        OnServer())
        AdminExec(
            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_address.database));
}

QString TestDatabase::FixedSql(const QString& column, int decimals) {
    if (OnServer())
        return QStringLiteral("to_char(%1, 'FM999999999990.%2')")
            .arg(column, QString(decimals, QLatin1Char('0')));
    return QStringLiteral("printf('%.%1f', %2)").arg(decimals).arg(column);
}

void TestDatabase::OpenSecond(CConnection& other) const {
    if (OnServer())
        other.OpenServer(m_address);
    else
        other.OpenFile(m_strPath);
}

void TestDatabase::Exec(const QString& sql, const QVariantList& values) {
    theApp.m_pConnection->Execute(sql, values);
}

QString TestDatabase::Value(const QString& sql, const QVariantList& values) {
    CSqlReader reader(sql, values);
    return reader.Next() ? reader.Value(0).toString() : QString();
}

QStringList TestDatabase::Rows(const QString& sql, const QVariantList& values) {
    CSqlReader reader(sql, values);
    QStringList rows;
    while (reader.Next()) {
        QStringList texts;
        for (int i = 0; i < reader.ColumnCount(); ++i)
            texts.append(reader.Value(i).toString());
        rows.append(texts.join(QLatin1Char('|')));
    }
    return rows;
}

QStringList TestDatabase::Fixed(const QStringList& numbers, int decimals) {
    QStringList texts;
    for (const QString& number : numbers)
        texts.append(number.isEmpty() ? number : QString::number(number.toDouble(), 'f', decimals));
    return texts;
}

void TestDatabase::RefuseChanges(const QString& table, const QString& event,
                                 const QString& condition, const QString& message) {
    if (OnServer()) {
        Exec(QStringLiteral(
                 "CREATE OR REPLACE FUNCTION harbor_refuse() RETURNS trigger LANGUAGE plpgsql AS "
                 "$$BEGIN RAISE EXCEPTION '%1'; END$$")
                 .arg(message));
        Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 FOR EACH ROW WHEN (%3) "
                            "EXECUTE FUNCTION harbor_refuse()")
                 .arg(event, table, condition));
    } else {
        Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 WHEN %3 BEGIN SELECT "
                            "RAISE(ABORT, '%4'); END")
                 .arg(event, table, condition, message));
    }
}

void TestDatabase::AllowChanges(const QString& table) {
    Exec(OnServer() ? QStringLiteral("DROP TRIGGER refuse ON %1").arg(table)
                    : QStringLiteral("DROP TRIGGER refuse"));
}
