#pragma once

#include <QByteArray>
#include <QString>

// The ODBC data source "远航销售" through which the label program reads printcodedata:
// a user data source of the SQLite ODBC driver, registered with unixODBC's installer library
// loaded at run time.
class LabelDataSource {
  public:
    static const char* const kDriver; // "SQLite3"
    static const char* const kName;   // "远航销售"

    // The attribute block of the registration: "DSN=远航销售", NUL, "Database=" and the
    // path, NUL, and the closing NUL (UTF-8).
    static QByteArray Attributes(const QString& databasePath);

    // Registers (or updates) the data source for the database file. Returns false when the
    // installer library, its function or the driver is missing, or the registration fails.
    static bool Register(const QString& databasePath);
};
