#include "catalogue/LabelDataSource.h"

#include "db/CConnection.h"
#include "db/Db.h"

#include <QLibrary>

namespace {

// The few functions of unixODBC's installer library (odbcinst.h) that write a data source.
struct OdbcInstaller {
    using SetConfigModeFn = int (*)(unsigned short mode);
    using WriteDsnFn = int (*)(const char* dsn, const char* driver);
    using WriteStringFn = int (*)(const char* section, const char* key, const char* value,
                                  const char* file);
    using GetStringFn = int (*)(const char* section, const char* key, const char* fallback,
                                char* out, int size, const char* file);

    SetConfigModeFn setConfigMode = nullptr;
    WriteDsnFn writeDsn = nullptr;
    WriteStringFn writeString = nullptr;
    GetStringFn getString = nullptr;

    bool IsComplete() const { return setConfigMode && writeDsn && writeString && getString; }
};

constexpr unsigned short kUserDsn = 1; // ODBC_USER_DSN
constexpr unsigned short kBothDsn = 0; // ODBC_BOTH_DSN, the library's default mode

template <typename Fn> Fn Resolve(QLibrary& library, const char* name) {
    return reinterpret_cast<Fn>(library.resolve(name));
}

OdbcInstaller LoadInstaller() {
    for (const char* name : {"odbcinst", "libodbcinst.so.2"}) {
        QLibrary library(QString::fromLatin1(name));
        if (!library.load())
            continue;
        // The library stays loaded for the rest of the run.
        OdbcInstaller installer;
        installer.setConfigMode =
            Resolve<OdbcInstaller::SetConfigModeFn>(library, "SQLSetConfigMode");
        installer.writeDsn = Resolve<OdbcInstaller::WriteDsnFn>(library, "SQLWriteDSNToIni");
        installer.writeString =
            Resolve<OdbcInstaller::WriteStringFn>(library, "SQLWritePrivateProfileString");
        installer.getString =
            Resolve<OdbcInstaller::GetStringFn>(library, "SQLGetPrivateProfileString");
        if (installer.IsComplete())
            return installer;
    }
    return {};
}

const OdbcInstaller& Installer() {
    static const OdbcInstaller installer = LoadInstaller();
    return installer;
}

// A driver is usable when odbcinst.ini names its library.
bool DriverRegistered(const OdbcInstaller& installer, const QByteArray& driver) {
    char library[512] = {};
    return installer.getString(driver.constData(), "Driver", "", library, sizeof library,
                               "odbcinst.ini") > 0 &&
           library[0] != '\0';
}

bool WriteEntry(const OdbcInstaller& installer, const OdbcDataSource& entry) {
    const QByteArray name = entry.name.toUtf8();
    if (!installer.writeDsn(name.constData(), entry.driver.toUtf8().constData()))
        return false;
    for (const auto& [key, value] : entry.keys) {
        if (!installer.writeString(name.constData(), key.toUtf8().constData(),
                                   value.toUtf8().constData(), "odbc.ini"))
            return false;
    }
    return true;
}

} // namespace

const char* const LabelDataSource::kDriver = "SQLite3";
const char* const LabelDataSource::kName = "远航销售";

OdbcDataSource LabelDataSource::SqliteEntry(const QString& databasePath) {
    // The label program waits up to five seconds while a save of this program holds the lock.
    return {QString::fromUtf8(kName),
            QString::fromLatin1(kDriver),
            {{QStringLiteral("Database"), databasePath},
             {QStringLiteral("Timeout"), QStringLiteral("5000")}}};
}

bool LabelDataSource::Write(const OdbcDataSource& entry) {
    const OdbcInstaller& installer = Installer();
    if (!installer.IsComplete() || entry.name.isEmpty() ||
        !DriverRegistered(installer, entry.driver.toUtf8()))
        return false;
    // The data source goes into the user's own file, which needs no administrator rights.
    if (!installer.setConfigMode(kUserDsn))
        return false;
    const bool written = WriteEntry(installer, entry);
    installer.setConfigMode(kBothDsn);
    return written;
}

const char* const LabelDataSource::kServerDriver = "PostgreSQL Unicode";

OdbcDataSource LabelDataSource::ServerEntry(const QString& host, int port, const QString& database,
                                            const QString& user, const QString& password) {
    return {QString::fromUtf8(kName),
            QString::fromLatin1(kServerDriver),
            {{QStringLiteral("Servername"), host},
             {QStringLiteral("Port"), QString::number(port)},
             {QStringLiteral("Database"), database},
             {QStringLiteral("Username"), user},
             {QStringLiteral("Password"), password}}};
}

bool LabelDataSource::Register(const QString& databasePath) {
    const CConnection* connection = Db().get();
    if (connection && connection->IsOpen() && connection->IsServer()) {
        const ServerAddress& server = connection->Server();
        // libpq's default port unless the program was pointed at another.
        const int port = server.port > 0 ? server.port : qEnvironmentVariableIntValue("PGPORT");
        return Write(ServerEntry(server.host, port > 0 ? port : 5432, server.database, server.user,
                                 server.password));
    }
    return Write(SqliteEntry(databasePath));
}
