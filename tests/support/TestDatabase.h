#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

#include "db/CConnection.h"
#include "db/Db.h"

// A fresh, empty shop database in a temporary folder, built from the schema by the same init
// step as a new shop's, and connected as Db() while the object lives.
//
// With HARBOR_TEST_ENGINE=postgres the database is a fresh one on the test server instead
// (HARBOR_TEST_PGHOST, HARBOR_TEST_PGPORT, HARBOR_TEST_PGPASSWORD for its superuser), copied
// from a template that holds the server's schema; it is dropped at the end of the case.
//
//   TestDatabase db;            // Db() now points at it
//   db.Exec("INSERT INTO ...");  // raw statement for setting up a case
//   QCOMPARE(db.Value("SELECT count(*) FROM customer"), "1");
class TestDatabase {
  public:
    TestDatabase();
    ~TestDatabase();

    // The SQLite file (empty on the server).
    QString Path() const { return m_strPath; }
    QString Folder() const { return m_dir.path(); }

    // True when the tests of this process run against the test server.
    static bool OnServer();
    // The server's address of this case's database, for a second connection.
    ServerAddress Address() const { return m_address; }
    // Opens another connection to this case's database, as a second workstation would.
    void OpenSecond(CConnection& other) const;
    // The address of a database of the test server by its name (for another process).
    static ServerAddress ServerFor(const QString& database);
    // In a workstation process a test starts: its own connection to the test's database (a
    // server database by name, or a file by path), made theApp's.
    static std::shared_ptr<CConnection> ConnectWorkstation(const QString& where);
    // The column that keeps the order rows were stored in (rowid or harbor_id).
    static QString RowKey();
    // Makes a database of the test server with the program's tables (empty).
    static void CreateServerDatabase(const QString& name);
    // Runs a statement as the test server's superuser on its maintenance database.
    static void AdminExec(const QString& sql);
    // Runs a statement on the connection (through the record layer).
    void Exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row as text ("" when there is no row).
    QString Value(const QString& sql, const QVariantList& values = {});
    // Makes the engine refuse a change with the message, as a full disk would, until
    // AllowChanges: event is "UPDATE" or "UPDATE OF column", condition an expression over
    // NEW and OLD.
    void RefuseChanges(const QString& table, const QString& event, const QString& condition,
                       const QString& message);
    void AllowChanges(const QString& table);
    // An SQL expression for a number column as text with a fixed count of decimals, on either
    // engine ("printf('%.2f', x)" on the local file).
    static QString FixedSql(const QString& column, int decimals);
    // Number texts with a fixed count of decimals, as printf's "%.Nf" writes them.
    static QStringList Fixed(const QStringList& numbers, int decimals);
    // All rows, each joined with "|".
    QStringList Rows(const QString& sql, const QVariantList& values = {});

  private:
    QTemporaryDir m_dir;
    QString m_strPath;
    ServerAddress m_address;
};
