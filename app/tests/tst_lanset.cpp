// Lanset.ini: its format, the LAN settings dialog, and the connection at start-up with its
// failure loop.
#include <QtTest>

#include "MessageScript.h"
#include "ModalDriver.h"
#include "app/CConnection.h"
#include "app/CHarborApp.h"
#include "app/CLansetDlg.h"
#include "app/ConnectionString.h"
#include "app/DatabaseInit.h"
#include "app/LansetFile.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A click on the radio's indicator, where a user clicks.
void ClickRadio(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

}  // namespace

class TestLanset : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_ini;

private slots:
    void init() {
        m_ini = m_dir.filePath("Lanset.ini");
        QFile::remove(m_ini);
        QFile::remove(m_dir.filePath("Harbor.accdb"));
        theApp.m_strLansetPath = m_ini;
        theApp.m_pConnection.reset();
        QDir::setCurrent(m_dir.path());
    }

    void fileContentIsExact() {
        const QByteArray lan = FormatLanset(1, (192u << 24) | (168u << 16) | 5u);
        QCOMPARE(lan, QByteArray("1-\\\\192.168.0.5\\Harbor\\Harbor.accdb"));
        QCOMPARE(lan.size(), 35);
        QCOMPARE(FormatLanset(0, 0), QByteArray("0-\\\\0.0.0.0\\Harbor\\Harbor.accdb"));
    }

    void connectionStringFollowsTheFlag() {
        QCOMPARE(ConnectionStringFromLanset("0-whatever follows"),
                 QString("Provider=Microsoft.ACE.OLEDB.12.0; Data Source=Harbor.accdb;Jet OLEDB:Database "
                         "Password=quillbrookhaze"));
        const QString lan = ConnectionStringFromLanset("1-\\\\192.168.1.20\\Harbor\\Harbor.accdb");
        QCOMPARE(DataSourceOf(lan), QString("\\\\192.168.1.20\\Harbor\\Harbor.accdb"));
        QVERIFY(lan.endsWith(";Jet OLEDB:Database Password=quillbrookhaze"));
        QCOMPARE(ConnectionStringFromLanset("2-\\\\1.2.3.4\\Harbor\\Harbor.accdb"), QString());
        QCOMPARE(ConnectionStringFromLanset(""), QString());
        QCOMPARE(DataSourceOf(ConnectionStringFromLanset("1")), QString());
    }

    void dialogReadsWhatItCan() {
        const auto parsed = ParseLansetForDialog(FormatLanset(1, 0xC0A80114));
        QCOMPARE(parsed.mode, 1);
        QCOMPARE(parsed.hostIp, 0xC0A80114u);
        const auto shortFile = ParseLansetForDialog("1-\\\\1.2.3.4");  // under 20 bytes
        QCOMPARE(shortFile.mode, 0);
        QCOMPARE(shortFile.hostIp, 0xFFFFFFFFu);
        QCOMPARE(ParseLansetForDialog("1-\\\\300.1.1.1\\Harbor\\Harbor.accdb").hostIp, 0xFFFFFFFFu);
        QCOMPARE(ParseLansetForDialog("x-\\\\1.1.1.1\\Harbor\\Harbor.accdb").mode, 0);
        quint32 ip = 0;
        QVERIFY(!ParseIpAddress("1.2.3", &ip));
        QVERIFY(!ParseIpAddress("1.2.3.4.5", &ip));
        QVERIFY(!ParseIpAddress("a.b.c.d", &ip));
    }

    void radioButtonsEnableTheAddress() {
        WriteFile(m_ini, FormatLanset(1, 0x0A000001));
        CLansetDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.AddressEdit()->text(), QString("10.0.0.1"));
        QVERIFY(dialog.LanRadio()->isChecked());
        QVERIFY(dialog.AddressEdit()->isEnabled());
        ClickRadio(dialog.LocalRadio());
        QVERIFY(!dialog.AddressEdit()->isEnabled());
        QCOMPARE(dialog.m_nMode, 0);
        ClickRadio(dialog.LanRadio());
        QVERIFY(dialog.AddressEdit()->isEnabled());
        // The address box takes only a dotted address.
        dialog.AddressEdit()->clear();
        QTest::keyClicks(dialog.AddressEdit(), "192.168.x0.256");
        QCOMPARE(dialog.AddressEdit()->text(), QString("192.168.0.25"));
    }

    void saveWritesBothModesAndReconnects() {
        WriteFile(m_ini, FormatLanset(1, 0x0A000001));
        CreateEmptyDatabase(m_dir.filePath("Harbor.accdb"));
        MessageScript messages;
        CLansetDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ClickRadio(dialog.LocalRadio());
        dialog.findChild<QPushButton*>("save")->click();
        QCOMPARE(ReadFile(m_ini), QByteArray("0-\\\\10.0.0.1\\Harbor\\Harbor.accdb"));
        QCOMPARE(messages.Texts(), QStringList{"局域网连接设置成功"});
        QCOMPARE(messages.Messages().first().icon, MsgIcon::None);
        QVERIFY(theApp.m_pConnection && theApp.m_pConnection->IsOpen());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void quitLeavesTheFileAlone() {
        const QByteArray before = FormatLanset(1, 0x01020304);
        WriteFile(m_ini, before);
        MessageScript messages;
        CLansetDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ClickRadio(dialog.LocalRadio());
        dialog.AddressEdit()->setText("9.9.9.9");
        dialog.findChild<QPushButton*>("quit")->click();
        QCOMPARE(ReadFile(m_ini), before);
        QCOMPARE(messages.Count(), 0);
    }

    void missingFileMakesSaveDoNothing() {
        MessageScript messages;
        CLansetDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.LocalRadio()->isChecked());
        QCOMPARE(dialog.AddressEdit()->text(), QString("0.0.0.0"));
        dialog.findChild<QPushButton*>("save")->click();
        QVERIFY(!QFile::exists(m_ini));
        QCOMPARE(messages.Count(), 0);
        QVERIFY(dialog.isVisible());
    }

    void startWithoutSettingsSaysNothing() {
        MessageScript messages;
        theApp.ConnectDatabase();
        QVERIFY(!theApp.m_pConnection);
        QCOMPARE(messages.Count(), 0);
    }

    void localModeOpensTheFileOfTheCurrentFolder() {
        WriteFile(m_ini, "0-anything at all");
        CreateEmptyDatabase(m_dir.filePath("Harbor.accdb"));
        MessageScript messages;
        theApp.ConnectDatabase();
        QVERIFY(theApp.m_pConnection && theApp.m_pConnection->IsOpen());
        QCOMPARE(QFileInfo(theApp.m_pConnection->DatabasePath()).dir().absolutePath(),
                 QDir(m_dir.path()).absolutePath());
        QCOMPARE(messages.Count(), 0);
    }

    void failureLoopsThroughTheLanDialogUntilConnected() {
        // A bad flag: the open fails; the user first saves a LAN host (fails again), then
        // switches to this machine's database.
        // The LAN host is a loopback address where no server answers: a test never reaches
        // out to another machine.
        WriteFile(m_ini, FormatLanset(1, 0x7F000002).replace(0, 1, "7"));
        CreateEmptyDatabase(m_dir.filePath("Harbor.accdb"));
        MessageScript messages;
        ModalDriver<CLansetDlg> driver({
            [](CLansetDlg* d) {
                ClickRadio(d->LanRadio());
                d->findChild<QPushButton*>("save")->click();
            },
            [](CLansetDlg* d) {
                ClickRadio(d->LocalRadio());
                d->findChild<QPushButton*>("save")->click();
            },
        });
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 2);
        QVERIFY(theApp.m_pConnection && theApp.m_pConnection->IsOpen());
        const QStringList texts = messages.Texts();
        QCOMPARE(texts.size(), 4);
        QVERIFY(texts[0].startsWith("连接数据库失败!,请重新进行局域网连接设置\r\n错误信息:"));
        QCOMPARE(messages.Messages().at(0).icon, MsgIcon::None);
        QCOMPARE(texts[1], QString("局域网连接设置成功"));
        QVERIFY(texts[2].startsWith("连接数据库失败!"));
        QVERIFY(texts[2].contains("127.0.0.2"));
        QCOMPARE(texts[3], QString("局域网连接设置成功"));
        QVERIFY(ReadFile(m_ini).startsWith("0-\\\\127.0.0.2\\"));
    }

    void leavingTheLanDialogStopsTrying() {
        WriteFile(m_ini, "0-\\\\0.0.0.0\\Harbor\\Harbor.accdb");  // no Harbor.accdb here
        MessageScript messages;
        ModalDriver<CLansetDlg> driver({[](CLansetDlg* d) { d->findChild<QPushButton*>("quit")->click(); }});
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(messages.Count(), 1);
        QVERIFY(messages.Last().contains("Harbor.accdb"));
        QVERIFY(!theApp.m_pConnection->IsOpen());
    }

    void lanHostIsReportedThroughTheFailurePath() {
        WriteFile(m_ini, FormatLanset(1, 0x7F000002)); // no server answers there
        MessageScript messages;
        ModalDriver<CLansetDlg> driver({[this](CLansetDlg* d) {
            QFile::remove(m_ini);  // the next attempt finds no settings and stops
            d->reject();
        }});
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(messages.Count(), 1);
        QVERIFY(messages.Last().contains("127.0.0.2"));
        QVERIFY(!theApp.m_pConnection->IsOpen());
    }
};

QTEST_MAIN(TestLanset)
#include "tst_lanset.moc"
