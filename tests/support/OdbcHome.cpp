#include "OdbcHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

// The system's driver list, with the drivers' communication logs (which go to /tmp) turned off.
bool CopyDriverList(const QString& to) {
    QFile from(QStringLiteral("/etc/odbcinst.ini"));
    QFile copy(to);
    if (!from.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = from.readAll();
    text.replace("CommLog=1", "CommLog=0");
    return copy.write(text) == text.size();
}

QString SystemIniFolder() {
    static QTemporaryDir folder;
    static const bool copied = CopyDriverList(folder.filePath("odbcinst.ini"));
    if (!copied)
        qWarning("no driver list in /etc/odbcinst.ini");
    return folder.path();
}

} // namespace

OdbcHome::OdbcHome() : m_oldHome(qgetenv("HOME")), m_oldOdbcIni(qgetenv("ODBCINI")) {
    qputenv("ODBCSYSINI", QFile::encodeName(SystemIniFolder()));
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("ODBCINI", QFile::encodeName(UserIni()));
}

OdbcHome::~OdbcHome() {
    qputenv("HOME", m_oldHome);
    if (m_oldOdbcIni.isNull())
        qunsetenv("ODBCINI");
    else
        qputenv("ODBCINI", m_oldOdbcIni);
}

QString OdbcHome::UserIni() const {
    return m_home.filePath(QStringLiteral(".odbc.ini"));
}

QString OdbcHome::UserIniText() const {
    QFile file(UserIni());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList OdbcHome::Query(const QString& dataSource, const QString& sql, QString* error) const {
    QProcess isql;
    isql.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    // -b: no prompts, -d|: fields joined by "|"
    isql.start(QStringLiteral("isql"), {dataSource, QStringLiteral("-b"), QStringLiteral("-d|")});
    if (!isql.waitForStarted()) {
        *error = QStringLiteral("isql does not start");
        return {};
    }
    isql.write(sql.toUtf8() + "\n");
    isql.closeWriteChannel();
    isql.waitForFinished(-1);
    const QString out = QString::fromUtf8(isql.readAllStandardOutput());
    if (isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0 ||
        out.contains(QStringLiteral("[ISQL]ERROR"))) {
        *error = out + QString::fromUtf8(isql.readAllStandardError());
        return {};
    }
    error->clear();
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
