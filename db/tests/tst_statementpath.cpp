// The one statement path: bound values, prepared statements kept per text, forward reads,
// repaired text and schema upgrades, on either engine.
#include <QtTest>

#include "MessageScript.h"
#include "ModalDriver.h"
#include "TestDatabase.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CRecordset.h"
#include "db/CSqlReader.h"
#include "db/CStatementRun.h"
#include "db/DatabaseInit.h"
#include "db/SchemaUpgrade.h"
#include "db/SqlText.h"
#include "shell/CLansetDlg.h"
#include "ui/CDbAction.h"

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
        CConnection& connection = *Db();
        const int before = connection.CachedStatementCount();
        const qint64 runsBefore = CStatementRun::RunCount();
        for (int i = 0; i < 50; ++i)
            connection.Execute("INSERT INTO customer (mc, phone) VALUES (?, ?)",
                               {QStringLiteral("客户%1").arg(i), QString::number(i)});
        QCOMPARE(connection.CachedStatementCount(), before + 1);
        // Prepared once, sent fifty times: each run counts, a read of many rows once.
        QCOMPARE(CStatementRun::RunCount(), runsBefore + 50);
        {
            CSqlReader reader("SELECT mc FROM customer");
            while (reader.Next()) {
            }
        }
        QCOMPARE(CStatementRun::RunCount(), runsBefore + 51);
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
        QCOMPARE(db.Value("SELECT count(*) FROM customer WHERE mc='乙' AND remark=''"),
                 QString("1"));
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

    // SQLite is read through its C interface: each kind of value comes back as it went in,
    // and its text is the one SqlValueText gives.
    void valuesKeepTheirKindThroughTheEngine() {
        TestDatabase db;
        if (TestDatabase::OnServer())
            QSKIP("the kinds of values are the local file's (the server's columns have types)");
        const QByteArray bytes("\x00\x01\xfe", 3);
        db.Exec("INSERT INTO saleout (oddnum, freceivable, freceipt, pcs, remarks, mc) VALUES "
                "(?, ?, ?, ?, ?, ?)",
                {qlonglong(20261207001), 123.449997, 12.0, QVariant(), bytes, QString()});
        CSqlReader reader("SELECT 42 AS n, freceivable, freceipt, pcs, remarks, mc, oddnum FROM "
                          "saleout");
        QCOMPARE(reader.ColumnCount(), 7);
        QCOMPARE(reader.ColumnName(0), QString("n"));
        QVERIFY(reader.Next());
        QCOMPARE(reader.Value(0).typeId(), int(QMetaType::LongLong));
        QCOMPARE(reader.Value(1).typeId(), int(QMetaType::Double));
        QVERIFY(reader.Value(3).isNull());
        QCOMPARE(reader.Value(4).toByteArray(), bytes);
        QCOMPARE(reader.Value(5).toString(), QString(""));
        QCOMPARE(reader.Value(6).toString(), QString("20261207001")); // a text column
        const QStringList texts = {"42", "123.449997", "12", "", QString::fromUtf8(bytes),
                                   "",   "20261207001"};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(reader.Text(i), SqlValueText(reader.Value(i)));
            QCOMPARE(reader.Text(i), texts[i]);
        }
        QVERIFY(!reader.Next());
        QVERIFY(!reader.Next()); // stays at the end
    }

    void wrongNumberOfValuesIsRefusedAndTheStatementStaysUsable() {
        TestDatabase db;
        CConnection& connection = *Db();
        const QString insert = QStringLiteral("INSERT INTO customer (mc, phone) VALUES (?, ?)");
        QVERIFY_THROWS_EXCEPTION(CDbException, connection.Execute(insert, {"甲"}));
        QVERIFY_THROWS_EXCEPTION(CDbException, connection.Execute(insert, {"甲", "1", "2"}));
        QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("0"));
        QCOMPARE(connection.Execute(insert, {"甲", "1"}), 1);
        QCOMPARE(connection.Execute("UPDATE customer SET phone=? WHERE mc=?", {"2", "乙"}), 0);
        QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), QStringList({"甲|1"}));
    }

    // An error met while the rows are read is reported, not taken for the end of the result.
    void failureWhileReadingIsNotTakenForTheEnd() {
        TestDatabase db;
        for (const char* name : {"甲", "乙", "丙"})
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {QString::fromUtf8(name)});
        // An error of the matching row only (the server folds a constant overflow at once).
        const QString failing =
            TestDatabase::OnServer() ? "CAST(mc AS INTEGER)" : "abs(-9223372036854775807 - 1)";
        const QString sql = "SELECT CASE WHEN mc=? THEN " + failing +
                            " ELSE 1 END FROM customer ORDER BY " + TestDatabase::RowKey();
        if (TestDatabase::OnServer()) {
            // The server hands over the whole result at once: the error comes at the start.
            QVERIFY_THROWS_EXCEPTION(CDbException, CSqlReader(sql, {"乙"}));
        } else {
            CSqlReader reader(sql, {"乙"});
            QVERIFY(reader.Next());
            QVERIFY_THROWS_EXCEPTION(CDbException, reader.Next());
        }
        // The statement was given back: the next run of it reads afresh.
        CSqlReader again(sql, {"无"});
        int rows = 0;
        while (again.Next())
            ++rows;
        QCOMPARE(rows, 3);
    }

    // A read still open when the connection closes ends there, without touching freed memory
    // (the sanitizer build checks the latter).
    void readOpenWhileTheConnectionClosesEnds() {
        TestDatabase db;
        for (int i = 0; i < 3; ++i)
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {QString::number(i)});
        CSqlReader reader("SELECT mc FROM customer");
        QVERIFY(reader.Next());
        Db()->Close();
        QVERIFY(!reader.Next());
        QCOMPARE(reader.Text(0), QString());
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
        // U+0000 is stored as U+FFFD on both engines (the server's text cannot hold it, and
        // SQLite's LIKE would end a pattern there).
        QCOMPARE(rs.GetCollect("mc"),
                 QString(nul).replace(QChar(0), QChar(QChar::ReplacementCharacter)));
        rs.Delete();
        QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("3"));
        QCOMPARE(RepairText(emoji), emoji);
        QCOMPARE(RepairText(QString(QChar(0xDC00)) + QChar(0xD800)),
                 QString(2, QChar(QChar::ReplacementCharacter)));
    }

    void upgradesRunInOneTransactionAndRecordTheVersion() {
        TestDatabase db;
        CConnection& connection = *Db();
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
#include "db/Db.h"
#include "tst_statementpath.moc"
