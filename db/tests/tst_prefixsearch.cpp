// Searches by the beginning of a text as ranges an index serves, the years of a document table
// read by seeks, the widened document number indexes, and the recordset's column lookup.
#include <QtTest>

#include "TestDatabase.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CRecordset.h"
#include "db/CSqlReader.h"
#include "db/PrefixSearch.h"
#include "shell/CHarborApp.h"

namespace {

// Texts around the edges of ranges: digits and the characters after them, CJK, characters
// outside the basic plane, the last code points before and after the surrogates.
const QStringList kTexts = {
    "",
    "2",
    "201",
    "2019",
    "2019001",
    "20191231999",
    "201:",
    "2020",
    "202",
    "2025",
    "20251",
    "2026",
    "年",
    "年份",
    "年份2025",
    "幺",
    "a",
    "A",
    "ab",
    "b",
    QString::fromUcs4(U"\U0001F600"),
    QString::fromUcs4(U"\U0001F600x"),
    QString::fromUcs4(U"\U0001F601"),
    QString::fromUcs4(U"\uD7FF"),
    QString::fromUcs4(U"\uD7FFz"),
    QString::fromUcs4(U"\uE000"),
    QString::fromUcs4(U"\uFFFF"),
    QString::fromUcs4(U"\U0010FFFF"),
    QString::fromUcs4(U"a\U0010FFFF"),
    QString::fromUcs4(U"a\U0010FFFFb"),
    QString::fromUcs4(U"b\U0010FFFF"),
};

QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

// The texts the engine finds in the range of the prefix.
QStringList FoundByRange(TestDatabase& db, const QString& prefix) {
    const TextRange range = PrefixRange(prefix);
    if (range.high.isNull())
        return db.Rows("SELECT mc FROM customer WHERE mc >= ?", {range.low});
    return db.Rows("SELECT mc FROM customer WHERE mc >= ? AND mc < ?", {range.low, range.high});
}

void AddNumbers(TestDatabase& db, const QString& table, const QStringList& numbers) {
    for (const QString& number : numbers)
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, code) VALUES (?, '0101000001')").arg(table),
                {number});
}

} // namespace

class TestPrefixSearch : public QObject {
    Q_OBJECT

  private slots:
    void rangeHoldsExactlyTheTextsWithThePrefix_data() {
        QTest::addColumn<QString>("prefix");
        for (const QString& prefix : kTexts)
            QTest::newRow(qPrintable(prefix.toUtf8().toHex())) << prefix;
        QTest::newRow("last code point twice") << QString::fromUcs4(U"\U0010FFFF\U0010FFFF");
    }
    void rangeHoldsExactlyTheTextsWithThePrefix() {
        QFETCH(QString, prefix);
        TestDatabase db;
        for (const QString& text : kTexts)
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {text});
        QStringList expected;
        for (const QString& text : kTexts) {
            if (text.startsWith(prefix))
                expected.append(text);
        }
        QCOMPARE(Sorted(FoundByRange(db, prefix)), Sorted(expected));
    }

    void rangeOfDigitsEndsAtTheNextPrefix() {
        QCOMPARE(PrefixRange("2025").low, QString("2025"));
        QCOMPARE(PrefixRange("2025").high, QString("2026"));
        QCOMPARE(PrefixRange("202512").high, QString("202513"));
        QCOMPARE(PrefixRange("20261231").high, QString("20261232"));
        QVERIFY(PrefixRange(QString()).high.isNull());
        // Raising a character never makes half of a surrogate pair.
        QCOMPARE(PrefixRange(QString::fromUcs4(U"a\uD7FF")).high, QString::fromUcs4(U"a\uE000"));
        QCOMPARE(PrefixRange(QString::fromUcs4(U"\U0001F600")).high,
                 QString::fromUcs4(U"\U0001F601"));
    }

    void yearsOfATableComeFromItsNumbers() {
        TestDatabase db;
        // Out of order, many numbers a year, and numbers that begin with no year.
        AddNumbers(db, "saleout",
                   {"20250101001", "20170305002", "20250101002", "20261231999", "20170101001", "",
                    "abc", "12", "2019x", "201", "２０２４０１０１００１", "20200229001"});
        AddNumbers(db, "entry", {"20180101001"});
        db.Exec("INSERT INTO saleout (code) VALUES ('no number')");
        QCOMPARE(YearsInTable("saleout"), QStringList({"2017", "2019", "2020", "2025", "2026"}));
        QCOMPARE(YearsInTable("entry"), QStringList({"2018"}));
        QCOMPARE(YearsInTable("salein"), QStringList());
        QVERIFY_THROWS_EXCEPTION(CDbException, YearsInTable("property"));
    }

    void yearListMatchesTheDistinctYearsOfEveryRow() {
        TestDatabase db;
        QStringList numbers;
        for (int i = 0; i < 400; ++i)
            numbers.append(QStringLiteral("%1%2%3")
                               .arg(1990 + (i * 37) % 41)
                               .arg(1 + i % 12, 2, 10, QChar('0'))
                               .arg(i, 5, 10, QChar('0')));
        AddNumbers(db, "salein", numbers);
        const QStringList distinct =
            db.Rows("SELECT DISTINCT substr(oddnum, 1, 4) AS y FROM salein ORDER BY y");
        QCOMPARE(YearsInTable("salein"), distinct);
    }

    void documentNumberIndexesHoldTheSummedColumns() {
        TestDatabase db;
        if (TestDatabase::OnServer())
            QSKIP("the server plans by its statistics: an empty table is read whole");
        // A period's figures and the highest number of a day are read from the index alone.
        const QStringList plan =
            db.Rows("EXPLAIN QUERY PLAN SELECT SUM(freceivable) FROM (SELECT DISTINCT "
                    "oddnum,freceivable,freceipt FROM saleout WHERE oddnum >= ? AND oddnum < ?)",
                    {"2025", "2026"});
        QVERIFY2(plan.join('\n').contains("COVERING INDEX saleout_oddnum"),
                 qPrintable(plan.join('\n')));
        const QStringList entryPlan =
            db.Rows("EXPLAIN QUERY PLAN SELECT SUM(fmoney) FROM (SELECT DISTINCT oddnum,fmoney "
                    "FROM entry WHERE oddnum >= ? AND oddnum < ?)",
                    {"2025", "2026"});
        QVERIFY2(entryPlan.join('\n').contains("COVERING INDEX entry_oddnum"),
                 qPrintable(entryPlan.join('\n')));
        const QStringList salein =
            db.Rows("EXPLAIN QUERY PLAN SELECT max(oddnum) FROM salein WHERE oddnum >= ? AND "
                    "oddnum < ?",
                    {"20250101", "20250102"});
        QVERIFY2(salein.join('\n').contains("INDEX salein_oddnum"), qPrintable(salein.join('\n')));
    }

    void recordsetFindsColumnsInAnyCase() {
        TestDatabase db;
        db.Exec("INSERT INTO customer (mc, phone) VALUES ('甲', '123')");
        CRecordset rs;
        rs.Open("SELECT mc AS Name, phone, phone AS PHONE2 FROM customer");
        QCOMPARE(rs.GetCollect("Name"), QString("甲"));
        QCOMPARE(rs.GetCollect("name"), QString("甲"));
        QCOMPARE(rs.GetCollect("NAME"), QString("甲"));
        QCOMPARE(rs.GetCollect("Phone"), QString("123"));
        QCOMPARE(rs.GetCollect("phone2"), QString("123"));
        QVERIFY_THROWS_EXCEPTION(CDbException, rs.GetCollect("mc"));
        // A second Open forgets the columns of the first.
        rs.Open("SELECT mc FROM customer");
        QCOMPARE(rs.GetCollect("MC"), QString("甲"));
        QVERIFY_THROWS_EXCEPTION(CDbException, rs.GetCollect("phone"));
    }
};

QTEST_MAIN(TestPrefixSearch)
#include "tst_prefixsearch.moc"
