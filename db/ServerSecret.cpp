#include "db/ServerSecret.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <qt6keychain/keychain.h>

namespace {

const char* const kService = "Harbor";
const char* const kKey = "LanPassword";
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

// Runs a keychain job to its end; false when it failed for another reason than a missing entry.
bool RunJob(QKeychain::Job& job) {
    job.setAutoDelete(false);
    job.setKey(QString::fromLatin1(kKey));
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError || job.error() == QKeychain::EntryNotFound;
}

QString ReadFile(QString* warning) {
    QFile file(ServerSecretFile());
    if (!file.exists())
        return QString();
    if ((file.permissions() & ~(kOwnerOnly | QFile::ReadUser | QFile::WriteUser)) != 0) {
        file.setPermissions(kOwnerOnly);
        if (warning)
            *warning = QStringLiteral("保存局域网主机密码的文件 %1 其他用户也能读取,已改为只有您能"
                                      "读写。密码可能已被别人看到,请考虑更换。")
                           .arg(QDir::toNativeSeparators(file.fileName()));
    }
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void WriteFile(const QString& password) {
    const QString path = ServerSecretFile();
    if (password.isEmpty()) {
        QFile::remove(path);
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(kOwnerOnly);
    file.write(password.toUtf8());
    file.commit();
    QFile::setPermissions(path, kOwnerOnly);
}

} // namespace

bool KeyringAvailable() {
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
           qEnvironmentVariable("HARBOR_NO_KEYRING") != QLatin1String("1");
}

QString ServerSecretFile() {
    const QSettings settings(QStringLiteral("应用程序向导生成的本地应用程序"),
                             QStringLiteral("Harbor"));
    return QFileInfo(settings.fileName()).absolutePath() + QStringLiteral("/Harbor-lan-password");
}

QString ReadServerSecret(QString* warning) {
    if (KeyringAvailable()) {
        QKeychain::ReadPasswordJob job(QString::fromLatin1(kService));
        if (RunJob(job) && job.error() == QKeychain::NoError)
            return job.textData();
        if (job.error() == QKeychain::EntryNotFound && !QFile::exists(ServerSecretFile()))
            return QString();
    }
    return ReadFile(warning);
}

void WriteServerSecret(const QString& password) {
    if (KeyringAvailable()) {
        bool stored = false;
        if (password.isEmpty()) {
            QKeychain::DeletePasswordJob job(QString::fromLatin1(kService));
            stored = RunJob(job);
        } else {
            QKeychain::WritePasswordJob job(QString::fromLatin1(kService));
            job.setTextData(password);
            stored = RunJob(job);
        }
        if (stored) {
            WriteFile(QString()); // kept in one place only
            return;
        }
    }
    WriteFile(password);
}
