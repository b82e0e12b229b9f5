// Printing from the three document windows and the home view's print commands, on a real
// database and the Qt PDF printer: what each window hands over, the questions before a print,
// the single page and paged printing, and the company lines.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "GridInput.h"
#include "PdfFacts.h"

#include "catalogue/CPinyinSelectDlg.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "documents/ListPrintCanvas.h"
#include "documents/ListPrintJob.h"
#include "documents/ListPrinter.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceList.h"
#include "shell/CHarborApp.h"
#include "shell/CHarborView.h"
#include "shell/CMainFrame.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "support/UserInput.h"
#include "ui/CommandIds.h"

namespace {

const QString kSwitch = "0200000001"; // price 5.00
const QString kNail = "0102000001";   // price 2.50

// Records the texts the printer draws, for comparing a handed-over list with its expected
// drawing.
class TextRecorder : public ListPrintCanvas {
  public:
    void SetFont(Font, qreal) override {}
    void Text(qreal x, qreal y, Qt::Alignment, const QString& text) override {
        m_lines << QString::asprintf("%.1f %.1f ", x, y) + text;
    }
    void Line(qreal, qreal, qreal, qreal) override {}
    QStringList m_lines;
};

QStringList ExpectedLines(const QString& name) {
    QFile file(QFINDTESTDATA("data/" + name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {"missing " + name};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// A shop with products, a customer with earlier documents, the company row and a main
// window whose printer writes a PDF file.
struct PrintShop {
    TestDatabase db;
    QTemporaryDir dir;
    CMainFrame* frame = nullptr;
    QString pdf;

    PrintShop() {
        for (const auto& [code, name, price] :
             {std::tuple{kSwitch, "开关", "5.00"}, std::tuple{kNail, "钉子", "2.50"}})
            db.Exec(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, "
                                   "discount1, discount2, discount3, total) VALUES ('%1', '%2', "
                                   "'%2', '10个/箱', '%3', '0.9', '0.8', '0.7', '100')")
                        .arg(code, name, price));
        db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('张三五金', 'ZSWJ')");
        db.Exec("INSERT INTO companyinfo (name, telephone, address, bank, remarks1, remarks2, "
                "remarks3) VALUES ('远航五交化', '0571-1234', '解放路1号', '', '周日休息', '', "
                "'')");
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
            QFile::copy(pdf, QDir(keep).filePath(QString("list%1.pdf").arg(++kept)));
        theApp.m_pMainWnd = nullptr;
        delete frame;
    }
    CHarborView* View() const { return frame->View(); }
    // Two earlier documents of the customer: due 100 and 50, received 100 and 20 (the second
    // has two lines).
    void AddEarlierDocuments(const QString& table) {
        const QString insert = QStringLiteral(
            "INSERT INTO %1 (oddnum, customer, receivable, receipt, freceivable, freceipt) "
            "VALUES ('%2', '张三五金', '%3', '%4', %3, %4)");
        db.Exec(insert.arg(table, "20200101001", "100", "100"));
        db.Exec(insert.arg(table, "20200102001", "50", "20"));
        db.Exec(insert.arg(table, "20200102001", "50", "20"));
    }
};

// A sales document window with three lines: 6 switches (2 packages), 2 nails (no packages),
// 4 nails with tax 1.08 (5 packages); state 未结.
template <typename Dlg> struct SaleDoc {
    Dlg* dlg = new Dlg;
    CGridCtrl* grid = dlg->Grid();

    SaleDoc() {
        dlg->resize(1280, 700);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        QTest::mouseClick(dlg->NewButton(), Qt::LeftButton);
        dlg->CustomerBox()->setEditText("张三五金");
        const QStringList codes = {kSwitch, kNail, kNail};
        const QStringList counts = {"6", "2", "4"};
        const QStringList packages = {"2", "", "5件"};
        for (int i = 0; i < 3; ++i) {
            AddLineBySearch(dlg->SearchBox(), codes[i]);
            TypeInCell(grid, i + 1, 6, counts[i]);
            grid->SetCellText(i + 1, 9, packages[i]);
        }
        ChooseInCell(grid, 3, 10, "含税(1.08)");
        dlg->StateBox()->setCurrentIndex(dlg->StateBox()->findText("未结"));
        emit dlg->StateBox()->activated(dlg->StateBox()->currentIndex());
    }
    ~SaleDoc() { delete dlg; }
};

} // namespace

class TestListPrintDocs : public QObject {
    Q_OBJECT

  private slots:
    void printButtonsFollowTheDocument() {
        PrintShop shop;
        SaleDoc<CSaleOutDlg> doc;
        QVERIFY(doc.dlg->PrintButton()->isEnabled());
        QVERIFY(doc.dlg->PreviewButton()->isEnabled());
        QVERIFY(doc.dlg->SinglePageBox()->isEnabled());
        QVERIFY(doc.dlg->SinglePageBox()->isChecked());
        QVERIFY(!doc.dlg->PrintSetupButton()->isEnabled());
        QVERIFY(doc.dlg->PrintButton()->toolTip().isEmpty());
        shop.View()->m_bPaged = true;
        doc.dlg->SinglePageBox()->setChecked(false);
        QVERIFY(doc.dlg->PrintSetupButton()->isEnabled());
        QVERIFY(shop.View()->m_bPaged); // clearing keeps the mode
        doc.dlg->SinglePageBox()->setChecked(true);
        QVERIFY(!doc.dlg->PrintSetupButton()->isEnabled());
        QVERIFY(!shop.View()->m_bPaged);

        CSaleOutDlg fresh;
        QVERIFY(!fresh.PrintButton()->isEnabled());
        QVERIFY(!fresh.SinglePageBox()->isEnabled());
    }

    // "打印" on an unsaved sales-out document: the question, the save, the list handed over
    // and one page 208 mm wide of the list's length.
    void saleOutPrintsOnePage() {
        PrintShop shop;
        shop.AddEarlierDocuments("saleout");
        SaleDoc<CSaleOutDlg> doc;
        MessageScript messages({IDYES});
        QTest::mouseClick(doc.dlg->PrintButton(), Qt::LeftButton);
        QCOMPARE(messages.Texts(), QStringList({"销售单尚未保存,是否先保存?"}));
        QCOMPARE(messages.Messages().first().caption, QString("销售单保存"));
        QVERIFY(doc.dlg->m_bSaved);

        CHarborView* view = shop.View();
        QCOMPARE(view->m_nPrintKind, 1);
        const ListPrintData& list = view->PrintList(1);
        QCOMPARE(list.m_nListRows, 4);
        QCOMPARE(list.m_strListTitle, QString("销售清单"));
        QCOMPARE(list.Head(0), "单号:" + doc.dlg->m_strOddnum);
        QCOMPARE(list.Head(1), QString("客户名称:张三五金"));
        QCOMPARE(list.Head(2), "销售时间:" + doc.dlg->m_strSaveTime);
        const QString due = doc.dlg->ReceivableBox()->text();
        QCOMPARE(list.Sum(0), "应收金额:" + due + "元");
        QCOMPARE(list.Sum(1), QString("实收金额:0元"));
        QCOMPARE(list.Sum(2), QString("收款状态:未结"));
        QCOMPARE(list.Sum(3), QString("合计:7件"));
        // 100 + 50 + due − (100 + 20 + 0)
        QCOMPARE(list.Sum(4), "累计欠款:" + QString::number(30 + due.toDouble(), 'f', 2) + "元");
        QCOMPARE(list.Cell(4, 0), QString("单位"));
        QCOMPARE(list.Cell(4, 1), QString("箱"));
        QCOMPARE(list.Cell(10, 3), QString("含税"));
        QCOMPARE(list.Cell(2, 1), QString("开关"));
        QCOMPARE(view->m_strCompanyName, QString("远航五交化"));
        QCOMPARE(view->m_strCompanyLine[0], QString("(1) 电话：0571-1234"));
        QCOMPARE(view->m_strCompanyLine[2], QString());
        QCOMPARE(view->m_strCompanyLine[3], QString("(4) 周日休息"));

        const PdfFacts pdf = ReadPdf(shop.pdf);
        QCOMPARE(pdf.pages, 1);
        QCOMPARE(view->m_nPageCount, 1);
        const int dpi = view->Printer().logicalDpiY();
        const int length = ListPrinter::SinglePageLength(1, 4, ListPrinter::Scale(dpi));
        QVERIFY2(qAbs(pdf.size.width() - 208 / 25.4 * 72) < 1,
                 qPrintable(QString::number(pdf.size.width())));
        QVERIFY(qAbs(pdf.size.height() - length * 72.0 / dpi) < 1);

        // What the page shows, with the number and time of this run put back to placeholders.
        TextRecorder recorder;
        const QStringList lines(std::begin(view->m_strCompanyLine),
                                std::end(view->m_strCompanyLine));
        ListPrinter(list, view->m_strCompanyName, lines).Draw(recorder, {1420, 2000, 180, false});
        const QString drawn = recorder.m_lines.join('\n')
                                  .replace(doc.dlg->m_strOddnum, "<单号>")
                                  .replace(doc.dlg->m_strSaveTime, "<时间>")
                                  .replace(due, "<应收>")
                                  .replace(list.Sum(4), "<累计欠款>");
        if (!qEnvironmentVariableIsEmpty("HARBOR_WRITE_EXPECTED")) {
            QFile out(QDir::temp().filePath("print_saleout.txt"));
            if (out.open(QIODevice::WriteOnly))
                out.write((drawn + '\n').toUtf8());
        }
        QCOMPARE(drawn.split('\n'), ExpectedLines("print_saleout.txt"));
    }

    void saleOutPrintRefusals() {
        PrintShop shop;
        SaleDoc<CSaleOutDlg> doc;
        {
            MessageScript messages({IDNO});
            QTest::mouseClick(doc.dlg->PrintButton(), Qt::LeftButton);
            QCOMPARE(messages.Count(), 1);
        }
        QVERIFY(!doc.dlg->m_bSaved);
        QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));
        QVERIFY(!QFile::exists(shop.pdf));
        QCOMPARE(shop.View()->m_nPrintKind, 0);

        // Saved, then the customer box emptied: a change after the save is asked about, and
        // refused by the save, so nothing prints.
        MessageScript messages({IDYES});
        QVERIFY(doc.dlg->Save());
        doc.dlg->CustomerBox()->setEditText(QString());
        messages.Clear();
        messages.Answer(IDYES);
        QTest::mouseClick(doc.dlg->PrintButton(), Qt::LeftButton);
        QCOMPARE(messages.Texts(), QStringList({"销售单尚未保存,是否先保存?", "请先选择客户"}));
        QVERIFY(!QFile::exists(shop.pdf));
    }

    void saleInPrintsItsWords() {
        PrintShop shop;
        shop.AddEarlierDocuments("salein");
        shop.AddEarlierDocuments("saleout"); // what the customer owes counts both
        SaleDoc<CSaleInDlg> doc;
        MessageScript messages;
        QVERIFY(doc.dlg->Save());
        messages.Clear();
        QTest::mouseClick(doc.dlg->PrintButton(), Qt::LeftButton);
        QCOMPARE(messages.Count(), 0);
        const ListPrintData& list = shop.View()->PrintList(1);
        QCOMPARE(list.m_strListTitle, QString("退货清单"));
        QCOMPARE(list.Head(2), "退货时间:" + doc.dlg->m_strSaveTime);
        const QString due = doc.dlg->ReceivableBox()->text();
        QCOMPARE(list.Sum(0), "应退金额:" + due + "元");
        QCOMPARE(list.Sum(1), QString("实退金额:0元"));
        QCOMPARE(list.Sum(2), QString("退款状态:未结"));
        QCOMPARE(list.Sum(3), QString()); // returns keep no package counts
        // The statement's closing balance: sales 150 − 120 received, returns 100 + 50 + due
        // less 100 + 20 refunded.
        QCOMPARE(list.Sum(4), "累计欠款:" + QString::number(-due.toDouble(), 'f', 2) + "元");
        QCOMPARE(ReadPdf(shop.pdf).pages, 1);
    }

    void entryPrintsStockInList() {
        PrintShop shop;
        auto* dlg = new CEntryDlg;
        dlg->resize(1280, 700);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        dlg->DateBox()->setDate(QDate(2026, 3, 4));
        QTest::mouseClick(dlg->NewButton(), Qt::LeftButton);
        dlg->SupplierBox()->setEditText("张三五金厂");
        dlg->StateBox()->setCurrentIndex(dlg->StateBox()->findText("未付"));
        AddLineBySearch(dlg->SearchBox(), kSwitch);
        TypeInCell(dlg->Grid(), 1, 5, "4.5");
        TypeInCell(dlg->Grid(), 1, 6, "10");
        MessageScript messages({IDYES});
        QTest::mouseClick(dlg->PrintButton(), Qt::LeftButton);
        QCOMPARE(messages.Texts(), QStringList({"销售单尚未保存,是否先保存?"}));
        CHarborView* view = shop.View();
        QCOMPARE(view->m_nPrintKind, 2);
        const ListPrintData& list = view->PrintList(2);
        QCOMPARE(list.m_strListTitle, QString("入库清单"));
        QCOMPARE(list.m_nListRows, 2);
        QCOMPARE(list.Head(0), "单号:" + dlg->m_strOddnum);
        QCOMPARE(list.Head(1), QString("供货商名称:张三五金厂"));
        QCOMPARE(list.Head(2), "入库时间:" + dlg->DateBox()->text());
        QCOMPARE(list.Sum(0), "应付金额:" + dlg->MoneyBox()->text() + "元");
        QCOMPARE(list.Sum(1), QString("付款状态:未付"));
        QCOMPARE(list.Cell(2, 1), QString("开关"));
        QCOMPARE(list.Cell(6, 1), QString("10"));
        QCOMPARE(ReadPdf(shop.pdf).pages, 1);
        delete dlg;
    }

    // "打印设置" switches to paged printing on the setup's paper; a long list then breaks
    // onto as many pages as its drawing takes.
    void pagedPrintingAfterSetup() {
        PrintShop shop;
        CHarborView* view = shop.View();
        ListPrintData& list = HandOverList(3);
        list.m_strListTitle = "销售统计清单";
        list.SetRowCount(120);
        for (int row = 0; row < 120; ++row)
            for (int column = 1; column <= 7; ++column)
                list.SetCell(column, row, QString::number(row * 10 + column));
        {
            ModalDriver<QPageSetupDialog> driver(
                {[](QPageSetupDialog* dialog) { dialog->accept(); }});
            RunListPrint(2);
            QCOMPARE(driver.Handled(), 1);
        }
        QVERIFY(view->m_bPaged);
        QVERIFY(!QFile::exists(shop.pdf)); // the setup does not print
        const QPageSize chosen = view->Printer().pageLayout().pageSize();

        shop.frame->OnCommand(ID_FILE_PRINT_DIRECT);
        const PdfFacts pdf = ReadPdf(shop.pdf);
        QVERIFY(view->m_nPageCount > 1);
        QCOMPARE(pdf.pages, view->m_nPageCount);
        const QSizeF paper = view->Printer().pageLayout().fullRect(QPageLayout::Point).size();
        QVERIFY(qAbs(pdf.size.width() - paper.width()) < 1);
        QVERIFY(qAbs(pdf.size.height() - paper.height()) < 1);

        // Back to one page: its length follows the rows.
        SetPagedPrinting(false);
        if (!qEnvironmentVariableIsEmpty("HARBOR_KEEP_PDF"))
            QFile::copy(shop.pdf,
                        QDir(qEnvironmentVariable("HARBOR_KEEP_PDF")).filePath("paged.pdf"));
        QFile::remove(shop.pdf);
        shop.frame->OnCommand(ID_FILE_PRINT_DIRECT);
        QCOMPARE(ReadPdf(shop.pdf).pages, 1);
        // The setup offers the paper of the last setup again, not the single page.
        QVERIFY(view->Printer().pageLayout().pageSize() != chosen);
        QPageSize offered;
        ModalDriver<QPageSetupDialog> again({[&](QPageSetupDialog* dialog) {
            offered = dialog->printer()->pageLayout().pageSize();
            dialog->reject();
        }});
        shop.frame->OnCommand(ID_FILE_PRINT_SETUP);
        QCOMPARE(again.Handled(), 1);
        QVERIFY(offered.isEquivalentTo(chosen));
    }

    // The preview draws the stored list on its own pages and prints nothing by itself.
    void previewShowsTheList() {
        PrintShop shop;
        ListPrintData& list = HandOverList(4);
        list.m_strListTitle = "入库统计清单";
        list.SetRowCount(90);
        SetPagedPrinting(true);
        int shownPages = 0;
        ModalDriver<QPrintPreviewDialog> driver({[&](QPrintPreviewDialog* dialog) {
            if (auto* widget = dialog->findChild<QPrintPreviewWidget*>())
                shownPages = widget->pageCount();
            dialog->reject();
        }});
        shop.frame->OnCommand(ID_FILE_PRINT_PREVIEW);
        QCOMPARE(driver.Handled(), 1);
        QVERIFY(shop.View()->m_nPageCount > 1);
        QCOMPARE(shownPages, shop.View()->m_nPageCount);
        QCOMPARE(shop.View()->m_strCompanyName, QString("远航五交化"));
        QVERIFY(!QFile::exists(shop.pdf));
    }

    void noListPrintsNothing() {
        PrintShop shop;
        shop.frame->OnCommand(ID_FILE_PRINT_DIRECT);
        QVERIFY(!QFile::exists(shop.pdf));
    }
};

QTEST_MAIN(TestListPrintDocs)
#include "tst_listprintdocs.moc"
