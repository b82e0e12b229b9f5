// The scanner text of the sales documents: employee number, product lines, and the lines it
// refuses, each named by its number and quoted as typed.
#include <QtTest>

#include "text/ScannerText.h"

using Kind = ScannerProblem::Kind;
Q_DECLARE_METATYPE(ScannerProblem::Kind)

namespace {

QStringList Entries(const ScannerText& scanned) {
    QStringList out;
    for (const ScannerEntry& entry : scanned.entries)
        out.append(QStringLiteral("%1:%2x%3").arg(entry.line).arg(entry.code, entry.quantity));
    return out;
}

} // namespace

class TestScannerText : public QObject {
    Q_OBJECT

  private slots:
    void linesOfAScannerExport();
    void employeeIsEverythingBeforeTheFirstHash();
    void lineEndsAndBlankLines();
    void refusedLines_data();
    void refusedLines();
    void textWithoutProductLines();
    void millionCharactersOfProductLines();
    void millionCharactersWithoutLineEnds();
    void problemDescriptionQuotesTheLine();
};

void TestScannerText::linesOfAScannerExport() {
    const ScannerText scanned =
        ParseScannerText(u"7#0101000001,3\r\n#0102000001,2.5\r\n#0101000001,10\r\n");
    QVERIFY(scanned.IsWellFormed());
    QCOMPARE(scanned.employeeId, QString("7"));
    QCOMPARE(Entries(scanned),
             QStringList({"1:0101000001x3", "2:0102000001x2.5", "3:0101000001x10"}));
    QVERIFY(scanned.problems.isEmpty());
}

void TestScannerText::employeeIsEverythingBeforeTheFirstHash() {
    QCOMPARE(ParseScannerText(u"12#0101000001,3").employeeId, QString("12"));
    QCOMPARE(ParseScannerText(u"  A07 #0101000001,3").employeeId, QString("A07"));
    // The number on a line of its own.
    const ScannerText ownLine = ParseScannerText(u"12\r\n#0101000001,3\r\n");
    QCOMPARE(ownLine.employeeId, QString("12"));
    QCOMPARE(Entries(ownLine), QStringList{"2:0101000001x3"});
    // No number at all.
    const ScannerText none = ParseScannerText(u"#0101000001,3");
    QCOMPARE(none.employeeId, QString());
    QCOMPARE(none.entries.size(), 1);
    QVERIFY(!none.IsWellFormed());
}

void TestScannerText::lineEndsAndBlankLines() {
    // LF, CR and CR LF each end one line; blank lines count but hold nothing; blanks around a
    // line and around the quantity are ignored.
    const ScannerText scanned =
        ParseScannerText(u"7#0101000001,1\n#0101000002,2\r#0101000003,3\r\n\r\n  \n"
                         u"\t#0101000004, 4 \r\n");
    QVERIFY(scanned.IsWellFormed());
    QCOMPARE(Entries(scanned),
             QStringList({"1:0101000001x1", "2:0101000002x2", "3:0101000003x3", "6:0101000004x4"}));
}

void TestScannerText::refusedLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<Kind>("kind");
    QTest::newRow("short code") << "#01010001,3" << Kind::BadCode;
    QTest::newRow("long code") << "#01010000011,3" << Kind::BadCode;
    QTest::newRow("letters in the code") << "#01010000O1,3" << Kind::BadCode;
    QTest::newRow("blank in the code") << "# 101000001,3" << Kind::BadCode;
    QTest::newRow("no comma") << "#0101000001 3" << Kind::Malformed;
    QTest::newRow("two commas") << "#0101000001,3,4" << Kind::Malformed;
    QTest::newRow("two products on a line") << "#0101000001,3#0102000001,4" << Kind::Malformed;
    QTest::newRow("no hash") << "0101000001,3" << Kind::Malformed;
    QTest::newRow("zero") << "#0101000001,0" << Kind::NotPositive;
    QTest::newRow("zero with decimals") << "#0101000001,0.00" << Kind::NotPositive;
    QTest::newRow("negative") << "#0101000001,-2" << Kind::NotPositive;
    QTest::newRow("negative zero") << "#0101000001,-0" << Kind::NotPositive;
    QTest::newRow("no quantity") << "#0101000001," << Kind::BadQuantity;
    QTest::newRow("unit after the quantity") << "#0101000001,2箱" << Kind::BadQuantity;
    QTest::newRow("exponent") << "#0101000001,1e3" << Kind::BadQuantity;
    QTest::newRow("plus sign") << "#0101000001,+3" << Kind::BadQuantity;
}

void TestScannerText::refusedLines() {
    QFETCH(QString, line);
    QFETCH(Kind, kind);
    // The bad line is the third of the text; the others are still read.
    const QString text = "7#0101000001,3\r\n#0102000001,1\r\n " + line + "\r\n#0103000001,2\r\n";
    const ScannerText scanned = ParseScannerText(text);
    QVERIFY(!scanned.IsWellFormed());
    QCOMPARE(scanned.problems.size(), 1);
    QCOMPARE(scanned.problems[0].line, 3);
    QCOMPARE(scanned.problems[0].text, " " + line); // as typed
    QCOMPARE(scanned.problems[0].kind, kind);
    QCOMPARE(Entries(scanned), QStringList({"1:0101000001x3", "2:0102000001x1", "4:0103000001x2"}));
}

void TestScannerText::textWithoutProductLines() {
    for (const QString& text :
         {QString(), QString("7"), QString("7\r\n0101000001,3"), QString(" \r\n\r\n")}) {
        const ScannerText scanned = ParseScannerText(text);
        QVERIFY2(scanned.entries.isEmpty() && scanned.problems.isEmpty(), qPrintable(text));
        QVERIFY(!scanned.IsWellFormed());
    }
    // A lone "#" is a product line without a product.
    const ScannerText hash = ParseScannerText(u"7#");
    QCOMPARE(hash.problems.size(), 1);
    QCOMPARE(hash.problems[0].text, QString("7#"));
}

void TestScannerText::millionCharactersOfProductLines() {
    // 58824 lines of 17 characters ("#", ten digits, ",", three digits, CR LF) after "9": a little
    // over a million characters. Every thousandth line has the quantity 000.
    QString text = QStringLiteral("9");
    const int lines = 58824;
    for (int i = 1; i <= lines; ++i)
        text += QStringLiteral("#%1,%2\r\n")
                    .arg(i, 10, 10, QLatin1Char('0'))
                    .arg(QString::number(i % 1000).rightJustified(3, QLatin1Char('0')));
    QVERIFY(text.size() > 1000000);
    const ScannerText scanned = ParseScannerText(text);
    QCOMPARE(scanned.employeeId, QString("9"));
    const int zeros = lines / 1000;
    QCOMPARE(scanned.problems.size(), zeros);
    QCOMPARE(scanned.entries.size(), lines - zeros);
    QCOMPARE(scanned.problems[0].line, 1000);
    QCOMPARE(scanned.problems[0].kind, Kind::NotPositive);
    QCOMPARE(scanned.problems[39].line, 40000);
    QCOMPARE(scanned.problems[39].text, QString("#0000040000,000"));
    const ScannerEntry& last = scanned.entries.last();
    QCOMPARE(last.line, lines);
    QCOMPARE(last.code, QString("0000058824"));
    QCOMPARE(last.quantity, QString("824"));
    QCOMPARE(scanned.entries[0].code, QString("0000000001"));
    QCOMPARE(scanned.entries[0].quantity, QString("001"));
}

void TestScannerText::millionCharactersWithoutLineEnds() {
    // A million commas on one line, and a million characters of "#," pairs: each is one line,
    // refused whole and quoted whole.
    const QString commas = "7#" + QString(1000000, QLatin1Char(','));
    const ScannerText oneLine = ParseScannerText(commas);
    QVERIFY(oneLine.entries.isEmpty());
    QCOMPARE(oneLine.problems.size(), 1);
    QCOMPARE(oneLine.problems[0].kind, Kind::Malformed);
    QCOMPARE(oneLine.problems[0].text.size(), commas.size());

    QString pairs = "7";
    for (int i = 0; i < 500000; ++i)
        pairs += (i % 2 ? QStringLiteral("#,") : QStringLiteral("#0101000001,1"));
    const ScannerText joined = ParseScannerText(pairs);
    QVERIFY(joined.entries.isEmpty());
    QCOMPARE(joined.problems.size(), 1);
    QCOMPARE(joined.problems[0].line, 1);

    // Every other line broken: half a million problems, each with its own line.
    QString broken = "7";
    for (int i = 0; i < 250000; ++i)
        broken += (i % 2 ? QStringLiteral("#,\n") : QStringLiteral("#0101000001,1\n"));
    const ScannerText many = ParseScannerText(broken);
    QCOMPARE(many.entries.size(), 125000);
    QCOMPARE(many.problems.size(), 125000);
    QCOMPARE(many.problems.last().line, 250000);
    QCOMPARE(many.problems.last().text, QString("#,"));
}

void TestScannerText::problemDescriptionQuotesTheLine() {
    QCOMPARE(DescribeScannerProblem({Kind::BadCode, 3, "#01010001,2"}),
             QString("第3行\"#01010001,2\":条码应为10位数字"));
    QCOMPARE(DescribeScannerProblem({Kind::NotPositive, 12, "#0101000001,-2"}),
             QString("第12行\"#0101000001,-2\":数量必须大于0"));
    QCOMPARE(DescribeScannerProblem({Kind::BadQuantity, 1, "7#0101000001,2箱"}),
             QString("第1行\"7#0101000001,2箱\":数量不是数字"));
    QCOMPARE(DescribeScannerProblem({Kind::Malformed, 2, "0101000001,2"}),
             QString("第2行\"0101000001,2\":格式应为\"#条码,数量\""));
    // A very long line is quoted by its first 40 characters.
    const QString longLine = "#" + QString(5000, QLatin1Char('1')) + ",1";
    QCOMPARE(DescribeScannerProblem({Kind::BadCode, 4, longLine}),
             QString("第4行\"#%1…\":条码应为10位数字").arg(QString(39, QLatin1Char('1'))));
}

QTEST_APPLESS_MAIN(TestScannerText)
#include "tst_scannertext.moc"
