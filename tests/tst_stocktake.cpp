#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "BarcodeScan.h"
#include "GridInput.h"
#include "PdfFacts.h"
#include "UserInput.h"
#include "text/HarborClock.h"
#include "stock/CInventoryDlg.h"
#include "stock/CStocktakeDlg.h"
#include "stock/StocktakeGrid.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleOutDlg.h"
#include "documents/CostLedger.h"
#include "export/ReportPrint.h"
#include "grid/CGridCtrl.h"
#include "queries/AccountSums.h"
#include "support/DocumentShop.h"
#include "support/MessageScript.h"

namespace {

const QStringList kCodes = {"0101000001", "0101000002", "0101000003", "0101000004", "0101000005"};
const QString kOtherClass = QStringLiteral("0201000001");

// Five products of the class 五金 and one of 电料. The first four came in through stock-ins
// (ten each, at 2, 3, 4 and 5 yuan); the fifth has stock but no known cost.
bool FillShop(DocumentShop& shop) {
    shop.db.Exec("INSERT INTO name1 (bh, mc) VALUES ('01', '五金'), ('02', '电料')");
    const QStringList names = {"五金-螺丝", "五金-螺母", "五金-垫片", "五金-铁钉", "五金-铰链"};
    for (int i = 0; i < kCodes.size(); ++i)
        shop.AddProduct(kCodes[i], names[i], "10.00", i == 4 ? "6" : "0");
    shop.AddProduct(kOtherClass, "电料-开关", "8.00", "20");
    MessageScript messages;
    shop.NewEntry();
    for (int i = 0; i < 4; ++i)
        shop.AddEntryLine(kCodes[i], QString::number(i + 2) + ".00", "10");
    return shop.entry->Save();
}

QString Stock(DocumentShop& shop, const QString& code) {
    return shop.db.Value("SELECT total FROM property WHERE code=?", {code});
}

// The keys a user presses, each into whatever has the focus at that moment (the first digit
// typed on a grid cell opens its editor, the next ones go there).
void Keys(const QString& text) {
    for (const QChar c : text)
        QTest::keyClicks(QApplication::focusWidget(), QString(c));
}
void Key(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
}

// A scanner reads the code into 条形码 and sends Enter; then the figure and Enter.
void ScanAndCount(CStocktakeDlg& dlg, const QString& code, const QString& counted) {
    QVERIFY(dlg.ScanBox()->hasFocus());
    Keys(code);
    Key(Qt::Key_Return);
    QVERIFY(dlg.Grid()->GetEditWnd());
    Keys(counted);
    Key(Qt::Key_Return);
    // The scan box takes the focus back for the next code.
    QVERIFY(QTest::qWaitFor([&] { return dlg.ScanBox()->hasFocus(); }));
}

// Opens the count window and starts a count of a scope chosen with the arrow keys.
void StartByKeys(CStocktakeDlg& dlg, int downs) {
    dlg.ScopeBox()->setFocus();
    for (int i = 0; i < downs; ++i)
        Key(Qt::Key_Down);
    Key(Qt::Key_Return);
}

void PressButton(QPushButton* button) {
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
}

AccountFigures TodayFigures() {
    const QString today = HarborToday().toString("yyyyMMdd");
    return ReadAccountFigures(DayRange(today, today));
}

} // namespace

class TestStocktake : public QObject {
    Q_OBJECT

  private slots:
    void fiveProductsCountedByKeysArePostedAndReversed();
    void stockSoldMeanwhileIsShownAndPostedOnlyWhenConfirmed();
    void productDeletedMeanwhileIsRefusedByName();
};

void TestStocktake::fiveProductsCountedByKeysArePostedAndReversed() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    QVERIFY(FillShop(shop));
    CStocktakeDlg dlg;
    dlg.show();
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    MessageScript messages;

    StartByKeys(dlg, 1); // 全部商品, then 五金
    QCOMPARE(ColumnTexts(dlg.Grid(), kCountCode), kCodes);
    QCOMPARE(ColumnTexts(dlg.Grid(), kCountBook),
             (QStringList{"10.00", "10.00", "10.00", "10.00", "6"}));

    // The count sheet lists every product with an empty 实盘 to write in.
    const QString pdfPath = QDir(shop.db.Folder()).filePath("sheet.pdf");
    {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(pdfPath);
        QVERIFY(PrintReport(pdf, dlg.CountSheet()) >= 1);
    }
    const QString sheet = PdfText(pdfPath);
    for (const QString& code : kCodes)
        QVERIFY2(sheet.contains(code), qPrintable(sheet));
    QVERIFY(sheet.contains("五金-铰链") && sheet.contains("实盘") && sheet.contains("账面库存"));
    QVERIFY(!sheet.contains(kOtherClass));

    // Typed down the 实盘 column, the third one left for the scanner; a third decimal or a
    // figure below 0 is refused (the arrow goes on, Up comes back to it).
    QVERIFY(dlg.ScanBox()->hasFocus());
    Key(Qt::Key_Tab);
    QVERIFY(dlg.Grid()->hasFocus());
    Keys("12.345");
    Key(Qt::Key_Down);
    QVERIFY(messages.Last().contains("两位小数"));
    QCOMPARE(dlg.Grid()->GetCellText(1, kCountCounted), QString());
    Key(Qt::Key_Up);
    Keys("-1");
    Key(Qt::Key_Down);
    QVERIFY(messages.Last().contains("实盘不能小于0"));
    QCOMPARE(dlg.Grid()->GetCellText(1, kCountCounted), QString());
    Key(Qt::Key_Up);
    QVERIFY(dlg.Grid()->GetEditWnd());
    Keys("12");
    Key(Qt::Key_Down); // row 2, editing
    Keys("9.5");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Keys("10");
    Key(Qt::Key_Down);
    Keys("4");
    Key(Qt::Key_Return);
    Key(Qt::Key_F3);
    ScanAndCount(dlg, kCodes[2], "7");
    QVERIFY(dlg.ScanBox()->hasFocus());
    QCOMPARE(ColumnTexts(dlg.Grid(), kCountCounted),
             (QStringList{"12.00", "9.50", "7.00", "10.00", "4.00"}));
    QCOMPARE(ColumnTexts(dlg.Grid(), kCountDifference),
             (QStringList{"2.00", "-0.50", "-3.00", "0.00", "-2.00"}));
    QCOMPARE(ColumnTexts(dlg.Grid(), kCountValue),
             (QStringList{"4.00", "-1.50", "-12.00", "0.00", "成本未知"}));
    QCOMPARE(
        dlg.TotalsLabel()->text(),
        QStringLiteral("已盘 5 种商品, 差异 4 种, 差异金额 -9.50 元 (1 种商品成本未知, 未计入)"));

    if (const QString png = qEnvironmentVariable("HARBOR_STOCKTAKE_PNG"); !png.isEmpty()) {
        dlg.resize(1366, 768);
        DeliverPostedEvents(); // the layout at the new size
        dlg.grab().save(png);
    }

    messages.Clear();
    messages.Answer(IDYES);
    PressButton(dlg.PostButton());
    QCOMPARE(messages.Count(), 2);
    QVERIFY2(messages.Last().contains("已过账"), qPrintable(messages.Last()));
    QCOMPARE(Stock(shop, kCodes[0]), "12.00");
    QCOMPARE(Stock(shop, kCodes[1]), "9.50");
    QCOMPARE(Stock(shop, kCodes[2]), "7.00");
    QCOMPARE(Stock(shop, kCodes[3]), "10.00");
    QCOMPARE(Stock(shop, kCodes[4]), "4.00");
    QCOMPARE(Stock(shop, kOtherClass), "20");
    const QString first = shop.db.Value("SELECT oddnum FROM harbor_stocktake");
    // The log of changes holds the posting.
    QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_audit WHERE action='盘点过账'"), "1");
    QVERIFY(dlg.NumberLabel()->text().contains(first));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_stocktake_line WHERE oddnum=?", {first}),
             "5");
    // The ledger holds one movement per changed product; the average cost stays.
    QCOMPARE(shop.db.Rows("SELECT code, " + TestDatabase::FixedSql("qty", 2) +
                          ", CASE WHEN cost IS NULL THEN '-' ELSE " +
                          TestDatabase::FixedSql("cost", 2) +
                          " END FROM cost_move WHERE doctable='count' ORDER BY code"),
             (QStringList{kCodes[0] + "|2.00|4.00", kCodes[1] + "|-0.50|-1.50",
                          kCodes[2] + "|-3.00|-12.00", kCodes[4] + "|-2.00|-"}));
    QCOMPARE(shop.db.Value("SELECT " + TestDatabase::FixedSql("avgcost", 2) +
                               " FROM cost_product WHERE code=?",
                           {kCodes[2]}),
             "4.00");
    AccountFigures figures = TodayFigures();
    QCOMPARE(figures.countValue, -9.5);
    QCOMPARE(figures.unknownCountLines, 1);
    QCOMPARE(figures.salesCost, 0.0);
    QCOMPARE(figures.receivable, 0.0);
    QCOMPARE(figures.stockValue, 12 * 2 + 9.5 * 3 + 7 * 4 + 10 * 5.0);

    // A ledger built again from the stored documents keeps the corrections.
    const QStringList ledger = shop.db.Rows("SELECT code, " + TestDatabase::FixedSql("qty", 2) +
                                            " FROM cost_move WHERE doctable='count' ORDER BY code");
    RebuildCostLedger(*Db());
    QCOMPARE(shop.db.Rows("SELECT code, " + TestDatabase::FixedSql("qty", 2) +
                          " FROM cost_move WHERE doctable='count' ORDER BY code"),
             ledger);
    QCOMPARE(TodayFigures().countValue, -9.5);

    // Posted: nothing more can be typed or posted.
    QVERIFY(!dlg.Grid()->IsCellEditable(1, kCountCounted));
    QVERIFY(!dlg.PostButton()->isEnabled());

    // A second count puts the old figures back.
    PressButton(dlg.StartButton());
    QCOMPARE(ColumnTexts(dlg.Grid(), kCountBook),
             (QStringList{"12.00", "9.50", "7.00", "10.00", "4.00"}));
    QVERIFY(dlg.Grid()->IsCellEditable(1, kCountCounted));
    const QStringList back = {"10", "10", "10", "10", "6"};
    for (int i = 0; i < kCodes.size(); ++i)
        ScanAndCount(dlg, kCodes[i], back[i]);
    messages.Clear();
    messages.Answer(IDYES);
    PressButton(dlg.PostButton());
    QVERIFY2(messages.Last().contains("已过账"), qPrintable(messages.Last()));
    for (int i = 0; i < kCodes.size(); ++i)
        QCOMPARE(Stock(shop, kCodes[i]), QString(i == 4 ? "6.00" : "10.00"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_stocktake"), "2");
    figures = TodayFigures();
    QCOMPARE(figures.countValue, 0.0);
    QCOMPARE(figures.stockValue, 10 * (2 + 3 + 4 + 5.0));
    // The two counts' movements cancel out, product by product.
    QCOMPARE(shop.db.Rows("SELECT code, " + TestDatabase::FixedSql("SUM(qty)", 2) +
                          " FROM cost_move WHERE doctable='count' GROUP BY code ORDER BY code"),
             (QStringList{kCodes[0] + "|0.00", kCodes[1] + "|0.00", kCodes[2] + "|0.00",
                          kCodes[4] + "|0.00"}));
}

void TestStocktake::stockSoldMeanwhileIsShownAndPostedOnlyWhenConfirmed() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    QVERIFY(FillShop(shop));
    CStocktakeDlg dlg;
    dlg.show();
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    MessageScript messages;
    StartByKeys(dlg, 1);
    ScanAndCount(dlg, kCodes[0], "8");
    // A second count of the same shelf, as on another computer.
    CStocktakeDlg other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    StartByKeys(other, 0);
    ScanAndCount(other, kCodes[0], "5");

    // Meanwhile the counter sells three of them.
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kCodes[0], "3");
    QVERIFY(shop.saleOut->Save());
    QCOMPARE(Stock(shop, kCodes[0]), "7.00");

    // 过账 refuses, names the product and shows its stock now; nothing is written.
    messages.Clear();
    messages.Answer(IDYES);
    PressButton(dlg.PostButton());
    QVERIFY2(messages.Last().contains("商品<五金-螺丝>: 盘点开始时 10.00, 现在 7.00"),
             qPrintable(messages.Last()));
    QCOMPARE(Stock(shop, kCodes[0]), "7.00");
    QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_stocktake"), "0");
    QCOMPARE(shop.db.Value("SELECT count(*) FROM cost_move WHERE doctable='count'"), "0");
    QCOMPARE(dlg.Grid()->GetCellText(1, kCountBook), "7.00");
    QVERIFY(dlg.Grid()->GetCellBackColor(1, kCountBook).isValid());
    QCOMPARE(dlg.Grid()->GetCellText(1, kCountDifference), "1.00");

    // Confirmed by a second 过账: the shelf holds what was counted.
    messages.Clear();
    messages.Answer(IDYES);
    PressButton(dlg.PostButton());
    QVERIFY2(messages.Last().contains("已过账"), qPrintable(messages.Last()));
    QCOMPARE(Stock(shop, kCodes[0]), "8.00");
    QCOMPARE(shop.db.Value("SELECT " + TestDatabase::FixedSql("qty", 2) +
                           " FROM cost_move WHERE doctable='count'"),
             "1.00");
    QCOMPARE(shop.db.Value("SELECT book || '>' || counted FROM harbor_stocktake_line"),
             "7.00>8.00");
    // The other count cannot post over it.
    messages.Clear();
    messages.Answer(IDYES);
    PressButton(other.PostButton());
    QVERIFY2(messages.Last().contains("商品<五金-螺丝>: 盘点开始时 10.00, 现在 8.00"),
             qPrintable(messages.Last()));
    QCOMPARE(Stock(shop, kCodes[0]), "8.00");
    // The sale stays a sale; the correction is no sale.
    const AccountFigures figures = TodayFigures();
    QCOMPARE(figures.salesCost, 6.0);
    QCOMPARE(figures.countValue, 2.0);
}

void TestStocktake::productDeletedMeanwhileIsRefusedByName() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    QVERIFY(FillShop(shop));
    // 库存盘点 opens the count.
    CInventoryDlg inventory;
    inventory.show();
    PressButton(inventory.StocktakeButton());
    std::unique_ptr<CStocktakeDlg> opened(
        qobject_cast<CStocktakeDlg*>(FindWorkWindow(QStringLiteral("盘点"))));
    QVERIFY(opened && opened->isVisible());
    CStocktakeDlg& dlg = *opened;
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    MessageScript messages;
    StartByKeys(dlg, 1);
    ScanAndCount(dlg, kCodes[1], "11");
    ScanAndCount(dlg, kCodes[3], "12");
    shop.db.Exec("DELETE FROM property WHERE code=?", {kCodes[3]});

    messages.Clear();
    messages.Answer(IDYES);
    PressButton(dlg.PostButton());
    QVERIFY2(messages.Last().contains("商品<五金-铁钉>") && messages.Last().contains("删除"),
             qPrintable(messages.Last()));
    QCOMPARE(Stock(shop, kCodes[1]), "10.00");
    QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_stocktake"), "0");

    // Its 实盘 emptied by keys, the rest posts.
    Key(Qt::Key_F3);
    Keys(kCodes[3]);
    Key(Qt::Key_Return);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    DeliverPostedEvents();
    QCOMPARE(dlg.Grid()->GetCellText(4, kCountCounted), QString());
    messages.Clear();
    messages.Answer(IDYES);
    PressButton(dlg.PostButton());
    QVERIFY2(messages.Last().contains("已过账"), qPrintable(messages.Last()));
    QCOMPARE(Stock(shop, kCodes[1]), "11.00");
    QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_stocktake_line"), "1");

    // Posting is for the roles that may change the catalogue.
    QStringList roles = shop.db.Rows("SELECT role FROM harbor_role_permission WHERE "
                                     "permission='stock_count'");
    roles.sort();
    QStringList expected{"店主", "店长"};
    expected.sort();
    QCOMPARE(roles, expected);
}

QTEST_MAIN(TestStocktake)
#include "db/Db.h"
#include "tst_stocktake.moc"
