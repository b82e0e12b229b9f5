// What only the server has: a server lost in the middle of the day, `Harbor --check`, the copy
// of a local shop database into the server and `Harbor --setup-host` on a throw-away cluster.
// Runs against the test server only (HARBOR_TEST_ENGINE=postgres).
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include "DocumentShop.h"
#include "FreePort.h"
#include "GridInput.h"
#include "MessageScript.h"
#include "TestDatabase.h"
#include "admin/ConnectionCheck.h"
#include "admin/ServerSetup.h"
#include "admin/ShopCopy.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "db/CStatementRun.h"
#include "db/ConnectionString.h"
#include "db/DatabaseInit.h"
#include "db/LansetFile.h"
#include "db/RowLocks.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "ui/CDbAction.h"

#include <csignal>
#include <unistd.h>

namespace {

// A local shop database with rows in every table: texts with quotes, Chinese, empty text and
// NULL, and the number columns with the values the documents write.
QString FilledShopFile(const QString& folder, int rowsPerTable) {
    const QString path = folder + QStringLiteral("/Harbor.accdb");
    CreateEmptyDatabase(path);
    CConnection local;
    local.OpenFile(path);
    for (const QString& table : ShopTables()) {
        CSqlReader columns(local, QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table));
        QStringList names;
        for (int i = 0; i < columns.ColumnCount(); ++i)
            names.append(QLatin1Char('"') + columns.ColumnName(i) + QLatin1Char('"'));
        // The columns declared as numbers (those of the program's own tables) take numbers.
        QHash<QString, QString> declared;
        for (CSqlReader info(local, QStringLiteral("PRAGMA table_info(%1)").arg(table));
             info.Next();)
            declared.insert(info.Text(1), info.Text(2).toUpper());
        const QString insert =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, names.join(','), QStringList(names.size(), "?").join(','));
        for (int r = 0; r < rowsPerTable; ++r) {
            QVariantList values;
            for (int i = 0; i < names.size(); ++i) {
                const QString name = columns.ColumnName(i);
                if (declared.value(name) == QLatin1String("INTEGER"))
                    values.append(r == 1 ? QVariant() : QVariant(qlonglong(r + 1)));
                else if (declared.value(name) == QLatin1String("REAL"))
                    values.append(r == 1 ? QVariant() : QVariant(1.25 + r));
                else if (name.startsWith('f') &&
                         (name == "freceivable" || name == "freceipt" || name == "fmoney"))
                    values.append(r == 2 ? QVariant() : QVariant(123.449997 + r));
                else if (r == 1 && i % 3 == 0)
                    values.append(QVariant()); // NULL stays NULL
                else if (r == 1 && i % 3 == 1)
                    values.append(QString(""));
                else
                    values.append(QStringLiteral("%1-%2 O'Neil 五金\\%3").arg(table).arg(r).arg(i));
            }
            local.Execute(insert, values);
        }
    }
    local.Close();
    return path;
}

// Every row of every table, the values as read, in the order they were stored.
QStringList AllRows(CConnection& connection) {
    QStringList rows;
    for (const QString& table : ShopTables()) {
        if (KeptByServer(table))
            continue;
        CSqlReader reader(connection, QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                          .arg(table, connection.Dialect().RowIdColumn()));
        while (reader.Next()) {
            QStringList values{table};
            for (int i = 0; i < reader.ColumnCount(); ++i) {
                if (reader.ColumnName(i) == QLatin1String("harbor_id"))
                    continue;
                const QVariant value = reader.Value(i);
                values.append(value.isNull() ? QStringLiteral("<NULL>") : reader.Text(i));
            }
            rows.append(values.join('|'));
        }
    }
    return rows;
}

QString Run(const QString& program, const QStringList& args, int* code,
            const QString& folder = {}) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty()) {
        // A copy of the program run in its folder keeps its files there.
        process.setWorkingDirectory(folder);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("HARBOR_PROGRAM_DIR");
        process.setProcessEnvironment(environment);
    }
    process.start(program, args);
    process.waitForFinished(120000);
    *code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll()).trimmed();
}

QString PgBin() {
    QDir root("/usr/lib/postgresql");
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    return versions.isEmpty() ? QString() : root.filePath(versions.last() + "/bin");
}

QString ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Ends the program's session on the server at the n-th read of a table or the n-th row a
// table takes, as a server restart or a pulled cable would in the middle of an action. Works
// through a second connection; Restore puts the table back as it was.
class SessionBreaker {
  public:
    explicit SessionBreaker(const TestDatabase& db) {
        db.OpenSecond(m_admin);
        m_admin.Execute("CREATE SEQUENCE test_ticks");
        m_admin.Execute("CREATE TABLE test_limit (n bigint)");
        m_admin.Execute(
            "CREATE FUNCTION test_tick() RETURNS boolean LANGUAGE plpgsql VOLATILE AS $$ "
            "BEGIN IF nextval('test_ticks') = (SELECT n FROM test_limit) THEN "
            "PERFORM pg_terminate_backend(pg_backend_pid()); END IF; "
            "RETURN true; END $$");
        m_admin.Execute("CREATE FUNCTION test_tick_row() RETURNS trigger LANGUAGE plpgsql AS $$ "
                        "BEGIN PERFORM test_tick(); RETURN NEW; END $$");
    }
    void AtRead(const QString& table, int n) {
        Arm(n);
        m_admin.Execute(QStringLiteral("ALTER TABLE %1 RENAME TO %1_stored").arg(table));
        m_admin.Execute(
            QStringLiteral("CREATE VIEW %1 AS SELECT * FROM %1_stored WHERE test_tick()")
                .arg(table));
        m_view = table;
    }
    void AtInsert(const QString& table, int n) {
        Arm(n);
        m_admin.Execute(QStringLiteral("CREATE TRIGGER test_break BEFORE INSERT ON %1 FOR EACH ROW "
                                       "EXECUTE FUNCTION test_tick_row()")
                            .arg(table));
        m_trigger = table;
    }
    void Restore() {
        if (!m_view.isEmpty()) {
            m_admin.Execute(QStringLiteral("DROP VIEW %1").arg(m_view));
            m_admin.Execute(QStringLiteral("ALTER TABLE %1_stored RENAME TO %1").arg(m_view));
        }
        if (!m_trigger.isEmpty())
            m_admin.Execute(QStringLiteral("DROP TRIGGER test_break ON %1").arg(m_trigger));
        m_view.clear();
        m_trigger.clear();
    }
    CConnection& Admin() { return m_admin; }

  private:
    void Arm(int n) {
        m_admin.Execute("DELETE FROM test_limit");
        m_admin.Execute(QStringLiteral("INSERT INTO test_limit VALUES (%1)").arg(n));
        m_admin.Execute("SELECT setval('test_ticks', 1, false)");
    }
    CConnection m_admin;
    QString m_view;
    QString m_trigger;
};

} // namespace

class TestLanServer : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(TestDatabase::OnServer(),
                 "these tests run against the test server (ctest -L postgres)");
    }

    void lostServerRollsBackTheActionAndTheNextOneReconnects() {
        TestDatabase db;
        MessageScript messages;
        const QString backend = db.Value("SELECT pg_backend_pid()");
        const bool saved = RunDbAction(nullptr, QStringLiteral("保存员工"), [&] {
            Db()->Execute("INSERT INTO employee (name) VALUES ('甲')");
            // The server ends this workstation's session (a restart, a cable pulled).
            TestDatabase::AdminExec(
                QStringLiteral("SELECT pg_terminate_backend(%1, 5000)").arg(backend));
            Db()->Execute("INSERT INTO employee (name) VALUES ('乙')");
        });
        QVERIFY(!saved);
        QCOMPARE(messages.Count(), 1);
        QVERIFY2(messages.Last().contains("连接已断开") && messages.Last().contains("127.0.0.1") &&
                     messages.Last().contains("重新连接"),
                 qPrintable(messages.Last()));
        QVERIFY(!Db()->InTransaction());

        // The next action connects again and lands; nothing of the lost one was kept.
        QVERIFY2(RunDbAction(nullptr, QStringLiteral("保存员工"),
                             [] { Db()->Execute("INSERT INTO employee (name) VALUES ('丙')"); }),
                 qPrintable(messages.Last()));
        QCOMPARE(db.Rows("SELECT name FROM employee"), QStringList{"丙"});
        QVERIFY(db.Value("SELECT pg_backend_pid()") != backend);
        QCOMPARE(messages.Count(), 1);
    }

    void importAndSaveLandWholeWhenTheSessionEnds() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        QString text = QStringLiteral("7");
        for (int i = 1; i <= 5; ++i) {
            const QString code = QStringLiteral("010100000%1").arg(i);
            shop.AddProduct(code, QStringLiteral("五金-品%1").arg(i), "10.00", "100");
            text += QStringLiteral("#%1,2\r\n").arg(code);
        }
        SessionBreaker breaker(shop.db);
        CSaleOutDlg* dlg = shop.saleOut;
        shop.NewSale(dlg);
        MessageScript messages;

        // The session ends at the third product read: nothing of the text is shown, and the
        // box takes it again.
        breaker.AtRead("property", 3);
        dlg->BarcodeBox()->setPlainText(text);
        QTRY_COMPARE(messages.Count(), 1);
        QVERIFY2(messages.Last().contains("导入条码失败") && messages.Last().contains("连接已断开"),
                 qPrintable(messages.Last()));
        QCOMPARE(dlg->Grid()->GetRowCount(), 1);
        QVERIFY(dlg->EmployeeIdBox()->text().isEmpty());
        QVERIFY(!dlg->BarcodeBox()->isReadOnly());
        breaker.Restore();
        dlg->BarcodeBox()->setPlainText(text);
        QTRY_VERIFY(dlg->BarcodeBox()->isReadOnly());
        QCOMPARE(dlg->Grid()->GetRowCount(), 6);
        QCOMPARE(dlg->EmployeeIdBox()->text(), QString("7"));
        QCOMPARE(messages.Count(), 1);

        // The session ends at the third line the save writes: nothing is stored, the window
        // keeps every line, and the next save stores the whole document once.
        breaker.AtInsert("saleout", 3);
        QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
        QVERIFY2(messages.Last().contains("连接已断开"), qPrintable(messages.Texts().join('\n')));
        QCOMPARE(breaker.Admin().Execute("UPDATE saleout SET code=code"), 0);
        QCOMPARE(dlg->Grid()->GetRowCount(), 6);
        breaker.Restore();
        messages.Clear();
        QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
        QVERIFY2(!messages.Texts().join('\n').contains("失败"),
                 qPrintable(messages.Texts().join('\n')));
        QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("5"));
        QCOMPARE(shop.db.Value("SELECT count(DISTINCT oddnum) FROM saleout"), QString("1"));
        QCOMPARE(shop.Stock("0101000003"), QString("98.00"));
    }

    // The commit of a first save goes unanswered (the server works on it past the limit) and
    // lands after all: the next 保存 finds the document stored and shows it; the clerk never
    // stores it twice under two numbers.
    void unconfirmedFirstSaveIsNotStoredTwice() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        shop.AddProduct("0101000001", "五金-螺丝", "10.00", "100");
        shop.db.Exec("CREATE FUNCTION harbor_test_slow() RETURNS trigger LANGUAGE plpgsql AS "
                     "$$ BEGIN PERFORM pg_sleep(3); RETURN NULL; END $$");
        shop.db.Exec("CREATE CONSTRAINT TRIGGER harbor_test_slow AFTER INSERT ON saleout "
                     "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION "
                     "harbor_test_slow()");
        Db()->SetStatementLimit(1500);
        CSaleOutDlg* dlg = shop.saleOut;
        shop.NewSale(dlg);
        shop.AddSaleLine(dlg, "0101000001", "2");
        MessageScript messages;
        QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
        QVERIFY2(messages.Last().contains("没有得到数据库的确认") &&
                     messages.Last().contains("不知道"),
                 qPrintable(messages.Texts().join('\n')));
        QTRY_COMPARE_WITH_TIMEOUT(shop.db.Value("SELECT count(*) FROM saleout"), QString("1"),
                                  10000);
        shop.db.Exec("DROP TRIGGER harbor_test_slow ON saleout");
        const QString stored = shop.db.Value("SELECT oddnum FROM saleout");

        messages.Clear();
        QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
        QVERIFY2(messages.Last().contains("已经存入数据库") && messages.Last().contains(stored),
                 qPrintable(messages.Texts().join('\n')));
        QCOMPARE(dlg->OddnumBox()->text(), stored);
        QCOMPARE(shop.db.Value("SELECT count(DISTINCT oddnum) FROM saleout"), QString("1"));
        QCOMPARE(shop.Stock("0101000001"), QString("98.00"));
        // From here on the window changes the stored document.
        TypeInCell(dlg->Grid(), 1, 6, "3");
        messages.Clear();
        QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
        QVERIFY2(!messages.Texts().join('\n').contains("失败"),
                 qPrintable(messages.Texts().join('\n')));
        QCOMPARE(shop.db.Value("SELECT count(DISTINCT oddnum) FROM saleout"), QString("1"));
        QCOMPARE(shop.Stock("0101000001"), QString("97.00"));
    }

    // A server whose processes hang (here: this workstation's backend stopped) answers nothing
    // while its kernel keeps the connection: the program gives up after its limit, drops the
    // connection (the server rolls back) and says so; a commit cut off is reported as unknown.
    void pausedServerIsGivenUpWithinTheLimit() {
        TestDatabase db;
        MessageScript messages;
        CConnection* connection = Db().get();
        connection->SetStatementLimit(1500);
        pid_t backend = 0;
        auto resume = qScopeGuard([&] {
            if (backend > 0)
                ::kill(backend, SIGCONT);
        });
        auto pause = [&] {
            backend = pid_t(db.Value("SELECT pg_backend_pid()").toLongLong());
            QVERIFY(backend > 0);
            // Resumed in a few seconds even if this test dies meanwhile.
            QVERIFY(QProcess::startDetached(
                "sh", {"-c", QStringLiteral("sleep 6; kill -CONT %1").arg(backend)}));
            QCOMPARE(::kill(backend, SIGSTOP), 0);
        };
        QElapsedTimer clock;
        clock.start();
        bool saved = RunDbAction(nullptr, QStringLiteral("保存员工"), [&] {
            connection->Execute("INSERT INTO employee (name) VALUES ('甲')");
            pause();
            connection->Execute("INSERT INTO employee (name) VALUES ('乙')");
        });
        QVERIFY(!saved);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(messages.Last().contains("2 秒内没有回应") && messages.Last().contains("已撤销"),
                 qPrintable(messages.Last()));
        ::kill(backend, SIGCONT);
        backend = 0;

        // The server answers again: the next action connects anew; nothing of the first stayed.
        QVERIFY2(
            RunDbAction(nullptr, QStringLiteral("保存员工"),
                        [&] { connection->Execute("INSERT INTO employee (name) VALUES ('丙')"); }),
            qPrintable(messages.Last()));
        QCOMPARE(db.Rows("SELECT name FROM employee"), QStringList{"丙"});

        // Stopped with the commit on its way: the result is not known, and says so.
        // (Straight on the connection: an action's log entries go before its commit.)
        clock.restart();
        connection->BeginTransaction();
        connection->Execute("INSERT INTO employee (name) VALUES ('丁')");
        pause();
        QString said;
        try {
            connection->Commit();
        } catch (const CDbException& e) {
            QCOMPARE(e.GetKind(), CDbException::Kind::InDoubt);
            said = e.Message();
        }
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(said.contains("不知道") && said.contains("不要重复保存"), qPrintable(said));
        ::kill(backend, SIGCONT);
        backend = 0;
        // Here the server took the commit it had read before it stopped: "not known" was right.
        QTRY_COMPARE(db.Value("SELECT count(*) FROM employee"), QString("2"));
    }

    void rowLocksAndKeysHoldUntilTheTransactionEnds() {
        TestDatabase db;
        db.Exec("INSERT INTO property (code, total) VALUES ('0101000001', '10')");
        CConnection other;
        other.OpenServer(db.Address());
        Db()->BeginTransaction();
        Db()->LockRows("SELECT code FROM property WHERE code=?", {"0101000001"});
        Db()->LockKey("saleout:20261206");
        // Another workstation cannot take them meanwhile (NOWAIT instead of waiting here).
        other.BeginTransaction();
        QVERIFY_THROWS_EXCEPTION(
            CDbException, other.Execute("SELECT code FROM property WHERE code=? FOR UPDATE NOWAIT",
                                        {"0101000001"}));
        other.Rollback();
        CSqlReader key(other, "SELECT pg_try_advisory_xact_lock(hashtext(?))",
                       {"saleout:20261206"});
        QVERIFY(key.Next());
        QCOMPARE(key.Value(0).toBool(), false);
        Db()->Commit();
        CSqlReader again(other, "SELECT pg_try_advisory_lock(hashtext(?))", {"saleout:20261206"});
        QVERIFY(again.Next());
        QCOMPARE(again.Value(0).toBool(), true);
    }

    // A save locks the products it moves in one statement per 200 (in code order), and a
    // product once per transaction however often the save asks for it.
    void productLocksOneStatementOncePerTransaction() {
        TestDatabase db;
        QStringList codes;
        Db()->BeginTransaction();
        for (int i = 0; i < 250; ++i) {
            codes << QStringLiteral("0101%1").arg(i, 6, 10, QLatin1Char('0'));
            db.Exec("INSERT INTO property (code, total) VALUES (?, '10')", {codes.last()});
        }
        Db()->Commit();
        QStringList asked = codes;
        std::reverse(asked.begin(), asked.end());
        asked << codes.mid(10, 5); // a product on two lines

        Db()->BeginTransaction();
        qint64 before = CStatementRun::RunCount();
        LockProducts(asked);
        QCOMPARE(CStatementRun::RunCount() - before, qint64(2));
        before = CStatementRun::RunCount();
        LockProducts(codes.mid(100, 20)); // the stock move asks again
        QCOMPARE(CStatementRun::RunCount() - before, qint64(0));
        CConnection other;
        other.OpenServer(db.Address());
        for (const QString& code : {codes.first(), codes.at(199), codes.at(200), codes.last()}) {
            other.BeginTransaction();
            QVERIFY_THROWS_EXCEPTION(
                CDbException,
                other.Execute("SELECT code FROM property WHERE code=? FOR UPDATE NOWAIT", {code}));
            other.Rollback();
        }
        Db()->Commit();

        // The next transaction takes its locks afresh.
        Db()->BeginTransaction();
        before = CStatementRun::RunCount();
        LockProducts(codes.mid(100, 20));
        QCOMPARE(CStatementRun::RunCount() - before, qint64(1));
        Db()->Rollback();
        other.BeginTransaction();
        other.Execute("SELECT code FROM property WHERE code=? FOR UPDATE NOWAIT", {codes.at(100)});
        other.Rollback();
    }

    void checkConnectsAsStartUpDoes() {
        QTemporaryDir folder;
        const QString program = folder.filePath("Harbor");
        QVERIFY(QFile::copy(QStringLiteral(HARBOR_EXECUTABLE), program));
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto writeLanset = [&](const QByteArray& content) {
            QFile lanset(folder.filePath("Lanset.ini"));
            QVERIFY(lanset.open(QIODevice::WriteOnly | QIODevice::Truncate));
            lanset.write(content);
        };
        int code = -1;

        // No settings file: the reason, exit 1.
        QString out = Run(program, {"--check"}, &code, folder.path());
        QCOMPARE(code, 1);
        QVERIFY2(out.contains("Lanset.ini"), qPrintable(out));

        // LAN mode: the server named by Lanset.ini, the program's database and role.
        TestDatabase::AdminExec("DROP DATABASE IF EXISTS harbor WITH (FORCE)");
        TestDatabase::CreateServerDatabase("harbor");
        {
            CConnection shop;
            shop.OpenServer(TestDatabase::ServerFor("harbor"));
            shop.Execute("INSERT INTO property (code) VALUES ('0101000001')");
            shop.Execute("INSERT INTO property (code) VALUES ('0101000002')");
        }
        writeLanset(FormatLanset(1, 0x7F000001));
        out = Run(program, {"--check"}, &code, folder.path());
        QCOMPARE(code, 0);
        QCOMPARE(out.split('\n').size(), 1);
        QVERIFY2(out.contains("PostgreSQL") && out.contains("127.0.0.1") &&
                     out.contains("商品 2 种") && out.contains("版本"),
                 qPrintable(out));

        // A password of the shop's own is kept in this workstation's settings, never in
        // Lanset.ini; with the wrong one the reason names the host.
        QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        const QString lanset = folder.filePath("Lanset.ini");
        SetServerPassword("not the role's password");
        ConnectionCheck check = CheckConnection(lanset);
        QVERIFY(!check.ok);
        QVERIFY2(check.line.contains("127.0.0.1") && check.line.contains("拒绝了密码") &&
                     check.line.contains("Harbor --lan-password") &&
                     check.line.contains("password authentication failed"),
                 qPrintable(check.line));
        SetServerPassword(QString());
        check = CheckConnection(lanset);
        QVERIFY2(check.ok, qPrintable(check.line));
        QCOMPARE(ReadFile(lanset).toLatin1(), FormatLanset(1, 0x7F000001));

        // The server's port in Lanset.ini: no PGPORT needed on the workstation.
        const QByteArray pgport = qgetenv("PGPORT");
        qputenv("PGPORT", "1");
        auto restorePort = qScopeGuard([&] { qputenv("PGPORT", pgport); });
        check = CheckConnection(lanset);
        QVERIFY(!check.ok);
        QVERIFY2(check.line.contains("连接被拒绝") && check.line.contains("地址:端口"),
                 qPrintable(check.line));
        writeLanset(FormatLanset(1, 0x7F000001, pgport.toInt()));
        check = CheckConnection(lanset);
        QVERIFY2(check.ok && check.line.contains(":" + pgport), qPrintable(check.line));
        restorePort.dismiss();
        qputenv("PGPORT", pgport);

        // A host where no server answers: named in the reason.
        writeLanset(FormatLanset(1, 0x7F000002));
        out = Run(program, {"--check"}, &code, folder.path());
        QCOMPARE(code, 1);
        QVERIFY2(out.contains("127.0.0.2") && out.contains("连接被拒绝") &&
                     out.contains("Connection refused"),
                 qPrintable(out));
        TestDatabase::AdminExec("DROP DATABASE IF EXISTS harbor WITH (FORCE)");

        // A server without the shop's database: set the host up.
        writeLanset(FormatLanset(1, 0x7F000001));
        out = Run(program, {"--check"}, &code, folder.path());
        QCOMPARE(code, 1);
        QVERIFY2(out.contains("没有本店的数据库") && out.contains("sudo Harbor --setup-host"),
                 qPrintable(out));

        // Local mode: the file in the current folder, as start-up opens it.
        FilledShopFile(folder.path(), 3);
        writeLanset(FormatLanset(0, 0));
        out = Run(program, {"--check"}, &code, folder.path());
        QCOMPARE(code, 0);
        QVERIFY2(out.contains("SQLite") && out.contains("商品 3 种"), qPrintable(out));
    }

    void copyOfALocalShopComparesRowByRow() {
        QTemporaryDir folder;
        const QString path = FilledShopFile(folder.path(), 3);
        TestDatabase db;
        CConnection local;
        local.OpenFile(path);
        const QStringList report = CopyShopTables(local, *Db());
        QCOMPARE(report.size(), ShopTables().size());
        const QStringList source = AllRows(local);
        // Three rows in each table (the log's head aside), after the roles' default permissions.
        CSqlReader defaults(local, "SELECT count(*) FROM harbor_role_permission");
        QVERIFY(defaults.Next());
        QCOMPARE(source.size(), 3 * (ShopTables().size() - 1) + defaults.Text(0).toInt() - 3);
        QCOMPARE(AllRows(*Db()), source);

        // A second copy into the filled database is refused whole.
        QVERIFY_THROWS_EXCEPTION(CDbException, CopyShopTables(local, *Db()));
        QCOMPARE(AllRows(*Db()), source);
    }

    void setupHostPreparesAThrowAwayClusterAndChangesNothingTheSecondTime() {
        if (::geteuid() != 0)
            QSKIP("preparing a host needs root, as `sudo Harbor --setup-host` does");
        const QString bin = PgBin();
        QVERIFY(!bin.isEmpty());
        QTemporaryDir folder;
        int code = -1;
        QVERIFY(Run("chown", {"postgres:postgres", folder.path()}, &code).isEmpty());
        const QString data = folder.filePath("data");
        const int port = FreeLoopbackPort();
        QVERIFY(port > 0);
        const QString initdb = Run("runuser",
                                   {"-u", "postgres", "--", bin + "/initdb", "-D", data, "-U",
                                    "postgres", "--auth-local=peer", "--auth-host=scram-sha-256",
                                    "-E", "UTF8", "--locale=C.UTF-8"},
                                   &code);
        QVERIFY2(code == 0, qPrintable(initdb));
        const QString start =
            Run("runuser",
                {"-u", "postgres", "--", bin + "/pg_ctl", "-D", data, "-l", folder.filePath("log"),
                 "-w", "-o", QStringLiteral("-p %1 -k %2").arg(port).arg(folder.path()), "start"},
                &code);
        QVERIFY2(code == 0, qPrintable(start));
        auto stop = qScopeGuard([&] {
            int ignored = 0;
            Run("runuser",
                {"-u", "postgres", "--", bin + "/pg_ctl", "-D", data, "-m", "fast", "-w", "stop"},
                &ignored);
        });

        // The shop's own password goes to this computer's settings: a folder of the test's.
        QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        const QString password = QStringLiteral("店里的 pass'word");
        QTemporaryDir shop;
        SetupOptions options;
        options.dataDir = data;
        options.socketDir = folder.path();
        options.port = port;
        options.listen = "127.0.0.1";
        options.fromFile = FilledShopFile(shop.path(), 3);
        options.password = password;
        QStringList said;
        const auto out = [&](const QString& line) { said.append(line); };
        QVERIFY2(RunServerSetup(options, out) == 0, qPrintable(said.join('\n')));
        const QString first = said.join('\n');
        for (const char* step :
             {"PostgreSQL 已安装", "postgresql.conf: 监听", "pg_hba.conf: 数据库 harbor",
              "已重新启动服务器", "已建立角色 harbor", "已建立数据库 harbor", "已建立数据表",
              "复制后行数核对无误", "property: 3 行", "主机已就绪"})
            QVERIFY2(first.contains(QString::fromUtf8(step)), qPrintable(first));

        // Only the local network, with passwords: never trust, everything else refused.
        const QString hba = ReadFile(data + "/pg_hba.conf");
        const QStringList block = HarborBlock(hba);
        QVERIFY(hba.startsWith(QString::fromUtf8(kSetupMark)));
        QVERIFY(!block.join('\n').contains("trust"));
        for (const char* range : {"10.0.0.0/8", "172.16.0.0/12", "192.168.0.0/16"})
            QVERIFY(block.filter(range).value(0).endsWith("scram-sha-256"));
        QVERIFY(block.last().endsWith("reject"));
        QVERIFY(ReadFile(data + "/postgresql.conf").contains("listen_addresses = 'localhost'"));

        // The program's role reaches the copied shop over TCP with its password.
        ServerAddress address;
        address.host = "127.0.0.1";
        address.port = port;
        address.password = password;
        {
            CConnection server;
            server.OpenServer(address);
            CConnection local;
            local.OpenFile(options.fromFile);
            QVERIFY(ShopTables().contains("minstock"));
            QCOMPARE(AllRows(server), AllRows(local));
            // What an older setup left behind: the minimum stocks never arrived.
            server.Execute("DELETE FROM minstock");
        }

        // Again, without --password: the shop's password stays, the table left empty is filled
        // in, nothing else changes.
        const QString conf = ReadFile(data + "/postgresql.conf");
        options.password.clear();
        said.clear();
        QVERIFY2(RunServerSetup(options, out) == 0, qPrintable(said.join('\n')));
        const QString second = said.join('\n');
        QVERIFY2(second.contains("沿用原来的密码") && second.contains("补上") &&
                     second.contains("minstock: 3 行") && !second.contains("property:"),
                 qPrintable(second));
        QVERIFY2(!second.contains("已建立") && !second.contains("已重新") &&
                     !second.contains("更改角色"),
                 qPrintable(second));
        {
            CConnection server;
            server.OpenServer(address);
            CConnection local;
            local.OpenFile(options.fromFile);
            QCOMPARE(AllRows(server), AllRows(local));
        }

        // A third time: nothing changes, and it says so.
        said.clear();
        QCOMPARE(RunServerSetup(options, out), 0);
        const QString third = said.join('\n');
        QVERIFY2(third.contains("没有改动任何东西") && third.contains("已复制过") &&
                     third.contains("沿用原来的密码"),
                 qPrintable(third));
        QCOMPARE(ReadFile(data + "/pg_hba.conf"), hba);
        QCOMPARE(ReadFile(data + "/postgresql.conf"), conf);

        // On a computer that does not know the shop's password the setup changes no password
        // and says how to go on.
        SetServerPassword(QString());
        said.clear();
        QCOMPARE(RunServerSetup(options, out), 1);
        QVERIFY2(said.join('\n').contains("--password"), qPrintable(said.join('\n')));
        CConnection still;
        QVERIFY_THROWS_NO_EXCEPTION(still.OpenServer(address));

        // A failure says what to do next.
        said.clear();
        SetupOptions wrong = options;
        wrong.dataDir = folder.filePath("nothing");
        QCOMPARE(RunServerSetup(wrong, out), 1);
        QVERIFY2(said.join('\n').contains("下一步"), qPrintable(said.join('\n')));
    }
};

QTEST_MAIN(TestLanServer)
#include "db/Db.h"
#include "tst_lanserver.moc"
