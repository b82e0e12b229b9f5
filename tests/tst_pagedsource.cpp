// The paged list source against a plain read of every row (same rows, order and totals), a
// list changed between two page reads, and the stock search shown through it: the first page
// and the last, and a page that cannot be read.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

#include "GridInput.h"
#include "UserInput.h"

#include "catalogue/ProductSearch.h"
#include "export/ExportFile.h"
#include "export/GridExport.h"
#include "export/ReportPrint.h"
#include "grid/CGridCtrl.h"
#include "queries/SaleQuerySql.h"
#include "stock/CInventoryDlg.h"
#include "support/MessageScript.h"
#include "support/PdfFacts.h"
#include "support/SheetReadBack.h"
#include "support/TestDatabase.h"
#include "ui/CPagedSqlSource.h"

namespace {

constexpr int kProducts = 650;

QString CodeOf(int i) {
    return QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
}

// Every third product is a 螺丝; a few are changed after they were stored, so that on the
// server their rows no longer lie in the order they were stored in.
void FillProducts(TestDatabase& db) {
    Db()->BeginTransaction();
    for (int i = 1; i <= kProducts; ++i) {
        const QString name =
            (i % 3 == 0 ? QStringLiteral("螺丝%1") : QStringLiteral("开关%1")).arg(i);
        db.Exec(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, total, "
                               "longpinyin, shortpinyin) VALUES (?, ?, ?, '个', '1.50', ?, ?, '')"),
                {CodeOf(i), name, name.left(2), QString::number(i), name.left(2)});
    }
    Db()->Commit();
    db.Exec(QStringLiteral("UPDATE property SET total = '7' WHERE code IN (?, ?, ?)"),
            {CodeOf(3), CodeOf(99), CodeOf(300)});
    db.Exec(QStringLiteral("DELETE FROM property WHERE code = ?"), {CodeOf(150)});
}

const QString kColumns = QStringLiteral("name,code,total");

PagedQuery ScrewQuery() {
    return PagedQuery{kColumns,
                      QStringLiteral("property"),
                      QStringLiteral("name LIKE ?"),
                      {QStringLiteral("螺丝%")},
                      QStringLiteral("MAX(code),COUNT(total)")};
}

// The rows as the source gives them, each joined with "|", the row number left out.
QStringList Joined(const QList<QStringList>& rows) {
    QStringList joined;
    for (const QStringList& row : rows)
        joined << row.mid(1).join(QLatin1Char('|'));
    return joined;
}

QStringList PlainRead(TestDatabase& db, const QString& extra = QString(),
                      const QVariantList& values = {QStringLiteral("螺丝%")}) {
    return db.Rows(QStringLiteral("SELECT %1 FROM property WHERE name LIKE ?%2 ORDER BY %3")
                       .arg(kColumns, extra, TestDatabase::RowKey()),
                   values);
}

// Reads every row a page at a time, in order: each page goes on after the one before it.
QList<QStringList> ReadAll(CPagedSqlSource& source, int page) {
    QList<QStringList> rows;
    for (int first = 0; first < source.RowCount(); first += page)
        source.Read(first, page, rows);
    return rows;
}

// Shows the stock search and presses 搜索 with no keyword, by name.
void SearchEveryProduct(CInventoryDlg& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.KeywordBox()->clear();
    QTest::mouseClick(dialog.ByNameButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.SearchButton(), Qt::LeftButton);
}

} // namespace

class TestPagedSource : public QObject {
    Q_OBJECT

  private slots:
    void pagesGiveThePlainReadsRowsAndTotals();
    void listChangedBetweenTwoPageReads();
    void stockSearchShowsTheFirstAndTheLastPage();
    void pageThatCannotBeReadIsToldOnce();
    void exportReadsTheListFromTheSource();
    void streamedTableIsWrittenBlockAfterBlock();
    void documentListIsOneRowPerDocumentInNumberOrder();
};

void TestPagedSource::pagesGiveThePlainReadsRowsAndTotals() {
    TestDatabase db;
    FillProducts(db);
    CPagedSqlSource source(ScrewQuery(), nullptr, QStringLiteral("读取"));
    const QStringList plain = PlainRead(db);
    QCOMPARE(source.RowCount(), plain.size());
    QCOMPARE(source.RowCount(), kProducts / 3 - 1);

    // In order, page after page; the row numbers count on across the pages.
    const QList<QStringList> rows = ReadAll(source, 64);
    QCOMPARE(Joined(rows), plain);
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(rows[i].first(), QString::number(i + 1));

    // Jumps to pages whose previous page was never read, and back.
    CPagedSqlSource jumping(ScrewQuery(), nullptr, QStringLiteral("读取"));
    QList<QStringList> page;
    jumping.Read(150, 40, page);
    QCOMPARE(Joined(page), plain.mid(150, 40));
    QCOMPARE(page.first().first(), QStringLiteral("151"));
    page.clear();
    jumping.Read(190, 100, page); // after the jump's last row, past the end
    QCOMPARE(Joined(page), plain.mid(190));
    page.clear();
    jumping.Read(20, 10, page);
    QCOMPARE(Joined(page), plain.mid(20, 10));

    // Totals from the engine, as the plain rows give them.
    QStringList codes;
    for (const QString& row : plain)
        codes << row.section(QLatin1Char('|'), 1, 1);
    std::sort(codes.begin(), codes.end());
    QCOMPARE(source.ReadSums(),
             (QStringList{QString(), codes.last(), QString::number(plain.size())}));

    // The whole table with no condition, as the stock search with an empty keyword reads it.
    CPagedSqlSource all(PagedQuery{kColumns, QStringLiteral("property"), {}, {}, {}}, nullptr,
                        QStringLiteral("读取"));
    QCOMPARE(Joined(ReadAll(all, 100)),
             db.Rows(QStringLiteral("SELECT %1 FROM property ORDER BY %2")
                         .arg(kColumns, TestDatabase::RowKey())));
}

void TestPagedSource::listChangedBetweenTwoPageReads() {
    TestDatabase db;
    FillProducts(db);
    CPagedSqlSource source(ScrewQuery(), nullptr, QStringLiteral("读取"));
    const int count = source.RowCount();
    QList<QStringList> first;
    source.Read(0, 100, first);
    const QString lastCode = first.last().at(2);

    // Another workstation removes a row of the first page and one of the next, and adds one.
    db.Exec(QStringLiteral("DELETE FROM property WHERE code IN (?, ?)"), {CodeOf(30), CodeOf(330)});
    db.Exec(QStringLiteral("INSERT INTO property (code, name, total) VALUES (?, ?, '1')"),
            {CodeOf(9999), QStringLiteral("螺丝新")});

    // The next page goes on after the last row shown: no row is left out or shown twice.
    QList<QStringList> second;
    source.Read(100, 100, second);
    const QStringList after =
        PlainRead(db,
                  QStringLiteral(" AND %1 > (SELECT %1 FROM property WHERE code = ?)")
                      .arg(TestDatabase::RowKey()),
                  {QStringLiteral("螺丝%"), lastCode});
    QCOMPARE(Joined(second), after.mid(0, 100));
    QCOMPARE(second.first().first(), QStringLiteral("101"));

    // The rest up to the count of the search, the new row last; a new search counts again.
    QList<QStringList> rest;
    source.Read(200, count - 200, rest);
    QCOMPARE(Joined(rest), after.mid(100, count - 200));
    QCOMPARE(Joined(rest).last(), QStringLiteral("螺丝新|009999|1"));
    CPagedSqlSource again(ScrewQuery(), nullptr, QStringLiteral("读取"));
    QCOMPARE(again.RowCount(), count - 1);
    QCOMPARE(Joined(ReadAll(again, 100)), PlainRead(db));
}

void TestPagedSource::stockSearchShowsTheFirstAndTheLastPage() {
    TestDatabase db;
    FillProducts(db);
    MessageScript messages;
    CInventoryDlg dialog;
    SearchEveryProduct(dialog);
    CGridCtrl* grid = dialog.Grid();
    QCOMPARE(dialog.HitsBox()->text(), QString::number(kProducts - 1));
    QCOMPARE(grid->GetRowCount(), kProducts);
    QVERIFY(grid->GetVirtualMode());
    const QStringList plain = db.Rows(
        QStringLiteral("SELECT code FROM property ORDER BY %1").arg(TestDatabase::RowKey()));
    QCOMPARE(grid->GetCellText(1, kColCode), plain.first());
    QCOMPARE(grid->GetCellText(1, kColNumber), QStringLiteral("1"));

    ClickCell(grid, 2, 2);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    grid->viewport()->repaint();
    QCOMPARE(grid->GetFocusCell().row, kProducts - 1);
    QVERIFY(grid->IsCellVisible(kProducts - 1, kColCode));
    QCOMPARE(grid->GetCellText(kProducts - 1, kColCode), plain.last());
    QCOMPARE(grid->GetCellText(kProducts - 1, kColNumber), QString::number(kProducts - 1));
    QCOMPARE(grid->GetCellText(kProducts - 1, kColTotal), QStringLiteral("650"));

    // A keyword search and the low-stock list after it take the place of the pages.
    TypeText(dialog.KeywordBox(), QStringLiteral("螺丝"));
    QTest::mouseClick(dialog.SearchButton(), Qt::LeftButton);
    QCOMPARE(grid->GetRowCount(), kProducts / 3);
    QCOMPARE(grid->GetCellText(1, kColName), QStringLiteral("螺丝3"));
    db.Exec(QStringLiteral("INSERT INTO minstock (code, minimum) VALUES (?, '8')"), {CodeOf(3)});
    QTest::mouseClick(dialog.BelowMinimumButton(), Qt::LeftButton);
    QVERIFY(!grid->GetVirtualMode());
    QCOMPARE(grid->GetRowCount(), 2);
    QCOMPARE(grid->GetCellText(1, kColCode), CodeOf(3));
    QCOMPARE(messages.Count(), 0);
}

void TestPagedSource::pageThatCannotBeReadIsToldOnce() {
    TestDatabase db;
    FillProducts(db);
    MessageScript messages;
    CInventoryDlg dialog;
    SearchEveryProduct(dialog);
    CGridCtrl* grid = dialog.Grid();
    grid->viewport()->repaint();
    QCOMPARE(grid->GetCellText(3, kColCode), CodeOf(3));

    db.Exec(QStringLiteral("ALTER TABLE property RENAME TO property_away"));
    ClickCell(grid, 2, 2);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    grid->viewport()->repaint();
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(grid, Qt::Key_PageUp);
        grid->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    QCOMPARE(messages.Count(), 1);
    QVERIFY(messages.Last().startsWith(QStringLiteral("库存搜索失败。")));
    QCOMPARE(grid->GetCellText(kProducts - 1, kColCode), QString());

    // The rows read before stay; the window answers; the next search reads again.
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(grid->GetCellText(3, kColCode), CodeOf(3));
    QCoreApplication::processEvents();
    QCOMPARE(messages.Count(), 1);
    db.Exec(QStringLiteral("ALTER TABLE property_away RENAME TO property"));
    QTest::mouseClick(dialog.SearchButton(), Qt::LeftButton);
    QCOMPARE(grid->GetCellText(kProducts - 1, kColCode), CodeOf(kProducts));
    QCoreApplication::processEvents();
    QCOMPARE(messages.Count(), 1);
}

void TestPagedSource::exportReadsTheListFromTheSource() {
    TestDatabase db;
    FillProducts(db);
    MessageScript messages;
    CInventoryDlg dialog;
    SearchEveryProduct(dialog);
    const CGridCtrl& grid = *dialog.Grid();
    const ExportKinds kinds = {{QStringLiteral("单价"), ExportKind::Number}};
    const ExportTable table = StreamGridTable(grid, QStringLiteral("库存盘点"), kinds);
    QVERIFY(table.IsStreamed());
    QVERIFY(table.rows.isEmpty());
    QCOMPARE(table.RowCount(), kProducts - 1);
    QCOMPARE(table.columns.size(), kProductColumnCount - 1);

    QTemporaryDir dir;
    for (const ExportFormat format : {ExportFormat::Xlsx, ExportFormat::Csv}) {
        const QString path = dir.filePath(format == ExportFormat::Csv ? "list.csv" : "list.xlsx");
        QCOMPARE(ExportToFile(table, path, format).status, ExportResult::Written);
        const SheetReadBack sheet = ReadSheetBack(path);
        QVERIFY2(sheet.ok, qPrintable(sheet.error));
        const QString difference = format == ExportFormat::Csv
                                       ? CompareCsvWithGrid(sheet, grid, 1)
                                       : CompareSheetWithGrid(sheet, grid, 1, {{"单价", 'n'}});
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // Printed from the source a block at a time: the same pages as the list held whole.
    Report printed{QStringLiteral("库存盘点清单"), {}, {}, table, {}};
    const QString streamedPdf = dir.filePath("streamed.pdf");
    QVERIFY(SaveReportPdf(printed, streamedPdf));
    printed.table = ReadGridTable(grid, QStringLiteral("库存盘点"), kinds);
    QCOMPARE(printed.table.rows.size(), kProducts - 1);
    const QString heldPdf = dir.filePath("held.pdf");
    QVERIFY(SaveReportPdf(printed, heldPdf));
    QVERIFY(ReadPdf(streamedPdf).pages > 5);
    QCOMPARE(ReadPdf(streamedPdf).pages, ReadPdf(heldPdf).pages);
    const QString text = PdfText(streamedPdf);
    QVERIFY(text.contains(CodeOf(1)) && text.contains(CodeOf(kProducts)));
    QVERIFY(!text.contains(CodeOf(150))); // deleted before the search
    QCOMPARE(text, PdfText(heldPdf));

    // A page that cannot be read fails the export, quietly: the export's own message says why.
    db.Exec(QStringLiteral("ALTER TABLE property RENAME TO property_away"));
    const QString path = dir.filePath("failed.csv");
    const ExportResult failed = ExportToFile(table, path, ExportFormat::Csv);
    QCOMPARE(failed.status, ExportResult::Failed);
    QVERIFY(failed.error.contains(QStringLiteral("property")));
    QVERIFY(!QFile::exists(path));
    // A printout that cannot read its rows says so on its page instead of ending as if whole.
    printed.table = table;
    QVERIFY(SaveReportPdf(printed, dir.filePath("failed.pdf")));
    QVERIFY(PdfText(dir.filePath("failed.pdf")).contains(QStringLiteral("未能读出")));
    QCoreApplication::processEvents();
    QCOMPARE(messages.Count(), 0);
    db.Exec(QStringLiteral("ALTER TABLE property_away RENAME TO property"));
}

// A streamed table of several blocks is written as the same table held whole would be; a
// cancel stops it between blocks.
void TestPagedSource::streamedTableIsWrittenBlockAfterBlock() {
    ExportTable held;
    held.title = QStringLiteral("流");
    held.columns = {ExportColumn{QStringLiteral("编号"), ExportKind::Number, 0},
                    ExportColumn{QStringLiteral("名称"), ExportKind::Text, 0}};
    const int count = ExportRowCursor::kBlockRows * 2 + 345;
    for (int i = 0; i < count; ++i)
        held.rows.append({QString::number(i), QStringLiteral("名称%1").arg(i)});
    ExportTable streamed = held;
    streamed.rows.clear();
    QList<int> reads;
    streamed.stream.count = count;
    streamed.stream.read = [&](int first, int n, QList<QStringList>& rows, QString&) {
        reads.append(first);
        rows.append(held.rows.mid(first, n));
        return true;
    };
    QTemporaryDir dir;
    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Xlsx}) {
        reads.clear();
        const QString suffix = format == ExportFormat::Csv ? ".csv" : ".xlsx";
        QCOMPARE(ExportToFile(streamed, dir.filePath("s" + suffix), format).status,
                 ExportResult::Written);
        QCOMPARE(reads, (QList<int>{0, 1000, 2000}));
        QCOMPARE(ExportToFile(held, dir.filePath("h" + suffix), format).status,
                 ExportResult::Written);
        const SheetReadBack a = ReadSheetBack(dir.filePath("s" + suffix));
        const SheetReadBack b = ReadSheetBack(dir.filePath("h" + suffix));
        QVERIFY(a.ok && b.ok);
        QCOMPARE(a.records, b.records);
        QCOMPARE(a.cells.size(), b.cells.size());
        QCOMPARE(a.cells.size() + a.records.size(), count + 1);
        if (!a.cells.isEmpty())
            QCOMPARE(a.cells.last().at(1).value, QStringLiteral("名称%1").arg(count - 1));
    }
    reads.clear();
    const ExportResult cancelled =
        ExportToFile(streamed, dir.filePath("c.csv"), ExportFormat::Csv,
                     [](int done, int) { return done < ExportRowCursor::kBlockRows; });
    QCOMPARE(cancelled.status, ExportResult::Cancelled);
    QCOMPARE(reads, (QList<int>{0, 1000}));
    QVERIFY(!QFile::exists(dir.filePath("c.csv")));
}

// Sales documents over six days, one row per line with the header repeated: some without a
// customer or employee (older files), states the list shows as 欠款, amounts with cents.
void FillSales(TestDatabase& db) {
    const QStringList customers = {"张三五金", "李四", QString(), "张记"};
    const QStringList states = {"结清", "未结", "欠款", "已付", QString()};
    Db()->BeginTransaction();
    for (int doc = 0; doc < 260; ++doc) {
        const QString oddnum = QStringLiteral("202612%1%2")
                                   .arg(1 + (doc * 7) % 6, 2, 10, QLatin1Char('0'))
                                   .arg(1 + doc, 3, 10, QLatin1Char('0'));
        const QString customer = customers.at(doc % customers.size());
        const QString state = states.at((doc / 3) % states.size());
        const QString due = QStringLiteral("%1.%2").arg(doc * 3).arg(doc % 100, 2, 10, QChar('0'));
        const QString paid = state == "结清" ? due : state == "欠款" ? "0.05" : "0";
        for (int line = 0; line <= doc % 4; ++line)
            db.Exec(QStringLiteral("INSERT INTO saleout (oddnum, customer, mydate, receivable, "
                                   "receipt, freceivable, freceipt, state, employeename, mc, code) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {oddnum, customer.isEmpty() ? QVariant() : customer,
                     oddnum.left(8) + " 10:00:00", due, paid, due.toDouble(), paid.toDouble(),
                     state.isEmpty() ? QVariant() : state,
                     doc % 5 == 0 ? QVariant() : QVariant(QStringLiteral("王五")),
                     QStringLiteral("商品%1").arg(line), CodeOf(line)});
    }
    Db()->Commit();
}

// The sales list read a page at a time against the list statement read at once: the same
// documents in number order with the states as the list shows them, the same totals, and
// where a scanned document stands.
void TestPagedSource::documentListIsOneRowPerDocumentInNumberOrder() {
    TestDatabase db;
    FillSales(db);
    const QList<SaleQueryFilter> filters = {
        {QDate(2026, 12, 1), QDate(2026, 12, 6), {}, {}, {}},
        {QDate(2026, 12, 2), QDate(2026, 12, 4), QStringLiteral("张"), {}, {}},
        {QDate(2026, 12, 1),
         QDate(2026, 12, 6),
         {},
         QStringLiteral("结清"),
         QStringLiteral("王五")},
        {QDate(2026, 12, 7), QDate(2026, 12, 9), {}, {}, {}}};
    for (const SaleQueryFilter& filter : filters) {
        QVector<SaleQueryRow> plain = QuerySaleDocuments(QStringLiteral("saleout"), filter);
        std::sort(plain.begin(), plain.end(),
                  [](const SaleQueryRow& a, const SaleQueryRow& b) { return a.oddnum < b.oddnum; });
        QStringList expected;
        for (const SaleQueryRow& row : plain)
            expected << QStringList{row.oddnum,      row.customer, row.mydate,
                                    row.receivable,  row.receipt,  StateCellText(row.state),
                                    row.employeeName}
                            .join(QLatin1Char('|'));
        CPagedSqlSource source(SaleListQuery(QStringLiteral("saleout"), filter), nullptr,
                               QStringLiteral("查询单据"));
        QCOMPARE(source.RowCount(), plain.size());
        QCOMPARE(Joined(ReadAll(source, 23)), expected);

        const QStringList sums = source.ReadSums();
        const SaleQueryTotals paged = SaleTotalsFromCents(sums.value(4), sums.value(5));
        const SaleQueryTotals summed = SumSaleQueryRows(plain);
        QCOMPARE(paged.due, summed.due);
        QCOMPARE(paged.received, summed.received);
        QCOMPARE(paged.outstanding, summed.outstanding);

        for (int i = 0; i < plain.size(); i += 17)
            QCOMPARE(source.RowOfKey(plain.at(i).oddnum), i);
        QCOMPARE(source.RowOfKey(QStringLiteral("20261231999")), -1);
    }
    // A document outside the filter stands nowhere in the list.
    CPagedSqlSource paid(
        SaleListQuery(QStringLiteral("saleout"),
                      {QDate(2026, 12, 1), QDate(2026, 12, 6), {}, QStringLiteral("结清"), {}}),
        nullptr, QStringLiteral("查询单据"));
    QVERIFY(paid.RowCount() > 0);
    const QString open = db.Value("SELECT MIN(oddnum) FROM saleout WHERE state = '未结'");
    QCOMPARE(paid.RowOfKey(open), -1);
}

QTEST_MAIN(TestPagedSource)
#include "db/Db.h"
#include "tst_pagedsource.moc"
