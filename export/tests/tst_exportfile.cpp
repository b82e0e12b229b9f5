// The export without a window: what each column kind makes of a text, the names proposed for
// sheets and files, and whole files written and read back by openpyxl and Python's csv module,
// cancelled and failed exports that leave nothing behind.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "export/CsvWriter.h"
#include "export/ExportFile.h"
#include "export/ExportTable.h"
#include "support/SheetReadBack.h"

namespace {

// A sales list as the query windows show it, with the texts that trip up a spreadsheet:
// leading zeros, a price with four decimals, commas, quotes, a line break, Chinese text.
ExportTable SalesList() {
    ExportTable table;
    table.title = QStringLiteral("销售出库查询");
    table.columns = {{"单号", ExportKind::Text, 0},     {"条形码", ExportKind::Text, 0},
                     {"销售客户", ExportKind::Text, 0}, {"销售时间", ExportKind::Date, 0},
                     {"开票日期", ExportKind::Date, 0}, {"单价", ExportKind::Number, 2},
                     {"应收款", ExportKind::Number, 2}, {"件数", ExportKind::Number, 0},
                     {"备注", ExportKind::Text, 0}};
    table.rows = {
        {"20261201001", "0101000001", "张三五金", "2026-12-01 10:15:00", "2026-12-07", "2.5000",
         "120.50", "3", "含税,已送货"},
        {"20261201002", "0200000001", "李四 \"老店\"", "2026-12-01 16:00:05", "", "12", "-700.00",
         "", "第一行\n第二行"},
        {"20261203001", "0000000100", "王五", "未知", "2026-13-40", "abc", "0.5", "2.5", "=1+1"},
    };
    return table;
}

// The files in a folder, hidden ones included.
QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Files this process holds open (Linux), or -1.
int OpenFiles() {
    const QDir fds(QStringLiteral("/proc/self/fd"));
    return fds.exists()
               ? int(fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size())
               : -1;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestExportFile : public QObject {
    Q_OBJECT

  private slots:
    void cellKinds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("shownDecimals");
        QTest::addColumn<QString>("when");

        const int text = int(ExportKind::Text), number = int(ExportKind::Number),
                  date = int(ExportKind::Date);
        QTest::newRow("product code stays text")
            << text << 0 << "0101000001" << int(ExportCell::Text) << 0.0 << 0 << "";
        QTest::newRow("document number stays text")
            << text << 0 << "20261201001" << int(ExportCell::Text) << 0.0 << 0 << "";
        QTest::newRow("amount") << number << 2 << "120.50" << int(ExportCell::Number) << 120.5 << 2
                                << "";
        QTest::newRow("whole amount shows two decimals")
            << number << 2 << "12" << int(ExportCell::Number) << 12.0 << 2 << "";
        QTest::newRow("price keeps four decimals")
            << number << 2 << "2.5000" << int(ExportCell::Number) << 2.5 << 4 << "";
        QTest::newRow("negative") << number << 2 << "-700.00" << int(ExportCell::Number) << -700.0
                                  << 2 << "";
        QTest::newRow("pieces without decimals")
            << number << 0 << "3" << int(ExportCell::Number) << 3.0 << 0 << "";
        QTest::newRow("no number in a number column")
            << number << 2 << "12kg" << int(ExportCell::Text) << 0.0 << 0 << "";
        QTest::newRow("full-width digits are no number")
            << number << 2 << "１２" << int(ExportCell::Text) << 0.0 << 0 << "";
        QTest::newRow("empty is blank")
            << number << 2 << "" << int(ExportCell::Blank) << 0.0 << 0 << "";
        QTest::newRow("date") << date << 0 << "2026-12-07" << int(ExportCell::Date) << 0.0 << 0
                              << "2026-12-07T00:00:00";
        QTest::newRow("date and time")
            << date << 0 << "2026-12-07 10:15:00" << int(ExportCell::DateTime) << 0.0 << 0
            << "2026-12-07T10:15:00";
        QTest::newRow("no such day")
            << date << 0 << "2026-02-30" << int(ExportCell::Text) << 0.0 << 0 << "";
        QTest::newRow("before the workbook calendar")
            << date << 0 << "1899-12-31" << int(ExportCell::Text) << 0.0 << 0 << "";
    }
    void cellKinds() {
        QFETCH(int, kind);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QFETCH(int, type);
        const ExportCell cell = CellFor({"列", ExportKind(kind), decimals}, text);
        QCOMPARE(int(cell.type), type);
        if (type == ExportCell::Number) {
            QFETCH(double, number);
            QFETCH(int, shownDecimals);
            QCOMPARE(cell.number, number);
            QCOMPARE(cell.decimals, shownDecimals);
        } else if (type == ExportCell::Date || type == ExportCell::DateTime) {
            QFETCH(QString, when);
            QCOMPARE(cell.when.toString(Qt::ISODate), when);
        } else if (type == ExportCell::Text) {
            QCOMPARE(cell.text, text);
        }
    }

    void undeclaredColumnsAreText() {
        const ExportKinds kinds = {{"应收款", ExportKind::Number}};
        QCOMPARE(int(ColumnFor("应收款", kinds).kind), int(ExportKind::Number));
        QCOMPARE(int(ColumnFor("电话", kinds).kind), int(ExportKind::Text));
        QCOMPARE(int(CellFor(ColumnFor("电话", kinds), "01012345678").type), int(ExportCell::Text));
    }

    void namesForSheetsAndFiles() {
        const QDate day(2026, 12, 7);
        QCOMPARE(ProposedFileName("出库查询", day, ExportFormat::Xlsx),
                 QStringLiteral("出库查询_2026-12-07.xlsx"));
        QCOMPARE(ProposedFileName("客户管理", day, ExportFormat::Csv),
                 QStringLiteral("客户管理_2026-12-07.csv"));
        QCOMPARE(ProposedFileName("a/b:c*?\"<>|", day, ExportFormat::Csv),
                 QStringLiteral("a_b_c_______2026-12-07.csv"));
        QCOMPARE(ProposedFileName("", day, ExportFormat::Xlsx),
                 QStringLiteral("导出_2026-12-07.xlsx"));
        QCOMPARE(SheetName("销售[出库]:查询/明细?"), QStringLiteral("销售_出库__查询_明细_"));
        QCOMPARE(SheetName(QString(40, u'帐')).size(), 31);
        QCOMPARE(SheetName("''"), QStringLiteral("Sheet1"));
    }

    void widthsFollowTheWidestText() {
        ExportTable table;
        table.columns = {{"名称", ExportKind::Text, 0}, {"金额", ExportKind::Number, 2}};
        table.rows = {{"五金交电化工商店", "1234567.5"}, {"a", ""}};
        QCOMPARE(DisplayWidth("五金ab"), 6);
        // A character beyond the first plane counts once, by its own width; half of one counts
        // as one narrow character.
        QCOMPARE(DisplayWidth(QString::fromUcs4(U"\U00020000a")), 3);
        QCOMPARE(DisplayWidth(QString::fromUcs4(U"\U0001F600")), 1);
        QCOMPARE(DisplayWidth(QString(QChar(0xD840)) + u'五'), 3);
        // Eight Chinese characters are as wide as sixteen Latin ones.
        QVERIFY(ColumnWidthFor(table, 0) >= 16);
        // The number shows as 1234567.50.
        QVERIFY(ColumnWidthFor(table, 1) >= 10);
        table.rows.append({QString(500, u'x'), ""});
        QVERIFY(ColumnWidthFor(table, 0) <= 60);
    }

    void csvFields() {
        QCOMPARE(CsvField("张三"), QStringLiteral("张三"));
        QCOMPARE(CsvField("a,b"), QStringLiteral("\"a,b\""));
        QCOMPARE(CsvField("say \"hi\""), QStringLiteral("\"say \"\"hi\"\"\""));
        QCOMPARE(CsvField("a\nb"), QStringLiteral("\"a\nb\""));
        // A name that a spreadsheet would run as a formula is marked as text; numbers stay.
        QCOMPARE(CsvSafeText("=HYPERLINK(\"http://x\")"), QStringLiteral("'=HYPERLINK(\"http://x\")"));
        QCOMPARE(CsvSafeText("@SUM(A1)"), QStringLiteral("'@SUM(A1)"));
        QCOMPARE(CsvSafeText("-3.50"), QStringLiteral("-3.50"));
        QCOMPARE(CsvSafeText("+86 139"), QStringLiteral("'+86 139"));
        QCOMPARE(CsvSafeText("扳手"), QStringLiteral("扳手"));
    }

    // Every cell read back by openpyxl: texts as texts (leading zeros kept), numbers as numbers
    // with their decimals, dates as dates; the header bold and frozen, widths set.
    void xlsxReadBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("销售出库查询_2026-12-07.xlsx");
        const ExportTable table = SalesList();
        const ExportResult result = ExportToFile(table, path, ExportFormat::Xlsx);
        QCOMPARE(int(result.status), int(ExportResult::Written));
        QCOMPARE(FilesIn(dir.path()), QStringList{"销售出库查询_2026-12-07.xlsx"});

        const SheetReadBack back = ReadSheetBack(path);
        QVERIFY2(back.ok, qPrintable(back.error));
        QCOMPARE(back.sheets, QStringList{"销售出库查询"});
        QCOMPARE(back.freeze, QStringLiteral("A2"));
        QCOMPARE(back.headerBold, QList<bool>(9, true));
        QCOMPARE(back.cells.size(), 4);
        QStringList headers;
        for (const SheetCell& cell : back.cells[0])
            headers.append(cell.value);
        QCOMPARE(headers, QStringList({"单号", "条形码", "销售客户", "销售时间", "开票日期", "单价",
                                       "应收款", "件数", "备注"}));
        auto cell = [&](int row, int col) {
            const SheetCell& c = back.cells[row][col];
            return QStringList{c.type, c.value, c.format};
        };
        QCOMPARE(cell(1, 0), QStringList({"s", "20261201001", "General"}));
        QCOMPARE(cell(1, 1), QStringList({"s", "0101000001", "General"}));
        QCOMPARE(cell(3, 1), QStringList({"s", "0000000100", "General"}));
        QCOMPARE(cell(2, 2), QStringList({"s", "李四 \"老店\"", "General"}));
        QCOMPARE(cell(1, 3), QStringList({"d", "2026-12-01T10:15:00", "yyyy-mm-dd hh:mm:ss"}));
        QCOMPARE(cell(2, 3), QStringList({"d", "2026-12-01T16:00:05", "yyyy-mm-dd hh:mm:ss"}));
        QCOMPARE(cell(3, 3), QStringList({"s", "未知", "General"}));
        QCOMPARE(cell(1, 4), QStringList({"d", "2026-12-07T00:00:00", "yyyy-mm-dd"}));
        QCOMPARE(cell(2, 4)[0], QString());
        QCOMPARE(cell(3, 4), QStringList({"s", "2026-13-40", "General"}));
        QCOMPARE(cell(1, 5), QStringList({"n", "2.5", "0.0000"}));
        QCOMPARE(cell(2, 5), QStringList({"n", "12", "0.00"}));
        QCOMPARE(cell(3, 5), QStringList({"s", "abc", "General"}));
        QCOMPARE(cell(1, 6), QStringList({"n", "120.5", "0.00"}));
        QCOMPARE(cell(2, 6), QStringList({"n", "-700", "0.00"}));
        QCOMPARE(cell(1, 7), QStringList({"n", "3", "0"}));
        QCOMPARE(cell(3, 7), QStringList({"n", "2.5", "0.0"}));
        QCOMPARE(cell(1, 8), QStringList({"s", "含税,已送货", "General"}));
        QCOMPARE(cell(2, 8), QStringList({"s", "第一行\n第二行", "General"}));
        // Text that looks like a formula stays text.
        QCOMPARE(cell(3, 8), QStringList({"s", "=1+1", "General"}));
        QCOMPARE(back.widths.size(), 9);
        for (double width : back.widths)
            QVERIFY(width > 0);
        QVERIFY(back.widths[2] > back.widths[7]);
    }

    void csvReadBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.csv");
        const ExportTable table = SalesList();
        QCOMPARE(int(ExportToFile(table, path, ExportFormat::Csv).status),
                 int(ExportResult::Written));
        QVERIFY(Contents(path).startsWith("\xEF\xBB\xBF单号,"));
        const SheetReadBack back = ReadSheetBack(path);
        QVERIFY2(back.ok, qPrintable(back.error));
        QVERIFY(back.bom);
        QCOMPARE(back.records.size(), 4);
        QCOMPARE(back.records[0].first(), QStringLiteral("单号"));
        for (int row = 0; row < table.rows.size(); ++row) {
            QStringList expected = table.rows[row];
            // The text cell that a spreadsheet would run as a formula is marked as text.
            if (expected.last() == QLatin1String("=1+1"))
                expected.last() = QStringLiteral("'=1+1");
            QCOMPARE(back.records[row + 1], expected);
        }
        QCOMPARE(FilesIn(dir.path()), QStringList{"list.csv"});
    }

    // Progress reaches every row and ends at the total; a cancel at any point leaves neither
    // the file nor a temporary one, and a file of that name as it was.
    void cancelLeavesNothing_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("xlsx") << int(ExportFormat::Xlsx);
        QTest::newRow("csv") << int(ExportFormat::Csv);
    }
    void cancelLeavesNothing() {
        QFETCH(int, format);
        ExportTable table = SalesList();
        const QStringList row = table.rows.first();
        for (int i = 0; i < 5000; ++i)
            table.rows.append(row);
        QTemporaryDir dir;
        const int openBefore = OpenFiles();
        const QString fresh = dir.filePath("fresh.out");
        QList<int> seen;
        ExportResult result =
            ExportToFile(table, fresh, ExportFormat(format), [&](int done, int total) {
                seen.append(done);
                return total == table.rows.size() && done < 2000;
            });
        QCOMPARE(int(result.status), int(ExportResult::Cancelled));
        QVERIFY(!seen.isEmpty() && seen.first() == 0 && seen.last() >= 2000);
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        QVERIFY(FilesIn(dir.path()).isEmpty());

        const QString kept = dir.filePath("kept.out");
        QFile old(kept);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last week's list");
        old.close();
        int calls = 0;
        result = ExportToFile(table, kept, ExportFormat(format), [&](int done, int total) {
            ++calls;
            return done < total; // cancelled at the very end
        });
        QCOMPARE(int(result.status), int(ExportResult::Cancelled));
        QVERIFY(calls > table.rows.size() / 256);
        QCOMPARE(Contents(kept), QByteArray("last week's list"));
        QCOMPARE(FilesIn(dir.path()), QStringList{"kept.out"});

        seen.clear();
        result = ExportToFile(table, kept, ExportFormat(format), [&](int done, int) {
            seen.append(done);
            return true;
        });
        QCOMPARE(int(result.status), int(ExportResult::Written));
        QCOMPARE(seen.last(), int(table.rows.size()));
        QVERIFY(Contents(kept) != QByteArray("last week's list"));
        QCOMPARE(FilesIn(dir.path()), QStringList{"kept.out"});
        // Nothing of the three exports stays open (a workbook's streamed rows live in a file).
        QCOMPARE(OpenFiles(), openBefore);
    }

    void failuresAreReported() {
        QTemporaryDir dir;
        const ExportTable table = SalesList();
        ExportResult result =
            ExportToFile(table, dir.filePath("no/such/folder/a.xlsx"), ExportFormat::Xlsx);
        QCOMPARE(int(result.status), int(ExportResult::Failed));
        QVERIFY(!result.error.isEmpty());

        QVERIFY(QDir(dir.path()).mkdir("taken.xlsx"));
        result = ExportToFile(table, dir.filePath("taken.xlsx"), ExportFormat::Xlsx);
        QCOMPARE(int(result.status), int(ExportResult::Failed));
        QVERIFY(QFileInfo(dir.filePath("taken.xlsx")).isDir());
        QCOMPARE(FilesIn(dir.path()), QStringList());
    }

    // More rows than a worksheet holds: refused before anything is written.
    void tooManyRowsForAWorkbook() {
        ExportTable table;
        table.title = "big";
        table.columns = {{"编号", ExportKind::Text, 0}};
        const QStringList row{"1"};
        for (int i = 0; i < 1048576; ++i)
            table.rows.append(row);
        QTemporaryDir dir;
        const ExportResult result =
            ExportToFile(table, dir.filePath("big.xlsx"), ExportFormat::Xlsx);
        QCOMPARE(int(result.status), int(ExportResult::Failed));
        QVERIFY(result.error.contains("CSV"));
        QVERIFY(FilesIn(dir.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExportFile)
#include "tst_exportfile.moc"
