#include "db/ConnectionString.h"

#include <QRegularExpression>
#include <QSettings>

#include "db/ServerSecret.h"

namespace {

const char* const kOrganisation = "应用程序向导生成的本地应用程序";
const char* const kPasswordKey = "LanPassword";

QSettings Settings() {
    return QSettings(QString::fromUtf8(kOrganisation), QStringLiteral("Harbor"));
}

} // namespace

QString LocalConnectionString() {
    return QStringLiteral("Provider=Microsoft.ACE.OLEDB.12.0; Data Source=Harbor.accdb;"
                          "Jet OLEDB:Database Password=") +
           QLatin1String(kDatabasePassword);
}

QString LanConnectionString(const QString& dataSource) {
    return QStringLiteral("Provider=Microsoft.ACE.OLEDB.12.0; Data Source=") + dataSource +
           QStringLiteral(";Jet OLEDB:Database Password=") + QLatin1String(kDatabasePassword);
}

QString DataSourceOf(const QString& connectionString) {
    const QString key = QStringLiteral("Data Source=");
    const qsizetype at = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    const qsizetype start = at + key.size();
    const qsizetype stop = connectionString.indexOf(QLatin1Char(';'), start);
    return connectionString.mid(start, stop < 0 ? -1 : stop - start).trimmed();
}

bool IsNetworkPath(const QString& dataSource) {
    return dataSource.startsWith(QLatin1String("\\\\")) ||
           dataSource.startsWith(QLatin1String("//"));
}

QString HostOfDataSource(const QString& dataSource) {
    if (!IsNetworkPath(dataSource))
        return QString();
    QString rest = dataSource.mid(2);
    const qsizetype stop = rest.indexOf(QRegularExpression(QStringLiteral("[\\\\/]")));
    return (stop < 0 ? rest : rest.left(stop)).trimmed();
}

QString MoveServerPasswordOutOfSettings() {
    QSettings settings = Settings();
    const QString plain = settings.value(QLatin1String(kPasswordKey)).toString();
    if (settings.contains(QLatin1String(kPasswordKey))) {
        if (!plain.isEmpty() && plain != QLatin1String(kDatabasePassword))
            WriteServerSecret(plain);
        settings.remove(QLatin1String(kPasswordKey));
        settings.sync();
    }
    QString warning;
    ReadServerSecret(&warning);
    return warning;
}

QString ServerPassword() {
    MoveServerPasswordOutOfSettings();
    const QString chosen = ReadServerSecret();
    return chosen.isEmpty() ? QString::fromLatin1(kDatabasePassword) : chosen;
}

void SetServerPassword(const QString& password) {
    MoveServerPasswordOutOfSettings();
    WriteServerSecret(password == QLatin1String(kDatabasePassword) ? QString() : password);
}
