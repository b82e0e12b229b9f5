// Money and stock on every path of the trading documents, with the figures the shop's staff
// reported: decimal stock in stock-in, one set of header figures per document after every
// action, totals from the stored lines after a line delete, the questions before anything is
// dropped, Enter, tax options, double precision, scanned and typed input, document numbers,
// query deletes with the stock choice, and numbers beyond what a shop can live with.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"
#include "UserInput.h"

#include "catalogue/CCatalogueWriter.h"
#include "catalogue/CClassDlg.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "documents/ListPrintJob.h"
#include "documents/Oddnum.h"
#include "grid/CGridCtrl.h"
#include "parties/PartyStatement.h"
#include "queries/CAccountDlg.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/SaleQueryControls.h"
#include "support/DocumentShop.h"
#include "support/MessageScript.h"
#include "support/SettleConfirm.h"
#include "text/Cents.h"
#include "text/HarborClock.h"
#include "ui/CDbAction.h"

namespace {

const QString kScrew = "0101000001";  // 10.00, stock 100
const QString kNail = "0102000001";   // 2.50, stock 30
const QString kSwitch = "0200000001"; // 5.00, stock 50
// Columns of the sales query list.
constexpr int kCustomerColumn = 2;
constexpr int kStateColumn = 6;
constexpr int kReceiptColumn = 5;

struct Shop : DocumentShop {
    Shop() {
        AddProduct(kScrew, "五金-螺丝", "10.00", "100");
        AddProduct(kNail, "五金-钉子", "2.50", "30");
        AddProduct(kSwitch, "电料-开关", "5.00", "50");
    }
    // Every stored row's header figures, one line per distinct set.
    QStringList Headers(const QString& table) {
        const QString figures =
            table == "entry" ? "money, " + TestDatabase::FixedSql("fmoney", 2) + ", state"
                             : "receivable, receipt, " + TestDatabase::FixedSql("freceivable", 2) +
                                   ", " + TestDatabase::FixedSql("freceipt", 2) + ", state";
        return db.Rows(QStringLiteral("SELECT DISTINCT %1 FROM %2").arg(figures, table));
    }
    QStringList SaleTotals(CSaleQueryDlg* dlg) {
        QueryAll(dlg);
        return {dlg->Ui().m_pDue->text(), dlg->Ui().m_pReceived->text(),
                dlg->Ui().m_pOutstanding->text()};
    }
};

void Press(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestDocumentMoney : public QObject {
    Q_OBJECT

  private slots:
    void stockInKeepsDecimalStock();
    void lineDeleteLeavesOneSetOfHeaderFigures();
    void settlingAndInvoiceDateReachEveryRow();
    void lineDeleteAsksAboutUnsavedChanges();
    void closeAndPrintAskAfterChanges();
    void enterNeverThrowsADocumentAway();
    void taxOptionsReplaceEachOther();
    void amountsAreExactToTheCent();
    void scannedQuantityMustBeAboveZero();
    void typedCodeLoadsItsProductOrIsRefused();
    void numberClashTakesTheDocumentsOwnDate();
    void deleteDocumentGivesStockBackOrKeepsIt();
    void numbersBeyondTheLimitsAreRefused();
    void productFiguresThatAreNoNumbersAreRefused();
    void halfCentsAndThirdDecimals();
    void documentsWithoutPartiesAreListed();
    void returnLineKeepsItsTaxOption();
    void stockFollowsTheProductOfEachLine();
};

void TestDocumentMoney::stockInKeepsDecimalStock() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "1.5");
    QVERIFY(shop.saleOut->Save());
    QCOMPARE(shop.Stock(kScrew), QString("98.50"));
    shop.NewEntry();
    shop.AddEntryLine(kScrew, "6", "3");
    QVERIFY(shop.entry->Save());
    QCOMPARE(shop.Stock(kScrew), QString("101.50"));

    shop.NewEntry();
    shop.AddEntryLine(kNail, "2", "2.5");
    QVERIFY(shop.entry->Save());
    QCOMPARE(shop.Stock(kNail), QString("32.50"));
    TypeInCell(shop.entry->Grid(), 1, 6, "0.5");
    QVERIFY(shop.entry->Save());
    QCOMPARE(shop.Stock(kNail), QString("30.50"));
}

// A 3-line document of 32.50 loses its 20.00 line: every row says 12.50, the query lists it
// once, and the statistics count what remains.
void TestDocumentMoney::lineDeleteLeavesOneSetOfHeaderFigures() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    for (CDocumentDlg* dlg :
         {static_cast<CDocumentDlg*>(shop.saleOut), static_cast<CDocumentDlg*>(shop.saleIn)}) {
        shop.NewSale(dlg, dlg == shop.saleOut ? "未结" : "结清");
        shop.AddSaleLine(dlg, kScrew, "2");
        shop.AddSaleLine(dlg, kNail, "3");
        shop.AddSaleLine(dlg, kSwitch, "1");
        QCOMPARE(dlg->ReceivableBox()->text(), QString("32.50"));
        QVERIFY(dlg->Save());
        ClickCell(dlg->Grid(), 1, 1);
        Press(dlg->DeleteLineButton());
        QCOMPARE(dlg->ReceivableBox()->text(), QString("12.50"));
    }
    QCOMPARE(shop.Headers("saleout"), QStringList{"12.50|0|12.50|0.00|未结"});
    QCOMPARE(shop.SaleTotals(shop.outQuery), QStringList({"12.50", "0.00", "12.50"}));
    QCOMPARE(shop.outQuery->Ui().m_pList->GetRowCount(), 2);
    QCOMPARE(shop.Headers("salein"), QStringList{"12.50|12.50|12.50|12.50|结清"});
    QCOMPARE(shop.SaleTotals(shop.inQuery), QStringList({"12.50", "12.50", "0.00"}));
    QCOMPARE(shop.Stock(kScrew), QString("100.00"));

    CAccountDlg account;
    QVERIFY(account.Compute(QString::number(HarborToday().year()), "00"));
    QCOMPARE(account.Figures().receivable, 12.5);
    QCOMPARE(account.Figures().refundDue, 12.5);
    QCOMPARE(account.Figures().refunded, 12.5);

    // Stock-in: 6.00 + 4.00, the first line deleted.
    shop.NewEntry();
    shop.AddEntryLine(kScrew, "3", "2");
    shop.AddEntryLine(kNail, "4", "1");
    QVERIFY(shop.entry->Save());
    ClickCell(shop.entry->Grid(), 1, 1);
    Press(shop.entry->DeleteLineButton());
    QCOMPARE(shop.Headers("entry"), QStringList{"4.00|4.00|未付"});
    Shop::QueryAll(shop.entryQuery);
    QCOMPARE(shop.entryQuery->TotalBox()->text(), QString("4.00"));
    QCOMPARE(shop.Stock(kScrew), QString("100.00"));
    QCOMPARE(shop.Stock(kNail), QString("31.00"));
}

// A state chosen in the query and an invoice date go to every row; the document window does
// not overwrite them, and lines it adds later carry the invoice date.
void TestDocumentMoney::settlingAndInvoiceDateReachEveryRow() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    shop.NewSale(shop.saleOut, "未结");
    shop.AddSaleLine(shop.saleOut, kScrew, "1");
    shop.AddSaleLine(shop.saleOut, kNail, "2");
    QVERIFY(shop.saleOut->Save());
    const QString oddnum = shop.saleOut->m_strOddnum;

    CGridCtrl* list = shop.outQuery->Ui().m_pList;
    Shop::QueryAll(shop.outQuery);
    ClickCell(list, Shop::ListRow(list, oddnum), kCustomerColumn);
    QTest::mouseClick(shop.outQuery->Ui().m_pInvoiced, Qt::LeftButton);
    SettleConfirm settle;
    ChooseInCell(list, Shop::ListRow(list, oddnum), kStateColumn, "结清");
    const QString today = HarborToday().toString("yyyy-MM-dd");
    QCOMPARE(shop.Headers("saleout"), QStringList{"15.00|15.00|15.00|15.00|结清"});
    QCOMPARE(shop.db.Rows("SELECT DISTINCT invoicedate FROM saleout"), QStringList{today});

    // The window still shows 未结: its save is refused and it shows what is stored.
    shop.AddSaleLine(shop.saleOut, kSwitch, "1");
    messages.Clear();
    QVERIFY(!shop.saleOut->Save());
    QVERIFY(messages.Last().contains("其他窗口"));
    QCOMPARE(shop.saleOut->StateBox()->currentText(), QString("结清"));
    QCOMPARE(shop.saleOut->Grid()->GetRowCount(), 3);
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("2"));
    QCOMPARE(shop.Stock(kSwitch), QString("50"));

    shop.AddSaleLine(shop.saleOut, kSwitch, "1");
    QVERIFY(shop.saleOut->Save());
    QCOMPARE(shop.Headers("saleout"), QStringList{"20.00|20.00|20.00|20.00|结清"});
    QCOMPARE(shop.db.Rows("SELECT DISTINCT invoicedate FROM saleout"), QStringList{today});
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("3"));
    QCOMPARE(shop.Stock(kSwitch), QString("49.00"));
}

void TestDocumentMoney::lineDeleteAsksAboutUnsavedChanges() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    CSaleOutDlg* dlg = shop.saleOut;
    CGridCtrl* grid = dlg->Grid();
    shop.NewSale(dlg);
    shop.AddSaleLine(dlg, kScrew, "2");
    shop.AddSaleLine(dlg, kNail, "2");
    QVERIFY(dlg->Save());
    TypeInCell(grid, 1, 6, "5");

    // 取消: nothing happens.
    ClickCell(grid, 2, 1);
    messages.Clear();
    messages.Answer(IDCANCEL);
    Press(dlg->DeleteLineButton());
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Messages().first().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(grid->GetRowCount(), 3);
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("2"));

    // 是: the edit is saved first, then the line goes.
    ClickCell(grid, 2, 1);
    messages.Answer(IDYES);
    Press(dlg->DeleteLineButton());
    QCOMPARE(shop.db.Rows("SELECT code, \"count\", receivable, receipt FROM saleout"),
             QStringList{kScrew + "|5|50.00|50.00"});
    QCOMPARE(shop.Stock(kScrew), QString("95.00"));
    QCOMPARE(shop.Stock(kNail), QString("30.00"));
    QCOMPARE(dlg->ReceivableBox()->text(), QString("50.00"));

    // A picked product empties the amount boxes; a delete then must not write them.
    TypeInCell(grid, 1, 6, "7");
    AddLineBySearch(dlg->SearchBox(), kSwitch);
    QVERIFY(dlg->ReceivableBox()->text().isEmpty());
    ClickCell(grid, 1, 1);
    messages.Clear();
    messages.Answer(IDYES);
    Press(dlg->DeleteLineButton());
    QCOMPARE(messages.Last(), QString("请先选择收款状态"));
    QCOMPARE(shop.db.Rows("SELECT code, \"count\", receivable, receipt FROM saleout"),
             QStringList{kScrew + "|5|50.00|50.00"});

    // 否: the screen goes back to what is stored, then the line goes.
    ClickCell(grid, 1, 1);
    messages.Answer(IDNO);
    Press(dlg->DeleteLineButton());
    QCOMPARE(grid->GetRowCount(), 1);
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));
    QCOMPARE(shop.Stock(kScrew), QString("100.00"));
    QCOMPARE(shop.Stock(kSwitch), QString("50"));
    QVERIFY(!dlg->m_bSaved);
}

void TestDocumentMoney::closeAndPrintAskAfterChanges() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    CSaleOutDlg* dlg = shop.saleOut;
    shop.NewSale(dlg);
    shop.AddSaleLine(dlg, kScrew, "2");
    QVERIFY(dlg->Save());
    messages.Clear();
    dlg->PrintDocument(3);
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(PrintListSlots(1).Cell(6, 1), QString("2"));

    // Changed after the save: 否 prints nothing and writes nothing.
    TypeInCell(dlg->Grid(), 1, 6, "3");
    messages.Answer(IDNO);
    dlg->PrintDocument(3);
    QCOMPARE(messages.Texts(), QStringList{"销售单尚未保存,是否先保存?"});
    QCOMPARE(PrintListSlots(1).Cell(6, 1), QString("2"));
    QCOMPARE(shop.db.Value("SELECT \"count\" FROM saleout"), QString("2"));
    // 是 saves, and what prints is what is stored.
    messages.Answer(IDYES);
    dlg->PrintDocument(3);
    QCOMPARE(shop.db.Value("SELECT \"count\" FROM saleout"), QString("3"));
    QCOMPARE(PrintListSlots(1).Cell(6, 1), QString("3"));
    QCOMPARE(PrintListSlots(1).Sum(0), QString("应收金额:30.00元"));

    // Closing a changed document asks, after a save too.
    TypeInCell(dlg->Grid(), 1, 6, "4");
    messages.Clear();
    messages.Answer(IDNO);
    QVERIFY(dlg->QueryClose());
    QCOMPARE(messages.Texts(), QStringList{"销售单尚未保存,是否先保存?"});
    QCOMPARE(shop.db.Value("SELECT \"count\" FROM saleout"), QString("3"));

    shop.NewEntry();
    shop.AddEntryLine(kNail, "2", "1");
    QVERIFY(shop.entry->Save());
    messages.Clear();
    QVERIFY(!shop.entry->HasUnsavedChanges());
    shop.entry->StateBox()->setEditText("已付");
    messages.Answer(IDYES);
    QVERIFY(!shop.entry->QueryClose());
    QCOMPARE(messages.Texts(), QStringList({"销售单尚未保存,是否先保存?"}));
    QCOMPARE(shop.entry->StatusLine()->text(), QString("已成功保存在数据库中"));
    QCOMPARE(shop.db.Value("SELECT state FROM entry"), QString("已付"));
}

void TestDocumentMoney::enterNeverThrowsADocumentAway() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    CSaleOutDlg* dlg = shop.saleOut;
    shop.NewSale(dlg);
    shop.AddSaleLine(dlg, kScrew, "2");
    const QString oddnum = dlg->OddnumBox()->text();
    messages.Clear();
    for (QWidget* control :
         {static_cast<QWidget*>(dlg->StateBox()), static_cast<QWidget*>(dlg->Grid()),
          static_cast<QWidget*>(dlg->ReceiptBox()),
          static_cast<QWidget*>(dlg->PrintSetupButton())}) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
        QCOMPARE(dlg->OddnumBox()->text(), oddnum);
        QCOMPARE(dlg->Grid()->GetRowCount(), 2);
    }
    QCOMPARE(messages.Count(), 0);
    // On a focused button Enter presses it.
    dlg->SaveButton()->setFocus();
    QTest::keyClick(dlg->SaveButton(), Qt::Key_Return);
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QCOMPARE(shop.db.Value("SELECT oddnum FROM saleout"), oddnum);

    shop.NewEntry();
    shop.AddEntryLine(kNail, "2", "1");
    const QString entryNumber = shop.entry->OddnumBox()->text();
    for (QWidget* control : {static_cast<QWidget*>(shop.entry->StateBox()),
                             static_cast<QWidget*>(shop.entry->Grid())}) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
    }
    QCOMPARE(shop.entry->OddnumBox()->text(), entryNumber);
    QCOMPARE(shop.entry->Grid()->GetRowCount(), 2);
    messages.Clear();
    shop.entry->SaveButton()->setFocus();
    QTest::keyClick(shop.entry->SaveButton(), Qt::Key_Enter);
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(shop.entry->StatusLine()->text(), QString("已成功保存在数据库中"));
}

void TestDocumentMoney::taxOptionsReplaceEachOther() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    CGridCtrl* grid = shop.saleOut->Grid();
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "2");
    const QList<QPair<QString, QString>> steps = {{"含税(1.10)", "11.0000"},
                                                  {"含税(1.08)", "10.8000"},
                                                  {"", "10.0000"},
                                                  {"含税(1.08)", "10.8000"}};
    for (const auto& [remark, price] : steps) {
        ChooseInCell(grid, 1, 10, remark);
        QCOMPARE(grid->GetCellText(1, 5), price);
    }
    QCOMPARE(grid->GetCellText(1, 8), QString("21.60"));
    QVERIFY(shop.saleOut->Save());
    QCOMPARE(shop.db.Rows("SELECT price, total, remarks, receivable FROM saleout"),
             QStringList{"10.8000|21.60|含税(1.08)|21.60"});
}

void TestDocumentMoney::amountsAreExactToTheCent() {
    Shop shop;
    QVERIFY(shop.ready);
    const QStringList prices = {"404.10", "624.00", "256.00",  "190.72",
                                "13.93",  "840.14", "99999.99"};
    for (int i = 0; i < prices.size(); ++i)
        shop.AddProduct(QString("050000000%1").arg(i), "样品-货" + QString::number(i), prices[i],
                        "100");
    MessageScript messages;
    shop.NewSale(shop.saleOut);
    for (int i = 0; i < 4; ++i)
        shop.AddSaleLine(shop.saleOut, QString("050000000%1").arg(i), "1");
    QCOMPARE(shop.saleOut->ReceivableBox()->text(), QString("1474.82"));
    QVERIFY(shop.saleOut->Save());
    QCOMPARE(shop.Headers("saleout"), QStringList{"1474.82|1474.82|1474.82|1474.82|结清"});

    shop.NewSale(shop.saleIn);
    shop.AddSaleLine(shop.saleIn, "0500000004", "1");
    shop.AddSaleLine(shop.saleIn, "0500000005", "1");
    QVERIFY(shop.saleIn->Save());
    QCOMPARE(shop.Headers("salein"), QStringList{"854.07|854.07|854.07|854.07|结清"});

    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, "0500000006", "3");
    QCOMPARE(shop.saleOut->Grid()->GetCellText(1, 8), QString("299999.97"));
    QCOMPARE(shop.saleOut->ReceivableBox()->text(), QString("299999.97"));
    QVERIFY(shop.saleOut->Save());
    QCOMPARE(shop.SaleTotals(shop.outQuery), QStringList({"301474.79", "301474.79", "0.00"}));
    QCOMPARE(shop.Stock("0500000006"), QString("97.00"));
}

void TestDocumentMoney::scannedQuantityMustBeAboveZero() {
    Shop shop;
    QVERIFY(shop.ready);
    CSaleOutDlg* dlg = shop.saleOut;
    QTest::mouseClick(dlg->NewButton(), Qt::LeftButton);
    const QList<QPair<QString, QString>> refused = {
        {"0",
         "条码信息有误,没有导入:\n第2行\"#" + kNail + ",0\":数量必须大于0\n退货请使用销售退货"},
        {"-1.5",
         "条码信息有误,没有导入:\n第2行\"#" + kNail + ",-1.5\":数量必须大于0\n退货请使用销售退货"},
        {"6901234567892", "第2行的数量不能超过9999999.99,请改正"}};
    for (const auto& [quantity, message] : refused) {
        MessageScript messages;
        const QString text = "7#" + kScrew + ",2\r\n#" + kNail + "," + quantity + "\r\n";
        dlg->BarcodeBox()->setPlainText(text);
        QTRY_COMPARE(messages.Count(), 1);
        QCOMPARE(messages.Last(), message);
        QCOMPARE(dlg->Grid()->GetRowCount(), 1);
        QVERIFY(!dlg->BarcodeBox()->isReadOnly());
        QVERIFY(dlg->BarcodeBox()->toPlainText().isEmpty()); // ready for the corrected text
    }
    MessageScript messages;
    dlg->BarcodeBox()->setPlainText("7#" + kScrew + ",2\r\n#" + kNail + ",0.5\r\n");
    QTRY_VERIFY(dlg->BarcodeBox()->isReadOnly());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(dlg->ReceivableBox()->text(), QString("21.25"));
}

void TestDocumentMoney::typedCodeLoadsItsProductOrIsRefused() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    CGridCtrl* grid = shop.saleOut->Grid();
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "2");
    TypeInCell(grid, 1, 3, kNail);
    QCOMPARE(grid->GetCellText(1, 1), QString("五金-钉子"));
    QCOMPARE(grid->GetCellText(1, 2), QString("钉子"));
    QCOMPARE(grid->GetCellText(1, 4), QString("10个/箱"));
    QCOMPARE(grid->GetCellText(1, 5), QString("2.50"));
    QCOMPARE(grid->GetCellText(1, 6), QString("2"));
    QCOMPARE(grid->GetCellText(1, 8), QString("5.00"));
    QCOMPARE(shop.saleOut->ReceivableBox()->text(), QString("5.00"));
    QCOMPARE(messages.Count(), 0);

    TypeInCell(grid, 1, 3, "0999999999");
    QCOMPARE(messages.Texts(),
             QStringList{"条形码\"0999999999\"没有对应的商品,请重新输入或选择商品"});
    QCOMPARE(grid->GetCellText(1, 3), kNail);

    // A line whose name is not its code's product never reaches the database.
    grid->SetCellText(1, 1, "五金-螺丝");
    messages.Clear();
    QVERIFY(!shop.saleOut->Save());
    QCOMPARE(messages.Texts(), QStringList{"第1行的商品名称与条形码不符,请重新选择商品"});
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));
    QCOMPARE(shop.Stock(kNail), QString("30"));
}

void TestDocumentMoney::numberClashTakesTheDocumentsOwnDate() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    shop.entry->DateBox()->setDate(QDate(2026, 3, 4));
    shop.NewEntry();
    QCOMPARE(shop.entry->OddnumBox()->text(), QString("20260304001"));
    shop.AddEntryLine(kNail, "2", "1");
    shop.db.Exec("INSERT INTO entry (oddnum, supplier, code, \"count\") VALUES "
                 "('20260304001', '别家', '0200000001', '1')");
    messages.Clear();
    QVERIFY(shop.entry->Save());
    QCOMPARE(messages.Texts().first(),
             QString("单号20260304001已被其他电脑使用,本单已改用新单号20260304002保存"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM entry WHERE oddnum='20260304002'"), QString("1"));

    // When the date has no number left, nothing is saved and the window keeps its number.
    shop.entry->DateBox()->setDate(QDate(2026, 3, 5));
    shop.NewEntry();
    shop.AddEntryLine(kNail, "2", "1");
    shop.db.Exec("INSERT INTO entry (oddnum) VALUES ('20260305001'), ('20260305999')");
    messages.Clear();
    QVERIFY(!shop.entry->Save());
    QCOMPARE(messages.Count(), 1);
    QVERIFY(messages.Last().contains("999"));
    QCOMPARE(shop.entry->OddnumBox()->text(), QString("20260305001"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM entry WHERE code=?", {kNail}), QString("1"));
    QCOMPARE(shop.Stock(kNail), QString("31.00"));

    // A stored number that is not all digits takes no part in the count.
    shop.db.Exec("INSERT INTO saleout (oddnum) VALUES ('20261206abc')");
    messages.Clear();
    QCOMPARE(NewOddnum("saleout", QDate(2026, 12, 6)), QString("20261206001"));
    shop.db.Exec("INSERT INTO saleout (oddnum) VALUES ('20261206005')");
    QCOMPARE(NewOddnum("saleout", QDate(2026, 12, 6)), QString("20261206006"));
    QCOMPARE(messages.Count(), 0);
}

void TestDocumentMoney::deleteDocumentGivesStockBackOrKeepsIt() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    auto deleteFrom = [&](auto* query, CGridCtrl* list, QPushButton* button, const QString& oddnum,
                          int answer) {
        Shop::QueryAll(query);
        ClickCell(list, Shop::ListRow(list, oddnum), 2);
        messages.Clear();
        messages.Answer(answer);
        Press(button);
    };

    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "2");
    QVERIFY(shop.saleOut->Save());
    const QString first = shop.saleOut->m_strOddnum;
    QCOMPARE(shop.Stock(kScrew), QString("98.00"));
    deleteFrom(shop.outQuery, shop.outQuery->Ui().m_pList, shop.outQuery->Ui().m_pDelete, first,
               IDCANCEL);
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("1"));
    deleteFrom(shop.outQuery, shop.outQuery->Ui().m_pList, shop.outQuery->Ui().m_pDelete, first,
               IDYES);
    QCOMPARE(messages.Last(), "已删除单号" + first + ",本单售出的商品已加回库存.");
    QCOMPARE(shop.Stock(kScrew), QString("100.00"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));

    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "3");
    QVERIFY(shop.saleOut->Save());
    deleteFrom(shop.outQuery, shop.outQuery->Ui().m_pList, shop.outQuery->Ui().m_pDelete,
               shop.saleOut->m_strOddnum, IDNO);
    QCOMPARE(messages.Last(), "已删除单号" + shop.saleOut->m_strOddnum + ",库存保持不变.");
    QCOMPARE(shop.Stock(kScrew), QString("97.00"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));

    shop.NewSale(shop.saleIn);
    shop.AddSaleLine(shop.saleIn, kScrew, "1.5");
    QVERIFY(shop.saleIn->Save());
    QCOMPARE(shop.Stock(kScrew), QString("98.50"));
    deleteFrom(shop.inQuery, shop.inQuery->Ui().m_pList, shop.inQuery->Ui().m_pDelete,
               shop.saleIn->m_strOddnum, IDYES);
    QCOMPARE(shop.Stock(kScrew), QString("97.00"));

    // 入库查询 has its own 删除本单: a stock-in entered twice can be taken out.
    shop.NewEntry();
    shop.AddEntryLine(kScrew, "5", "2.25");
    QVERIFY(shop.entry->Save());
    QCOMPARE(shop.Stock(kScrew), QString("99.25"));
    deleteFrom(shop.entryQuery, shop.entryQuery->ListGrid(), shop.entryQuery->DeleteButton(),
               shop.entry->m_strOddnum, IDYES);
    QVERIFY(messages.Texts().first().startsWith("确定要删除该入库单吗?"));
    QCOMPARE(messages.Last(),
             "已删除单号" + shop.entry->m_strOddnum + ",本单入库的商品已从库存中减去.");
    QCOMPARE(shop.Stock(kScrew), QString("97.00"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM entry"), QString("0"));
    QCOMPARE(shop.entryQuery->ListGrid()->GetRowCount(), 1);
}

void TestDocumentMoney::numbersBeyondTheLimitsAreRefused() {
    Shop shop;
    QVERIFY(shop.ready);
    shop.AddProduct("0500000001", "样品-贵货", "99999999.99", "100");
    MessageScript messages;
    CSaleOutDlg* dlg = shop.saleOut;
    CGridCtrl* grid = dlg->Grid();
    shop.NewSale(dlg, "欠款");
    shop.AddSaleLine(dlg, kScrew, "2");
    const QList<QPair<QString, QString>> quantities = {
        {"6901234567892", "数量不能超过9999999.99,请改正"},
        {QString(38, u'9'), "数量不能超过9999999.99,请改正"},
        {"-2", "数量必须大于0,退货请使用销售退货"},
        {"0.125", "数量最多两位小数,请改正"}};
    for (const auto& [typed, message] : quantities) {
        messages.Clear();
        TypeInCell(grid, 1, 6, typed);
        QCOMPARE(messages.Texts(), QStringList{message});
        QCOMPARE(grid->GetCellText(1, 6), QString("2"));
    }
    messages.Clear();
    TypeInCell(grid, 1, 5, "-1");
    QCOMPARE(messages.Texts(), QStringList{"单价不能是负数,请改正"});
    TypeInCell(grid, 1, 5, "-0");
    QCOMPARE(grid->GetCellText(1, 5), QString("0"));
    QCOMPARE(grid->GetCellText(1, 8), QString("0.00"));

    // A line whose amount would pass the largest amount of a document.
    shop.AddSaleLine(dlg, "0500000001", "2");
    messages.Clear();
    TypeInCell(grid, 2, 6, "9999999");
    QCOMPARE(messages.Texts(), QStringList{"金额不能超过99999999999.99,请改正"});
    QCOMPARE(grid->GetCellText(2, 6), QString("2"));

    ChooseState(dlg->StateBox(), "欠款");
    TypeText(dlg->ReceiptBox(), "-5");
    messages.Clear();
    QVERIFY(!dlg->Save());
    QCOMPARE(messages.Texts(), QStringList{"实收不能是负数,请改正"});
    dlg->ReceiptBox()->setText("-0");
    QVERIFY(dlg->Save());
    QCOMPARE(shop.Headers("saleout"), QStringList{"199999999.98|0|199999999.98|0.00|欠款"});

    shop.NewEntry();
    AddLineBySearch(shop.entry->SearchBox(), kNail);
    messages.Clear();
    TypeInCell(shop.entry->Grid(), 1, 6, "3000000000");
    QCOMPARE(messages.Texts(), QStringList{"数量不能超过9999999.99,请改正"});
    QVERIFY(shop.entry->Grid()->GetCellText(1, 6).isEmpty());
    QCOMPARE(shop.Stock(kNail), QString("30"));
}

// Older files can hold figures that are no plain numbers: a product with one never reaches
// a line, and a stock like that is never overwritten by a save.
void TestDocumentMoney::productFiguresThatAreNoNumbersAreRefused() {
    Shop shop;
    QVERIFY(shop.ready);
    shop.AddProduct("0500000001", "样品-空格价", " 12", "100");
    shop.AddProduct("0500000002", "样品-全角价", "１２", "100");
    shop.AddProduct("0500000003", "样品-全角库存", "3.00", "１００");
    MessageScript messages;
    shop.NewSale(shop.saleOut);
    for (const QString& code : {QString("0500000001"), QString("0500000002")}) {
        messages.Clear();
        AddLineBySearch(shop.saleOut->SearchBox(), code);
        QCOMPARE(shop.saleOut->Grid()->GetRowCount(), 1);
    }
    QCOMPARE(messages.Texts(),
             QStringList{"商品<样品-全角价>的单价\"１２\"不是数字,请先在商品信息中改正"});
    shop.NewEntry();
    messages.Clear();
    AddLineBySearch(shop.entry->SearchBox(), "0500000003");
    QCOMPARE(messages.Texts(),
             QStringList{"商品<样品-全角库存>的库存\"１００\"不是数字,请先在商品信息中改正"});
    QCOMPARE(shop.entry->Grid()->GetRowCount(), 1);

    // The stock went bad after the line was taken: the save is refused, nothing is written.
    shop.AddEntryLine(kNail, "2", "10");
    shop.db.Exec("UPDATE property SET total='１００' WHERE code=?", {kNail});
    messages.Clear();
    QVERIFY(!shop.entry->Save());
    QCOMPARE(messages.Texts(), QStringList{"商品<五金-钉子>的库存\"１００\"不是数字,请先在商品"
                                           "信息中改正,本次没有保存"});
    QCOMPARE(shop.Stock(kNail), QString("１００"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM entry"), QString("0"));
}

// 16.90 at 0.95 is 16.055 a piece; three are 48.165, which the shop's calculator rounds to
// 48.17 (the binary double is 48.16499...). Amounts received are whole cents, and an older
// file's half cents count alike in the statistics, the query and the statement. A stock with a
// third decimal keeps it.
void TestDocumentMoney::halfCentsAndThirdDecimals() {
    Shop shop;
    QVERIFY(shop.ready);
    const QString hinge = "0300000001";
    shop.db.Exec("INSERT INTO property (code, name, shortname, spec, price, discount1, discount2, "
                 "discount3, total) VALUES (?, '五金-合页', '合页', '2个/包', '16.90', '0.95', "
                 "'0.9', '0.8', '98.505')",
                 {hinge});
    MessageScript messages;
    CGridCtrl* grid = shop.saleOut->Grid();
    shop.NewSale(shop.saleOut, "欠款");
    shop.AddSaleLine(shop.saleOut, hinge, "3");
    ChooseInCell(grid, 1, 7, "0.95");
    QCOMPARE(grid->GetCellText(1, 5), QString("16.0550"));
    QCOMPARE(grid->GetCellText(1, 8), QString("48.17"));
    ChooseInCell(grid, 1, 10, "含税(1.10)"); // 17.6605 a piece
    QCOMPARE(grid->GetCellText(1, 5), QString("17.6605"));
    QCOMPARE(grid->GetCellText(1, 8), QString("52.98"));
    ChooseInCell(grid, 1, 10, "");
    QCOMPARE(grid->GetCellText(1, 8), QString("48.17"));
    shop.saleOut->ReceiptBox()->clear();
    TypeText(shop.saleOut->ReceiptBox(), "1.005");
    QVERIFY(!shop.saleOut->Save());
    QCOMPARE(messages.Last(), QString("实收最多两位小数,请改正"));
    shop.saleOut->ReceiptBox()->setText("20");
    QVERIFY(shop.saleOut->Save());
    QCOMPARE(shop.Headers("saleout"), QStringList{"48.17|20|48.17|20.00|欠款"});
    QCOMPARE(shop.Stock(hinge), QString("95.505"));

    shop.NewSale(shop.saleIn);
    shop.AddSaleLine(shop.saleIn, hinge, "3");
    ChooseInCell(shop.saleIn->Grid(), 1, 7, "0.95");
    QCOMPARE(shop.saleIn->Grid()->GetCellText(1, 8), QString("48.17"));
    QVERIFY(shop.saleIn->Save());
    QCOMPARE(shop.Stock(hinge), QString("98.505"));
    ClickCell(shop.saleIn->Grid(), 1, 1);
    Press(shop.saleIn->DeleteLineButton());
    QCOMPARE(shop.Stock(hinge), QString("95.505"));

    // Two documents of an older file with half cents.
    const QString today = HarborToday().toString("yyyyMMdd");
    for (const QString number : {"901", "902"})
        shop.db.Exec("INSERT INTO saleout (oddnum, customer, mydate, receivable, receipt, "
                     "freceivable, freceipt, state, code, count, total) VALUES (?, '张三五金', "
                     "'2026-01-01 10:00:00', '10.005', '1.005', 10.005, 1.005, '欠款', ?, '1', "
                     "'10.005')",
                     {today + number, kNail});
    QCOMPARE(shop.SaleTotals(shop.outQuery), QStringList({"68.19", "22.02", "46.17"}));
    CAccountDlg account;
    QVERIFY(account.Compute(QString::number(HarborToday().year()), "00"));
    QCOMPARE(account.Figures().receivable, 68.19);
    QCOMPARE(account.Figures().receipt, 22.02);
    const PartyStatement statement = ComputeStatement(
        ReadStatementDocuments(StatementParty::Customer, "张三五金", HarborToday()),
        QDate(1970, 1, 1), HarborToday());
    QCOMPARE(CentsText(statement.closing), QString("46.17"));

    // The query's received amount takes whole cents as well.
    CGridCtrl* list = shop.outQuery->Ui().m_pList;
    TypeInCell(list, Shop::ListRow(list, today + "901"), kReceiptColumn, "2.005");
    QCOMPARE(messages.Last(), QString("实收款最多两位小数,请改正"));
    QCOMPARE(shop.db.Value("SELECT DISTINCT receipt FROM saleout WHERE oddnum=?", {today + "901"}),
             QString("1.005"));
}

// Older files, imports and other workstations leave the customer, the employee or the supplier
// NULL: empty filters list those documents too, and their money is in the totals.
void TestDocumentMoney::documentsWithoutPartiesAreListed() {
    Shop shop;
    QVERIFY(shop.ready);
    const QString today = HarborToday().toString("yyyyMMdd");
    for (const QString table : {"saleout", "salein"}) {
        shop.db.Exec(QString("INSERT INTO %1 (oddnum, customer, receivable, receipt, freceivable, "
                             "freceipt, state, employeename, code, count) VALUES (?, NULL, "
                             "'7.50', '7.50', 7.5, 7.5, '结清', NULL, ?, '1')")
                         .arg(table),
                     {today + "001", kNail});
        shop.db.Exec(QString("INSERT INTO %1 (oddnum, customer, receivable, receipt, freceivable, "
                             "freceipt, state, employeename, code, count) VALUES (?, '张三五金', "
                             "'2.50', '0', 2.5, 0, '未结', '王五', ?, '1')")
                         .arg(table),
                     {today + "002", kNail});
    }
    shop.db.Exec("INSERT INTO entry (oddnum, supplier, money, fmoney, state, code, count) VALUES "
                 "(?, NULL, '4.00', 4, NULL, ?, '1')",
                 {today + "001", kNail});
    QCOMPARE(shop.SaleTotals(shop.outQuery), QStringList({"10.00", "7.50", "2.50"}));
    QCOMPARE(shop.outQuery->Ui().m_pList->GetRowCount(), 3);
    QCOMPARE(shop.SaleTotals(shop.inQuery), QStringList({"10.00", "7.50", "2.50"}));
    Shop::QueryAll(shop.entryQuery);
    QCOMPARE(shop.entryQuery->TotalBox()->text(), QString("4.00"));
    CAccountDlg account;
    QVERIFY(account.Compute(QString::number(HarborToday().year()), "00"));
    QCOMPARE(account.Figures().receivable, 10.0);
    QCOMPARE(account.Figures().purchase, 4.0);
}

// The return table has no place for a line's tax option: the window keeps it beside the line,
// and a reload (here after 删除商品 of another line with the unsaved change let go) shows it.
void TestDocumentMoney::returnLineKeepsItsTaxOption() {
    Shop shop;
    QVERIFY(shop.ready);
    MessageScript messages;
    CGridCtrl* grid = shop.saleIn->Grid();
    shop.NewSale(shop.saleIn);
    shop.AddSaleLine(shop.saleIn, kScrew, "1");
    ChooseInCell(grid, 1, 10, "含税(1.10)");
    QCOMPARE(grid->GetCellText(1, 8), QString("11.00"));
    shop.AddSaleLine(shop.saleIn, kNail, "1");
    QVERIFY(shop.saleIn->Save());
    TypeInCell(grid, 2, 6, "3");
    ClickCell(grid, 2, 1);
    messages.Answer(IDNO);
    Press(shop.saleIn->DeleteLineButton());
    QCOMPARE(grid->GetRowCount(), 2);
    QCOMPARE(grid->GetCellText(1, 10), QString("含税(1.10)"));
    TypeInCell(grid, 1, 6, "2");
    QCOMPARE(grid->GetCellText(1, 8), QString("22.00"));
    QVERIFY(shop.saleIn->Save());
    QCOMPARE(shop.db.Rows("SELECT code, total, receivable FROM salein"),
             QStringList{kScrew + "|22.00|22.00"});
    QCOMPARE(shop.Stock(kScrew), QString("102.00"));
    QCOMPARE(shop.Stock(kNail), QString("30.00"));
}

// 螺丝 and 钉子 exchange their codes in the catalogue: an old sale's stock goes back to the
// products it sold. A product deleted meanwhile takes nothing, nor does a product made later
// under its code; the user is told which lines moved no stock.
void TestDocumentMoney::stockFollowsTheProductOfEachLine() {
    Shop shop;
    QVERIFY(shop.ready);
    for (const char* sql :
         {"INSERT INTO name1 VALUES ('01', '五金')", "INSERT INTO name1 VALUES ('02', '电料')",
          "INSERT INTO name2 VALUES ('0101', '螺丝')", "INSERT INTO name2 VALUES ('0102', '钉子')",
          "INSERT INTO name2 VALUES ('0200', '开关')",
          "INSERT INTO name5 VALUES ('0101000001', '10', '个/箱')",
          "INSERT INTO name5 VALUES ('0102000001', '10', '个/箱')",
          "INSERT INTO name5 VALUES ('0200000001', '10', '个/箱')"})
        shop.db.Exec(QString::fromUtf8(sql));
    MessageScript messages;
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "5");
    shop.AddSaleLine(shop.saleOut, kNail, "1");
    QVERIFY(shop.saleOut->Save());
    const QString sale = shop.saleOut->m_strOddnum;
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kNail, "2");
    shop.AddSaleLine(shop.saleOut, kSwitch, "4");
    QVERIFY(shop.saleOut->Save());
    const QString second = shop.saleOut->m_strOddnum;

    {
        CClassDlg catalogue;
        catalogue.resize(1200, 700);
        catalogue.show();
        QVERIFY(QTest::qWaitForWindowExposed(&catalogue));
        ClickCell(catalogue.List(1), 1, 1);
        messages.Answer(IDYES); // one question for each code
        messages.Answer(IDYES);
        TypeInCell(catalogue.List(2), 1, 2, "09");
        TypeInCell(catalogue.List(2), 2, 2, "01");
        TypeInCell(catalogue.List(2), 1, 2, "02");
        Press(catalogue.SaveButton(2));
        QCOMPARE(messages.Last(), QString("已成功保存到数据库"));
    }
    QCOMPARE(shop.db.Rows("SELECT code, name, total FROM property WHERE code LIKE '01%' ORDER BY "
                          "code"),
             (QStringList{kScrew + "|五金-钉子|27.00", kNail + "|五金-螺丝|95.00"}));

    CGridCtrl* list = shop.outQuery->Ui().m_pList;
    Shop::QueryAll(shop.outQuery);
    ClickCell(list, Shop::ListRow(list, sale), 2);
    messages.Answer(IDYES);
    Press(shop.outQuery->Ui().m_pDelete);
    QCOMPARE(shop.Stock(kNail), QString("100.00")); // 螺丝 +5
    QCOMPARE(shop.Stock(kScrew), QString("28.00")); // 钉子 +1

    // 开关 deleted, then made again under its code.
    QVERIFY(RunDbAction(nullptr, "删除", [] {
        CatalogueRow spec;
        spec.bh = kSwitch;
        spec.count = "10";
        spec.pack = "个/箱";
        QVERIFY(CCatalogueWriter::DeleteRecord(5, spec));
    }));
    shop.AddProduct(kSwitch, "电料-开关", "5.00", "7");
    Shop::QueryAll(shop.outQuery);
    ClickCell(list, Shop::ListRow(list, second), 2);
    messages.Clear();
    messages.Answer(IDYES);
    Press(shop.outQuery->Ui().m_pDelete);
    QCOMPARE(messages.Texts().value(1), QString("以下商品已不在商品资料中,库存没有变动:\n"
                                                "第2行的商品<电料-开关>"));
    QCOMPARE(shop.Stock(kSwitch), QString("7"));
    QCOMPARE(shop.Stock(kScrew), QString("30.00"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM docline"), QString("0"));
}

QTEST_MAIN(TestDocumentMoney)
#include "tst_documentmoney.moc"
