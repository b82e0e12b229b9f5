#include "app/ConnectionString.h"

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
