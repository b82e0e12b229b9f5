// The one statement path: bound values, prepared statements kept per text, forward reads,
// repaired text and schema upgrades, on either engine.
#include <QtTest>

#include "MessageScript.h"
#include "ModalDriver.h"
#include "TestDatabase.h"
#include "app/CConnection.h"
#include "app/CDbAction.h"
#include "app/CDbException.h"
#include "app/CHarborApp.h"
#include "app/CLansetDlg.h"
#include "app/CRecordset.h"
#include "app/CSqlReader.h"
#include "app/DatabaseInit.h"
#include "app/SchemaUpgrade.h"
#include "app/SqlText.h"

namespace {

bool TableExists(const QString& table) {
    try {
        CSqlReader reader(QStringLiteral("SELECT count(*) FROM ") + table);
        return true;
    } catch (const CDbException&) {
        return false;
    }
}

} // namespace

class TestStatementPath : public QObject {
    Q_OBJECT

  private slots:
    void statementsArePreparedOnceAndReused() {
        TestDatabase db;
        CConnection& connection = *theApp.m_pConnection;
        const int before = connection.CachedStatementCount();
        for (int i = 0; i < 50; ++i)
            connection.Execute("INSERT INTO customer (mc, phone) VALUES (?, ?)",
                               {QStringLiteral("客户%1").arg(i), QString::number(i)});
        QCOMPARE(connection.CachedStatementCount(), before + 1);
        QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("50"));
        // Each run binds its own values: nothing of the previous run is left over.
        QCOMPARE(db.Value("SELECT phone FROM customer WHERE mc=?", {"客户49"}), QString("49"));
        QCOMPARE(db.Value("SELECT phone FROM customer WHERE mc=?", {"客户7"}), QString("7"));
    }

    void nestedReadsOfOneStatementStayApart() {
        TestDatabase db;
        for (const char* name : {"甲", "乙", "丙"})
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {QString::fromUtf8(name)});
        const QString sql = QStringLiteral("SELECT mc FROM customer WHERE mc<>? ORDER BY ") +
                            TestDatabase::RowKey();
        QStringList pairs;
        CSqlReader outer(sql, {QStringLiteral("无")});
        while (outer.Next()) {
            CSqlReader inner(sql, {outer.Text(0)});
            while (inner.Next())
                pairs << outer.Text(0) + inner.Text(0);
        }
        QCOMPARE(pairs, QStringList({"甲乙", "甲丙", "乙甲", "乙丙", "丙甲", "丙乙"}));
        // A finished read leaves no statement open: a write goes through (and on the local
        // file a checkpoint too).
        db.Exec("DELETE FROM customer");
        if (!TestDatabase::OnServer())
            QCOMPARE(db.Value("PRAGMA wal_checkpoint(TRUNCATE)"), QString("0"));
    }

    void emptyTextIsStoredAsEmptyTextNotNull() {
        TestDatabase db;
        db.Exec("INSERT INTO customer (mc, phone, address) VALUES (?, ?, ?)",
                {"甲", QString(), QVariant()});
        QCOMPARE(db.Value("SELECT count(*) FROM customer WHERE phone='' AND address IS NULL"),
                 QString("1"));
        CRecordset rs;
        rs.Open("SELECT * FROM customer");
        rs.AddNew();
        rs.PutCollect("mc", "乙");
        rs.PutCollect("remark", QString());
        rs.Update();
        QCOMPARE(db.Value("SELECT count(*) FROM customer WHERE mc='乙' AND remark=''"), QString("1"));
    }

    void readerFindsColumnsOnceAndReadsNullAsEmpty() {
        TestDatabase db;
        db.Exec("INSERT INTO saleout (oddnum, freceivable, pcs) VALUES ('1', 12.5, NULL)");
        CSqlReader reader("SELECT oddnum, FReceivable, pcs FROM saleout");
        const int amount = reader.Column("freceivable");
        QVERIFY_THROWS_EXCEPTION(CDbException, reader.Column("nosuch"));
        QVERIFY(reader.Next());
        QCOMPARE(reader.Text(amount), QString("12.5"));
        QCOMPARE(reader.Text(reader.Column("pcs")), QString());
        QVERIFY(!reader.Next());
        QCOMPARE(SqlScalar("SELECT mc FROM customer"), QString());
    }

    void hostileTextIsStoredExactlyOrRepaired() {
        TestDatabase db;
        const QString quotes = QStringLiteral("O'Neil'; DROP TABLE property; --");
        const QString nul = QStringLiteral("甲") + QChar(0) + QStringLiteral("乙");
        const QString loneSurrogate = QString(QChar(0xD83D)) + QStringLiteral("'");
        const QString emoji = QStringLiteral("扳手🔧");
        for (const QString& name : {quotes, nul, loneSurrogate, emoji})
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {name});
        QCOMPARE(db.Value("SELECT count(*) FROM property"), QString("0")); // the table is there
        QCOMPARE(db.Value("SELECT mc FROM customer WHERE mc=?", {quotes}), quotes);
        QCOMPARE(db.Value("SELECT mc FROM customer WHERE mc=?", {emoji}), emoji);
        // Half an emoji becomes U+FFFD; the quote after it stays a quote.
        const QString repaired = QString(QChar(QChar::ReplacementCharacter)) + QStringLiteral("'");
        QCOMPARE(db.Value("SELECT count(*) FROM customer WHERE mc=?", {repaired}), QString("1"));
        // A name with a NUL can be found and deleted like any other.
        CRecordset rs;
        rs.Open("select * from customer where mc=?", {nul});
        QCOMPARE(rs.GetRecordCount(), 1);
        // The server's text cannot hold U+0000: it is stored as U+FFFD there.
        QCOMPARE(rs.GetCollect("mc"),
                 TestDatabase::OnServer() ? QString(nul).replace(QChar(0), QChar(QChar::ReplacementCharacter))
                                          : nul);
        rs.Delete();
        QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("3"));
        QCOMPARE(RepairText(emoji), emoji);
        QCOMPARE(RepairText(QString(QChar(0xDC00)) + QChar(0xD800)),
                 QString(2, QChar(QChar::ReplacementCharacter)));
    }

    void upgradesRunInOneTransactionAndRecordTheVersion() {
        TestDatabase db;
        CConnection& connection = *theApp.m_pConnection;
        const int current = CurrentSchemaVersion();
        QCOMPARE(connection.SchemaVersion(), current);
        QCOMPARE(db.Value("SELECT version FROM harbor_schema").toInt(), current);

        const QList<SchemaUpgradeStep> steps = {
            {current + 1, {"CREATE TABLE harbor_note (text TEXT)"}},
            {current + 2, {"CREATE INDEX harbor_note_text ON harbor_note (text)"}}};
        QCOMPARE(UpgradeSchema(connection, current, steps), current + 2);
        QCOMPARE(db.Value("SELECT version FROM harbor_schema").toInt(), current + 2);
        QVERIFY(TableExists("harbor_note"));

        // A failing step leaves the database as it was.
        const QList<SchemaUpgradeStep> broken = {
            {current + 3, {"CREATE TABLE harbor_more (x TEXT)", "CREATE INDEX bad ON nosuch (x)"}}};
        QVERIFY_THROWS_EXCEPTION(CDbException, UpgradeSchema(connection, current + 2, broken));
        QCOMPARE(db.Value("SELECT version FROM harbor_schema").toInt(), current + 2);
        QVERIFY(!TableExists("harbor_more"));
        QVERIFY(!connection.InTransaction());

        // A database newer than the program is refused at open, unchanged.
        db.Exec("UPDATE harbor_schema SET version=?", {current + 10});
        QString message;
        try {
            CConnection again;
            db.OpenSecond(again);
        } catch (const CDbException& e) {
            message = e.Message();
        }
        QVERIFY2(message.contains("比本程序新"), qPrintable(message));
        QCOMPARE(db.Value("SELECT version FROM harbor_schema").toInt(), current + 10);
    }
};

QTEST_MAIN(TestStatementPath)
#include "tst_statementpath.moc"
