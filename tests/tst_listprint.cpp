// The list printer's layout for the four list kinds: page arithmetic, what is drawn where
// (against the expected drawings in tests/data), page breaks and the single page, and the
// texts a sales or stock-in document hands over.
#include <QFile>
#include <QtTest>

#include "documents/ListPrintCanvas.h"
#include "documents/ListPrintDocuments.h"
#include "documents/ListPrinter.h"
#include "ui/ListPrintData.h"

namespace {

// Records every font, text and line the printer draws, one line each.
class RecordingCanvas : public ListPrintCanvas {
  public:
    struct Item {
        bool text;
        double x1, y1, x2, y2;
        QString value;
    };

    void SetFont(Font font, qreal height) override {
        const char* names[] = {"title", "body", "contact"};
        m_lines << QString::asprintf("font %s %.1f", names[int(font)], height);
        m_fontHeight = height;
    }
    void Text(qreal x, qreal y, Qt::Alignment align, const QString& text) override {
        const char side = align & Qt::AlignRight ? 'R' : align & Qt::AlignHCenter ? 'C' : 'L';
        m_lines << QString::asprintf("text %c %.1f %.1f ", side, x, y) + text;
        m_items.append({true, x, y, x, y + m_fontHeight, text});
    }
    void Line(qreal x1, qreal y1, qreal x2, qreal y2) override {
        m_lines << QString::asprintf("line %.1f %.1f %.1f %.1f", x1, y1, x2, y2);
        m_items.append({false, x1, y1, x2, y2, {}});
    }

    QStringList m_lines;
    QList<Item> m_items;
    qreal m_fontHeight = 0;
};

const QStringList kCompanyLines = {
    "(1) 电话：0571-8888", "(2) 地址：解放路1号", "", "(4) 周日休息", "", "(6) 谢谢惠顾"};

// A list of a kind with rows numbered texts "r<row>c<column>" and headers "H<column>".
ListPrintData SampleList(int kind, int rows) {
    ListPrintData list(kind);
    list.m_strListTitle = QStringLiteral("清单%1").arg(kind);
    list.SetRowCount(rows);
    for (int i = 0; i < ListPrintData::HeadCount(kind); ++i)
        list.SetHead(i, QStringLiteral("表头%1").arg(i));
    for (int i = 0; i < ListPrintData::SumCount(kind); ++i)
        list.SetSum(i, QStringLiteral("合计%1").arg(i));
    for (int column = 1; column <= ListPrintData::ColumnCount(kind); ++column) {
        list.SetCell(column, 0, QStringLiteral("H%1").arg(column));
        for (int row = 1; row < rows; ++row)
            list.SetCell(column, row, QStringLiteral("r%1c%2").arg(row).arg(column));
    }
    return list;
}

RecordingCanvas Draw(const ListPrintData& list, const ListPrintPage& page, int* pages = nullptr) {
    RecordingCanvas canvas;
    const int count =
        ListPrinter(list, QStringLiteral("远航五交化"), kCompanyLines).Draw(canvas, page);
    if (pages)
        *pages = count;
    return canvas;
}

QStringList Expected(const QString& name) {
    QFile file(QFINDTESTDATA("data/" + name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {QStringLiteral("missing expected file ") + name};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Writes the drawing beside the test when HARBOR_WRITE_EXPECTED is set, for review.
void KeepActual(const QString& name, const QStringList& lines) {
    if (qEnvironmentVariableIsEmpty("HARBOR_WRITE_EXPECTED"))
        return;
    QFile file(QDir::temp().filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Text))
        file.write((lines.join('\n') + '\n').toUtf8());
}

void CompareLines(const QStringList& actual, const QStringList& expected) {
    for (int i = 0; i < qMin(actual.size(), expected.size()); ++i)
        if (actual[i] != expected[i])
            QFAIL(qPrintable(QStringLiteral("line %1: got \"%2\", expected \"%3\"")
                                 .arg(i + 1)
                                 .arg(actual[i], expected[i])));
    QCOMPARE(actual.size(), expected.size());
}

} // namespace

class TestListPrint : public QObject {
    Q_OBJECT

  private slots:
    void pageArithmetic() {
        QCOMPARE(ListPrinter::Scale(180), 1.0f);
        QCOMPARE(ListPrinter::Scale(1200), 1200.0f / 180.0f);
        // One page: 50·s per row plus the room of the kind.
        QCOMPARE(ListPrinter::SinglePageLength(1, 41, 1.0f), 50 * 41 + 460);
        QCOMPARE(ListPrinter::SinglePageLength(2, 41, 1.0f), 50 * 41 + 320);
        QCOMPARE(ListPrinter::SinglePageLength(3, 41, 1.0f), 50 * 41 + 320);
        QCOMPARE(ListPrinter::SinglePageLength(4, 41, 1.0f), 50 * 41 + 280);
        const float s = ListPrinter::Scale(1200);
        QCOMPARE(ListPrinter::SinglePageLength(1, 41, s), int(50.0 * s * 41 + s * 460.0));
        // 2510 pixels at 180 per inch are 354.1 mm.
        QCOMPARE(ListPrinter::TenthsOfMillimetre(2510, 180), 3541);
        QCOMPARE(ListPrinter::TenthsOfMillimetre(2000000, 1200), 423333);
        // Paged: (50·s·r + s·e) / page height, truncated, plus one.
        QCOMPARE(ListPrinter::PagedPageCount(1, 40, 1.0f, 1000), 3); // 2440
        QCOMPARE(ListPrinter::PagedPageCount(2, 40, 1.0f, 1000), 3); // 2200
        QCOMPARE(ListPrinter::PagedPageCount(3, 15, 1.0f, 1000), 1); // 950
        QCOMPARE(ListPrinter::PagedPageCount(4, 16, 1.0f, 1000), 2); // 1000
    }

    void drawingOfEachKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("file");
        QTest::newRow("sales document") << 1 << "print_kind1.txt";
        QTest::newRow("stock-in document") << 2 << "print_kind2.txt";
        QTest::newRow("sales statistics") << 3 << "print_kind3.txt";
        QTest::newRow("stock-in statistics") << 4 << "print_kind4.txt";
    }
    void drawingOfEachKind() {
        QFETCH(int, kind);
        QFETCH(QString, file);
        ListPrintData list = SampleList(kind, 3);
        list.SetCell(3, 1, QStringLiteral("一二三四五六七八九十十一"));
        // 180 pixels per inch: s = 1, h = 50; a page 1420 wide.
        const ListPrintPage page{1420, 2000, 180, true};
        const RecordingCanvas canvas = Draw(list, page);
        KeepActual(file, canvas.m_lines);
        CompareLines(canvas.m_lines, Expected(file));
    }

    void nothingDrawnWithoutKind() {
        ListPrintData list(0);
        RecordingCanvas canvas;
        QCOMPARE(ListPrinter(list, "x", {}).Draw(canvas, {1000, 1000, 180, true}), 1);
        QVERIFY(canvas.m_lines.isEmpty());
    }

    // A long paged list goes on as many pages as it needs and loses no row; every continued
    // page starts with a rule 1.5 row heights below its top and nothing crosses a page edge.
    void pagedListBreaksWithoutLoss_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("dpi");
        for (int kind = 1; kind <= 4; ++kind) {
            QTest::addRow("kind %d, 41 rows", kind) << kind << 41 << 180;
            QTest::addRow("kind %d, 120 rows, 1200 dpi", kind) << kind << 120 << 1200;
        }
        QTest::addRow("sales, 13 rows: contact lines cross a page") << 1 << 13 << 180;
    }
    void pagedListBreaksWithoutLoss() {
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(int, dpi);
        const float s = ListPrinter::Scale(dpi);
        const double h = 50.0 * s;
        const int height = int(1000 * s);
        const ListPrintPage page{int(1420 * s), height, dpi, true};
        int pages = 0;
        const RecordingCanvas canvas = Draw(SampleList(kind, rows), page, &pages);
        QVERIFY(pages >= ListPrinter::PagedPageCount(kind, rows, s, height) - 1);
        QVERIFY(pages > 1);

        QSet<QString> numbers;
        double lastY = 0;
        for (const RecordingCanvas::Item& item : canvas.m_items) {
            const int pageOfTop = int(std::floor(qMin(item.y1, item.y2) / height));
            const int pageOfBottom = int(std::floor((qMax(item.y1, item.y2) - 0.01) / height));
            QVERIFY2(pageOfTop == pageOfBottom, qPrintable(item.value));
            QVERIFY(pageOfTop < pages);
            if (item.text)
                numbers.insert(item.value);
            lastY = qMax(lastY, item.y1);
        }
        for (int row = 1; row < rows; ++row)
            QVERIFY(numbers.contains(QString::number(row)));
        QCOMPARE(pages, int(std::floor(lastY / height)) + 1);
        // The first rule of every continued page.
        for (int p = 1; p < pages; ++p) {
            const double top = double(p) * height;
            double first = 1e18;
            for (const RecordingCanvas::Item& item : canvas.m_items)
                if (item.y1 >= top && item.y1 < top + height)
                    first = qMin(first, qMin(item.y1, item.y2));
            QVERIFY2(qAbs(first - (top + 1.5 * h)) < 0.01, qPrintable(QString::number(p)));
        }
    }

    // One page of custom length holds the whole list: nothing is pushed off its bottom.
    void singlePageHoldsWholeList_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("dpi");
        for (int kind = 1; kind <= 4; ++kind)
            for (int rows : {1, 2, 41, 300})
                for (int dpi : {180, 600, 1200})
                    QTest::addRow("kind %d, %d rows, %d dpi", kind, rows, dpi)
                        << kind << rows << dpi;
    }
    void singlePageHoldsWholeList() {
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(int, dpi);
        const float s = ListPrinter::Scale(dpi);
        const int length = ListPrinter::SinglePageLength(kind, rows, s);
        const ListPrintPage page{int(1474 * s), length, dpi, false};
        int pages = 0;
        const RecordingCanvas canvas = Draw(SampleList(kind, rows), page, &pages);
        QCOMPARE(pages, 1);
        int contactLines = 0;
        for (const RecordingCanvas::Item& item : canvas.m_items) {
            QVERIFY2(qMax(item.y1, item.y2) <= length, qPrintable(item.value));
            contactLines += item.text && item.value.startsWith("(");
        }
        QCOMPARE(contactLines, kind == 1 ? 4 : 0);
    }

    void documentTexts() {
        QCOMPARE(PrintUnitText(QStringLiteral("10个/箱")), QStringLiteral("箱"));
        QCOMPARE(PrintUnitText(QStringLiteral("个")), QStringLiteral("个"));
        QCOMPARE(PrintUnitText(QStringLiteral("1/10个")), QStringLiteral("0个"));
        QCOMPARE(PrintRemarkText(QStringLiteral("含税(1.08)")), QStringLiteral("含税"));
        QCOMPARE(PrintRemarkText(QStringLiteral("abcdef")), QStringLiteral("abcd"));
        // Never half a character.
        QCOMPARE(PrintRemarkText(QStringLiteral("a含税")), QStringLiteral("a含"));
        QCOMPARE(PrintRemarkText(QString()), QString());
        QCOMPARE(LeadingNumber(QStringLiteral("12件")), 12);
        QCOMPARE(LeadingNumber(QStringLiteral("件")), 0);
        QCOMPARE(LeadingNumber(QStringLiteral("")), 0);
        QCOMPARE(LeadingNumber(QStringLiteral("99999999999")), INT_MAX);
    }

    void slotsOfEachKind() {
        for (int kind = 1; kind <= 4; ++kind) {
            ListPrintData list = SampleList(kind, 5);
            QCOMPARE(list.m_aColumn.size(), ListPrintData::ColumnCount(kind));
            QCOMPARE(list.Cell(1, 4), QStringLiteral("r4c1"));
            QCOMPARE(list.Cell(ListPrintData::ColumnCount(kind) + 1, 1), QString());
            list.SetRowCount(2);
            QCOMPARE(list.Cell(1, 4), QString());
            list.Clear();
            QCOMPARE(list.m_nListRows, 0);
            QCOMPARE(list.m_strHead.size(), ListPrintData::HeadCount(kind));
            QCOMPARE(list.Head(0), QString());
        }
    }
};

QTEST_MAIN(TestListPrint)
#include "tst_listprint.moc"
