#include <QPrinter>
#include <QtTest>

#include "catalogue/Code128Symbol.h"
#include "catalogue/LabelPrinter.h"
#include "support/BarcodeScan.h"
#include "support/PdfFacts.h"
#include "ui/FontSetup.h"

namespace {

// count products with distinct ten-digit codes, names and prices.
QList<ProductLabel> Products(int count) {
    QList<ProductLabel> labels;
    for (int k = 0; k < count; ++k) {
        labels.append(
            {QStringLiteral("膨胀螺丝%1号").arg(k + 1), QStringLiteral("%1个/盒").arg(10 * (k + 1)),
             QString::number(1.5 + k, 'f', 2),
             QStringLiteral("%1%2").arg(1 + k % 7, 2, 10, QChar('0')).arg(k, 8, 10, QChar('0'))});
    }
    return labels;
}

QStringList Codes(const QList<ProductLabel>& labels) {
    QStringList codes;
    for (const ProductLabel& label : labels)
        codes << label.code;
    return codes;
}

QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

// Prints the labels to a PDF in the folder, as the preview's printer would.
QString PrintToPdf(const QTemporaryDir& dir, const QList<ProductLabel>& labels,
                   const LabelSheet& sheet, int* pages) {
    const QString path = dir.filePath("labels.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    SetupLabelPrinter(printer, sheet);
    *pages = PrintLabels(printer, labels, sheet);
    return path;
}

} // namespace

class TestLabelPrint : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetupFonts(); }
    void everyLabelScansAsItsProductCode_data();
    void everyLabelScansAsItsProductCode();
    void labelsShowNameSpecAndPrice();
    void codeWithoutBarcodeIsPrintedAsText();
};

void TestLabelPrint::everyLabelScansAsItsProductCode_data() {
    QTest::addColumn<LabelSheet>("sheet");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("perPage");

    QTest::newRow("A4 3 x 8, two pages") << LabelSheet() << 30 << QList<int>{24, 6};
    LabelSheet small;
    small.labelWidth = 48;
    small.labelHeight = 25;
    small.columns = 4;
    small.rows = 10;
    small.leftMargin = 7;
    small.topMargin = 10;
    small.columnGap = 1.5;
    small.rowGap = 2;
    small.borders = true;
    QTest::newRow("small labels with gaps, three pages") << small << 85 << QList<int>{40, 40, 5};
    LabelSheet one;
    one.paper = QPageSize::A5;
    one.labelWidth = 100;
    one.labelHeight = 60;
    one.columns = 1;
    one.rows = 3;
    QTest::newRow("A5, one column, exactly full") << one << 3 << QList<int>{3};
}

void TestLabelPrint::everyLabelScansAsItsProductCode() {
    QFETCH(LabelSheet, sheet);
    QFETCH(int, count);
    QFETCH(QList<int>, perPage);
    QTemporaryDir dir;
    const QList<ProductLabel> labels = Products(count);
    int pages = 0;
    const QString pdf = PrintToPdf(dir, labels, sheet, &pages);
    QCOMPARE(pages, perPage.size());
    QCOMPARE(ReadPdf(pdf).pages, perPage.size());

    const QList<QStringList> scanned = ScanPdfBarcodes(pdf);
    QCOMPARE(scanned.size(), perPage.size());
    QStringList all;
    int first = 0;
    for (int page = 0; page < scanned.size(); ++page) {
        // each page holds the next labels of the job, every one readable
        QCOMPARE(scanned[page].size(), perPage[page]);
        QCOMPARE(Sorted(scanned[page]), Sorted(Codes(labels.mid(first, perPage[page]))));
        first += perPage[page];
        all += scanned[page];
    }
    QCOMPARE(all.size(), count);
    QCOMPARE(Sorted(all), Sorted(Codes(labels)));
}

void TestLabelPrint::labelsShowNameSpecAndPrice() {
    QTemporaryDir dir;
    const QList<ProductLabel> labels{{"开关", "10个/箱", "12.50", "0200000001"},
                                     {"铜线", "1卷", "", "0300000001"}};
    int pages = 0;
    const QString pdf = PrintToPdf(dir, labels, LabelSheet(), &pages);
    const QString text = PdfText(pdf);
    for (const QString& part :
         {"开关", "10个/箱", "¥12.50", "0200000001", "铜线", "1卷", "0300000001"})
        QVERIFY2(text.contains(part), qPrintable(part));
    QCOMPARE(text.count(QStringLiteral("¥")), 1); // no price, no sign
}

// A code that Code 128 cannot hold (or a hand-made one with Chinese text) prints as text with a
// note instead of a barcode that reads wrong; the labels around it still scan.
void TestLabelPrint::codeWithoutBarcodeIsPrintedAsText() {
    QVERIFY(!Code128Symbol(QStringLiteral("编码")).IsValid());
    QVERIFY(!Code128Symbol(QString()).IsValid());
    QVERIFY(Code128Symbol(QStringLiteral("0101010001")).IsValid());

    QTemporaryDir dir;
    const QList<ProductLabel> labels{{"开关", "10个/箱", "1", "0200000001"},
                                     {"旧货", "1个", "1", "编码"},
                                     {"铜线", "1卷", "2", "0300000001"}};
    int pages = 0;
    const QString pdf = PrintToPdf(dir, labels, LabelSheet(), &pages);
    const QList<QStringList> scanned = ScanPdfBarcodes(pdf);
    QCOMPARE(scanned.size(), 1);
    QCOMPARE(Sorted(scanned[0]), (QStringList{"0200000001", "0300000001"}));
    QVERIFY(PdfText(pdf).contains(QStringLiteral("编码 (无法生成条码)")));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestLabelPrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_labelprint.moc"
