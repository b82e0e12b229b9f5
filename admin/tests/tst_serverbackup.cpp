// Copies of the server's database (LAN mode) with pg_dump and pg_restore: a copy restored
// compares equal table by table, a copy taken while another workstation writes holds one
// state, a damaged copy is refused with nothing replaced, a restore waits until the other
// workstations are gone, and only the host takes the automatic copies.
// Runs against the test server only (HARBOR_TEST_ENGINE=postgres).
#include <QtTest>

#include <QThread>
#include <atomic>

#include "MessageScript.h"
#include "TestDatabase.h"
#include "admin/BackupCommands.h"
#include "admin/ServerBackup.h"
#include "admin/ShopCopy.h"
#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/SchemaUpgrade.h"

namespace {

QDateTime At(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), "yyyy-MM-dd HH:mm");
}

// Every row of every table, the values as read, in the order they were stored.
QStringList AllRows(CConnection& connection) {
    QStringList rows;
    for (const QString& table : ShopTables()) {
        CSqlReader reader(connection, QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                          .arg(table, connection.Dialect().RowIdColumn()));
        while (reader.Next()) {
            QStringList values{table};
            for (int i = 0; i < reader.ColumnCount(); ++i) {
                const QVariant value = reader.Value(i);
                values.append(value.isNull() ? QStringLiteral("<NULL>") : reader.Text(i));
            }
            rows.append(values.join('|'));
        }
    }
    return rows;
}

// Rows in the tables of products, parties and the three kinds of documents.
void FillShop(TestDatabase& db) {
    db.Exec("INSERT INTO name1 (bh, mc) VALUES ('01', '五金')");
    for (int i = 1; i <= 3; ++i)
        db.Exec("INSERT INTO property (code, name, shortname, spec, price, total) VALUES (?, ?, "
                "?, '10个/箱', '2.50', '100.00')",
                {QStringLiteral("010101010%1").arg(i), QStringLiteral("五金-螺丝%1").arg(i),
                 QStringLiteral("螺丝 O'Neil %1").arg(i)});
    db.Exec("INSERT INTO customer (mc, phone, pinyin) VALUES ('顺发五金', '0571-1', 'SFWJ')");
    db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('永固', 'YG')");
    db.Exec("INSERT INTO companyinfo (name, telephone) VALUES ('远航五交化', '0')");
    for (const char* line : {"0101010101", "0101010102"})
        db.Exec("INSERT INTO saleout (oddnum, customer, mydate, receivable, receipt, "
                "freceivable, freceipt, state, code, \"count\", total) VALUES ('20260105001', "
                "'顺发五金', '2026-01-05 10:00:00', '25.00', '25.00', 25, 25, '结清', ?, '10', "
                "'25.00')",
                {QString::fromLatin1(line)});
    db.Exec("INSERT INTO salein (oddnum, customer, mydate, receivable, receipt, freceivable, "
            "freceipt, state, code, \"count\", total) VALUES ('20260106001', '顺发五金', "
            "'2026-01-06 10:00:00', '2.50', '0', 2.5, 0, '未结', '0101010101', '1', '2.50')");
    db.Exec("INSERT INTO entry (oddnum, supplier, mydate, money, fmoney, state, code, \"count\", "
            "total) VALUES ('20260101001', '永固', '2026-01-01', '200.00', 200, '已付', "
            "'0101010103', '100', '200.00')");
    db.Exec("INSERT INTO minstock (code, minimum) VALUES ('0101010101', '20')");
}

// One customer added and counted in companyinfo in the same transaction: the two always agree
// in any state that existed.
void WriteOne(CConnection& writer, int n) {
    writer.BeginTransaction();
    writer.Execute("INSERT INTO customer (mc) VALUES (?)", {QStringLiteral("客户%1").arg(n)});
    writer.Execute("UPDATE companyinfo SET telephone=?", {QString::number(n)});
    writer.Commit();
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TestServerBackup : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        if (!TestDatabase::OnServer())
            QSKIP("runs against the test server (HARBOR_TEST_ENGINE=postgres)");
        QVERIFY2(PgToolPath("pg_dump").startsWith("/usr/lib/postgresql/"),
                 qPrintable(PgToolPath("pg_dump")));
        QVERIFY(!PgToolPath("pg_restore").isEmpty());
    }

    void hostIsThisComputer() {
        const QStringList own{"192.168.1.20", "fe80::1"};
        for (const char* host : {"127.0.0.1", "127.1.2.3", "localhost", "LocalHost", "::1",
                                 "192.168.1.20", " 192.168.1.20 "})
            QVERIFY2(IsThisComputer(host, own), host);
        for (const char* host : {"", "192.168.1.2", "192.168.1.201", "10.0.0.1", "128.0.0.1",
                                 "127.0.0.1.5", "shop-server"})
            QVERIFY2(!IsThisComputer(host, own), host);
        // This computer's own addresses.
        QVERIFY(IsServerHost("127.0.0.1"));
        for (const QString& address : OwnAddresses())
            QVERIFY(IsServerHost(address));
    }

    void restoredCopyComparesEqualTableByTable() {
        TestDatabase db;
        FillShop(db);
        const QStringList before = AllRows(*Db());
        QTemporaryDir dir;
        const QString anchor = ServerBackupAnchor(dir.path());
        const QString copy =
            TakeAutomaticServerBackup(db.Address(), anchor, At("2026-12-07 18:30"));
        QCOMPARE(copy, dir.path() + "/backup/HarborServer-2026-12-07-1830.dump");
        QCOMPARE(NewestBackup(anchor), At("2026-12-07 18:30"));
        QVERIFY(!QFileInfo::exists(copy + ".partial"));
        // Its facts, read from the copy itself.
        const BackupFacts facts = InspectServerDump(copy);
        QCOMPARE(facts.problem, QString());
        QCOMPARE(facts.products, 3);
        QCOMPARE(facts.documents, 3);
        QCOMPARE(facts.schemaVersion, CurrentSchemaVersion());
        QCOMPARE(facts.when, At("2026-12-07 18:30"));

        // The day goes on: rows changed, added and removed.
        db.Exec("UPDATE property SET total='1.00'");
        db.Exec("DELETE FROM saleout");
        db.Exec("INSERT INTO customer (mc) VALUES ('新客户')");
        QVERIFY(AllRows(*Db()) != before);

        int asked = 0;
        const RestoreResult result = RestoreServerDatabase(
            *Db(), copy,
            [&](const BackupFacts& shown) {
                ++asked;
                return shown.products == 3 && shown.documents == 3;
            },
            anchor, At("2026-12-08 09:00"));
        QCOMPARE(result.outcome, RestoreResult::Restored);
        QVERIFY2(result.message.startsWith("数据库已恢复为 2026-12-07 18:30 的备份。"),
                 qPrintable(result.message));
        QCOMPARE(asked, 1);
        QVERIFY(Db()->IsOpen());
        QCOMPARE(AllRows(*Db()), before);
        // The database as it was before went into a copy of its own first.
        QCOMPARE(result.safetyCopy, dir.path() + "/backup/HarborServer-2026-12-08-0900.dump");
        QCOMPARE(InspectServerDump(result.safetyCopy).documents, 2); // the return, the stock-in
        // And the connection works on as before.
        db.Exec("INSERT INTO customer (mc) VALUES ('恢复后')");
        QCOMPARE(db.Value("SELECT COUNT(*) FROM customer"), QString("2"));

        // Said no to: nothing changes.
        const RestoreResult no = RestoreServerDatabase(
            *Db(), copy, [](const BackupFacts&) { return false; }, anchor, At("2026-12-08 10:00"));
        QCOMPARE(no.outcome, RestoreResult::Cancelled);
        QCOMPARE(db.Value("SELECT COUNT(*) FROM customer"), QString("2"));
    }

    void automaticServerCopiesArePruned() {
        TestDatabase db;
        FillShop(db);
        QTemporaryDir dir;
        const QString anchor = ServerBackupAnchor(dir.path());
        QDir folder(BackupFolderFor(anchor));
        QVERIFY(folder.mkpath("."));
        // A copy each morning from 2026-10-20 to 2026-11-28, and one made by hand.
        for (QDate day(2026, 10, 20); day <= QDate(2026, 11, 28); day = day.addDays(1))
            WriteBytes(folder.filePath(BackupFileName(anchor, QDateTime(day, QTime(8, 0)))), "x");
        WriteBytes(folder.filePath("HarborServer-2026-10-01-0800-手动.dump"), "x");
        TakeAutomaticServerBackup(db.Address(), anchor, At("2026-12-07 18:30"));
        const QStringList left = folder.entryList(QDir::Files, QDir::Name);
        // The newest of the last 30 days that have copies (12-07 and 10-31 to 11-28; each
        // month's newest is among them), and the copy made by hand.
        QCOMPARE(left.size(), 31);
        QCOMPARE(left.first(), QString("HarborServer-2026-10-01-0800-手动.dump"));
        QCOMPARE(left.at(1), QString("HarborServer-2026-10-31-0800.dump"));
        QCOMPARE(left.last(), QString("HarborServer-2026-12-07-1830.dump"));
    }

    void olderCopyIsUpgradedWhenRestored() {
        TestDatabase db;
        FillShop(db);
        // A copy from before minimum stocks: no minstock, no docline, version 1.
        db.Exec("DROP TABLE minstock");
        db.Exec("DROP TABLE docline");
        db.Exec("UPDATE harbor_schema SET version=1");
        QTemporaryDir dir;
        const QString old = dir.filePath("old.dump");
        DumpServerDatabase(db.Address(), old);
        QStringList tables;
        QCOMPARE(InspectServerDump(old, {}, &tables).schemaVersion, 1);
        QCOMPARE(TablesMissingFromDump(tables), (QStringList{"minstock", "docline"}));
        // Today's database has the tables and a minimum in one.
        db.Exec("CREATE TABLE minstock (code TEXT, minimum TEXT)");
        db.Exec("CREATE TABLE docline (tbl TEXT, oddnum TEXT, mc TEXT, shortname TEXT, code TEXT, "
                "spec TEXT, price TEXT, qty TEXT, discount TEXT, total TEXT, product TEXT, "
                "remark TEXT)");
        db.Exec("INSERT INTO minstock (code, minimum) VALUES ('0101010101', '20')");
        db.Exec("UPDATE harbor_schema SET version=?", {CurrentSchemaVersion()});

        const RestoreResult result = RestoreServerDatabase(
            *Db(), old, {}, ServerBackupAnchor(dir.path()), At("2026-12-08 09:00"));
        QCOMPARE(result.outcome, RestoreResult::Restored);
        // The upgrade steps made the table anew, empty, as in the copy's time.
        QCOMPARE(Db()->SchemaVersion(), CurrentSchemaVersion());
        QCOMPARE(db.Value("SELECT version FROM harbor_schema"),
                 QString::number(CurrentSchemaVersion()));
        QCOMPARE(db.Value("SELECT COUNT(*) FROM minstock"), QString("0"));
        QCOMPARE(db.Value("SELECT COUNT(*) FROM property"), QString("3"));
    }

    void copyWhileAnotherConnectionWrites() {
        TestDatabase db;
        FillShop(db);
        // Enough rows that the copy takes a while.
        const QString filler = QString(400, QChar(u'字'));
        db.Exec("BEGIN");
        for (int i = 0; i < 4000; ++i)
            db.Exec("INSERT INTO printcodedata (shortname, spec, code) VALUES (?, ?, ?)",
                    {filler, QString::number(i), QStringLiteral("%1").arg(i, 10, 10, QChar('0'))});
        db.Exec("COMMIT");
        const ServerAddress address = db.Address();
        std::atomic<bool> stop = false;
        std::atomic<bool> started = false;
        std::atomic<int> committed = 0;
        QString writerProblem;
        QThread* writer = QThread::create([&] {
            try {
                CConnection connection;
                connection.OpenServer(address);
                started = true;
                for (int n = 1; !stop && n < 100000; ++n) {
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
        QTemporaryDir dir;
        const QString copy = dir.filePath("during.dump");
        // A busy machine may finish a copy before the writer commits again: copy once more
        // until a commit fell within one.
        int before = 0;
        int after = 0;
        for (int attempt = 0; attempt < 20 && after <= before; ++attempt) {
            before = committed;
            DumpServerDatabase(address, copy);
            after = committed;
        }
        stop = true;
        writer->wait();
        delete writer;
        QVERIFY2(writerProblem.isEmpty(), qPrintable(writerProblem));
        // The other workstation committed while pg_dump ran.
        QVERIFY2(after > before, qPrintable(QString("%1 %2").arg(before).arg(after)));

        // Restored, the copy holds one state: every customer counted, within what was
        // committed while the copy was taken.
        const RestoreResult result = RestoreServerDatabase(
            *Db(), copy, {}, dir.filePath("HarborServer.dump"), At("2026-12-08 09:00"));
        QCOMPARE(result.outcome, RestoreResult::Restored);
        const int customers = db.Value("SELECT COUNT(*) FROM customer").toInt() - 1;
        QCOMPARE(db.Value("SELECT telephone FROM companyinfo"), QString::number(customers));
        QVERIFY2(customers >= before && customers <= after,
                 qPrintable(QString("%1 in %2..%3").arg(customers).arg(before).arg(after)));
        QCOMPARE(db.Value("SELECT COUNT(*) FROM printcodedata"), QString("4000"));
    }

    void damagedCopyIsRefusedAndNothingReplaced() {
        TestDatabase db;
        FillShop(db);
        QTemporaryDir dir;
        const QString anchor = ServerBackupAnchor(dir.path());
        const QString good = dir.filePath("good.dump");
        DumpServerDatabase(db.Address(), good);
        db.Exec("INSERT INTO customer (mc) VALUES ('备份后')");
        const QStringList now = AllRows(*Db());
        const QByteArray bytes = FileBytes(good);
        QVERIFY(bytes.size() > 2000);

        // Cut short, with its table of contents whole; a byte changed in its data; no dump.
        const QString cut = dir.filePath("cut.dump");
        WriteBytes(cut, bytes.left(bytes.size() * 2 / 3));
        QByteArray flipped = bytes;
        for (int i = bytes.size() - 600; i < bytes.size() - 300; ++i)
            flipped[i] = char(flipped[i] ^ 0x5a);
        const QString changed = dir.filePath("changed.dump");
        WriteBytes(changed, flipped);
        const QString text = dir.filePath("notes.dump");
        WriteBytes(text, "这不是备份\n");
        for (const QString& bad : {cut, changed, text, dir.filePath("missing.dump")}) {
            QVERIFY2(!InspectServerDump(bad).problem.isEmpty(), qPrintable(bad));
            bool asked = false;
            const RestoreResult result = RestoreServerDatabase(
                *Db(), bad, [&](const BackupFacts&) { return asked = true; }, anchor,
                At("2026-12-08 09:00"));
            QCOMPARE(result.outcome, RestoreResult::Refused);
            QVERIFY2(result.message.contains("不能用来恢复") &&
                         result.message.endsWith("数据库没有改变。"),
                     qPrintable(result.message));
            QVERIFY(!asked);
            QVERIFY(result.safetyCopy.isEmpty());
            QCOMPARE(AllRows(*Db()), now);
        }
        // Nothing was kept as a copy either: nothing was about to be replaced.
        QVERIFY(!QFileInfo::exists(BackupFolderFor(anchor)));
        QCOMPARE(InspectServerDump(good).problem, QString());
    }

    void otherWorkstationsKeepTheDatabaseFromBeingReplaced() {
        TestDatabase db;
        FillShop(db);
        QTemporaryDir dir;
        const QString anchor = ServerBackupAnchor(dir.path());
        const QString copy = dir.filePath("copy.dump");
        DumpServerDatabase(db.Address(), copy);
        db.Exec("INSERT INTO customer (mc) VALUES ('备份后')");
        const QStringList now = AllRows(*Db());
        // A connection closed just before may still be leaving the server.
        QTRY_COMPARE(OtherConnections(), 0);
        {
            CConnection second;
            CConnection third;
            db.OpenSecond(second);
            db.OpenSecond(third);
            QCOMPARE(OtherConnections(), 2);
            const RestoreResult result =
                RestoreServerDatabase(*Db(), copy, {}, anchor, At("2026-12-08 09:00"));
            QCOMPARE(result.outcome, RestoreResult::Refused);
            QVERIFY2(result.message.startsWith("还有 2 个其他连接"), qPrintable(result.message));
            QCOMPARE(AllRows(*Db()), now);
        }
        // Once they are gone it goes ahead.
        QTRY_COMPARE(OtherConnections(), 0);
        const RestoreResult result =
            RestoreServerDatabase(*Db(), copy, {}, anchor, At("2026-12-08 09:01"));
        QCOMPARE(result.outcome, RestoreResult::Restored);
        QCOMPARE(db.Value("SELECT COUNT(*) FROM customer WHERE mc='备份后'"), QString("0"));
    }

    void dumpDataIsCounted() {
        const auto count = [](const QString& version, BackupFacts* facts) {
            DumpDataCounter counter;
            const QStringList lines{
                "SET client_encoding = 'UTF8';",
                "COPY public.harbor_schema (version) FROM stdin;",
                version,
                "\\.",
                "COPY public.property (harbor_id, code, name) FROM stdin;",
                "1\t0101\t螺丝",
                "2\t0102\t螺母",
                "\\.",
                "COPY public.saleout (harbor_id, oddnum, \"count\") FROM stdin;",
                "1\t20260105001\t1",
                "2\t20260105001\t2",
                "3\t20260105002\t1",
                "\\.",
                "COPY public.salein (oddnum) FROM stdin;",
                "20260105001",
                "\\.",
                "COPY public.entry (harbor_id, oddnum) FROM stdin;",
                "\\."};
            for (const QString& line : lines)
                counter.Feed(line);
            counter.Finish(facts);
        };
        BackupFacts facts;
        count(QString::number(CurrentSchemaVersion()), &facts);
        QCOMPARE(facts.problem, QString());
        QCOMPARE(facts.products, 2);
        QCOMPARE(facts.documents, 3); // two sales-out and one return of the same number
        QCOMPARE(facts.schemaVersion, CurrentSchemaVersion());
        // A copy of a newer program's database is not restored.
        BackupFacts newer;
        count(QString::number(CurrentSchemaVersion() + 1), &newer);
        QVERIFY2(newer.problem.contains("比本程序新"), qPrintable(newer.problem));

        DumpDataCounter noVersion;
        for (const char* line : {"COPY public.property (code) FROM stdin;", "\\."})
            noVersion.Feed(QString::fromUtf8(line));
        BackupFacts other;
        noVersion.Finish(&other);
        QVERIFY(other.problem.startsWith("不是本系统的数据库"));
    }

    void menuCommandsOnTheServer() {
        TestDatabase db;
        FillShop(db);
        MessageScript messages;
        QTemporaryDir dir;
        const QString path = dir.filePath("手动备份.dump");
        QVERIFY(BackupNow(nullptr, path));
        // The test server is on this computer: no word about other workstations.
        QCOMPARE(messages.Texts(), QStringList{"数据库已备份到 " + path});
        db.Exec("DELETE FROM customer");

        messages.Answer(IDYES);
        QVERIFY(RestoreFrom(nullptr, path));
        QCOMPARE(messages.Count(), 3);
        const QString question = messages.Texts().at(1);
        QVERIFY2(question.contains("商品: 3 种\n单据: 3 张"), qPrintable(question));
        QVERIFY2(question.contains("替换前当前数据库会先另存一份备份"), qPrintable(question));
        QVERIFY2(messages.Last().startsWith("数据库已恢复为 "), qPrintable(messages.Last()));
        QCOMPARE(db.Value("SELECT COUNT(*) FROM customer"), QString("1"));
        // The database as it was went into the host's backup folder.
        const QString kept = messages.Last().section("另存为 ", 1);
        QCOMPARE(QFileInfo(kept).absolutePath(), BackupFolderFor(ServerBackupAnchor()));
        QCOMPARE(InspectServerDump(kept).products, 3);
        QFile::remove(kept);

        // Refused while a second workstation is connected, naming it.
        CConnection second;
        db.OpenSecond(second);
        QVERIFY(!RestoreFrom(nullptr, path));
        QVERIFY2(messages.Last().startsWith("还有 1 个其他连接"), qPrintable(messages.Last()));
    }

    void onlyTheHostTakesAutomaticCopies() {
        TestDatabase db;
        FillShop(db);
        // The test server is on this computer: start-up takes a copy into the program's
        // folder, and not again the same day; exit takes one.
        QDir folder(BackupFolderFor(ServerBackupAnchor()));
        const auto ours = [&] {
            return folder.entryList({"HarborServer-2099-*.dump"}, QDir::Files);
        };
        for (const QString& name : ours())
            folder.remove(name);
        const QString first = RunStartupBackup(nullptr, At("2099-01-02 08:00"));
        QCOMPARE(QFileInfo(first).fileName(), QString("HarborServer-2099-01-02-0800.dump"));
        QCOMPARE(RunStartupBackup(nullptr, At("2099-01-02 18:00")), QString());
        const QString atExit = RunExitBackup(At("2099-01-02 19:00"));
        QCOMPARE(QFileInfo(atExit).fileName(), QString("HarborServer-2099-01-02-1900.dump"));
        QCOMPARE(InspectServerDump(atExit).products, 3);
        for (const QString& name : ours())
            folder.remove(name);
    }
};

QTEST_MAIN(TestServerBackup)
#include "db/Db.h"
#include "tst_serverbackup.moc"
