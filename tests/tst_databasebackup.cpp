// Copies of the shop database: names and the retention rule, a copy taken while another
// connection writes, a restore compared table by table, damaged copies and a database in use
// refused with nothing replaced, the automatic copies and the 文件 menu's commands.
#include <QtTest>

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QThread>
#include <QToolButton>
#include <atomic>

#include "MessageScript.h"
#include "ModalDriver.h"
#include "Screenshot.h"
#include "TestDatabase.h"
#include "admin/BackupCommands.h"
#include "admin/DatabaseBackup.h"
#include "admin/DatabaseRestore.h"
#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/SchemaUpgrade.h"
#include "db/SqliteFile.h"
#include "shell/CHarborApp.h"
#include "shell/CMainFrame.h"
#include "shell/CRibbonBar.h"
#include "ui/CommandIds.h"

namespace {

QDateTime At(const QString& text) {
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
}

// Every table of the database, each row's columns joined by "|", rows sorted.
QMap<QString, QStringList> Dump(CConnection& connection) {
    QStringList tables;
    {
        CSqlReader names(connection, "SELECT name FROM sqlite_master WHERE type='table'");
        while (names.Next())
            tables << names.Text(0);
    }
    QMap<QString, QStringList> dump;
    for (const QString& table : tables) {
        CSqlReader rows(connection, QStringLiteral("SELECT * FROM %1").arg(table));
        QStringList texts;
        while (rows.Next()) {
            QStringList row;
            for (int i = 0; i < rows.ColumnCount(); ++i)
                row << rows.Text(i);
            texts << row.join('|');
        }
        texts.sort();
        dump.insert(table, texts);
    }
    return dump;
}

QMap<QString, QStringList> DumpFile(const QString& path) {
    CConnection connection;
    connection.OpenFile(path);
    return Dump(connection);
}

// A row in every table of the shop.
void FillShop(TestDatabase& db) {
    for (int level = 1; level <= 4; ++level)
        db.Exec(QStringLiteral("INSERT INTO name%1 (bh, mc) VALUES (?, ?)").arg(level),
                {QString("01").repeated(level), QStringLiteral("级%1").arg(level)});
    db.Exec("INSERT INTO name5 (bh, \"count\", pack) VALUES ('0101010101', '10', '个/箱')");
    db.Exec("INSERT INTO property (code, name, shortname, spec, price, discount1, discount2, "
            "discount3, total, longpinyin, shortpinyin) VALUES ('0101010101', '级1-级2-级3-级4', "
            "'螺丝', '10个/箱', '2.50', '1', '0.9', '0.8', '100.00', 'J', 'LS')");
    db.Exec("INSERT INTO printcodedata (shortname, spec, code) VALUES ('螺丝', '10个/箱', "
            "'0101010101')");
    db.Exec(
        "INSERT INTO customer (mc, linkman, phone, address, remark, pinyin) VALUES ('顺发五金', "
        "'王', '0571-1', '杭州', '', 'SFWJ')");
    db.Exec("INSERT INTO supplier (mc, linkman, phone, address, remark, pinyin) VALUES ('永固', "
            "'李', '021-2', '上海', '', 'YG')");
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('张三', '007')");
    db.Exec("INSERT INTO companyinfo (name, telephone) VALUES ('远航五交化', '12345')");
    db.Exec(
        "INSERT INTO saleout (oddnum, customer, mydate, receivable, receipt, freceivable, "
        "freceipt, state, code, \"count\", total) VALUES ('20260105001', '顺发五金', "
        "'2026-01-05 10:00:00', '25.00', '25.00', 25, 25, '结清', '0101010101', '10', '25.00')");
    db.Exec("INSERT INTO salein (oddnum, customer, mydate, receivable, receipt, freceivable, "
            "freceipt, state, code, \"count\", total) VALUES ('20260106001', '顺发五金', "
            "'2026-01-06 10:00:00', '2.50', '0', 2.5, 0, '未结', '0101010101', '1', '2.50')");
    db.Exec("INSERT INTO entry (oddnum, supplier, mydate, money, fmoney, state, code, \"count\", "
            "total) VALUES ('20260101001', '永固', '2026-01-01', '200.00', 200, '已付', "
            "'0101010101', '100', '200.00')");
    db.Exec("INSERT INTO minstock (code, minimum) VALUES ('0101010101', '20')");
}

// Enough rows that a copy takes many steps.
void FillBulk(TestDatabase& db, int rows) {
    const QString filler = QString(400, QChar(u'字'));
    db.Exec("BEGIN");
    for (int i = 0; i < rows; ++i)
        db.Exec("INSERT INTO printcodedata (shortname, spec, code) VALUES (?, ?, ?)",
                {filler, QString::number(i), QStringLiteral("%1").arg(i, 10, 10, QChar('0'))});
    db.Exec("COMMIT");
}

// A copy holds a state that existed: the writer adds one customer and counts it in
// companyinfo in the same transaction, so the two always agree.
void CheckConsistent(const QString& copy, int committedAtMost) {
    SqliteFile file(copy, SqliteFile::Mode::ReadWrite);
    QStringList values;
    QString problem;
    QVERIFY2(file.Run("PRAGMA integrity_check", &values, &problem), qPrintable(problem));
    QCOMPARE(values, QStringList{"ok"});
    values.clear();
    QVERIFY(file.Run("SELECT COUNT(*) FROM customer", &values, &problem));
    QVERIFY(file.Run("SELECT telephone FROM companyinfo", &values, &problem));
    QCOMPARE(values.size(), 2);
    QCOMPARE(values.at(0), values.at(1));
    QVERIFY(values.at(0).toInt() <= committedAtMost);
}

void WriteOne(CConnection& writer, int n) {
    writer.BeginTransaction();
    writer.Execute("INSERT INTO customer (mc) VALUES (?)", {QStringLiteral("客户%1").arg(n)});
    writer.Execute("UPDATE companyinfo SET telephone=?", {QString::number(n)});
    writer.Commit();
}

QString FileText(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(file.readAll().toHex());
}

} // namespace

class TestDatabaseBackup : public QObject {
    Q_OBJECT

  private slots:
    void namesCarryTheTime() {
        const QString db = "/shop/Harbor.accdb";
        QCOMPARE(BackupFileName(db, At("2026-12-07 18:30")),
                 QString("Harbor-2026-12-07-1830.accdb"));
        QCOMPARE(BackupTimeOf("Harbor-2026-12-07-1830.accdb", db), At("2026-12-07 18:30"));
        QCOMPARE(BackupFolderFor(db), QString("/shop/backup"));
        // Only the program's own copies of this database are ever pruned.
        for (const char* other :
             {"Harbor-2026-12-07-1830.accdb.partial", "Other-2026-12-07-1830.accdb",
              "Harbor-2026-12-07-1830.db", "Harbor-2026-13-07-1830.accdb",
              "Harbor-2026-12-07-18301.accdb", "Harbor.accdb", "Harbor-x.accdb"})
            QVERIFY2(!BackupTimeOf(other, db).isValid(), other);
    }

    void retentionKeepsThirtyDaysAndTwelveMonths() {
        // Three copies a day for 400 days, newest 2026-12-07 20:00.
        QList<QDateTime> times;
        const QDate last(2026, 12, 7);
        for (int d = 0; d < 400; ++d)
            for (int hour : {8, 12, 20})
                times << QDateTime(last.addDays(-d), QTime(hour, 0));
        std::reverse(times.begin(), times.end());
        const QList<QDateTime> keep = BackupsToKeep(times);
        // The evening copy of each of the last 30 days ...
        for (int d = 0; d < 30; ++d)
            QVERIFY(keep.contains(QDateTime(last.addDays(-d), QTime(20, 0))));
        // ... and the last copy of each of the last 12 months (December's is 12-07).
        for (int m = 1; m < 12; ++m) {
            const QDate monthEnd = QDate(2026, 12, 1).addMonths(-m).addMonths(1).addDays(-1);
            QVERIFY2(keep.contains(QDateTime(monthEnd, QTime(20, 0))),
                     qPrintable(monthEnd.toString()));
        }
        // Days 1-30 back lie in December and November: November's newest (11-30) is among the
        // 30 days, so the months add 10 more copies.
        QCOMPARE(keep.size(), 30 + 10);
        QVERIFY(!keep.contains(QDateTime(last, QTime(8, 0))));
        QVERIFY(!keep.contains(QDateTime(QDate(2025, 12, 31), QTime(20, 0))));
        // Days with copies count, not calendar days: old copies survive a long pause.
        const QList<QDateTime> sparse = {At("2020-01-01 10:00"), At("2020-01-01 11:00"),
                                         At("2024-06-01 09:00")};
        QCOMPARE(BackupsToKeep(sparse),
                 (QList<QDateTime>{At("2024-06-01 09:00"), At("2020-01-01 11:00")}));
        QCOMPARE(BackupsToKeep(sparse, 1, 0), QList<QDateTime>{At("2024-06-01 09:00")});
    }

    void startupCopyWhenTheNewestIsADayOld() {
        const QDateTime now = At("2026-12-07 08:00");
        QVERIFY(StartupBackupDue(QDateTime(), now));
        QVERIFY(!StartupBackupDue(At("2026-12-06 18:30"), now));
        QVERIFY(!StartupBackupDue(At("2026-12-06 08:00"), now));
        QVERIFY(StartupBackupDue(At("2026-12-06 07:59"), now));
        QVERIFY(StartupBackupDue(At("2026-12-08 08:00"), now)); // clock put back
    }

    void restoredCopyEqualsEveryTable() {
        TestDatabase db;
        FillShop(db);
        const QMap<QString, QStringList> before = Dump(*Db());
        QVERIFY(before.size() >= 15);
        const QString copy = db.Folder() + "/copy.accdb";
        BackupDatabaseTo(*Db(), copy);
        QVERIFY(!QFile::exists(copy + "-wal"));
        QCOMPARE(DumpFile(copy), before);

        // Later work, part of it still in the write-ahead log of the live file.
        db.Exec("DELETE FROM saleout");
        db.Exec("UPDATE property SET total='1.00'");
        db.Exec("INSERT INTO customer (mc) VALUES ('后来的客户')");
        QVERIFY(QFile::exists(db.Path() + "-wal"));
        BackupFacts shown;
        const RestoreResult result = RestoreDatabase(
            *Db(), copy,
            [&](const BackupFacts& facts) {
                shown = facts;
                return true;
            },
            At("2026-12-07 18:30"));
        QCOMPARE(result.outcome, RestoreResult::Restored);
        QCOMPARE(shown.products, 1);
        QCOMPARE(shown.documents, 3);
        QVERIFY(Db()->IsOpen());
        QCOMPARE(Dump(*Db()), before);
        QCOMPARE(Db()->SchemaVersion(), CurrentSchemaVersion());
        // The database as it was before the restore is a copy of its own.
        QCOMPARE(QFileInfo(result.safetyCopy).fileName(), QString("Harbor-2026-12-07-1830.accdb"));
        const QMap<QString, QStringList> kept = DumpFile(result.safetyCopy);
        QVERIFY(kept["customer"].join(",").contains("后来的客户"));
        QVERIFY(kept["saleout"].isEmpty());
        // Work goes on on the restored file.
        db.Exec("INSERT INTO employee (name) VALUES ('李四')");
        QCOMPARE(db.Value("SELECT COUNT(*) FROM employee"), QString("2"));
        QVERIFY(!QFile::exists(db.Path() + ".restoring"));
        QVERIFY(!QFile::exists(db.Path() + ".replaced"));
    }

    void restoringTheCopyOfThisMinuteKeepsIt() {
        TestDatabase db;
        FillShop(db);
        const QDateTime now = At("2026-12-07 18:30");
        const QString copy = TakeAutomaticBackup(*Db(), now);
        const QMap<QString, QStringList> before = Dump(*Db());
        db.Exec("DELETE FROM property");
        const RestoreResult result = RestoreDatabase(*Db(), copy, {}, now);
        QCOMPARE(result.outcome, RestoreResult::Restored);
        QCOMPARE(QFileInfo(result.safetyCopy).fileName(),
                 QString("Harbor-2026-12-07-1830-2.accdb"));
        QCOMPARE(DumpFile(copy), before);
        QVERIFY(DumpFile(result.safetyCopy)["property"].isEmpty());
        QCOMPARE(Dump(*Db()), before);
    }

    void olderCopyIsUpgradedWhenRestored() {
        TestDatabase db;
        FillShop(db);
        const QString copy = db.Folder() + "/old.accdb";
        BackupDatabaseTo(*Db(), copy);
        {
            SqliteFile old(copy, SqliteFile::Mode::ReadWrite);
            QString problem;
            QVERIFY(old.Run("DROP TABLE minstock", nullptr, &problem));
            QVERIFY(old.Run("DROP TABLE docline", nullptr, &problem));
            QVERIFY(old.Run("UPDATE harbor_schema SET version=1", nullptr, &problem));
        }
        const RestoreResult result = RestoreDatabase(*Db(), copy, {}, At("2026-12-07 18:30"));
        QCOMPARE(result.outcome, RestoreResult::Restored);
        QCOMPARE(db.Value("SELECT version FROM harbor_schema"),
                 QString::number(CurrentSchemaVersion()));
        QCOMPARE(db.Value("SELECT COUNT(*) FROM minstock"), QString("0"));
    }

    void copyWhileAnotherConnectionWrites() {
        TestDatabase db;
        FillShop(db);
        FillBulk(db, 6000);
        db.Exec("UPDATE companyinfo SET telephone='1'");
        CConnection other;
        other.OpenFile(db.Path());
        // The other workstation commits between the steps of the copy.
        int committed = 1;
        const QString copy = db.Folder() + "/during.accdb";
        int steps = 0;
        BackupDatabaseTo(*Db(), copy, [&](int, int) {
            ++steps;
            WriteOne(other, ++committed);
        });
        QVERIFY(steps > 3);
        CheckConsistent(copy, committed);
    }

    void copyWhileAnotherThreadWrites() {
        TestDatabase db;
        FillShop(db);
        FillBulk(db, 6000);
        db.Exec("UPDATE companyinfo SET telephone='1'");
        std::atomic<bool> stop = false;
        std::atomic<int> committed = 1;
        std::atomic<bool> started = false;
        QString writerProblem;
        QThread* writer = QThread::create([&] {
            try {
                CConnection connection;
                connection.OpenFile(db.Path());
                started = true;
                for (int n = 2; !stop && n < 100000; ++n) {
                    WriteOne(connection, n);
                    committed = n;
                }
            } catch (const std::exception& e) {
                writerProblem = e.what();
                started = true;
            }
        });
        writer->start();
        QTRY_VERIFY(started.load());
        QTRY_VERIFY(committed > 3);
        const QString copy = db.Folder() + "/during.accdb";
        BackupDatabaseTo(*Db(), copy);
        stop = true;
        writer->wait();
        delete writer;
        QVERIFY2(writerProblem.isEmpty(), qPrintable(writerProblem));
        CheckConsistent(copy, committed);
    }

    void damagedCopyIsRefusedAndNothingReplaced() {
        TestDatabase db;
        FillShop(db);
        FillBulk(db, 300);
        const QString good = db.Folder() + "/good.accdb";
        BackupDatabaseTo(*Db(), good);
        // Pages in the middle of the copy overwritten.
        const QString damaged = db.Folder() + "/damaged.accdb";
        QVERIFY(QFile::copy(good, damaged));
        {
            QFile file(damaged);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(file.size() / 2);
            file.write(QByteArray(3 * 4096, '\x5a'));
        }
        // Not a database at all, and a database of another program.
        const QString text = db.Folder() + "/notes.accdb";
        {
            QFile file(text);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("这不是数据库\n").repeated(500));
        }
        const QString foreign = db.Folder() + "/foreign.accdb";
        {
            SqliteFile file(foreign, SqliteFile::Mode::Create);
            QString problem;
            QVERIFY(file.Run("CREATE TABLE notes (text TEXT)", nullptr, &problem));
        }
        const QString truncated = db.Folder() + "/truncated.accdb";
        QVERIFY(QFile::copy(good, truncated));
        QFile::resize(truncated, QFileInfo(good).size() / 3);

        const QMap<QString, QStringList> before = Dump(*Db());
        for (const QString& copy :
             {damaged, text, foreign, truncated, db.Folder() + "/missing.accdb"}) {
            bool asked = false;
            const RestoreResult result = RestoreDatabase(
                *Db(), copy,
                [&](const BackupFacts&) {
                    asked = true;
                    return true;
                },
                At("2026-12-07 18:30"));
            QCOMPARE(result.outcome, RestoreResult::Refused);
            QVERIFY2(result.message.contains("数据库没有改变"), qPrintable(result.message));
            QVERIFY(!asked);
            QVERIFY(!InspectBackup(copy).problem.isEmpty());
        }
        QVERIFY(InspectBackup(good).problem.isEmpty());
        QVERIFY(Db()->IsOpen());
        QCOMPARE(Dump(*Db()), before);
        QVERIFY(!QDir(BackupFolderFor(db.Path())).exists()); // no safety copy either
        QVERIFY(!QFile::exists(db.Path() + ".restoring"));
    }

    void databaseInUseIsNotReplaced() {
        TestDatabase db;
        FillShop(db);
        const QString copy = db.Folder() + "/copy.accdb";
        BackupDatabaseTo(*Db(), copy);
        db.Exec("INSERT INTO customer (mc) VALUES ('新客户')");
        const QMap<QString, QStringList> before = Dump(*Db());
        // Another workstation has the database open, only reading.
        CConnection other;
        other.OpenFile(db.Path());
        QCOMPARE(CSqlReader(other, "SELECT COUNT(*) FROM customer").Next(), true);
        const RestoreResult result = RestoreDatabase(*Db(), copy, {}, At("2026-12-07 18:30"));
        QCOMPARE(result.outcome, RestoreResult::Refused);
        QVERIFY(result.message.contains("另一台电脑"));
        QVERIFY(Db()->IsOpen());
        QCOMPARE(Dump(*Db()), before);
        // Neither side was cut off.
        other.Execute("INSERT INTO employee (name) VALUES ('别处')");
        db.Exec("INSERT INTO employee (name) VALUES ('本机')");
        QCOMPARE(db.Value("SELECT COUNT(*) FROM employee"), QString("3"));
        other.Close();
        QCOMPARE(RestoreDatabase(*Db(), copy, {}, At("2026-12-07 18:31")).outcome,
                 RestoreResult::Restored);
        QCOMPARE(db.Value("SELECT COUNT(*) FROM employee"), QString("1"));
    }

    void automaticCopiesArePruned() {
        TestDatabase db;
        FillShop(db);
        const QString folder = BackupFolderFor(db.Path());
        QVERIFY(QDir().mkpath(folder));
        // Forty days of copies already there, and a file of the user's own.
        const QDateTime now = At("2026-12-07 18:30");
        for (int d = 1; d <= 40; ++d) {
            QFile file(QDir(folder).filePath(BackupFileName(db.Path(), now.addDays(-d))));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFile mine(QDir(folder).filePath("我的备份.accdb"));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.close();
        QCOMPARE(NewestBackup(db.Path()), now.addDays(-1));
        QVERIFY(!StartupBackupDue(NewestBackup(db.Path()), now));

        QStatusBar bar;
        QVERIFY(RunStartupBackup(&bar, now).isEmpty()); // the newest is younger than a day
        const QString copy = RunStartupBackup(&bar, now.addDays(1));
        QCOMPARE(QFileInfo(copy).fileName(), QString("Harbor-2026-12-08-1830.accdb"));
        QVERIFY(bar.currentMessage().contains("已自动备份"));
        QCOMPARE(DumpFile(copy), Dump(*Db()));
        // 30 days (12-08 back to 11-09) plus the newest of October: 31 copies and mine.
        const QStringList left = QDir(folder).entryList(QDir::Files, QDir::Name);
        QCOMPARE(left.size(), 32);
        QVERIFY(left.contains("我的备份.accdb"));
        QVERIFY(left.contains("Harbor-2026-10-31-1830.accdb"));
        QVERIFY(left.contains("Harbor-2026-11-08-1830.accdb"));
        QVERIFY(!left.contains("Harbor-2026-11-07-1830.accdb"));
        // Exit takes one every time.
        QCOMPARE(QFileInfo(RunExitBackup(now.addDays(1).addSecs(3600))).fileName(),
                 QString("Harbor-2026-12-08-1930.accdb"));
    }

    void menuCommandsBackUpAndRestore() {
        TestDatabase db;
        FillShop(db);
        MessageScript messages;
        CMainFrame frame;
        theApp.m_pMainWnd = &frame;
        // The 文件 menu has both items.
        auto* appButton = frame.Ribbon()->findChild<QToolButton*>("appButton");
        QVERIFY(appButton && appButton->menu());
        QHash<QString, QAction*> items;
        for (QAction* action : appButton->menu()->actions())
            items.insert(action->text(), action);
        QVERIFY(items.contains("备份数据库(&B)..."));
        QVERIFY(items.contains("恢复数据库(&R)..."));
        appButton->menu()->popup(frame.mapToGlobal(QPoint(0, 40)));
        Snapshot(appButton->menu(), "file-menu");
        QVERIFY(appButton->menu()->rect().contains(
            appButton->menu()->actionGeometry(items.value("备份数据库(&B)..."))));
        QVERIFY(appButton->menu()->rect().contains(
            appButton->menu()->actionGeometry(items.value("恢复数据库(&R)..."))));
        appButton->menu()->close();

        // 备份数据库: the backup folder is proposed; the user picks a name there.
        const QString chosen = db.Folder() + "/手动备份.accdb";
        QString proposed;
        {
            ModalDriver<QFileDialog> driver({[&](QFileDialog* dialog) {
                proposed = dialog->directory().absolutePath();
                auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                QVERIFY(name && name->text().startsWith("Harbor-") &&
                        name->text().endsWith("-手动.accdb"));
                QVERIFY(!BackupTimeOf(name->text(), db.Path()).isValid()); // never pruned
                name->setText(chosen);
                static_cast<QDialog*>(dialog)->accept();
            }});
            items["备份数据库(&B)..."]->trigger();
            QCOMPARE(driver.Handled(), 1);
        }
        QCOMPARE(proposed, BackupFolderFor(db.Path()));
        QVERIFY2(messages.Last().startsWith("数据库已备份到"), qPrintable(messages.Last()));
        QCOMPARE(InspectBackup(chosen).problem, QString());

        // 恢复数据库: an open window is closed after the user says yes.
        db.Exec("DELETE FROM customer");
        frame.OnCommand(ID_CUSTOMER_BUTTON);
        QVERIFY(frame.DialogFor(ID_CUSTOMER_BUTTON));
        messages.Clear();
        messages.Answer(IDYES);
        {
            ModalDriver<QFileDialog> driver({[&](QFileDialog* dialog) {
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(chosen);
                static_cast<QDialog*>(dialog)->accept();
            }});
            items["恢复数据库(&R)..."]->trigger();
        }
        QCOMPARE(messages.Count(), 2);
        const QString question = messages.Messages().at(0).text;
        QVERIFY2(question.contains("商品: 1 种") && question.contains("单据: 3 张"),
                 qPrintable(question));
        // The copy was taken a moment ago by the machine's clock: today, or yesterday when
        // midnight has passed since.
        const QDate today = QDate::currentDate();
        QVERIFY2(question.contains(today.toString("yyyy-MM-dd")) ||
                     question.contains(today.addDays(-1).toString("yyyy-MM-dd")),
                 qPrintable(question));
        QVERIFY(messages.Last().startsWith("数据库已恢复"));
        QVERIFY(!frame.DialogFor(ID_CUSTOMER_BUTTON));
        QCOMPARE(db.Value("SELECT mc FROM customer"), QString("顺发五金"));

        // Said no: nothing changes.
        db.Exec("DELETE FROM customer");
        messages.Clear();
        messages.Answer(IDNO);
        QVERIFY(!RestoreFrom(&frame, chosen));
        QCOMPARE(messages.Count(), 1);
        QCOMPARE(db.Value("SELECT COUNT(*) FROM customer"), QString("0"));

        // A damaged copy: told so, nothing asked, nothing replaced.
        {
            QFile file(chosen);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(4096);
            file.write(QByteArray(4 * 4096, '\x11'));
        }
        messages.Clear();
        QVERIFY(!RestoreFrom(&frame, chosen));
        QCOMPARE(messages.Count(), 1);
        QVERIFY(messages.Last().contains("不能用来恢复"));
        QCOMPARE(messages.Messages().last().icon, MsgIcon::Stop);
        QCOMPARE(db.Value("SELECT COUNT(*) FROM customer"), QString("0"));
        theApp.m_pMainWnd = nullptr;
    }
};

QTEST_MAIN(TestDatabaseBackup)
#include "db/Db.h"
#include "tst_databasebackup.moc"
