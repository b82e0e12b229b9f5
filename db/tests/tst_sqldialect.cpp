// The Access statements of the program, run through the dialect rewriting on a real SQLite file.
#include <QtTest>

#include "TestDatabase.h"
#include "db/CConnection.h"
#include "db/CRecordset.h"
#include "db/SqlDialect.h"
#include "db/SqlText.h"

class TestSqlDialect : public QObject {
    Q_OBJECT

    static QString First(const QString& sql, const QString& field,
                         const QVariantList& values = {}) {
        CRecordset rs;
        rs.Open(sql, values);
        return rs.IsEOF() ? QStringLiteral("<none>") : rs.GetCollect(field);
    }

  private slots:
    void rewritingLeavesQuotedTextAlone() {
        const SqlDialect sqlite;
        QCOMPARE(sqlite.Rewrite("SELECT 'a + Left(b, 2)' FROM t"),
                 QString("SELECT 'a + Left(b, 2)' FROM t"));
        QCOMPARE(sqlite.Rewrite("SELECT Left(bh, 0) + 'it''s' + Mid(bh, 3) FROM t"),
                 QString("SELECT substr(bh, 1, 0) || 'it''s' || substr(bh, 3) FROM t"));
        QCOMPARE(sqlite.Rewrite("update entry set fmoney='1.5'where oddnum='x'"),
                 QString("update entry set fmoney='1.5' where oddnum='x'"));
        const SqlDialect postgres(SqlDialect::Engine::Postgres);
        QCOMPARE(postgres.Rewrite("SELECT mc FROM customer WHERE pinyin like '%AB%'"),
                 QString("SELECT mc FROM customer WHERE pinyin ILIKE '%AB%' ORDER BY harbor_id"));
        QCOMPARE(
            postgres.Rewrite(
                "SELECT DISTINCT oddnum,Left(oddnum,4) FROM saleout WHERE oddnum LIKE ?"),
            QString("SELECT DISTINCT oddnum,substr(oddnum, 1, 4) FROM saleout WHERE oddnum ILIKE ? "
                    "ESCAPE '\\' ORDER BY 1, 2"));
        QCOMPARE(postgres.Rewrite("SELECT count(*) FROM saleout WHERE oddnum=?"),
                 QString("SELECT count(*) FROM saleout WHERE oddnum=?"));
        QCOMPARE(postgres.Rewrite("SELECT SUM(a) AS s FROM\t(SELECT DISTINCT a FROM t)"),
                 QString("SELECT SUM(a) AS s FROM\t(SELECT DISTINCT a FROM t) AS derived1"));
        QCOMPARE(postgres.Rewrite("SELECT x FROM (SELECT 1 AS x) q WHERE x=1"),
                 QString("SELECT x FROM (SELECT 1 AS x) q WHERE x=1"));
    }

    void renumberingStatementsMoveWholeSubtrees() {
        TestDatabase db;
        db.Exec("INSERT INTO name3 (bh, mc) VALUES ('010203', 'a')");
        db.Exec("INSERT INTO name3 (bh, mc) VALUES ('010204', 'b')");
        db.Exec("INSERT INTO name3 (bh, mc) VALUES ('020203', 'c')");
        db.Exec("INSERT INTO property (code, name, spec) VALUES ('0102030401', '扳手-大号', "
                "'10个/箱')");
        Db()->Execute("UPDATE name3 SET bh=Left(bh, 0) + ? + Mid(bh, 3) WHERE bh LIKE ?",
                      {"07", LikeStartsWith("01")});
        QCOMPARE(db.Rows("SELECT bh FROM name3 ORDER BY bh"),
                 QStringList({"020203", "070203", "070204"}));
        Db()->Execute("UPDATE property SET code=Left(code, 0) + ? + Mid(code, 3) , "
                      "name=REPLACE(name, ?, ?) WHERE code LIKE ?",
                      {"09", "扳手", "扳子", LikeStartsWith("01")});
        QCOMPARE(db.Rows("SELECT code, name FROM property"), QStringList({"0902030401|扳子-大号"}));
        Db()->Execute("UPDATE property SET code=Left(code, 8) + ? + Mid(code, 11) , "
                      "spec=Left(spec, 0) + ? WHERE code LIKE ?",
                      {"05", "20个/包", LikeStartsWith("0902030401")});
        QCOMPARE(db.Rows("SELECT code, spec FROM property"), QStringList({"0902030405|20个/包"}));
    }

    void likeFindsByPrefixAndLengthWithoutCase() {
        TestDatabase db;
        for (const char* bh : {"010201", "010202", "01020301", "010301"})
            db.Exec(QStringLiteral("INSERT INTO name3 (bh, mc) VALUES ('%1', 'x')").arg(bh));
        CRecordset rs;
        rs.Open("SELECT bh FROM name3 WHERE bh LIKE ? ORDER BY bh", {LikeEscape("0102") + "__"});
        QCOMPARE(rs.GetRecordCount(), 2);
        QCOMPARE(rs.GetCollect("bh"), QString("010201"));
        db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('膨胀螺丝店', 'PZLSD')");
        QCOMPARE(First("SELECT mc FROM customer WHERE pinyin LIKE ?", "mc", {LikeContains("pzls")}),
                 QString("膨胀螺丝店"));
    }

    void typedWildcardsMatchOnlyThemselves() {
        TestDatabase db;
        db.Exec("INSERT INTO customer (mc) VALUES ('100%纯铜')");
        db.Exec("INSERT INTO customer (mc) VALUES ('1000纯铜')");
        db.Exec("INSERT INTO customer (mc) VALUES ('a_b\\c')");
        const QString contains = QStringLiteral("SELECT mc FROM customer WHERE mc LIKE ?");
        CRecordset rs;
        rs.Open(contains, {LikeContains("100%")});
        QCOMPARE(rs.GetRecordCount(), 1);
        QCOMPARE(rs.GetCollect("mc"), QString("100%纯铜"));
        rs.Open(contains, {LikeContains("a_b\\")});
        QCOMPARE(rs.GetRecordCount(), 1);
        rs.Open(contains, {LikeContains("a'b")});
        QCOMPARE(rs.GetRecordCount(), 0);
        rs.Open(contains, {LikeContains("'; DROP TABLE customer; --")});
        QCOMPARE(rs.GetRecordCount(), 0);
    }

    void aggregatesOverDistinctDocuments() {
        TestDatabase db;
        // One document of two lines and one of one line: sums count each document once.
        for (const char* line : {"('20261206001', 'A', 100.5, 50)",
                                 "('20261206001', 'A', 100.5, 50)", "('20261206002', 'A', 20, 20)"})
            db.Exec(QStringLiteral(
                        "INSERT INTO saleout (oddnum, customer, freceivable, freceipt) VALUES %1")
                        .arg(line));
        CRecordset rs;
        rs.Open("SELECT SUM(freceivable) AS money1 ,SUM(freceipt) AS money2 FROM\t(SELECT DISTINCT "
                "oddnum,customer,freceivable,freceipt FROM saleout WHERE customer=?)",
                {"A"});
        QCOMPARE(rs.GetCollect("money1"), QString("120.5"));
        QCOMPARE(rs.GetCollect("money2"), QString("70"));
        rs.Open("SELECT SUM(freceivable) AS s FROM saleout WHERE LEFT(oddnum,4)='2026'");
        QCOMPARE(rs.GetCollect("s"), QString("221"));
        rs.Open("SELECT max(oddnum) as maxoddnum FROM salein WHERE oddnum LIKE ?", {"20261206___"});
        QCOMPARE(rs.GetRecordCount(), 1);
        QCOMPARE(rs.GetCollect("maxoddnum"), QString());
        rs.Open("SELECT DISTINCT oddnum FROM saleout WHERE mydate BETWEEN '' AND 'z' OR oddnum "
                "BETWEEN '20261206000' "
                "AND '20261206001' ORDER BY oddnum");
        QCOMPARE(rs.GetRecordCount(), 1);
    }

    void quotedNumbersBecomeNumbers() {
        TestDatabase db;
        db.Exec("INSERT INTO entry (oddnum, fmoney) VALUES ('1', 0)");
        Db()->Execute("update entry set fmoney=?where oddnum=?",
                      {QString::asprintf("%f", 123.45f), "1"});
        QCOMPARE(db.Value("SELECT count(*) FROM entry WHERE fmoney > 123.4 AND fmoney < 123.5"),
                 QString("1"));
        QCOMPARE(First("SELECT fmoney FROM entry", "fmoney"), QString("123.449997"));
        QCOMPARE(First("SELECT oddnum FROM entry WHERE fmoney > '100'", "oddnum"), QString("1"));
    }

    void insertSelectCopiesRows() {
        TestDatabase db;
        db.Exec("INSERT INTO property (code, shortname, spec) VALUES ('0100000001', '螺丝', "
                "'10个/箱')");
        db.Exec(
            "INSERT INTO property (code, shortname, spec) VALUES ('0200000001', '螺母', '5个/包')");
        Db()->Execute("INSERT INTO printcodedata (shortname,spec,code) SELECT shortname,spec,code "
                      "FROM property WHERE code LIKE ?",
                      {LikeStartsWith("01")});
        QCOMPARE(db.Rows("SELECT shortname, spec, code FROM printcodedata"),
                 QStringList({"螺丝|10个/箱|0100000001"}));
    }

    void boundPatternsEscapeTheirWildcards() {
        QCOMPARE(LikeEscape("5%_'\\"), QString("5\\%\\_'\\\\"));
        QCOMPARE(LikeContains("a%"), QString("%a\\%%"));
        QCOMPARE(LikeStartsWith("01"), QString("01%"));
        const SqlDialect sqlite;
        QCOMPARE(sqlite.Rewrite("SELECT mc FROM customer WHERE pinyin LIKE ? AND mc=?"),
                 QString("SELECT mc FROM customer WHERE pinyin LIKE ? ESCAPE '\\' AND mc=?"));
        // A pattern whose quote is never closed stays as it is: the escape clause would become
        // part of its text.
        QCOMPARE(sqlite.Rewrite("SELECT x FROM t WHERE x LIKE 'a\\"),
                 QString("SELECT x FROM t WHERE x LIKE 'a\\"));
        // A placeholder is kept apart from a keyword that follows it without a blank.
        QCOMPARE(sqlite.Rewrite("update entry set fmoney=?where oddnum=?"),
                 QString("update entry set fmoney=? where oddnum=?"));
        const SqlDialect postgres(SqlDialect::Engine::Postgres);
        QCOMPARE(postgres.Rewrite("SELECT bh FROM name2 WHERE bh like ?"),
                 QString("SELECT bh FROM name2 WHERE bh ILIKE ? ESCAPE '\\' ORDER BY harbor_id"));
    }
};

QTEST_MAIN(TestSqlDialect)
#include "db/Db.h"
#include "tst_sqldialect.moc"
