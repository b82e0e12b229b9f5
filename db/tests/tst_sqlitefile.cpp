// What only the local SQLite file has: the file watched under the program, what opening a
// damaged, foreign or locked file says, and SQLite's write lock between two workstations.
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <unistd.h>

#include "DocumentShop.h"
#include "GridInput.h"
#include "MessageScript.h"
#include "ModalDriver.h"
#include "TestDatabase.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CRecordset.h"
#include "db/CSqlReader.h"
#include "db/DatabaseInit.h"
#include "db/LansetFile.h"
#include "db/SchemaUpgrade.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "shell/CLansetDlg.h"
#include "ui/CDbAction.h"

namespace {

CDbException::Kind OpenFailureKind(const QString& path, QString* message = nullptr) {
    CConnection connection;
    try {
        connection.OpenFile(path);
    } catch (const CDbException& e) {
        if (message)
            *message = e.Message();
        return e.GetKind();
    }
    return CDbException::Kind::Engine;
}

void Overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    file.write(bytes);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Another shop's database, with one employee of its own, closed as a program leaves it.
QString OtherShop(const QString& folder) {
    const QString path = folder + QStringLiteral("/other.accdb");
    CreateEmptyDatabase(path);
    CConnection other;
    other.OpenFile(path);
    other.BeginTransaction();
    other.Execute("INSERT INTO employee (name) VALUES ('外店')");
    other.Commit();
    return path;
}

QString OpenMessage(const QString& path) {
    QString message;
    OpenFailureKind(path, &message);
    return message;
}

} // namespace

class TestSqliteFile : public QObject {
    Q_OBJECT

  private slots:
    // An older shop file is brought up to this program's version when it is opened.
    void olderFileIsUpgradedWhenOpened() {
        QTemporaryDir dir;
        const QString old = dir.filePath("old.accdb");
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "raw-v1");
            raw.setDatabaseName(old);
            QVERIFY(raw.open());
            QSqlQuery query(raw);
            for (const QString& statement : SchemaStatements())
                QVERIFY2(query.exec(statement), qPrintable(statement));
            // Lines of a product that still carries their name, of one renamed since and of a
            // code without a product.
            for (const char* statement :
                 {"INSERT INTO property (code, name) VALUES ('0101000001', '五金-螺丝')",
                  "INSERT INTO property (code, name) VALUES ('0102000001', '五金-新钉子')",
                  "INSERT INTO saleout (oddnum, mc, code, \"count\", total) VALUES "
                  "('20200101001', '五金-螺丝', '0101000001', '5', '50.00')",
                  "INSERT INTO salein (oddnum, mc, code, \"count\") VALUES "
                  "('20200101001', '五金-钉子', '0102000001', '1')",
                  "INSERT INTO entry (oddnum, mc, code, \"count\") VALUES "
                  "('20200101001', '电料-开关', '0200000001', '2')"})
                QVERIFY2(query.exec(QString::fromUtf8(statement)), statement);
            raw.close();
        }
        QSqlDatabase::removeDatabase("raw-v1");
        CConnection upgraded;
        upgraded.OpenFile(old);
        QCOMPARE(upgraded.SchemaVersion(), CurrentSchemaVersion());
        CSqlReader reader(upgraded, "SELECT count(*) FROM sqlite_master WHERE name='minstock'");
        QVERIFY(reader.Next());
        QCOMPARE(reader.Text(0), QString("1"));
        CSqlReader lines(upgraded,
                         "SELECT tbl, code, qty, total, product FROM docline ORDER BY tbl");
        QStringList facts;
        while (lines.Next())
            facts << QStringList{lines.Text(0), lines.Text(1), lines.Text(2), lines.Text(3),
                                 lines.Text(4)}
                         .join('|');
        QCOMPARE(facts, (QStringList{"entry|0200000001|2||", "salein|0102000001|1||",
                                     "saleout|0101000001|5|50.00|0101000001"}));
    }

    void deletedOrReplacedFileIsNoticedBeforeTheWrite() {
        for (const bool replace : {false, true}) {
            TestDatabase db;
            MessageScript messages;
            db.Exec("INSERT INTO employee (name) VALUES ('甲')");
            db.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
            if (replace) {
                // Another copy of the shop put in its place (a restore done by hand).
                const QString copy = db.Folder() + "/copy.accdb";
                CreateEmptyDatabase(copy);
                QVERIFY(QFile::remove(db.Path()));
                QVERIFY(QFile::rename(copy, db.Path()));
            } else {
                QVERIFY(QFile::remove(db.Path()));
            }
            // The user is sent to the connection settings and leaves them.
            ModalDriver<CLansetDlg> settings({[](CLansetDlg* dialog) { dialog->reject(); }});
            const bool saved = RunDbAction(nullptr, QStringLiteral("保存员工"), [] {
                Db()->Execute("INSERT INTO employee (name) VALUES ('乙')");
            });
            QVERIFY(!saved);
            QVERIFY2(messages.Last().contains("数据库文件已被删除或移动"),
                     qPrintable(messages.Last()));
            QCOMPARE(settings.Handled(), 1);
            QVERIFY(!Db()->IsOpen());
            if (replace) {
                CConnection check;
                check.OpenFile(db.Path());
                CSqlReader reader(check, "SELECT count(*) FROM employee");
                QVERIFY(reader.Next());
                QCOMPARE(reader.Text(0), QString("0")); // nothing reached the new file
            }
        }
    }

    // The shop file replaced while a document window is open: overwritten in place or put there
    // by rename, with a text, an empty file or another shop. The save is refused as for a moved
    // file, nothing reaches the file at the path, and the next start neither applies this
    // program's log to it nor deletes that log.
    // Another program opening and closing the shop file while this one has it open leaves this
    // one's log in place: every later write reaches the file that others read.
    void anotherProgramLeavesTheOpenLogInPlace() {
        QTemporaryDir folder;
        const QString path = folder.filePath("Harbor.accdb");
        CreateEmptyDatabase(path);
        CConnection mine;
        mine.OpenFile(path);
        auto add = [&](const char* name) {
            mine.BeginTransaction();
            mine.Execute("INSERT INTO employee (name) VALUES (?)", {QString(name)});
            mine.Commit();
        };
        auto names = [&] {
            CConnection reader;
            reader.OpenFile(path);
            QStringList all;
            for (CSqlReader rows(reader, "SELECT name FROM employee ORDER BY name"); rows.Next();)
                all.append(rows.Text(0));
            return all.join(',');
        };
        add("甲");
        for (int round = 0; round < 2; ++round) {
            QProcess other;
            other.start(QStringLiteral(HARBOR_EXECUTABLE), {"--audit-verify", path});
            QVERIFY(other.waitForFinished(60000));
            QCOMPARE(other.exitCode(), 0);
            QVERIFY(QFile::exists(path + "-wal"));
        }
        add("乙");
        QCOMPARE(names(), QString("乙,甲"));
        mine.Close();
        QCOMPARE(names(), QString("乙,甲"));
    }

    void replacedFileTakesNoWriteAndNoLog_data() {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("with");
        for (const bool rename : {false, true}) {
            for (const char* with : {"text", "empty", "shop"})
                QTest::addRow("%s %s", rename ? "rename" : "overwrite", with) << rename << with;
        }
    }

    void replacedFileTakesNoWriteAndNoLog() {
        QFETCH(bool, rename);
        QFETCH(QString, with);
        QTemporaryDir folder;
        const QString otherShop = OtherShop(folder.path());
        const QByteArray content = with == "text"    ? QByteArray("这不是数据库\n")
                                   : with == "empty" ? QByteArray()
                                                     : FileBytes(otherShop);
        DocumentShop shop;
        QVERIFY(shop.ready);
        shop.AddProduct("0101000001", "五金-螺丝", "10.00", "100");
        MessageScript messages;
        CSaleOutDlg* dlg = shop.saleOut;
        shop.NewSale(dlg);
        shop.AddSaleLine(dlg, "0101000001", "2");
        QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
        QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("1"));
        const QString path = shop.db.Path();
        QVERIFY(QFileInfo(path + "-wal").size() > 0);

        if (rename) {
            const QString staged = folder.filePath("staged");
            QFile file(staged);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
            file.close();
            QVERIFY(::rename(QFile::encodeName(staged).constData(),
                             QFile::encodeName(path).constData()) == 0);
        } else {
            QFile file(path); // the same file, its bytes replaced
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
        }

        // The clerk changes the quantity and saves: refused, and sent to the settings.
        messages.Clear();
        ModalDriver<CLansetDlg> settings({[](CLansetDlg* dialog) { dialog->reject(); }});
        TypeInCell(dlg->Grid(), 1, 6, "3");
        QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
        const QString said = messages.Texts().join('\n');
        QVERIFY2(said.contains("数据库文件已被删除或移动") && !said.contains("成功"),
                 qPrintable(said));
        QTRY_COMPARE(settings.Handled(), 1);
        // The program exits.
        delete dlg;
        shop.saleOut = nullptr;
        Db()->Close();
        QCOMPARE(FileBytes(path), content);

        // The next start: this program's log is not the file's; it is set aside, kept whole.
        const QByteArray log = FileBytes(path + "-wal");
        QVERIFY(!log.isEmpty());
        const QString first = OpenMessage(path);
        QVERIFY2(first.contains("日志文件不是这个文件的") && first.contains("-wal.不属于本文件"),
                 qPrintable(first));
        QVERIFY(!QFile::exists(path + "-wal"));
        const QStringList aside =
            QDir(QFileInfo(path).path()).entryList({QFileInfo(path).fileName() + "-wal.*"});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(FileBytes(QFileInfo(path).path() + "/" + aside.first()), log);
        QCOMPARE(FileBytes(path), content);

        // And the one after opens what was put there as it is, or refuses what is no shop.
        if (with != "shop") {
            QVERIFY(OpenFailureKind(path) != CDbException::Kind::Lost);
            QVERIFY(!OpenMessage(path).isEmpty());
            return;
        }
        CConnection again;
        again.OpenFile(path);
        CSqlReader employees(again, "SELECT name FROM employee");
        QVERIFY(employees.Next());
        QCOMPARE(employees.Text(0), QString("外店"));
        QVERIFY(!employees.Next());
        CSqlReader sales(again, "SELECT count(*) FROM saleout");
        QVERIFY(sales.Next());
        QCOMPARE(sales.Text(0), QString("0"));
    }

    void openSaysWhatIsWrong() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Harbor.accdb");
        CreateEmptyDatabase(path);
        QString message;

        // Damaged pages: the quick check at open names the file as damaged.
        {
            CConnection connection;
            connection.OpenFile(path);
            for (int i = 0; i < 300; ++i)
                connection.Execute("INSERT INTO customer (mc, address) VALUES (?, ?)",
                                   {QString::number(i), QString(200, QChar('x'))});
            connection.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
        }
        Overwrite(path, 4096 * 3, QByteArray(4096 * 4, '\x5a'));
        QCOMPARE(OpenFailureKind(path, &message), CDbException::Kind::Damaged);
        QVERIFY2(message.contains("已损坏") && message.contains("备份"), qPrintable(message));

        // A header that is not SQLite's at all: some other file, not a damaged shop.
        Overwrite(path, 0, QByteArray(100, 'x'));
        QCOMPARE(OpenFailureKind(path, &message), CDbException::Kind::Engine);
        QVERIFY2(message.contains("不是本系统的数据库"), qPrintable(message));

        // Another workstation holds the database exclusively: busy, never "not ours".
        const QString other = dir.filePath("other.accdb");
        CreateEmptyDatabase(other);
        CConnection holder;
        holder.OpenFile(other);
        holder.Execute("PRAGMA locking_mode=EXCLUSIVE");
        holder.BeginTransaction();
        holder.Execute("INSERT INTO employee (name) VALUES ('甲')");
        QCOMPARE(OpenFailureKind(other, &message), CDbException::Kind::Busy);
        QVERIFY2(message.contains("另一台电脑") && !message.contains("不是本系统"),
                 qPrintable(message));
        holder.Rollback();
    }

    void openRefusesWhatIsNotAShopDatabase() {
        QTemporaryDir dir;
        CConnection connection;
        QVERIFY_THROWS_EXCEPTION(CDbException, connection.OpenFile(dir.filePath("missing.accdb")));
        QVERIFY(!QFile::exists(dir.filePath("missing.accdb"))); // never created by opening

        QFile junk(dir.filePath("junk.accdb"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        try {
            connection.OpenFile(junk.fileName());
            QFAIL("a file of junk opened");
        } catch (const CDbException& e) {
            QVERIFY(e.Message().contains("不是本系统的数据库"));
        }
        QVERIFY(!connection.IsOpen());

        const QString good = dir.filePath("Harbor.accdb");
        CreateEmptyDatabase(good);
        QVERIFY_THROWS_EXCEPTION(CDbException, CreateEmptyDatabase(good)); // never overwritten
        connection.OpenFile(good);
        QVERIFY(connection.IsOpen());
    }

    void lockedDatabaseFailsTheActionNotTheProgram() {
        TestDatabase db;
        MessageScript messages;
        // A second workstation holds the write lock.
        CConnection other;
        other.OpenFile(db.Path());
        other.BeginTransaction();
        other.Execute("INSERT INTO employee (name) VALUES ('别处')");
        // Shorten the wait so the test does not sit out the full busy timeout.
        Db()->Execute("PRAGMA busy_timeout=100");
        QVERIFY(!RunDbAction(nullptr, QStringLiteral("保存员工"),
                             [] { Db()->Execute("INSERT INTO employee (name) VALUES ('本机')"); }));
        QVERIFY(messages.Last().startsWith("保存员工失败"));
        other.Rollback();
        QVERIFY(RunDbAction(nullptr, QStringLiteral("保存员工"),
                            [] { Db()->Execute("INSERT INTO employee (name) VALUES ('本机')"); }));
        QCOMPARE(db.Rows("SELECT name FROM employee"), QStringList({"本机"}));
    }

    // The journal files live beside the database: a user who may write the file but not its
    // folder is told which folder, by the same connect that start-up runs. Tests run as root,
    // who writes anywhere, so the program runs here as the unprivileged user nobody.
    void folderThatCannotBeWrittenIsNamed() {
        if (::geteuid() != 0)
            QSKIP("needs root to run the program as another user");
        QTemporaryDir dir;
        const QString folder = dir.path();
        const QString program = dir.filePath("Harbor");
        QVERIFY(QFile::copy(QStringLiteral(HARBOR_EXECUTABLE), program));
        const QFile::Permissions readAndRun = QFile::ReadOwner | QFile::ExeOwner |
                                              QFile::ReadGroup | QFile::ExeGroup |
                                              QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(program, readAndRun));
        CreateEmptyDatabase(dir.filePath("Harbor.accdb"));
        QFile lanset(dir.filePath("Lanset.ini"));
        QVERIFY(lanset.open(QIODevice::WriteOnly));
        lanset.write(FormatLanset(0, 0));
        lanset.close();
        const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner |
                                             QFile::ReadGroup | QFile::WriteGroup |
                                             QFile::ReadOther | QFile::WriteOther;
        QVERIFY(QFile::setPermissions(dir.filePath("Harbor.accdb"), readWrite));
        QVERIFY(QFile::setPermissions(dir.filePath("Lanset.ini"), readWrite));
        // The folder: everyone may look in and open its files, only root may add files.
        QVERIFY(QFile::setPermissions(folder, readAndRun | QFile::WriteOwner));

        QProcess check;
        check.setWorkingDirectory(folder);
        check.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", folder);
        environment.remove("HARBOR_PROGRAM_DIR"); // the copy keeps its files beside itself
        check.setProcessEnvironment(environment);
        check.start("setpriv",
                    {"--reuid=nobody", "--regid=nogroup", "--clear-groups", program, "--check"});
        QVERIFY(check.waitForFinished(60 * 1000));
        const QString out = QString::fromLocal8Bit(check.readAll());
        QCOMPARE(check.exitStatus(), QProcess::NormalExit);
        QVERIFY2(check.exitCode() == 1, qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("文件夹 %1 不能写入").arg(folder)), qPrintable(out));
        QVERIFY2(!out.contains("不是本系统"), qPrintable(out));

        // As root, who may write the folder, the same file opens.
        QProcess root;
        root.setWorkingDirectory(folder);
        environment.insert("HOME", QDir::homePath());
        root.setProcessEnvironment(environment);
        root.start(program, {"--check"});
        QVERIFY(root.waitForFinished(60 * 1000));
        QCOMPARE(root.exitCode(), 0);
    }
};

QTEST_MAIN(TestSqliteFile)
#include "db/Db.h"
#include "tst_sqlitefile.moc"
