#include <QtTest>

#include <cmath>
#include <limits>

#include "text/Cents.h"
#include "text/NumericText.h"

class TestNumericText : public QObject {
    Q_OBJECT

  private slots:
    void roundText_data();
    void roundText();
    void roundTextOfNonFiniteValues();
    void textToFloatOfPlainNumbers_data();
    void textToFloatOfPlainNumbers();
    void doublePrecisionKeepsTheCents();
    void centsTextReadsBackAsTheSameCents();
    void textToFloatReadsLeadingNumberOfOtherText_data();
    void textToFloatReadsLeadingNumberOfOtherText();
    void plainDecimalCheck_data();
    void plainDecimalCheck();
};

void TestNumericText::roundText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("text");

    // Half to even on the third decimal alone; the fourth plays no part.
    QTest::newRow("2.345") << 2.345 << 2 << "2.34";
    QTest::newRow("2.355") << 2.355 << 2 << "2.36";
    QTest::newRow("1.006") << 1.006 << 2 << "1.01";
    QTest::newRow("1.004") << 1.004 << 2 << "1.00";
    QTest::newRow("1.2350") << 1.235 << 2 << "1.24";
    QTest::newRow("1.2450") << 1.245 << 2 << "1.24";
    QTest::newRow("1.2451") << 1.2451 << 2 << "1.24";
    QTest::newRow("1.2461") << 1.2461 << 2 << "1.25";
    QTest::newRow("0.015") << 0.015 << 2 << "0.02";
    QTest::newRow("0.025") << 0.025 << 2 << "0.02";
    QTest::newRow("2.5") << 2.5 << 2 << "2.50";
    QTest::newRow("zero") << 0.0 << 2 << "0.00";
    QTest::newRow("large") << 123456.789 << 2 << "123456.79";

    // Negative values move away from zero.
    QTest::newRow("-2.345") << -2.345 << 2 << "-2.34";
    QTest::newRow("-2.355") << -2.355 << 2 << "-2.36";
    QTest::newRow("-1.006") << -1.006 << 2 << "-1.01";
    QTest::newRow("-1.004") << -1.004 << 2 << "-1.00";
    QTest::newRow("-0.001") << -0.001 << 2 << "-0.00";

    // Rounding up carries into the integer part.
    QTest::newRow("9.996") << 9.996 << 2 << "10.00";
    QTest::newRow("-9.996") << -9.996 << 2 << "-10.00";
    QTest::newRow("99.995") << 99.995 << 2 << "100.00";
    // Rounding up starts from the kept digits: the dropped ones never carry a second time.
    QTest::newRow("n0 0.995") << 0.995 << 0 << "1";
    QTest::newRow("n0 -0.995") << -0.995 << 0 << "-1";
    QTest::newRow("n1 0.0996") << 0.0996 << 1 << "0.1";
    QTest::newRow("n2 1.99996") << 1.99996 << 2 << "2.00";

    // Other numbers of decimals. With none, the kept character is the point, so a 5 rounds down.
    QTest::newRow("n0 2.4") << 2.4 << 0 << "2";
    QTest::newRow("n0 2.6") << 2.6 << 0 << "3";
    QTest::newRow("n0 -2.6") << -2.6 << 0 << "-3";
    QTest::newRow("n0 2.5") << 2.5 << 0 << "2";
    QTest::newRow("n0 3.5") << 3.5 << 0 << "3";
    QTest::newRow("n0 12") << 12.0 << 0 << "12";
    QTest::newRow("n1 0.25") << 0.25 << 1 << "0.2";
    QTest::newRow("n1 0.35") << 0.35 << 1 << "0.4";
    QTest::newRow("n3 1.0005") << 1.0005 << 3 << "1.000";
    QTest::newRow("n4 3.14159") << 3.14159 << 4 << "3.1416";
    QTest::newRow("n4 12.34565") << 12.34565 << 4 << "12.3456";
    QTest::newRow("n5 0.123456") << 0.123456 << 5 << "0.12346";
}

void TestNumericText::roundText() {
    QFETCH(double, value);
    QFETCH(int, n);
    QFETCH(QString, text);
    QCOMPARE(RoundText(value, n), text);
}

void TestNumericText::roundTextOfNonFiniteValues() {
    QCOMPARE(RoundText(std::numeric_limits<double>::infinity(), 2), QStringLiteral("inf"));
    QCOMPARE(RoundText(-std::numeric_limits<double>::infinity(), 4), QStringLiteral("-inf"));
    QCOMPARE(RoundText(std::numeric_limits<double>::quiet_NaN(), 2), QStringLiteral("nan"));
}

void TestNumericText::textToFloatOfPlainNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("integer") << "1250" << 1250.0;
    QTest::newRow("negative integer") << "-7" << -7.0;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("price") << "19.99" << 19.99;
    QTest::newRow("discount") << "0.85" << 0.85;
    QTest::newRow("negative fraction") << "-0.3" << -0.3;
}

void TestNumericText::textToFloatOfPlainNumbers() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(TextToFloat(text), value);
}

// Amounts are exact to the cent far beyond what single precision could hold.
void TestNumericText::doublePrecisionKeepsTheCents() {
    QCOMPARE(TextToFloat("123.45"), 123.45);
    QCOMPARE(TextToFloat("1234.5678"), 1234.5678);
    QCOMPARE(TextToFloat("-123.45"), -123.45);
    QVERIFY(std::signbit(TextToFloat("-0")));
    QCOMPARE(RoundText(TextToFloat("99999.99") * TextToFloat("3"), 2), QString("299999.97"));
    QCOMPARE(RoundText(200000.01, 2), QString("200000.01"));
    QCOMPARE(RoundText(TextToFloat("999999999.99"), 2), QString("999999999.99"));
    QCOMPARE(RoundText(TextToFloat("123456789.125"), 2), QString("123456789.12"));
    QCOMPARE(RoundText(TextToFloat("123456789.135"), 2), QString("123456789.14"));
    // A number beyond a double reads as infinity, never as a wrapped or cut value.
    QVERIFY(std::isinf(TextToFloat(QString(400, u'9'))));
}

// Hundredths as text and back: every sign and size of figure, to the last cent.
void TestNumericText::centsTextReadsBackAsTheSameCents() {
    QCOMPARE(CentsText(0), QString("0.00"));
    QCOMPARE(CentsText(-5), QString("-0.05"));
    QCOMPARE(CentsText(10150), QString("101.50"));
    QCOMPARE(CentsText(-100), QString("-1.00"));
    QCOMPARE(CentsText(std::numeric_limits<qint64>::min()), QString("-92233720368547758.08"));
    for (qint64 cents : {qint64(1), qint64(-99), qint64(12345678), qint64(-99999999999999),
                         qint64(100000000000000)}) {
        QCOMPARE(CentsOf(CentsText(cents)), cents);
        QCOMPARE(CentsText(cents), QString::asprintf("%.2f", double(cents) / 100));
    }
}

void TestNumericText::textToFloatReadsLeadingNumberOfOtherText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("leading");
    const char* const cases[][3] = {
        {"unit after number", "12kg", "12"},
        {"second point", "1.5.2", "1.5"},
        {"letter after decimals", "2.5x9", "2.5"},
        {"negative with letter", "-1a", "-1"},
        {"thousands comma", "1,000", "1"},
        {"trailing blank", "5 ", "5"},
        {"letters", "abc", ""},
        {"leading plus", "+5", ""},
        {"leading blank", " 5", ""},
        {"full-width digits", "１２", ""},
        {"double minus", "--5", ""},
        {"minus alone", "-", ""},
        {"point alone", ".", ""},
    };
    for (const auto& c : cases)
        QTest::newRow(c[0]) << QString::fromUtf8(c[1]) << QString::fromUtf8(c[2]);
}

void TestNumericText::textToFloatReadsLeadingNumberOfOtherText() {
    QFETCH(QString, text);
    QFETCH(QString, leading);
    const double value = TextToFloat(text);
    QCOMPARE(value, TextToFloat(leading));
    QVERIFY(!std::signbit(value) || leading.startsWith(u'-'));
}

void TestNumericText::plainDecimalCheck_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("plain");
    for (const char* text : {"0", "12", "-0.5", "3.", ".25", "123.45", "-0", "0007"})
        QTest::newRow(text) << QString::fromUtf8(text) << true;
    for (const char* text : {"", "-", ".", "-.", "1.2.3", "+5", " 5", "5 ", "１２", "12kg", "1e5",
                             "1,000", "--5", "5-"})
        QTest::newRow(text) << QString::fromUtf8(text) << false;
    QTest::newRow("too large for double precision") << QString(400, u'9') << false;
    QTest::newRow("large but finite") << QString(38, u'9') << true;
}

void TestNumericText::plainDecimalCheck() {
    QFETCH(QString, text);
    QFETCH(bool, plain);
    QCOMPARE(IsPlainDecimal(text), plain);
}

QTEST_APPLESS_MAIN(TestNumericText)
#include "tst_numerictext.moc"
