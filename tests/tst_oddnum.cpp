#include <QtTest>

#include "db/CStatementRun.h"
#include "documents/Oddnum.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"

namespace {

const QDate kDay(2026, 12, 6);

// Saves document lines under the given numbers (two lines for each document).
void AddDocuments(TestDatabase& db, const QString& table, const QStringList& numbers) {
    for (const QString& number : numbers) {
        for (const char* code : {"0101000001", "0101000002"})
            db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, code) VALUES ('%2', '%3')")
                        .arg(table, number, QLatin1String(code)));
    }
}

} // namespace

class TestOddnum : public QObject {
    Q_OBJECT

  private slots:
    void prefixIsTheDate_data();
    void prefixIsTheDate();
    void firstNumberOfADate();
    void followsTheHighestNumberOfTheDate_data();
    void followsTheHighestNumberOfTheDate();
    void tablesAreCountedApart();
    void monthAndYearTurn();
    void lastNumberOfADateIsRefused();
    void unknownTableDrawsNothing();
};

void TestOddnum::prefixIsTheDate_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("single-digit day") << kDay << "20261206";
    QTest::newRow("single-digit month") << QDate(2027, 1, 5) << "20270105";
    QTest::newRow("two digits") << QDate(2026, 10, 10) << "20261010";
    QTest::newRow("end of year") << QDate(2026, 12, 31) << "20261231";
    QTest::newRow("leap day") << QDate(2028, 2, 29) << "20280229";
}

void TestOddnum::prefixIsTheDate() {
    QFETCH(QDate, date);
    QFETCH(QString, prefix);
    QCOMPARE(OddnumPrefix(date), prefix);
}

void TestOddnum::firstNumberOfADate() {
    TestDatabase db;
    for (const char* table : {"saleout", "salein", "entry"})
        QCOMPARE(NewOddnum(QLatin1String(table), kDay), QStringLiteral("20261206001"));
}

void TestOddnum::followsTheHighestNumberOfTheDate_data() {
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("next");
    QTest::newRow("two documents") << QStringList{"20261206001", "20261206002"} << "20261206003";
    QTest::newRow("gap not filled") << QStringList{"20261206005", "20261206001"} << "20261206006";
    QTest::newRow("other date only") << QStringList{"20261205017"} << "20261206001";
    QTest::newRow("days around") << QStringList{"20261205031", "20261206002", "20261207009"}
                                 << "20261206003";
    QTest::newRow("tens carry") << QStringList{"20261206099"} << "20261206100";
    QTest::newRow("last but one") << QStringList{"20261206998"} << "20261206999";
    // Only the date followed by exactly three characters counts.
    QTest::newRow("other lengths")
        << QStringList{"2026120600", "202612060999", "20261206"} << "20261206001";
    // Numbers written by hand that sort above the real ones take no part.
    QTest::newRow("hand-written") << QStringList{"20261206004", "2026120600x", "20261206012abc",
                                                 "20261206999 "}
                                  << "20261206005";
}

void TestOddnum::followsTheHighestNumberOfTheDate() {
    QFETCH(QStringList, stored);
    QFETCH(QString, next);
    for (const char* table : {"saleout", "salein", "entry"}) {
        TestDatabase db;
        AddDocuments(db, QLatin1String(table), stored);
        const QString rows = db.Value(QStringLiteral("SELECT count(*) FROM %1").arg(table));
        const qint64 before = CStatementRun::RunCount();
        QCOMPARE(NewOddnum(QLatin1String(table), kDay), next);
        // Plain numbers of the day are found with one statement, which reads one row.
        if (!QString(QTest::currentDataTag()).startsWith("hand-written") &&
            !QString(QTest::currentDataTag()).startsWith("other lengths"))
            QCOMPARE(CStatementRun::RunCount() - before, 1);
        // Drawing a number writes nothing, so the same number comes again.
        QCOMPARE(db.Value(QStringLiteral("SELECT count(*) FROM %1").arg(table)), rows);
        QCOMPARE(NewOddnum(QLatin1String(table), kDay), next);
    }
}

void TestOddnum::tablesAreCountedApart() {
    TestDatabase db;
    AddDocuments(db, "saleout", {"20261206001", "20261206002"});
    AddDocuments(db, "entry", {"20261206007"});
    QCOMPARE(NewOddnum("saleout", kDay), QStringLiteral("20261206003"));
    QCOMPARE(NewOddnum("salein", kDay), QStringLiteral("20261206001"));
    QCOMPARE(NewOddnum("entry", kDay), QStringLiteral("20261206008"));
}

void TestOddnum::monthAndYearTurn() {
    TestDatabase db;
    AddDocuments(db, "saleout", {"20261130004", "20261231012"});
    QCOMPARE(NewOddnum("saleout", QDate(2026, 11, 30)), QStringLiteral("20261130005"));
    QCOMPARE(NewOddnum("saleout", QDate(2026, 12, 1)), QStringLiteral("20261201001"));
    QCOMPARE(NewOddnum("saleout", QDate(2026, 12, 31)), QStringLiteral("20261231013"));
    QCOMPARE(NewOddnum("saleout", QDate(2027, 1, 1)), QStringLiteral("20270101001"));
    // A stock-in document may carry any date, also one in the past.
    AddDocuments(db, "entry", {"20250105003"});
    QCOMPARE(NewOddnum("entry", QDate(2025, 1, 5)), QStringLiteral("20250105004"));
}

void TestOddnum::lastNumberOfADateIsRefused() {
    TestDatabase db;
    MessageScript messages;
    AddDocuments(db, "salein", {"20261206998", "20261206999"});
    AddDocuments(db, "saleout", {"20261207001"});

    QCOMPARE(NewOddnum("salein", kDay), QString());
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last(), QStringLiteral("2026年12月6日的单号已用完(999单),无法再新增单据"));
    QCOMPARE(messages.Messages().first().icon, MsgIcon::Exclamation);
    // Nothing was written, the next day starts afresh and other tables go on.
    QCOMPARE(db.Value("SELECT count(*) FROM salein"), QStringLiteral("4"));
    QCOMPARE(NewOddnum("salein", kDay.addDays(1)), QStringLiteral("20261207001"));
    QCOMPARE(NewOddnum("saleout", kDay), QStringLiteral("20261206001"));
    QCOMPARE(messages.Count(), 1);
}

void TestOddnum::unknownTableDrawsNothing() {
    TestDatabase db;
    MessageScript messages;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("NewOddnum"));
    QCOMPARE(NewOddnum("customer", kDay), QString());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("NewOddnum"));
    QCOMPARE(NewOddnum("saleout", QDate()), QString());
    QCOMPARE(messages.Count(), 0);
}

QTEST_MAIN(TestOddnum)
#include "tst_oddnum.moc"
