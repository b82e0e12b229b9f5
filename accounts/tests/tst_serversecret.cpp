// The server password kept outside the settings file: moved out of it at the first start,
// in a file only the user can read when no keyring runs.
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "db/ConnectionString.h"
#include "db/ServerSecret.h"

class TestServerSecret : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qputenv("HARBOR_NO_KEYRING", "1");
        QVERIFY(m_settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }
    void PlainEntryMovedOut();

  private:
    QTemporaryDir m_settings;
};

void TestServerSecret::PlainEntryMovedOut() {
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    QString path;
    {
        // What an older version wrote with --lan-password.
        QSettings settings(QStringLiteral("应用程序向导生成的本地应用程序"),
                           QStringLiteral("Harbor"));
        settings.setValue("LanPassword", "shop-secret-1");
        settings.sync();
        path = settings.fileName();
    }
    QVERIFY(!KeyringAvailable());
    QCOMPARE(MoveServerPasswordOutOfSettings(), QString());
    QFile settingsFile(path);
    QVERIFY(settingsFile.open(QIODevice::ReadOnly));
    QVERIFY(!settingsFile.readAll().contains("shop-secret-1"));
    QCOMPARE(ServerPassword(), QString("shop-secret-1"));
    const QString secret = ServerSecretFile();
    QCOMPARE(QFile::permissions(secret) & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);

    // Made readable by others: made private again, with a warning.
    QVERIFY(QFile::setPermissions(secret, ownerOnly | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(MoveServerPasswordOutOfSettings().contains("其他用户也能读取"));
    QCOMPARE(QFile::permissions(secret) & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);
    QCOMPARE(MoveServerPasswordOutOfSettings(), QString());

    // A new one replaces it; none goes back to the program's own, and the file goes.
    SetServerPassword("shop-secret-2");
    QCOMPARE(ServerPassword(), QString("shop-secret-2"));
    SetServerPassword(QString());
    QVERIFY(!QFile::exists(secret));
    QCOMPARE(ServerPassword(), QString::fromLatin1(kDatabasePassword));
}

QTEST_MAIN(TestServerSecret)
#include "tst_serversecret.moc"
