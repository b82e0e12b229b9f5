// Lanset.ini: its format, the LAN settings dialog, and the connection at start-up with its
// failure loop.
#include <QProgressDialog>
#include <QtTest>

#include "MessageScript.h"
#include "ModalDriver.h"
#include "db/CConnection.h"
#include "db/ConnectionString.h"
#include "db/DatabaseInit.h"
#include "db/LansetFile.h"
#include "shell/CHarborApp.h"
#include "shell/CLansetDlg.h"
#include "UserInput.h"

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

void ClickSave(CLansetDlg* dialog) {
    QTest::mouseClick(dialog->findChild<QPushButton*>("save"), Qt::LeftButton);
}

void ClickQuit(CLansetDlg* dialog) {
    QTest::mouseClick(dialog->findChild<QPushButton*>("quit"), Qt::LeftButton);
}

void TypeAddress(CLansetDlg* dialog, const QString& address) {
    QLineEdit* edit = dialog->AddressEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, address);
}

// LAN dialogs that exist, shown or not: more than one means one was opened inside another.
int LanDialogsAlive() {
    int count = 0;
    for (QWidget* widget : QApplication::allWidgets())
        count += qobject_cast<CLansetDlg*>(widget) ? 1 : 0;
    return count;
}

const QString kFailure = QStringLiteral("连接数据库失败!,请重新进行局域网连接设置\r\n错误信息:");
const QString kAddressMessage =
    QStringLiteral("请输入完整的主机IP地址:四个0到255之间的数字,以\".\"分隔,如192.168.0.5;"
                   "服务器不在5432端口时在后面加上\":端口\",如192.168.0.5:5433");

} // namespace

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
        Db().reset();
        QDir::setCurrent(m_dir.path());
    }

    // The connection goes with the Qt application that owns its driver.
    void cleanup() { Db().reset(); }

    void fileContentIsExact() {
        const QByteArray lan = FormatLanset(1, (192u << 24) | (168u << 16) | 5u);
        QCOMPARE(lan, QByteArray("1-\\\\192.168.0.5\\Harbor\\Harbor.accdb"));
        QCOMPARE(lan.size(), 35);
        QCOMPARE(FormatLanset(0, 0), QByteArray("0-\\\\0.0.0.0\\Harbor\\Harbor.accdb"));
        // A server on another port: "address:port"; read back as written.
        const QByteArray port = FormatLanset(1, 0xC0A80005, 5433);
        QCOMPARE(port, QByteArray("1-\\\\192.168.0.5:5433\\Harbor\\Harbor.accdb"));
        const LansetSetting back = ParseLansetForDialog(port);
        QCOMPARE(back.hostIp, 0xC0A80005u);
        QCOMPARE(back.port, 5433);
        QCOMPARE(ParseLansetForDialog(lan).port, 0);
        QCOMPARE(DataSourceOf(ConnectionStringFromLanset(port)),
                 QString("\\\\192.168.0.5:5433\\Harbor\\Harbor.accdb"));
    }

    void connectionStringFollowsTheFlag() {
        QCOMPARE(
            ConnectionStringFromLanset("0-whatever follows"),
            QString(
                "Provider=Microsoft.ACE.OLEDB.12.0; Data Source=Harbor.accdb;Jet OLEDB:Database "
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
        const auto shortFile = ParseLansetForDialog("1-\\\\1.2.3.4"); // under 20 bytes
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
        Click(dialog.LocalRadio());
        QVERIFY(!dialog.AddressEdit()->isEnabled());
        QCOMPARE(dialog.m_nMode, 0);
        Click(dialog.LanRadio());
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
        Click(dialog.LocalRadio());
        ClickSave(&dialog);
        QCOMPARE(ReadFile(m_ini), QByteArray("0-\\\\10.0.0.1\\Harbor\\Harbor.accdb"));
        QCOMPARE(messages.Texts(), QStringList{"局域网连接设置成功"});
        QCOMPARE(messages.Messages().first().icon, MsgIcon::None);
        QVERIFY(Db() && Db()->IsOpen());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void quitLeavesTheFileAlone() {
        const QByteArray before = FormatLanset(1, 0x01020304);
        WriteFile(m_ini, before);
        MessageScript messages;
        CLansetDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Click(dialog.LocalRadio());
        dialog.AddressEdit()->setText("9.9.9.9");
        ClickQuit(&dialog);
        QCOMPARE(ReadFile(m_ini), before);
        QCOMPARE(messages.Count(), 0);
    }

    void saveCreatesAMissingFile() {
        MessageScript messages;
        CLansetDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.LocalRadio()->isChecked());
        QCOMPARE(dialog.AddressEdit()->text(), QString("0.0.0.0"));
        // No Harbor.accdb here: the reconnect fails and offers the settings again.
        ModalDriver<CLansetDlg> driver({[](CLansetDlg* d) { ClickQuit(d); }});
        ClickSave(&dialog);
        QCOMPARE(ReadFile(m_ini), QByteArray("0-\\\\0.0.0.0\\Harbor\\Harbor.accdb"));
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(messages.Count(), 2);
        QCOMPARE(messages.Texts().first(), QString("局域网连接设置成功"));
        QVERIFY(messages.Last().startsWith(kFailure));
    }

    void addressMustBeFourNumbers_data() {
        QTest::addColumn<bool>("lan");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("written"); // empty: refused, the file stays as it was
        QTest::newRow("two parts") << true << "1.2" << QByteArray();
        QTest::newRow("three parts") << true << "10.0.0" << QByteArray();
        QTest::newRow("trailing dot") << true << "10.0.0." << QByteArray();
        QTest::newRow("empty in LAN mode") << true << "" << QByteArray();
        QTest::newRow("no host in LAN mode") << true << "0.0.0.0" << QByteArray();
        QTest::newRow("no host in local mode") << false << "0.0.0.0" << FormatLanset(0, 0);
        QTest::newRow("two parts in local mode") << false << "1.2" << QByteArray();
        QTest::newRow("empty in local mode") << false << "" << FormatLanset(0, 0);
        QTest::newRow("LAN host") << true << "192.168.0.5" << FormatLanset(1, 0xC0A80005);
        QTest::newRow("highest octets") << true << "255.255.255.255" << FormatLanset(1, 0xFFFFFFFF);
        QTest::newRow("blanks around") << true << "  192.168.0.5 " << FormatLanset(1, 0xC0A80005);
        QTest::newRow("with port")
            << true << "192.168.0.5:5433 " << FormatLanset(1, 0xC0A80005, 5433);
        QTest::newRow("port 0") << true << "192.168.0.5:0" << QByteArray();
        QTest::newRow("port too high") << true << "192.168.0.5:65536" << QByteArray();
        QTest::newRow("colon alone") << true << "192.168.0.5:" << QByteArray();
    }

    void addressMustBeFourNumbers() {
        QFETCH(bool, lan);
        QFETCH(QString, typed);
        QFETCH(QByteArray, written);
        const QByteArray before = FormatLanset(1, 0x0A000001);
        WriteFile(m_ini, before);
        MessageScript messages;
        CLansetDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        TypeAddress(&dialog, typed);
        QCOMPARE(dialog.AddressEdit()->text(), typed);
        Click(lan ? dialog.LanRadio() : dialog.LocalRadio());
        // A saved setting reconnects, which fails here and offers the settings again.
        ModalDriver<CLansetDlg> driver({[](CLansetDlg* d) { ClickQuit(d); }});
        ClickSave(&dialog);
        if (written.isEmpty()) {
            QCOMPARE(messages.Texts(), QStringList{kAddressMessage});
            QCOMPARE(messages.Messages().first().icon, MsgIcon::Exclamation);
            QCOMPARE(ReadFile(m_ini), before);
            QVERIFY(dialog.isVisible());
        } else {
            QCOMPARE(ReadFile(m_ini), written);
            QCOMPARE(messages.Texts().first(), QString("局域网连接设置成功"));
            QVERIFY(!dialog.isVisible());
        }
    }

    void saveThatCannotWriteSaysSo() {
        theApp.m_strLansetPath = m_dir.filePath("no such folder/Lanset.ini");
        MessageScript messages;
        CLansetDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ClickSave(&dialog);
        QCOMPARE(messages.Count(), 1);
        QVERIFY(messages.Last().startsWith("不能写入网络设置文件"));
        QVERIFY(messages.Last().contains("no such folder"));
        QCOMPARE(messages.Messages().first().icon, MsgIcon::Stop);
        QVERIFY(dialog.isVisible());
    }

    void missingSettingsOpenTheLanDialog() {
        // The user saves this machine's database in the dialog: the file is created and the
        // next attempt connects.
        CreateEmptyDatabase(m_dir.filePath("Harbor.accdb"));
        MessageScript messages;
        ModalDriver<CLansetDlg> driver({[](CLansetDlg* d) { ClickSave(d); }});
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(messages.Texts(),
                 QStringList({kFailure + "找不到网络设置文件" + QDir::toNativeSeparators(m_ini),
                              "局域网连接设置成功"}));
        QCOMPARE(messages.Messages().first().icon, MsgIcon::None);
        QCOMPARE(ReadFile(m_ini), FormatLanset(0, 0));
        QVERIFY(Db() && Db()->IsOpen());
    }

    void unreadableSettingsOpenTheLanDialog() {
        // A folder where the file should be cannot be read; 退出 leaves it and the program
        // runs without a connection.
        QVERIFY(QDir(m_dir.path()).mkdir("Lanset.ini"));
        MessageScript messages;
        ModalDriver<CLansetDlg> driver({[](CLansetDlg* d) { ClickQuit(d); }});
        theApp.ConnectDatabase();
        QVERIFY(QDir(m_dir.path()).rmdir("Lanset.ini"));
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(messages.Texts(),
                 QStringList{kFailure + "不能读取网络设置文件" + QDir::toNativeSeparators(m_ini)});
        QVERIFY(!Db());
    }

    void oversizedSettingsAreRefusedUnread_data() {
        QTest::addColumn<qint64>("size");
        QTest::newRow("4 KiB and a byte") << qint64(4097);
        QTest::newRow("300 MB") << qint64(300) * 1000 * 1000;
    }

    void oversizedSettingsAreRefusedUnread() {
        // Starts like a good local setting, so reading it would connect.
        QFETCH(qint64, size);
        CreateEmptyDatabase(m_dir.filePath("Harbor.accdb"));
        {
            QFile file(m_ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(FormatLanset(0, 0));
            QVERIFY(file.resize(size)); // the rest is a hole: no disk space taken
        }
        QByteArray content = "untouched";
        QCOMPARE(ReadLansetFile(m_ini, &content), LansetRead::TooLarge);
        QCOMPARE(content, QByteArray("untouched"));

        MessageScript messages;
        int mode = -1;
        QString address;
        ModalDriver<CLansetDlg> driver({[&](CLansetDlg* d) {
            mode = d->LanRadio()->isChecked() ? 1 : 0;
            address = d->AddressEdit()->text();
            ClickQuit(d);
        }});
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(messages.Texts(),
                 QStringList{kFailure + "网络设置文件" + QDir::toNativeSeparators(m_ini) +
                             "大于4096字节,没有读取"});
        QVERIFY(!Db());
        // The dialog did not read it either.
        QCOMPARE(mode, 0);
        QCOMPARE(address, QString("0.0.0.0"));
        QCOMPARE(QFileInfo(m_ini).size(), size);
    }

    void settingsOfExactly4KiBAreRead() {
        CreateEmptyDatabase(m_dir.filePath("Harbor.accdb"));
        QByteArray content = "0-";
        content.append(QByteArray(4094, ' '));
        WriteFile(m_ini, content);
        QByteArray read;
        QCOMPARE(ReadLansetFile(m_ini, &read), LansetRead::Ok);
        QCOMPARE(read, content);
        MessageScript messages;
        theApp.ConnectDatabase();
        QVERIFY(Db() && Db()->IsOpen());
        QCOMPARE(messages.Count(), 0);
    }

    void localModeOpensTheFileOfTheCurrentFolder() {
        WriteFile(m_ini, "0-anything at all");
        CreateEmptyDatabase(m_dir.filePath("Harbor.accdb"));
        MessageScript messages;
        theApp.ConnectDatabase();
        QVERIFY(Db() && Db()->IsOpen());
        QCOMPARE(QFileInfo(Db()->DatabasePath()).dir().absolutePath(),
                 QDir(m_dir.path()).absolutePath());
        QCOMPARE(messages.Count(), 0);
    }

    void busyDatabaseIsWaitedForInSight() {
        WriteFile(m_ini, "0-");
        CreateEmptyDatabase(m_dir.filePath("Harbor.accdb"));
        CConnection::SetBusyTimeout(100);
        // Another workstation holds the whole database while it writes.
        auto holder = std::make_unique<CConnection>();
        holder->OpenFile(m_dir.filePath("Harbor.accdb"));
        holder->Execute("PRAGMA locking_mode=EXCLUSIVE");
        holder->BeginTransaction();
        holder->Execute("INSERT INTO employee (name) VALUES ('别处')");
        // It finishes while this one waits; the wait is shown, no failure message.
        int shown = 0;
        QTimer release;
        connect(&release, &QTimer::timeout, [&] {
            if (!qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
                return;
            ++shown;
            holder->Rollback();
            holder.reset();
            release.stop();
        });
        release.start(20);
        MessageScript messages;
        theApp.ConnectDatabase();
        QCOMPARE(shown, 1);
        QCOMPARE(messages.Count(), 0);
        QVERIFY(Db() && Db()->IsOpen());

        // A holder that never lets go: after the wait the failure path names the lock, never
        // "not a database of this system".
        Db().reset();
        CConnection stubborn;
        stubborn.OpenFile(m_dir.filePath("Harbor.accdb"));
        stubborn.Execute("PRAGMA locking_mode=EXCLUSIVE");
        stubborn.BeginTransaction();
        stubborn.Execute("INSERT INTO employee (name) VALUES ('别处')");
        ModalDriver<CLansetDlg> settings({[](CLansetDlg* dialog) { ClickQuit(dialog); }});
        theApp.ConnectDatabase();
        QCOMPARE(settings.Handled(), 1);
        QVERIFY2(messages.Last().contains("另一台电脑"), qPrintable(messages.Last()));
        QVERIFY(!messages.Last().contains("不是本系统"));
        stubborn.Rollback();
        CConnection::SetBusyTimeout(5000);
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
                Click(d->LanRadio());
                ClickSave(d);
            },
            [](CLansetDlg* d) {
                Click(d->LocalRadio());
                ClickSave(d);
            },
        });
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 2);
        QVERIFY(Db() && Db()->IsOpen());
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
        WriteFile(m_ini, "0-\\\\0.0.0.0\\Harbor\\Harbor.accdb"); // no Harbor.accdb here
        MessageScript messages;
        ModalDriver<CLansetDlg> driver({[](CLansetDlg* d) { ClickQuit(d); }});
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(messages.Count(), 1);
        QVERIFY(messages.Last().contains("Harbor.accdb"));
        QVERIFY(!Db()->IsOpen());
    }

    void oneQuitEndsTheFailurePathAfterAnySaves() {
        // Every attempt fails (no Harbor.accdb). Three saves, each followed by a failed attempt
        // and a new dialog, then one 退出. Spare steps would answer dialogs that should not come.
        WriteFile(m_ini, "7-");
        MessageScript messages;
        QList<int> alive;
        auto save = [&](CLansetDlg* d) {
            alive.append(LanDialogsAlive());
            ClickSave(d);
        };
        auto quit = [&](CLansetDlg* d) {
            alive.append(LanDialogsAlive());
            ClickQuit(d);
        };
        ModalDriver<CLansetDlg> driver({save, save, save, quit, quit, quit, quit});
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 4);
        QCOMPARE(alive, QList<int>({1, 1, 1, 1}));
        QCOMPARE(LanDialogsAlive(), 0);
        const QStringList texts = messages.Texts();
        QCOMPARE(texts.size(), 7);
        for (int i = 0; i < texts.size(); ++i) {
            if (i % 2 == 0)
                QVERIFY2(texts[i].startsWith(kFailure), qPrintable(texts[i]));
            else
                QCOMPARE(texts[i], QString("局域网连接设置成功"));
        }
        // The dialogs showed what the short file gave: mode 0 and no valid address.
        QCOMPARE(ReadFile(m_ini), FormatLanset(0, 0xFFFFFFFF));
    }

    void saveFromTheFrameDialogRunsTheFailurePathOnce() {
        // The frame's own dialog saves a setting that does not connect: the failure path opens
        // one dialog of its own, whose 退出 ends everything.
        WriteFile(m_ini, FormatLanset(0, 0));
        MessageScript messages;
        CLansetDlg frameDialog;
        ModalDriver<CLansetDlg> driver({[](CLansetDlg* d) { ClickSave(d); },
                                        [](CLansetDlg* d) { ClickQuit(d); },
                                        [](CLansetDlg* d) { ClickQuit(d); }});
        frameDialog.exec();
        QCOMPARE(driver.Handled(), 2);
        QCOMPARE(frameDialog.result(), int(QDialog::Accepted));
        QCOMPARE(messages.Count(), 2);
        QCOMPARE(messages.Texts().first(), QString("局域网连接设置成功"));
        QVERIFY(messages.Last().startsWith(kFailure));
        QCOMPARE(LanDialogsAlive(), 1);
    }

    void lanHostIsReportedThroughTheFailurePath() {
        WriteFile(m_ini, FormatLanset(1, 0x7F000002)); // no server answers there
        MessageScript messages;
        ModalDriver<CLansetDlg> driver({[this](CLansetDlg* d) {
            QFile::remove(m_ini); // the next attempt finds no settings and stops
            d->reject();
        }});
        theApp.ConnectDatabase();
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(messages.Count(), 1);
        QVERIFY(messages.Last().contains("127.0.0.2"));
        QVERIFY(!Db()->IsOpen());
    }
};

QTEST_MAIN(TestLanset)
#include "db/Db.h"
#include "tst_lanset.moc"
