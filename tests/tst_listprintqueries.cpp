// Printing from the three query windows on a real database and the Qt PDF printer: the lists
// and the document detail they hand to the home view, single-page and paged printing, the
// print setup and the preview.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "GridInput.h"
#include "PdfFacts.h"

#include "UserInput.h"
#include "shell/CHarborApp.h"
#include "shell/CHarborView.h"
#include "shell/CMainFrame.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceList.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/SettleConfirm.h"
#include "support/TestDatabase.h"

namespace {

// Every cell of a list's columns 1 to last, the header row included, as the grid shows them
// and as they were handed over.
QStringList GridCells(CGridCtrl* grid, int last) {
    QStringList cells;
    for (int row = 0; row < grid->GetRowCount(); ++row)
        for (int column = 1; column <= last; ++column)
            cells << grid->GetCellText(row, column);
    return cells;
}

QStringList ListCells(const ListPrintData& list, int last) {
    QStringList cells;
    for (int row = 0; row < list.m_nListRows; ++row)
        for (int column = 1; column <= last; ++column)
            cells << list.Cell(column, row);
    return cells;
}

// A shop with its company row and a main window whose printer writes a PDF file.
struct PrintShop {
    TestDatabase db;
    QTemporaryDir dir;
    CMainFrame* frame = nullptr;
    QString pdf;

    PrintShop() {
        db.Exec("INSERT INTO companyinfo (name, telephone) VALUES ('远航五交化', '0571-1234')");
        frame = new CMainFrame;
        theApp.m_pMainWnd = frame;
        pdf = dir.filePath("list.pdf");
        frame->View()->SetPrintOutputFile(pdf);
    }
    ~PrintShop() {
        // HARBOR_KEEP_PDF=folder keeps the printed files for a look.
        static int kept = 0;
        const QString keep = qEnvironmentVariable("HARBOR_KEEP_PDF");
        if (!keep.isEmpty() && QFile::exists(pdf))
            QFile::copy(pdf, QDir(keep).filePath(QString("query%1.pdf").arg(++kept)));
        theApp.m_pMainWnd = nullptr;
        delete frame;
    }
    CHarborView* View() const { return frame->View(); }
};

struct SaleLine {
    QString name;
    QString pcs;
    QString remarks;
};

// Stores a sales document as the document windows do: one row per line, the header repeated.
void StoreSale(TestDatabase& db, const QString& table, const QString& oddnum,
               const QString& customer, const QString& due, const QString& received,
               const QString& state, const QList<SaleLine>& lines) {
    for (const SaleLine& line : lines)
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, customer, mydate, receivable, receipt, "
                               "freceivable, freceipt, state, employeename, mc, shortname, code, "
                               "spec, price, \"count\", discount, total, pcs, remarks) VALUES "
                               "('%2', '%3', '2026-12-01 10:00:00', '%4', '%5', %4, %5, '%6', "
                               "'王五', '%7', '简%7', '0101000001', '10个/箱', '2.50', '4', '1.0', "
                               "'10.00', '%8', '%9')")
                    .arg(table, oddnum, customer, due, received, state, line.name, line.pcs,
                         line.remarks));
}

// A query window over two documents in the range and an earlier one of the same customer.
template <class Dialog> struct SaleQuery {
    PrintShop shop;
    Dialog* dlg = nullptr;
    CGridCtrl* list = nullptr;
    QString table;
    bool ready = false;

    SaleQuery() {
        dlg = new Dialog;
        table = dlg->Kind().table;
        StoreSale(shop.db, table, "20261201001", "张三五金", "120.50", "0", "未结",
                  {{"螺丝", "2", ""}, {"开关", "5件", ""}, {"钉子", "x", "含税(1.08)"}});
        StoreSale(shop.db, table, "20261203001", "李四", "79.25", "79.25", "结清",
                  {{"螺丝", "3", ""}});
        StoreSale(shop.db, table, "20200101001", "张三五金", "100", "20", "欠款",
                  {{"螺丝", "1", ""}});
        list = dlg->Ui().m_pList;
        dlg->resize(1280, 700);
        dlg->show();
        ready = QTest::qWaitForWindowExposed(dlg);
        dlg->Ui().m_pStart->setDate(QDate(2026, 12, 1));
        dlg->Ui().m_pEnd->setDate(QDate(2026, 12, 6));
        Click(dlg->Ui().m_pQuery);
    }
    ~SaleQuery() { delete dlg; }
    const SaleQueryControls& Ui() const { return dlg->Ui(); }
};

using SaleOutQuery = SaleQuery<CSaleOutQueryDlg>;
using SaleInQuery = SaleQuery<CSaleInQueryDlg>;

// The stock-in query over three documents, two of them in the range.
struct EntryQuery {
    PrintShop shop;
    CEntryQueryDlg* dlg = new CEntryQueryDlg;
    bool ready = false;

    EntryQuery() {
        const QString insert =
            QStringLiteral("INSERT INTO entry (oddnum, supplier, mydate, money, fmoney, state, "
                           "mc, code, spec, price, \"count\", total) VALUES ('%1', '%2', "
                           "'2026/12/1', '%3', %3, '%4', '开关', '0200000001', '10个/箱', "
                           "'5.00', '2', '10.00')");
        shop.db.Exec(insert.arg("20261201001", "张三五金厂", "10.00", "未付"));
        shop.db.Exec(insert.arg("20261201001", "张三五金厂", "10.00", "未付"));
        shop.db.Exec(insert.arg("20261205001", "李四", "20.50", "已付"));
        shop.db.Exec(insert.arg("20261207001", "李四", "40.00", "已付"));
        dlg->resize(1280, 700);
        dlg->show();
        ready = QTest::qWaitForWindowExposed(dlg);
        dlg->StartBox()->setDate(QDate(2026, 12, 1));
        dlg->EndBox()->setDate(QDate(2026, 12, 6));
        Click(dlg->QueryButton());
    }
    ~EntryQuery() { delete dlg; }
};

} // namespace

class TestListPrintQueries : public QObject {
    Q_OBJECT

  private slots:
    void saleOutListPrintsItsDocuments();
    void saleOutDetailPrintsTheShownDocument();
    void detailFollowsAStateChange();
    void detailWithoutADocumentPrintsNothing();
    void saleInPrintsItsWords();
    void saleSinglePageAndSetup();
    void salePreviewShowsTheDetail();
    void entryListPrintsItsDocuments();
    void entrySinglePageSetupAndPreview();
};

void TestListPrintQueries::saleOutListPrintsItsDocuments() {
    SaleOutQuery q;
    QVERIFY(q.ready);
    QCOMPARE(q.list->GetRowCount(), 3);
    Click(q.Ui().m_pListPrint);
    CHarborView* view = q.shop.View();
    QCOMPARE(view->m_nPrintKind, 3);
    const ListPrintData& list = view->PrintList(3);
    QCOMPARE(list.m_strListTitle, QString("销售统计清单"));
    QCOMPARE(list.Head(0), QString("统计时间:2026-12-01至2026-12-06"));
    QCOMPARE(list.Head(1), QString("总应收金额:199.75元"));
    QCOMPARE(list.Head(2), QString("总实收金额:79.25元"));
    QCOMPARE(list.Head(3), QString("总未收金额:120.50元"));
    QCOMPARE(list.m_nListRows, 3);
    QCOMPARE(ListCells(list, 7), GridCells(q.list, 7));
    QCOMPARE(list.Cell(1, 0), QString("单号"));
    QCOMPARE(list.Cell(6, 1), QString("未结"));
    const PdfFacts pdf = ReadPdf(q.shop.pdf);
    QCOMPARE(pdf.pages, 1);
    QCOMPARE(view->m_nPageCount, 1);
}

void TestListPrintQueries::saleOutDetailPrintsTheShownDocument() {
    SaleOutQuery q;
    QVERIFY(q.ready);
    ClickCell(q.list, 1, 2);
    // A list handed over in between does not replace the shown document.
    Click(q.Ui().m_pListPrint);
    QFile::remove(q.shop.pdf);
    Click(q.Ui().m_pDetailPrint);

    CHarborView* view = q.shop.View();
    QCOMPARE(view->m_nPrintKind, 1);
    const ListPrintData& list = view->PrintList(1);
    QCOMPARE(list.m_strListTitle, QString("销售清单"));
    QCOMPARE(list.m_nListRows, 4);
    QCOMPARE(list.Head(0), QString("单号:20261201001"));
    QCOMPARE(list.Head(1), QString("客户名称:张三五金"));
    QCOMPARE(list.Head(2), QString("销售时间:2026-12-01 10:00:00"));
    QCOMPARE(list.Sum(0), QString("应收金额:120.50元"));
    QCOMPARE(list.Sum(1), QString("实收金额:0元"));
    QCOMPARE(list.Sum(2), QString("收款状态:未结"));
    QCOMPARE(list.Sum(3), QString("合计:7件")); // 2 + 5件 + x
    // 120.50 + 100 due, 0 + 20 received, over both of the customer's documents
    QCOMPARE(list.Sum(4), QString("累计欠款:200.50元"));
    QStringList headers;
    for (int column = 1; column <= 10; ++column)
        headers << list.Cell(column, 0);
    QCOMPARE(headers, (QStringList{"商品名称", "商品简称", "条形码", "单位", "单价", "数量", "折扣",
                                   "金额", "件数", "备注"}));
    QCOMPARE(list.Cell(1, 3), QString("钉子"));
    QCOMPARE(list.Cell(2, 3), QString("简钉子"));
    QCOMPARE(list.Cell(4, 3), QString("箱"));
    QCOMPARE(list.Cell(9, 2), QString("5件"));
    QCOMPARE(list.Cell(10, 3), QString("含税"));
    QCOMPARE(ReadPdf(q.shop.pdf).pages, 1);
}

// Settling the shown document prints its new amount received, state and balance; settling
// another document leaves the shown document's lines alone.
void TestListPrintQueries::detailFollowsAStateChange() {
    SaleOutQuery q;
    QVERIFY(q.ready);
    ClickCell(q.list, 1, 1);
    SettleConfirm settle;
    ChooseInCell(q.list, 2, 6, "未结"); // 李四's document
    Click(q.Ui().m_pDetailPrint);
    const ListPrintData& list = q.shop.View()->PrintList(1);
    QCOMPARE(list.Head(0), QString("单号:20261201001"));
    QCOMPARE(list.Sum(1), QString("实收金额:0元"));
    QCOMPARE(list.Sum(4), QString("累计欠款:200.50元"));

    ChooseInCell(q.list, 1, 6, "结清");
    Click(q.Ui().m_pDetailPrint);
    QCOMPARE(list.Sum(1), QString("实收金额:120.50元"));
    QCOMPARE(list.Sum(2), QString("收款状态:结清"));
    QCOMPARE(list.Sum(4), QString("累计欠款:80.00元"));
    QCOMPARE(list.Sum(3), QString("合计:7件"));
}

void TestListPrintQueries::detailWithoutADocumentPrintsNothing() {
    SaleOutQuery q;
    QVERIFY(q.ready);
    MessageScript messages;
    Click(q.Ui().m_pDetailPrint);
    QCOMPARE(messages.Texts(), QStringList{"销售清单内容为空,还不能打印!"});
    QCOMPARE(messages.Messages().first().caption, QString("打印清单"));
    QCOMPARE(q.shop.View()->m_nPrintKind, 0);
    QVERIFY(!QFile::exists(q.shop.pdf));

    // A new query empties the detail, and with it the document to print.
    ClickCell(q.list, 1, 1);
    Click(q.Ui().m_pQuery);
    messages.Clear();
    Click(q.Ui().m_pDetailPrint);
    QCOMPARE(messages.Count(), 1);
    QVERIFY(!QFile::exists(q.shop.pdf));
}

void TestListPrintQueries::saleInPrintsItsWords() {
    SaleInQuery q;
    QVERIFY(q.ready);
    // What the customer owes is the statement's one figure: sales less returns.
    StoreSale(q.shop.db, "saleout", "20261202001", "张三五金", "999", "0", "未结",
              {{"螺丝", "1", ""}});
    Click(q.Ui().m_pListPrint);
    const ListPrintData& table = q.shop.View()->PrintList(3);
    QCOMPARE(table.m_strListTitle, QString("退货统计清单"));
    QCOMPARE(table.Head(1), QString("总应退金额:199.75元"));
    QCOMPARE(table.Head(2), QString("总实退金额:79.25元"));
    QCOMPARE(table.Head(3), QString("总未退金额:120.50元"));
    QCOMPARE(ListCells(table, 7), GridCells(q.list, 7));
    QCOMPARE(table.Cell(3, 0), QString("退货时间"));

    ClickCell(q.list, 1, 0); // the row number opens a return
    Click(q.Ui().m_pDetailPrint);
    QCOMPARE(q.shop.View()->m_nPrintKind, 1);
    const ListPrintData& list = q.shop.View()->PrintList(1);
    QCOMPARE(list.m_strListTitle, QString("退货清单"));
    QCOMPARE(list.Head(2), QString("退货时间:2026-12-01 10:00:00"));
    QCOMPARE(list.Sum(0), QString("应退金额:120.50元"));
    QCOMPARE(list.Sum(1), QString("实退金额:0元"));
    QCOMPARE(list.Sum(2), QString("退款状态:未结"));
    QCOMPARE(list.Sum(3), QString("合计:7件"));
    // 999 of sales less 120.50 + (100 − 20) of returns
    QCOMPARE(list.Sum(4), QString("累计欠款:798.50元"));

    SettleConfirm settle;
    ChooseInCell(q.list, 1, 6, "结清");
    Click(q.Ui().m_pDetailPrint);
    QCOMPARE(list.Sum(1), QString("实退金额:120.50元"));
    QCOMPARE(list.Sum(4), QString("累计欠款:919.00元"));
    QCOMPARE(ReadPdf(q.shop.pdf).pages, 1);
}

// "单页打印" switches both setup buttons and the single-page mode; "打印设置" switches to paged
// printing on the chosen paper and prints nothing by itself.
void TestListPrintQueries::saleSinglePageAndSetup() {
    SaleOutQuery q;
    QVERIFY(q.ready);
    CHarborView* view = q.shop.View();
    const SaleQueryControls& ui = q.Ui();
    view->m_bPaged = true;
    ui.m_pSinglePage->setChecked(false);
    QVERIFY(ui.m_pListPrintSetup->isEnabled());
    QVERIFY(ui.m_pDetailPrintSetup->isEnabled());
    QVERIFY(view->m_bPaged); // clearing keeps the mode
    ui.m_pSinglePage->setChecked(true);
    QVERIFY(q.dlg->m_bSinglePage);
    QVERIFY(!view->m_bPaged);
    QVERIFY(!ui.m_pListPrintSetup->isEnabled());
    QVERIFY(!ui.m_pDetailPrintSetup->isEnabled());

    ui.m_pSinglePage->setChecked(false);
    QVERIFY(!q.dlg->m_bSinglePage);
    QVERIFY(!view->m_bPaged);
    {
        ModalDriver<QPageSetupDialog> driver({[](QPageSetupDialog* dialog) { dialog->accept(); }});
        Click(ui.m_pListPrintSetup);
        QCOMPARE(driver.Handled(), 1);
    }
    QVERIFY(view->m_bPaged);
    QCOMPARE(view->m_nPrintKind, 3);
    QCOMPARE(view->PrintList(3).m_strListTitle, QString("销售统计清单"));
    QVERIFY(!QFile::exists(q.shop.pdf));

    Click(ui.m_pListPrint);
    const PdfFacts pdf = ReadPdf(q.shop.pdf);
    QCOMPARE(pdf.pages, view->m_nPageCount);
    const QSizeF paper = view->Printer().pageLayout().fullRect(QPageLayout::Point).size();
    QVERIFY(qAbs(pdf.size.width() - paper.width()) < 1);
    QVERIFY(qAbs(pdf.size.height() - paper.height()) < 1);

    // The detail's setup hands over the document before the setup opens.
    view->m_bPaged = false;
    ClickCell(q.list, 2, 1);
    {
        ModalDriver<QPageSetupDialog> driver({[](QPageSetupDialog* dialog) { dialog->reject(); }});
        Click(ui.m_pDetailPrintSetup);
        QCOMPARE(driver.Handled(), 1);
    }
    QVERIFY(view->m_bPaged);
    QCOMPARE(view->m_nPrintKind, 1);
    QCOMPARE(view->PrintList(1).Head(0), QString("单号:20261203001"));
}

void TestListPrintQueries::salePreviewShowsTheDetail() {
    SaleOutQuery q;
    QVERIFY(q.ready);
    ClickCell(q.list, 1, 1);
    {
        ModalDriver<QPrintPreviewDialog> driver(
            {[](QPrintPreviewDialog* dialog) { dialog->reject(); }});
        Click(q.Ui().m_pDetailPreview);
        QCOMPARE(driver.Handled(), 1);
    }
    QCOMPARE(q.shop.View()->m_nPrintKind, 1);
    QCOMPARE(q.shop.View()->PrintList(1).Head(0), QString("单号:20261201001"));
    {
        ModalDriver<QPrintPreviewDialog> driver(
            {[](QPrintPreviewDialog* dialog) { dialog->reject(); }});
        Click(q.Ui().m_pListPreview);
        QCOMPARE(driver.Handled(), 1);
    }
    QCOMPARE(q.shop.View()->m_nPrintKind, 3);
    QCOMPARE(q.shop.View()->m_strCompanyName, QString("远航五交化"));
    QVERIFY(!QFile::exists(q.shop.pdf));
}

void TestListPrintQueries::entryListPrintsItsDocuments() {
    EntryQuery q;
    QVERIFY(q.ready);
    QCOMPARE(q.dlg->ListGrid()->GetRowCount(), 3);
    Click(q.dlg->PrintButton());
    CHarborView* view = q.shop.View();
    QCOMPARE(view->m_nPrintKind, 4);
    const ListPrintData& list = view->PrintList(4);
    QCOMPARE(list.m_strListTitle, QString("入库统计清单"));
    QCOMPARE(list.Head(0), QString("统计时间:2026-12-01至2026-12-06"));
    QCOMPARE(list.Head(1), QString("总金额:30.50元"));
    QCOMPARE(list.m_nListRows, 3);
    QCOMPARE(ListCells(list, 5), GridCells(q.dlg->ListGrid(), 5));
    QCOMPARE(list.Cell(2, 0), QString("供货商"));
    QCOMPARE(list.Cell(5, 2), QString("已付"));
    const PdfFacts pdf = ReadPdf(q.shop.pdf);
    QCOMPARE(pdf.pages, 1);
    QVERIFY2(qAbs(pdf.size.width() - 208 / 25.4 * 72) < 1,
             qPrintable(QString::number(pdf.size.width())));
}

void TestListPrintQueries::entrySinglePageSetupAndPreview() {
    EntryQuery q;
    QVERIFY(q.ready);
    CHarborView* view = q.shop.View();
    view->m_bPaged = true;
    q.dlg->SinglePageBox()->setChecked(false);
    QVERIFY(q.dlg->PrintSetupButton()->isEnabled());
    QVERIFY(view->m_bPaged);
    q.dlg->SinglePageBox()->setChecked(true);
    QVERIFY(!q.dlg->PrintSetupButton()->isEnabled());
    QVERIFY(!view->m_bPaged);

    q.dlg->SinglePageBox()->setChecked(false);
    {
        ModalDriver<QPageSetupDialog> driver({[](QPageSetupDialog* dialog) { dialog->accept(); }});
        Click(q.dlg->PrintSetupButton());
        QCOMPARE(driver.Handled(), 1);
    }
    QVERIFY(view->m_bPaged);
    QCOMPARE(view->m_nPrintKind, 4);
    QVERIFY(!QFile::exists(q.shop.pdf));
    {
        ModalDriver<QPrintPreviewDialog> driver(
            {[](QPrintPreviewDialog* dialog) { dialog->reject(); }});
        Click(q.dlg->PreviewButton());
        QCOMPARE(driver.Handled(), 1);
    }
    QVERIFY(!QFile::exists(q.shop.pdf));
    Click(q.dlg->PrintButton());
    const PdfFacts pdf = ReadPdf(q.shop.pdf);
    QCOMPARE(pdf.pages, view->m_nPageCount);
    const QSizeF paper = view->Printer().pageLayout().fullRect(QPageLayout::Point).size();
    QVERIFY(qAbs(pdf.size.height() - paper.height()) < 1);
}

QTEST_MAIN(TestListPrintQueries)
#include "tst_listprintqueries.moc"
