// Record operations, transactions and the database-error guard, on either engine.
#include <QSqlQuery>
#include <QtTest>

#include "MessageScript.h"
#include "TestDatabase.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CRecordset.h"
#include "db/DatabaseInit.h"
#include "db/SqlText.h"
#include "ui/CDbAction.h"

class TestRecordset : public QObject {
    Q_OBJECT

  private slots:
    void walkCountAndReadNullAsEmpty() {
        TestDatabase db;
        db.Exec("INSERT INTO customer (mc, phone) VALUES ('甲', NULL)");
        db.Exec("INSERT INTO customer (mc, phone) VALUES ('乙', '123')");
        CRecordset rs;
        rs.Open("SELECT mc, phone FROM customer ORDER BY mc");
        QCOMPARE(rs.GetRecordCount(), 2);
        QStringList seen;
        while (!rs.IsEOF()) {
            seen << rs.GetCollect("mc") + "=" + rs.GetCollect("PHONE");
            rs.MoveNext();
        }
        QCOMPARE(seen, QStringList({"乙=123", "甲="}));
        QVERIFY_THROWS_EXCEPTION(CDbException, rs.MoveNext());
        rs.MoveFirst();
        QCOMPARE(rs.GetCollect("mc"), QString("乙"));
        QVERIFY_THROWS_EXCEPTION(CDbException, rs.GetCollect("nosuchfield"));
        rs.Open("SELECT * FROM supplier");
        QVERIFY(rs.IsEOF());
        QVERIFY(rs.IsBOF());
        QCOMPARE(rs.GetRecordCount(), 0);
    }

    // Row after row with other columns each time: every write names exactly its own columns
    // (the text of the last one is kept only while the columns stay the same).
    void successiveWritesOfOtherColumnsStayApart() {
        TestDatabase db;
        CRecordset rs;
        rs.Open("SELECT mc, phone, address FROM customer");
        rs.AddNew();
        rs.PutCollect("mc", "甲");
        rs.Update();
        rs.AddNew();
        rs.PutCollect("mc", "乙");
        rs.PutCollect("phone", "2");
        rs.Update();
        rs.AddNew();
        rs.PutCollect("mc", "丙");
        rs.Update();
        rs.MoveFirst();
        rs.PutCollect("address", "一号");
        rs.Update();
        rs.MoveNext();
        rs.PutCollect("phone", "22");
        rs.Update();
        rs.MoveNext();
        rs.PutCollect("address", "三号");
        rs.Update();
        QCOMPARE(
            db.Rows("SELECT mc, phone, address FROM customer ORDER BY " + TestDatabase::RowKey()),
            QStringList({"甲||一号", "乙|22|", "丙||三号"}));
        // The same statement text on another table is opened as that table's.
        CRecordset other;
        other.Open("SELECT mc, phone, address FROM supplier");
        other.AddNew();
        other.PutCollect("mc", "丁");
        other.Update();
        QCOMPARE(db.Value("SELECT count(*) FROM supplier"), QString("1"));
        QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("3"));
    }

    void addNewChangeAndDeleteTouchOnlyTheirRows() {
        TestDatabase db;
        CRecordset rs;
        rs.Open("SELECT * FROM property WHERE code='0101000001'");
        rs.AddNew();
        rs.PutCollect("code", "0101000001");
        rs.PutCollect("total", "2.5");
        rs.Update();
        rs.AddNew();
        rs.PutCollect("code", "0101000001");
        rs.PutCollect("total", "");
        rs.Update();
        QCOMPARE(rs.GetRecordCount(), 2);
        QCOMPARE(db.Rows("SELECT code, total FROM property"),
                 QStringList({"0101000001|2.5", "0101000001|"}));

        // Rows with equal values are still told apart.
        rs.Open("SELECT code, total FROM property");
        rs.MoveNext();
        rs.PutCollect("total", "10.00");
        rs.Update();
        QCOMPARE(db.Rows("SELECT total FROM property ORDER BY " + TestDatabase::RowKey()),
                 QStringList({"2.5", "10.00"}));
        rs.MoveFirst();
        rs.Delete();
        QVERIFY(!rs.IsEOF()); // the deleted row stays current until the next move
        rs.MoveNext();
        QCOMPARE(rs.GetCollect("total"), QString("10.00"));
        QCOMPARE(rs.GetRecordCount(), 1);
        QCOMPARE(db.Rows("SELECT total FROM property"), QStringList({"10.00"}));
    }

    void resultsOfJoinsAndAggregatesCannotBeChanged() {
        TestDatabase db;
        db.Exec("INSERT INTO saleout (oddnum) VALUES ('1')");
        CRecordset rs;
        rs.Open("SELECT DISTINCT oddnum FROM saleout");
        QVERIFY_THROWS_EXCEPTION(CDbException, rs.Delete());
        rs.Open("SELECT max(oddnum) as m FROM saleout");
        QVERIFY_THROWS_EXCEPTION(CDbException, rs.AddNew());
    }

    void quotesInNamesAreStoredAndFound() {
        TestDatabase db;
        const QString name = QStringLiteral("O'Neil's 五金'店");
        Db()->Execute("INSERT INTO customer (mc) VALUES (?)", {name});
        CRecordset rs;
        rs.Open("SELECT mc FROM customer WHERE mc=?", {name});
        QCOMPARE(rs.GetRecordCount(), 1);
        QCOMPARE(rs.GetCollect("mc"), name);
    }

    void failingActionRollsBackWhole() {
        TestDatabase db;
        MessageScript messages;
        const bool ok = RunDbAction(nullptr, QStringLiteral("保存"), [] {
            Db()->Execute("INSERT INTO employee (name, employeeid) VALUES ('张三', '01')");
            CRecordset rs;
            rs.Open("SELECT * FROM employee");
            rs.AddNew();
            rs.PutCollect("name", "李四");
            rs.Update();
            Db()->Execute("UPDATE nosuchtable SET x='1'");
        });
        QVERIFY(!ok);
        QCOMPARE(db.Value("SELECT count(*) FROM employee"), QString("0"));
        QCOMPARE(messages.Count(), 1);
        QVERIFY(messages.Last().startsWith("保存失败"));
        QVERIFY(messages.Last().contains("nosuchtable"));
        QCOMPARE(messages.Messages().first().icon, MsgIcon::Stop);

        // The connection is usable again and the next action lands.
        QVERIFY(RunDbAction(nullptr, QStringLiteral("保存"),
                            [] { Db()->Execute("INSERT INTO employee (name) VALUES ('王五')"); }));
        QCOMPARE(db.Rows("SELECT name FROM employee"), QStringList({"王五"}));
    }

    void innerFailureSpoilsTheOuterAction() {
        TestDatabase db;
        MessageScript messages;
        const bool ok = RunDbAction(nullptr, QStringLiteral("外层"), [&] {
            Db()->Execute("INSERT INTO employee (name) VALUES ('甲')");
            RunDbAction(nullptr, QStringLiteral("内层"), [] { throw CDbException("boom"); });
        });
        QVERIFY(!ok);
        QCOMPARE(db.Value("SELECT count(*) FROM employee"), QString("0"));
    }

    void noConnectionIsReportedNotCrashed() {
        Db().reset();
        MessageScript messages;
        QVERIFY(!RunDbRead(nullptr, QStringLiteral("查询"), [] {
            CRecordset rs;
            rs.Open("SELECT * FROM customer");
        }));
        QVERIFY(messages.Last().contains("没有数据库连接"));
        QVERIFY(!RunDbAction(nullptr, QStringLiteral("保存"), [] {}));
        QCOMPARE(messages.Count(), 2);
    }
};

QTEST_MAIN(TestRecordset)
#include "db/Db.h"
#include "tst_recordset.moc"
