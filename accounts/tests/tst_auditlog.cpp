// The log of changes: one chained entry per action, written with the change or not at all,
// and the check that finds entries changed, removed or put in by hand.
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "accounts/CAuditLogDlg.h"
#include "db/AuditLog.h"
#include "db/CDbException.h"
#include "db/ServerAuditGuard.h"
#include "ui/CDbAction.h"
#include "text/HarborClock.h"
#include "grid/CGridCtrl.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"

namespace {

void Save(const QString& what, const QString& sql, const QVariantList& values = {}) {
    QVERIFY(RunDbAction(nullptr, what, [&] { Db()->Execute(sql, values); }));
}

// Four logged actions on one customer.
void FourActions() {
    Save("保存客户", "INSERT INTO customer (mc, phone) VALUES ('张三', '123')");
    Save("保存客户", "UPDATE customer SET phone='456' WHERE mc='张三'");
    Save("保存商品属性",
         "INSERT INTO property (code, name, price) VALUES ('0101000001', '螺丝', '1.50')");
    Save("删除客户", "DELETE FROM customer WHERE mc='张三'");
}

// Lets the table's owner change the log by hand, as someone tampering would on the server.
void AllowTampering(TestDatabase& db) {
    if (TestDatabase::OnServer())
        db.Exec("ALTER TABLE harbor_audit DISABLE TRIGGER harbor_audit_guard");
}

AuditCheck Check() {
    return VerifyAuditLog(*Db());
}

} // namespace

class TestAuditLog : public QObject {
    Q_OBJECT
  private slots:
    void EntriesCarryImages();
    void ChangeAndEntryTogether();
    void TamperingFound_data();
    void TamperingFound();
    void ServerLogOnlyGrows();
    void ServerLogOwnedByOwner();
    void VerifyCommand();
    void LogWindowFilters();
};

void TestAuditLog::EntriesCarryImages() {
    TestDatabase db;
    FourActions();
    QCOMPARE(db.Rows("SELECT seq, action, object FROM harbor_audit ORDER BY seq"),
             QStringList({"1|保存客户|张三", "2|保存客户|张三", "3|保存商品属性|0101000001",
                          "4|删除客户|张三"}));
    // The update's images: the row before and after, nothing else.
    const QString before = db.Value("SELECT before_rows FROM harbor_audit WHERE seq=2");
    const QString after = db.Value("SELECT after_rows FROM harbor_audit WHERE seq=2");
    QVERIFY2(before.contains("\"table\":\"customer\"") && before.contains("\"phone\":\"123\""),
             qPrintable(before));
    QVERIFY2(after.contains("\"phone\":\"456\"") && !after.contains("123"), qPrintable(after));
    QCOMPARE(db.Value("SELECT before_rows FROM harbor_audit WHERE seq=1"), QString("[]"));
    QCOMPARE(db.Value("SELECT after_rows FROM harbor_audit WHERE seq=4"), QString("[]"));
    QVERIFY(db.Value("SELECT before_rows FROM harbor_audit WHERE seq=4").contains("\"456\""));
    // Chained: each entry holds the hash of the one before.
    QCOMPARE(db.Value("SELECT prevhash FROM harbor_audit WHERE seq=3"),
             db.Value("SELECT hash FROM harbor_audit WHERE seq=2"));
    QVERIFY(db.Value("SELECT workstation FROM harbor_audit WHERE seq=1").size() > 0);
    const AuditCheck check = Check();
    QVERIFY2(check.ok, qPrintable(check.reason));
    QCOMPARE(check.count, 4);
    // Writes outside an action (setting up a case) are in no entry.
    db.Exec("INSERT INTO customer (mc) VALUES ('李四')");
    Save("保存供货商", "INSERT INTO supplier (mc) VALUES ('五金厂')");
    QCOMPARE(db.Value("SELECT object FROM harbor_audit WHERE seq=5"), QString("五金厂"));
    QVERIFY(!db.Value("SELECT after_rows FROM harbor_audit WHERE seq=5").contains("李四"));
}

void TestAuditLog::ChangeAndEntryTogether() {
    TestDatabase db;
    Save("保存客户", "INSERT INTO customer (mc) VALUES ('张三')");
    // The entry cannot be written: the change goes too.
    db.RefuseChanges("harbor_audit", "INSERT", TestDatabase::OnServer() ? "true" : "1",
                     "disk full");
    MessageScript messages;
    QVERIFY(!RunDbAction(nullptr, "保存客户",
                         [] { Db()->Execute("UPDATE customer SET phone='9' WHERE mc='张三'"); }));
    QVERIFY(messages.Last().startsWith("保存客户失败"));
    db.AllowChanges("harbor_audit");
    QCOMPARE(db.Value("SELECT phone FROM customer"), QString());
    QCOMPARE(db.Value("SELECT count(*) FROM harbor_audit"), QString("1"));
    // The action itself fails after its change: neither the change nor an entry.
    QVERIFY(!RunDbAction(nullptr, "保存客户", [] {
        Db()->Execute("UPDATE customer SET phone='9' WHERE mc='张三'");
        throw CDbException("injected");
    }));
    QCOMPARE(db.Value("SELECT phone FROM customer"), QString());
    QCOMPARE(db.Value("SELECT count(*) FROM harbor_audit"), QString("1"));
    // Nothing of the failed actions is left staged for the next entry.
    Save("保存客户", "UPDATE customer SET linkman='王' WHERE mc='张三'");
    QVERIFY(!db.Value("SELECT after_rows FROM harbor_audit WHERE seq=2").contains("\"9\""));
    QVERIFY(Check().ok);
}

void TestAuditLog::TamperingFound_data() {
    QTest::addColumn<QString>("tamper");
    QTest::addColumn<qint64>("broken");
    QTest::newRow("changed") << "UPDATE harbor_audit SET object='李四' WHERE seq=2" << qint64(2);
    QTest::newRow("image changed")
        << "UPDATE harbor_audit SET after_rows='[]' WHERE seq=3" << qint64(3);
    QTest::newRow("removed") << "DELETE FROM harbor_audit WHERE seq=2" << qint64(2);
    QTest::newRow("newest removed") << "DELETE FROM harbor_audit WHERE seq=4" << qint64(4);
    QTest::newRow("two newest removed") << "DELETE FROM harbor_audit WHERE seq>=3" << qint64(3);
    QTest::newRow("duplicate inserted")
        << "INSERT INTO harbor_audit (seq, at, operator, authorizer, workstation, action, object, "
           "before_rows, after_rows, prevhash, hash) SELECT seq, at, operator, authorizer, "
           "workstation, action, object, before_rows, after_rows, prevhash, hash FROM "
           "harbor_audit WHERE seq=2"
        << qint64(3);
    QTest::newRow("renumbered")
        << "UPDATE harbor_audit SET seq=CASE seq WHEN 3 THEN 4 ELSE 5 END WHERE seq>=3"
        << qint64(3);
}

void TestAuditLog::TamperingFound() {
    QFETCH(QString, tamper);
    QFETCH(qint64, broken);
    TestDatabase db;
    FourActions();
    QVERIFY(Check().ok);
    AllowTampering(db);
    db.Exec(tamper);
    const AuditCheck check = Check();
    QVERIFY(!check.ok);
    QCOMPARE(check.broken, broken);
}

void TestAuditLog::ServerLogOnlyGrows() {
    if (!TestDatabase::OnServer())
        QSKIP("the server's log refuses changes; the local file can only show them");
    TestDatabase db;
    FourActions();
    QVERIFY_THROWS_EXCEPTION(CDbException, db.Exec("UPDATE harbor_audit SET object='x'"));
    QVERIFY_THROWS_EXCEPTION(CDbException, db.Exec("DELETE FROM harbor_audit WHERE seq=4"));
    QCOMPARE(db.Value("SELECT seq FROM harbor_audit_head"), QString("4"));
    QCOMPARE(db.Value("SELECT hash FROM harbor_audit_head"),
             db.Value("SELECT hash FROM harbor_audit WHERE seq=4"));
}

void TestAuditLog::ServerLogOwnedByOwner() {
    if (!TestDatabase::OnServer())
        QSKIP("roles are the server's");
    TestDatabase db;
    Save("保存客户", "INSERT INTO customer (mc) VALUES ('张三')");
    // What --setup-host does as the superuser.
    {
        ServerAddress owner = db.Address();
        owner.user = "postgres";
        owner.password = qEnvironmentVariable("HARBOR_TEST_PGPASSWORD");
        CConnection ownerConnection;
        ownerConnection.OpenServer(owner);
        GuardServerAudit(ownerConnection, "harbor");
    }
    // The program's role goes on adding entries, and the kept head follows them.
    Save("保存客户", "UPDATE customer SET phone='1' WHERE mc='张三'");
    QCOMPARE(db.Value("SELECT seq FROM harbor_audit_head"), QString("2"));
    // But it can neither change the log nor switch its guard off nor move the head.
    MessageScript messages;
    for (const char* sql : {"ALTER TABLE harbor_audit DISABLE TRIGGER harbor_audit_guard",
                            "UPDATE harbor_audit_head SET seq=1", "DELETE FROM harbor_audit_head",
                            "UPDATE harbor_audit SET object='x'", "DROP TABLE harbor_audit",
                            "DROP FUNCTION harbor_audit_guard() CASCADE",
                            "DROP SCHEMA public CASCADE", "DROP SCHEMA harbor_owner CASCADE"}) {
        bool refused = false;
        try {
            db.Exec(sql);
        } catch (const CDbException&) {
            refused = true;
        }
        QVERIFY2(refused, sql);
    }
    QVERIFY(Check().ok);
    QCOMPARE(Check().count, 2);
}

void TestAuditLog::VerifyCommand() {
    if (TestDatabase::OnServer())
        QSKIP("the command on a file");
    TestDatabase db;
    FourActions();
    QVERIFY(QFile::exists(db.Path() + ".audit"));
    auto run = [&](QString* out) {
        QProcess process;
        process.start(QStringLiteral(HARBOR_EXECUTABLE), {"--audit-verify", db.Path()});
        process.waitForFinished(60000);
        *out = QString::fromLocal8Bit(process.readAllStandardOutput() +
                                      process.readAllStandardError());
        return process.exitCode();
    };
    QString out;
    QCOMPARE(run(&out), 0);
    QVERIFY2(out.contains("共 4 条"), qPrintable(out));
    db.Exec("UPDATE harbor_audit SET operator='外人' WHERE seq=3");
    QCOMPARE(run(&out), 1);
    QVERIFY2(out.contains("第 3 条"), qPrintable(out));
}

void TestAuditLog::LogWindowFilters() {
    TestDatabase db;
    FourActions();
    CAuditLogDlg dlg;
    auto rows = [&] {
        QTest::mouseClick(dlg.QueryButton(), Qt::LeftButton);
        QStringList list;
        for (int r = 1; r < dlg.List()->GetRowCount(); ++r)
            list.append(dlg.List()->GetCellText(r, 0) + "|" + dlg.List()->GetCellText(r, 5) + "|" +
                        dlg.List()->GetCellText(r, 6));
        return list;
    };
    QCOMPARE(rows(), QStringList({"4|删除客户|张三", "3|保存商品属性|0101000001", "2|保存客户|张三",
                                  "1|保存客户|张三"}));
    dlg.ActionBox()->setText("保存");
    dlg.ObjectBox()->setText("张");
    QCOMPARE(rows(), QStringList({"2|保存客户|张三", "1|保存客户|张三"}));
    dlg.ShowImages(1);
    QVERIFY(dlg.ImagesBox()->toPlainText().contains("\"456\""));
    // A wildcard typed is a plain character; a period before today lists nothing.
    dlg.ObjectBox()->setText("%");
    QCOMPARE(rows(), QStringList());
    dlg.ObjectBox()->clear();
    dlg.ActionBox()->clear();
    dlg.ToBox()->setDate(HarborToday().addDays(-1));
    QCOMPARE(rows(), QStringList());
}

QTEST_MAIN(TestAuditLog)
#include "db/Db.h"
#include "tst_auditlog.moc"
