#pragma once

#include <QList>
#include <QString>
#include <utility>

// One data source of the user's ODBC configuration (odbc.ini): its name, the driver as
// registered in odbcinst.ini, and the driver's own keys in the order they are written.
// The SQLite driver takes Database; a server driver such as PostgreSQL's takes Servername,
// Port, Database and Username.
struct OdbcDataSource {
    QString name;
    QString driver;
    QList<std::pair<QString, QString>> keys;
};

// The ODBC data source "远航销售" through which the label program reads printcodedata: a user
// data source of the SQLite ODBC driver, written with unixODBC's installer library (loaded at
// run time, so the program starts without it).
class LabelDataSource {
  public:
    static const char* const kDriver; // "SQLite3", as libsqliteodbc registers it
    static const char* const kName;   // "远航销售"

    // The entry for a database file.
    static OdbcDataSource SqliteEntry(const QString& databasePath);
    // The entry for the shop's database server (LAN mode), through PostgreSQL's ODBC driver.
    static const char* const kServerDriver; // "PostgreSQL Unicode", as odbc-postgresql registers it
    static OdbcDataSource ServerEntry(const QString& host, int port, const QString& database,
                                      const QString& user, const QString& password);

    // Writes the entry into the user's odbc.ini, replacing an older entry of that name.
    // Returns false when the installer library is missing, the driver is not registered or a
    // write fails.
    static bool Write(const OdbcDataSource& entry);

    // Writes the entry of the SQLite driver for the database file; in LAN mode (the program is
    // connected to the server) the entry of the server instead.
    static bool Register(const QString& databasePath);
};
