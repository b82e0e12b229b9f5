// The cost of goods as the shop's staff meet it: stock-ins, sales and returns saved in the
// real windows move a product's moving-average cost; 帐目统计 shows the cost of the goods
// sold, the gross profit and the stock value; 经营报表 and `Harbor --report` list the same
// figures. The expected figures are the worked ones of the owner, the report figures are
// recomputed here with plain SQL over the stored rows.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"

#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/CStatementRun.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "documents/CostLedger.h"
#include "documents/CostMath.h"
#include "grid/CGridCtrl.h"
#include "queries/AccountSums.h"
#include "queries/CAccountDlg.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CReportDlg.h"
#include "queries/ProfitReports.h"
#include "queries/ReportCommand.h"
#include "support/DocumentShop.h"
#include "support/MessageScript.h"
#include "text/HarborClock.h"

namespace {

const QString kScrew = QStringLiteral("0101000001");
const QString kNut = QStringLiteral("0101000002");

QString Cents(double amount) {
    return QString::asprintf("%.2f", amount);
}

// 帐目统计 of this month as the window computes it.
AccountFigures ThisMonthFigures() {
    CAccountDlg dialog;
    const QDate today = HarborToday();
    if (!dialog.Compute(today.toString("yyyy"), today.toString("MM")))
        return {};
    return dialog.Figures();
}

bool SaveEntry(DocumentShop& shop, const QString& code, const QString& price,
               const QString& quantity, QString* oddnum = nullptr) {
    MessageScript messages;
    shop.NewEntry();
    shop.AddEntryLine(code, price, quantity);
    const bool saved = shop.entry->Save();
    if (oddnum)
        *oddnum = shop.entry->OddnumBox()->text();
    return saved;
}

bool SaveSale(DocumentShop& shop, CDocumentDlg* dlg, const QString& code, const QString& quantity) {
    MessageScript messages;
    shop.NewSale(dlg);
    shop.AddSaleLine(dlg, code, quantity);
    return dlg->Save();
}

// The rows of a report keyed by their first column.
QHash<QString, QStringList> RowsByKey(const ExportTable& table, int key = 0) {
    QHash<QString, QStringList> rows;
    for (const QStringList& row : table.rows)
        rows.insert(row.value(key), row);
    return rows;
}

ReportRequest ThisMonth(const QString& name) {
    ReportRequest request;
    request.name = name;
    const QDate today = HarborToday();
    request.from = QDate(today.year(), today.month(), 1);
    request.to = request.from.addMonths(1).addDays(-1);
    return request;
}

} // namespace

class TestCostLedger : public QObject {
    Q_OBJECT
  private slots:
    void movingAverageArithmetic();
    void workedCaseThroughTheWindows();
    void deleteKeepingTheStockKeepsItsCost();
    void soldBeforeAnyStockInIsUnknown();
    void upgradeFillsTheLedgerAsTheWindowsWould();
    void reportsEqualPlainSqlOverTheRows();
    void customersWithoutANameShareOneRow();
    void reportCommandAgreesWithTheWindow();
    void reportCommandRefusesBadArguments();
    void windowsRenderReadably();
};

void TestCostLedger::movingAverageArithmetic() {
    CostState state;
    state = AfterMovement(state, true, 10, 50);
    state = AfterMovement(state, true, 10, 70);
    QCOMPARE(*state.average, 6.0);
    state = AfterMovement(state, false, -5, 50); // a sale leaves the average
    QCOMPARE(*state.average, 6.0);
    QCOMPARE(state.qty, 15.0);
    // Sold below zero: the next stock-in sets the average by itself.
    CostState short_ = AfterMovement(CostState(), false, -3, 30);
    QVERIFY(!short_.average);
    short_ = AfterMovement(short_, true, 2, 18);
    QCOMPARE(*short_.average, 9.0);
    // A stock-in that takes goods out moves the quantity only.
    const CostState back = AfterMovement(state, true, -5, -30);
    QCOMPARE(*back.average, 6.0);
    QCOMPARE(back.qty, 10.0);
    double value = 0;
    QVERIFY(PlainNumber("-12.50", &value) && value == -12.5);
    QVERIFY(PlainNumber(".5", &value) && value == 0.5);
    QVERIFY(PlainNumber("5.", &value) && value == 5);
    QVERIFY(PlainNumber("-.25", &value) && value == -0.25);
    // The same texts the schema upgrade leaves out: a line break after the digits as well.
    for (const char* bad :
         {"", "-", ".", "-.", "1.2.3", "1-2", "--1", "abc", " 5", "5 ", "1e3", "12\n", "１２"})
        QVERIFY2(!PlainNumber(QString::fromUtf8(bad), &value), bad);
}

// Stock-ins 10 at 5.00 and 10 at 7.00, a sale of 5 at 10.00, a return of 2, a stock-in of 10
// at 9.00, then the delete of the second stock-in.
void TestCostLedger::workedCaseThroughTheWindows() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kScrew, "五金-螺丝", "10.00", "0");
    QVERIFY(SaveEntry(shop, kScrew, "5.00", "10"));
    QString second;
    QVERIFY(SaveEntry(shop, kScrew, "7.00", "10", &second));
    QVERIFY(SaveSale(shop, shop.saleOut, kScrew, "5"));
    QCOMPARE(shop.db.Value("SELECT total FROM saleout"), QStringLiteral("50.00"));
    AccountFigures figures = ThisMonthFigures();
    QCOMPARE(Cents(figures.salesCost), QStringLiteral("30.00"));
    QCOMPARE(Cents(figures.grossProfit), QStringLiteral("20.00"));
    QCOMPARE(MarginText(figures), QStringLiteral("40.00%"));

    QVERIFY(SaveSale(shop, shop.saleIn, kScrew, "2"));
    figures = ThisMonthFigures();
    QCOMPARE(Cents(figures.salesCost), QStringLiteral("18.00"));
    QCOMPARE(Cents(figures.grossProfit), QStringLiteral("12.00"));

    QVERIFY(SaveEntry(shop, kScrew, "9.00", "10"));
    figures = ThisMonthFigures();
    QCOMPARE(Cents(figures.salesCost), QStringLiteral("18.00"));
    QCOMPARE(Cents(figures.grossProfit), QStringLiteral("12.00"));
    QCOMPARE(shop.Stock(kScrew), QStringLiteral("27.00"));
    QCOMPARE(Cents(figures.stockValue), QStringLiteral("192.00"));
    QCOMPARE(figures.unknownCostLines, 0);

    // The sale recorded the average of its moment.
    QCOMPARE(shop.db.Value("SELECT " + TestDatabase::FixedSql("unitcost", 2) +
                           " FROM cost_move WHERE doctable='saleout'"),
             QStringLiteral("6.00"));

    // The second stock-in goes, its stock with it: the average after it is walked again
    // (10 at 5.00, less 5, plus 2, plus 10 at 9.00: 125.00 for 17), the old sale keeps its
    // cost.
    DocumentShop::QueryAll(shop.entryQuery);
    CGridCtrl* list = shop.entryQuery->ListGrid();
    const int row = DocumentShop::ListRow(list, second);
    QVERIFY(row > 0);
    {
        MessageScript messages({IDYES});
        ClickCell(list, row, 2);
        QTest::mouseClick(shop.entryQuery->DeleteButton(), Qt::LeftButton);
    }
    QCOMPARE(shop.db.Value("SELECT count(*) FROM entry WHERE oddnum=?", {second}),
             QStringLiteral("0"));
    QCOMPARE(shop.Stock(kScrew), QStringLiteral("17.00"));
    figures = ThisMonthFigures();
    QCOMPARE(Cents(figures.salesCost), QStringLiteral("18.00"));
    QCOMPARE(Cents(figures.stockValue), QStringLiteral("125.00"));
    QCOMPARE(shop.db.Value("SELECT " + TestDatabase::FixedSql("avgcost", 4) +
                               " FROM cost_product WHERE code=?",
                           {kScrew}),
             QStringLiteral("7.3529"));
    // The window shows the figures beside the chart, the export holds them too.
    CAccountDlg dialog;
    const QDate today = HarborToday();
    QVERIFY(dialog.Compute(today.toString("yyyy"), today.toString("MM")));
    QVERIFY(dialog.CostText()->text().contains(QStringLiteral("库存金额: 125.00")));
    const ExportTable table = dialog.FiguresTable();
    QCOMPARE(table.columns.size(), 12);
    QCOMPARE(table.columns[7].header, QStringLiteral("销售成本"));
    QCOMPARE(table.rows.value(0).value(7), QStringLiteral("18.00"));
    QCOMPARE(table.rows.value(0).value(9), QStringLiteral("125.00"));
}

// An old stock-in removed from the records while its goods stay: they keep the cost they came
// at, and a document saved later under the freed number moves the costs on its own.
void TestCostLedger::deleteKeepingTheStockKeepsItsCost() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kScrew, "五金-螺丝", "10.00", "0");
    QVERIFY(SaveEntry(shop, kScrew, "5.00", "10"));
    QString second;
    QVERIFY(SaveEntry(shop, kScrew, "7.00", "10", &second));
    DocumentShop::QueryAll(shop.entryQuery);
    CGridCtrl* list = shop.entryQuery->ListGrid();
    {
        MessageScript messages({IDNO});
        ClickCell(list, DocumentShop::ListRow(list, second), 2);
        QTest::mouseClick(shop.entryQuery->DeleteButton(), Qt::LeftButton);
    }
    QCOMPARE(shop.db.Value("SELECT count(*) FROM entry WHERE oddnum=?", {second}), "0");
    QCOMPARE(shop.Stock(kScrew), QStringLiteral("20.00"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM cost_move WHERE oddnum=?", {second}), "0");
    QCOMPARE(Cents(ThisMonthFigures().stockValue), QStringLiteral("120.00"));
    QString again;
    QVERIFY(SaveEntry(shop, kScrew, "9.00", "10", &again));
    QCOMPARE(again, second); // the highest number is free again
    QCOMPARE(Cents(ThisMonthFigures().stockValue), QStringLiteral("210.00"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM cost_move"), "3");
}

void TestCostLedger::soldBeforeAnyStockInIsUnknown() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kNut, "五金-螺母", "10.00", "8");
    QVERIFY(SaveSale(shop, shop.saleOut, kNut, "3"));
    QCOMPARE(shop.db.Rows("SELECT doctable||'|'||code||'|'||coalesce(unitcost,-1) FROM cost_move"),
             QStringList{"saleout|" + kNut + "|-1"});
    const AccountFigures figures = ThisMonthFigures();
    QCOMPARE(figures.unknownCostLines, 1);
    QCOMPARE(figures.salesCost, 0.0);
    QCOMPARE(figures.unknownStockProducts, 1);
    const ExportTable report = BuildReport(ThisMonth("profit-by-product"));
    const QStringList row = RowsByKey(report).value(kNut);
    QCOMPARE(row.mid(4), (QStringList{"未知", "未知", "未知"}));
    // A later stock-in gives the stock a cost; the old sale stays unknown.
    QVERIFY(SaveEntry(shop, kNut, "4.00", "10"));
    QCOMPARE(RowsByKey(BuildReport(ThisMonth("profit-by-product"))).value(kNut).value(4),
             QStringLiteral("未知"));
    QCOMPARE(Cents(ThisMonthFigures().stockValue), QStringLiteral("60.00")); // 15 at 4.00
}

// Documents written straight into the tables, on several days: the upgrade's statements
// (RebuildCostLedger) and the program's own walk, document by document in the same order,
// give the same costs.
void TestCostLedger::upgradeFillsTheLedgerAsTheWindowsWould() {
    TestDatabase db;
    struct Doc {
        const char* table;
        const char* oddnum;
        const char* code;
        const char* count;
        const char* total;
    };
    const Doc docs[] = {
        {"saleout", "20260101001", "0101000001", "2", "30"},   // before any stock-in
        {"entry", "20260102001", "0101000001", "10", "50.00"}, // 5.00
        {"entry", "20260102001", "0101000002", "4", "10.00"},
        {"saleout", "20260103001", "0101000001", "5", "60"},
        {"salein", "20260104001", "0101000001", "1", "12"},
        {"entry", "20260105001", "0101000001", "6", "42.60"},
        {"saleout", "20260106001", "0101000002", "1.5", "9.9"},
        {"saleout", "20260106001", "0101000002", "0.5", "3.3"}, // a second line, same product
        {"entry", "20260107001", "0101000002", "bad", "1"},     // no number: left out
        {"saleout", "20260108001", "0101000001", "3", "40"},
    };
    for (const Doc& doc : docs) {
        const bool entry = QString(doc.table) == "entry";
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, %2, code, \"count\", total) VALUES "
                               "(?, ?, ?, ?, ?)")
                    .arg(doc.table, entry ? "supplier" : "customer"),
                {doc.oddnum, "甲", doc.code, doc.count, doc.total});
    }
    auto optional = [](const QString& column, int decimals) {
        return QStringLiteral("CASE WHEN %1 IS NULL THEN '-' ELSE %2 END")
            .arg(column, TestDatabase::FixedSql(column, decimals));
    };
    const QString columns = "code||'|'||doctable||'|'||oddnum||'|'||" +
                            TestDatabase::FixedSql("qty", 2) + "||'|'||" + optional("unitcost", 6) +
                            "||'|'||" + optional("cost", 2) + "||'|'||" + optional("avgafter", 6);
    const QString moves = "SELECT " + columns + " FROM cost_move ORDER BY code, oddnum";
    RebuildCostLedger(*Db());
    const QStringList upgraded = db.Rows(moves);
    const QString productSql =
        "SELECT code||'|'||" + optional("avgcost", 6) + " FROM cost_product ORDER BY code";
    const QStringList products = db.Rows(productSql);
    QCOMPARE(upgraded.size(), 8);
    QVERIFY(upgraded.contains("0101000001|saleout|20260101001|-2.00|-|-|-"));
    // Sold 2 below zero, then 10 at 5.00 (the stock below zero counts as none), less 5, plus
    // 1, plus 6 at 42.60: (4 x 5.00 + 42.60) / 10.
    QVERIFY(upgraded.contains("0101000001|entry|20260105001|6.00|-|-|6.260000"));
    QVERIFY(upgraded.contains("0101000001|saleout|20260108001|-3.00|6.260000|18.78|6.260000"));
    QVERIFY(upgraded.contains("0101000002|saleout|20260106001|-2.00|2.500000|5.00|2.500000"));

    db.Exec("DELETE FROM cost_move");
    db.Exec("DELETE FROM cost_product");
    QString last;
    for (const Doc& doc : docs) {
        if (last == QString(doc.table) + doc.oddnum)
            continue;
        last = QString(doc.table) + doc.oddnum;
        const DocumentTable& table = QString(doc.table) == "entry"     ? DocumentTable::Entry()
                                     : QString(doc.table) == "saleout" ? DocumentTable::SaleOut()
                                                                       : DocumentTable::SaleIn();
        RecordDocumentCosts(table, doc.oddnum);
    }
    QCOMPARE(db.Rows(moves), upgraded);
    QCOMPARE(db.Rows(productSql), products);
}

void TestCostLedger::reportsEqualPlainSqlOverTheRows() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kScrew, "五金-螺丝", "10.00", "0");
    shop.AddProduct(kNut, "五金-螺母", "2.50", "0");
    shop.AddProduct("0200000001", "电料-开关", "5.15", "3");
    // A product that only comes back in the period, and one that nobody touches.
    shop.AddProduct("0101000003", "五金-垫圈", "1.00", "0");
    shop.AddProduct("0101000004", "五金-垫片", "1.00", "0");
    shop.db.Exec("INSERT INTO name1 (bh, mc) VALUES ('01', '五金'), ('02', '电料')");
    QVERIFY(SaveEntry(shop, kScrew, "5.00", "10"));
    QVERIFY(SaveEntry(shop, kNut, "1.10", "40"));
    QVERIFY(SaveSale(shop, shop.saleOut, kScrew, "4"));
    QVERIFY(SaveSale(shop, shop.saleOut, kNut, "12.5"));
    QVERIFY(SaveSale(shop, shop.saleOut, "0200000001", "1"));
    QVERIFY(SaveEntry(shop, kScrew, "8.00", "6"));
    QVERIFY(SaveSale(shop, shop.saleOut, kScrew, "3"));
    QVERIFY(SaveSale(shop, shop.saleIn, kNut, "2"));
    QVERIFY(SaveSale(shop, shop.saleIn, "0101000003", "1"));

    // Per product, from the document rows and each line's recorded cost per unit.
    const QString sales =
        "SELECT d.code, sum(d.sign * CAST(d.\"count\" AS REAL)), sum(d.sign * CAST(d.total AS "
        "REAL)), sum(d.sign * round(CAST(CAST(d.\"count\" AS REAL) * m.unitcost AS NUMERIC), 2)) "
        "FROM (SELECT 'saleout' AS t, 1 AS sign, oddnum, code, \"count\", total FROM saleout "
        "UNION ALL SELECT 'salein', -1, oddnum, code, \"count\", total FROM salein) d LEFT JOIN "
        "cost_move m ON m.doctable = d.t AND m.oddnum = d.oddnum AND m.code = d.code GROUP BY "
        "d.code";
    const QHash<QString, QStringList> report =
        RowsByKey(BuildReport(ThisMonth("profit-by-product")));
    CSqlReader reader(sales);
    int products = 0;
    while (reader.Next()) {
        ++products;
        const QStringList row = report.value(reader.Text(0));
        QCOMPARE(row.value(2), Cents(reader.Value(1).toDouble()));
        QCOMPARE(row.value(3), Cents(reader.Value(2).toDouble()));
        if (reader.Value(3).isNull()) {
            QCOMPARE(row.value(4), QStringLiteral("未知"));
            continue;
        }
        QCOMPARE(row.value(4), Cents(reader.Value(3).toDouble()));
        QCOMPARE(row.value(5), Cents(reader.Value(2).toDouble() - reader.Value(3).toDouble()));
    }
    QCOMPARE(products, 4);
    QCOMPARE(report.size(), 4);
    // In the order of the codes, each with its own name; the returned one counts negative.
    const ExportTable byProduct = BuildReport(ThisMonth("profit-by-product"));
    QStringList codes;
    for (const QStringList& row : byProduct.rows)
        codes << row.value(0);
    QCOMPARE(codes, QStringList({kScrew, kNut, "0101000003", "0200000001"}));
    QCOMPARE(report.value("0101000003").value(1), QStringLiteral("五金-垫圈"));
    QCOMPARE(report.value("0101000003").value(2), QStringLiteral("-1.00"));
    QCOMPARE(report.value(kNut).value(1), QStringLiteral("五金-螺母"));
    // The screw: 4 sold at 5.00, then 3 at (6 x 5.00 + 6 x 8.00) / 12 = 6.50: 20.00 + 19.50.
    QCOMPARE(report.value(kScrew).value(4), QStringLiteral("39.50"));

    // By class: the same lines summed by the first two digits of the code.
    const QHash<QString, QStringList> byClass =
        RowsByKey(BuildReport(ThisMonth("profit-by-class")));
    QCOMPARE(byClass.value("01").value(1), QStringLiteral("五金"));
    QCOMPARE(byClass.value("01").value(3),
             Cents(shop.db
                       .Value("SELECT sum(CAST(total AS REAL)) FROM saleout WHERE code LIKE "
                              "'01%'")
                       .toDouble() -
                   shop.db.Value("SELECT sum(CAST(total AS REAL)) FROM salein").toDouble()));
    QCOMPARE(byClass.value("02").value(4), QStringLiteral("未知"));
    // By customer: every document was 张三五金's.
    const ExportTable customers = BuildReport(ThisMonth("profit-by-customer"));
    QCOMPARE(customers.rows.size(), 1);
    QCOMPARE(customers.rows[0].value(0), QStringLiteral("张三五金"));
    QCOMPARE(customers.rows[0].value(2),
             Cents(shop.db
                       .Value("SELECT sum(f) FROM (SELECT DISTINCT oddnum, freceivable AS f "
                              "FROM saleout) s")
                       .toDouble() -
                   shop.db
                       .Value("SELECT sum(f) FROM (SELECT DISTINCT oddnum, freceivable AS f "
                              "FROM salein) s")
                       .toDouble()));
    // Best sellers by quantity: the nut (12.5 - 2), then the screw (7).
    const ExportTable best = BuildReport(ThisMonth("best-sellers"));
    QCOMPARE(best.rows.value(0).value(1), kNut);
    QCOMPARE(best.rows.value(1).value(1), kScrew);
    // Stock value by class, against stock x average cost.
    const QHash<QString, QStringList> stock = RowsByKey(BuildReport(ThisMonth("stock-value")));
    QCOMPARE(stock.value("01").value(3),
             Cents(shop.db
                       .Value("SELECT sum(CAST(p.total AS REAL) * c.avgcost) FROM property p "
                              "JOIN cost_product c ON c.code = p.code WHERE p.code LIKE '01%'")
                       .toDouble()));
    QCOMPARE(stock.value("02").value(4), QStringLiteral("1"));
    // Slow movers: the switch has stock and no sale in the last 90 days of a period a year on.
    ReportRequest slow = ThisMonth("slow-movers");
    slow.to = slow.to.addYears(1);
    const ExportTable slowTable = BuildReport(slow);
    QCOMPARE(slowTable.rows.size(), 4);
    // This month only the washer, never sold, is slow.
    const ExportTable slowNow = BuildReport(ThisMonth("slow-movers"));
    QCOMPARE(slowNow.rows.size(), 1);
    QCOMPARE(slowNow.rows[0].value(0), QStringLiteral("0101000003"));

    // Each report runs the statements it lists, each once, and no other text: once the listed
    // ones are prepared, building the report prepares nothing new.
    CConnection& connection = *Db();
    for (const QString& name : ReportNames()) {
        if (name == "summary")
            continue;
        const QList<SqlStatement> statements = ReportStatements(ThisMonth(name));
        QVERIFY2(!statements.isEmpty(), qPrintable(name));
        for (const SqlStatement& statement : statements) {
            CSqlReader reader(statement);
            while (reader.Next()) {
            }
        }
        const int prepared = connection.CachedStatementCount();
        const qint64 before = CStatementRun::RunCount();
        BuildReport(ThisMonth(name));
        QCOMPARE(CStatementRun::RunCount() - before, qint64(statements.size()));
        QCOMPARE(connection.CachedStatementCount(), prepared);
    }

    // The window lists the same report, and exports what it shows.
    CReportDlg window;
    window.show();
    window.ReportBox()->setCurrentIndex(0);
    window.FromBox()->setDate(ThisMonth("").from);
    window.ToBox()->setDate(ThisMonth("").to);
    QTest::mouseClick(window.QueryButton(), Qt::LeftButton);
    QCOMPARE(window.Grid()->GetRowCount(), 5);
    QCOMPARE(window.ShownTable().rows, BuildReport(ThisMonth("profit-by-product")).rows);
    const QStringList first = window.ShownTable().rows[0];
    for (int col = 0; col < first.size(); ++col)
        QCOMPARE(window.Grid()->GetCellText(1, col + 1), first[col]);
}

// A document whose customer is NULL (written by an older program) and one with an empty
// customer are the same to the owner: one row without a name, their figures added up.
void TestCostLedger::customersWithoutANameShareOneRow() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kScrew, "五金-螺丝", "10.00", "0");
    QVERIFY(SaveEntry(shop, kScrew, "5.00", "10"));
    QVERIFY(SaveSale(shop, shop.saleOut, kScrew, "1"));
    const QString first = shop.db.Value("SELECT max(oddnum) FROM saleout");
    QVERIFY(SaveSale(shop, shop.saleOut, kScrew, "2"));
    QVERIFY(SaveSale(shop, shop.saleOut, kScrew, "3"));
    const QString second = shop.db.Value("SELECT max(oddnum) FROM saleout");
    shop.db.Exec("UPDATE saleout SET customer = NULL WHERE oddnum = ?", {first});
    shop.db.Exec("UPDATE saleout SET customer = '' WHERE oddnum = ?", {second});
    const ExportTable customers = BuildReport(ThisMonth("profit-by-customer"));
    QCOMPARE(customers.rows.size(), 2);
    const QStringList nameless = customers.rows[0];
    QCOMPARE(nameless.value(0), QString());
    QCOMPARE(nameless.value(1), QStringLiteral("4.00"));
    QCOMPARE(nameless.value(3), QStringLiteral("20.00"));
    QCOMPARE(customers.rows[1].value(0), QStringLiteral("张三五金"));
    QCOMPARE(customers.rows[1].value(1), QStringLiteral("2.00"));
}

void TestCostLedger::reportCommandAgreesWithTheWindow() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kScrew, "五金-螺丝", "10.00", "0");
    QVERIFY(SaveEntry(shop, kScrew, "5.00", "10"));
    QVERIFY(SaveEntry(shop, kScrew, "7.00", "10"));
    QVERIFY(SaveSale(shop, shop.saleOut, kScrew, "5"));
    QVERIFY(SaveSale(shop, shop.saleIn, kScrew, "2"));
    QVERIFY(SaveEntry(shop, kScrew, "9.00", "10"));
    const AccountFigures figures = ThisMonthFigures();
    QStringList expected;
    for (const auto& figure : SummaryFigures(figures))
        expected << figure.first + "," + Cents(figure.second);
    QCOMPARE(expected.mid(6),
             (QStringList{"销售成本,18.00", "毛利,12.00", "库存金额,192.00", "盘点差异,0.00"}));
    const QString inProcess = ReportCsvText("summary", BuildReport(ThisMonth("summary")));
    QCOMPARE(inProcess, expected.join('\n') + '\n');
    if (TestDatabase::OnServer())
        return; // the program itself reaches the server through its Lanset.ini only
    QProcess harbor;
    harbor.start(HARBOR_EXECUTABLE, {"--report", "summary", "--db", shop.db.Path()});
    QVERIFY(harbor.waitForFinished(60000));
    QCOMPARE(harbor.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(harbor.readAllStandardOutput()), expected.join('\n') + '\n');
    // The same into a file of the spreadsheet's CSV.
    const QString out = shop.db.Folder() + "/summary.csv";
    harbor.start(HARBOR_EXECUTABLE,
                 {"--report", "profit-by-product", "--db", shop.db.Path(), "--out", out});
    QVERIFY(harbor.waitForFinished(60000));
    QCOMPARE(harbor.exitCode(), 0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(file.readAll()).contains(kScrew + ",五金-螺丝,3.00,30.00,18.00"));
}

void TestCostLedger::reportCommandRefusesBadArguments() {
    const QDate today(2026, 2, 14);
    ReportOptions options;
    QString error;
    QVERIFY(ParseReportOptions({"summary"}, today, &options, &error));
    QCOMPARE(options.request.from, QDate(2026, 2, 1));
    QCOMPARE(options.request.to, QDate(2026, 2, 28));
    QVERIFY(ParseReportOptions({"best-sellers", "--by", "profit", "--from", "2025-01-01", "--to",
                                "2025-12-31", "--out", "x.XLSX"},
                               today, &options, &error));
    QVERIFY(options.request.byProfit);
    QCOMPARE(options.out, QStringLiteral("x.XLSX"));
    const QList<QStringList> bad = {{},
                                    {"nothing"},
                                    {"summary", "--from"},
                                    {"summary", "--from", "2026-02-30"},
                                    {"summary", "--from", "2026-03-01", "--to", "2026-02-01"},
                                    {"summary", "--out", "x.txt"},
                                    {"slow-movers", "--days", "0"},
                                    {"summary", "--by", "colour"},
                                    {"summary", "--verbose", "1"}};
    for (const QStringList& args : bad) {
        QVERIFY2(!ParseReportOptions(args, today, &options, &error), qPrintable(args.join(' ')));
        QVERIFY(!error.isEmpty());
    }
    if (TestDatabase::OnServer())
        return;
    // A missing file is named and never created.
    QTemporaryDir dir;
    const QString missing = dir.path() + "/none.db";
    QProcess harbor;
    harbor.start(HARBOR_EXECUTABLE, {"--report", "summary", "--db", missing});
    QVERIFY(harbor.waitForFinished(60000));
    QCOMPARE(harbor.exitCode(), 1);
    QVERIFY(QString::fromLocal8Bit(harbor.readAllStandardError()).contains("none.db"));
    QVERIFY(!QFile::exists(missing));
    harbor.start(HARBOR_EXECUTABLE, {"--report", "profits"});
    QVERIFY(harbor.waitForFinished(60000));
    QCOMPARE(harbor.exitCode(), 1);
}

// The two windows drawn as a person sees them (HARBOR_SHOT_DIR keeps the pictures).
void TestCostLedger::windowsRenderReadably() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kScrew, "五金-螺丝", "10.00", "0");
    QVERIFY(SaveEntry(shop, kScrew, "5.00", "1000"));
    QVERIFY(SaveSale(shop, shop.saleOut, kScrew, "120"));
    CAccountDlg account;
    account.resize(1260, 700);
    account.show();
    QVERIFY(QTest::qWaitForWindowExposed(&account));
    const AccountChart chart = account.Chart();
    const QVector<ChartBar> bars = chart.Bars();
    for (const ChartText& label : chart.ValueLabels()) {
        const QRect text(label.centreX - 75, label.top, 150, AccountChart::kValueFontHeight);
        for (const ChartBar& bar : bars)
            QVERIFY2(!text.intersects(bar.rect), qPrintable(label.text));
        QVERIFY(text.left() >= 230);
    }
    QVERIFY(account.CostText()->text().contains(QStringLiteral("库存金额: 4,400.00")));
    const QString shots = qEnvironmentVariable("HARBOR_SHOT_DIR");
    if (!shots.isEmpty())
        account.grab().save(shots + "/account.png");
    // The months of the year: this month's sales, cost and gross profit.
    account.MonthsBox()->click();
    const MonthFigures month = account.Months().value(HarborToday().month() - 1);
    QCOMPARE(month.sales, 1200.0);
    QCOMPARE(month.cost, 600.0);
    QCOMPARE(month.gross, 600.0);
    const QImage image = account.grab().toImage();
    const ChartBar sales = account.MonthsChart().Bars()[3 * (HarborToday().month() - 1)];
    QCOMPARE(QColor(image.pixel(sales.rect.center())), QColor(0, 80, 255));
    CReportDlg reports;
    reports.resize(1260, 700);
    reports.show();
    QTest::mouseClick(reports.QueryButton(), Qt::LeftButton);
    const QString dir = qEnvironmentVariable("HARBOR_SHOT_DIR");
    if (!dir.isEmpty()) {
        account.grab().save(dir + "/account-months.png");
        reports.grab().save(dir + "/reports.png");
    }
}

QTEST_MAIN(TestCostLedger)
#include "db/Db.h"
#include "tst_costledger.moc"
