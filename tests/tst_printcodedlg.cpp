#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QToolBar>
#include <QtTest>

#include "GridInput.h"
#include "Screenshot.h"
#include "ui/FontSetup.h"
#include "catalogue/CLabelSetupDlg.h"
#include "catalogue/CPrintCodeDlg.h"
#include "catalogue/LabelDataSource.h"
#include "catalogue/LabelSheet.h"
#include "grid/CGridCtrl.h"
#include "support/BarcodeScan.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/OdbcHome.h"
#include "support/PdfFacts.h"
#include "support/TestDatabase.h"
#include "support/UserInput.h"

namespace {

const QString kNoDataSource = QStringLiteral("不能自动配置数据源，请手动配置后再进行条码打印");
const QString kNoLabels = QStringLiteral("所选商品还没有保存商品属性，没有可打印的条码");

// The question after the label rows are filled: 是 prints here, 否 opens the label document.
QString Question(int labels) {
    return QStringLiteral("已准备好 %1 个商品的条码标签。是否由本程序直接打印？\n\n"
                          "是：先预览，再打印到打印机或 PDF 文件\n"
                          "否：用标签设计程序打开“ODBC数据源.lsdx”")
        .arg(labels);
}

void AddNode(TestDatabase& db, int level, const QString& bh, const QString& mc) {
    db.Exec(
        QStringLiteral("INSERT INTO name%1 (bh, mc) VALUES ('%2', '%3')").arg(level).arg(bh, mc));
}

void AddSpec(TestDatabase& db, const QString& bh, const QString& count, const QString& pack) {
    db.Exec(QStringLiteral("INSERT INTO name5 (bh, \"count\", pack) VALUES ('%1', '%2', '%3')")
                .arg(bh, count, pack));
}

void AddProperty(TestDatabase& db, const QString& code, const QString& shortName,
                 const QString& spec) {
    db.Exec(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, total) "
                           "VALUES ('%1', '%2', '%2', '%3', '1.00', '10')")
                .arg(code, shortName, spec));
}

// 五金 (01) > 螺丝 > 膨胀螺丝 with two products under it and one right under 螺丝;
// 开关 (02) with one product; 03 电线 with one product; a specification without properties.
void FillCatalogue(TestDatabase& db) {
    AddNode(db, 1, "01", "五金");
    AddNode(db, 1, "02", "开关");
    AddNode(db, 1, "03", "电线");
    AddNode(db, 2, "0101", "螺丝");
    AddNode(db, 3, "010101", "膨胀螺丝");
    AddSpec(db, "0101010001", "100", "个/盒");
    AddSpec(db, "0101010002", "200", "个/盒");
    AddSpec(db, "0101000001", "50", "个/袋");
    AddSpec(db, "0200000001", "10", "个/箱");
    AddSpec(db, "0200000002", "20", "个/箱");
    AddSpec(db, "0300000001", "1", "卷");
    AddProperty(db, "0101010001", "膨胀螺丝", "100个/盒");
    AddProperty(db, "0101010002", "大膨胀螺丝", "200个/盒");
    AddProperty(db, "0101000001", "螺丝", "50个/袋");
    AddProperty(db, "0200000001", "开关", "10个/箱");
    AddProperty(db, "0300000001", "铜线", "1卷");
}

QStringList LabelCodes(TestDatabase& db) {
    return db.Rows(QStringLiteral("SELECT code FROM printcodedata ORDER BY code"));
}

// The row of list k whose given column holds the text.
QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

// Replaces what a spin box holds, as a user selecting its text and typing does.
void Retype(QAbstractSpinBox* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

int RowOf(CGridCtrl* list, int col, const QString& text) {
    for (int row = list->GetFixedRowCount(); row < list->GetRowCount(); ++row)
        if (list->GetCellText(row, col) == text)
            return row;
    qWarning() << "no row with" << text;
    return -1;
}

// A window whose data source registration and document opener only record their calls.
struct Window {
    CPrintCodeDlg dialog;
    QStringList registered;
    QList<QUrl> opened;
    bool registerResult = true;
    bool openResult = true;

    Window() {
        dialog.SetRegistrar([this](const QString& path) {
            registered << path;
            return registerResult;
        });
        dialog.SetOpener([this](const QUrl& url) {
            opened << url;
            return openResult;
        });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
};

// The label document beside the program while the object lives.
class LabelDocument {
  public:
    LabelDocument() : m_file(CPrintCodeDlg::LabelDocumentPath()) {
        if (!m_file.open(QIODevice::WriteOnly))
            qWarning("cannot create the label document");
        m_file.close();
    }
    ~LabelDocument() { m_file.remove(); }

  private:
    QFile m_file;
};

} // namespace

class TestPrintCodeDlg : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;

  private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }
    void init() {
        QVERIFY(!QFileInfo::exists(CPrintCodeDlg::LabelDocumentPath()));
        QSettings(QStringLiteral("应用程序向导生成的本地应用程序"), QStringLiteral("Harbor"))
            .clear();
    }

    // Filling printcodedata (the first case runs before any click since start-up)
    void nothingChosenLabelsEveryProductAndThePrefixOutlivesTheWindow();
    void classLabelsCopyExactlyTheChosenBranch();
    void specificationClickLabelsThatOneProduct();
    void allLabelsCopyEveryProductAndDropTheOldRows();
    void headerClickKeepsThePrefix();

    // Printing here
    void directPrintingPreviewsAndPrintsEveryLabel();
    void previewSavesAPdfFile();
    void cancelledChoicePrintsNothing();
    void labelSetupChangesTheSheet();

    // Data source and label document
    void labelProgramReadsTheRowsThroughTheDataSource();
    void failedRegistrationIsReportedAndTheDocumentStillOpens();
    void missingLabelDocumentIsReportedWithoutOpeningAnything();
    void documentThatCannotBeOpenedIsReported();

    void looksFinished();
};

void TestPrintCodeDlg::classLabelsCopyExactlyTheChosenBranch() {
    TestDatabase db;
    FillCatalogue(db);
    db.Exec("INSERT INTO printcodedata (shortname, spec, code) VALUES ('旧', '1个', '9900000001')");
    MessageScript messages({IDNO, IDNO});
    LabelDocument document;
    Window window;

    CGridCtrl* list1 = window.dialog.List(1);
    QCOMPARE(list1->GetRowCount(), 4);
    ClickCell(list1, RowOf(list1, 1, "电线"), 1);
    QCOMPARE(window.dialog.PrintPrefix(), "03");
    QTest::mouseClick(window.dialog.ClassButton(), Qt::LeftButton);
    QCOMPARE(LabelCodes(db), QStringList{"0300000001"});

    ClickCell(list1, RowOf(list1, 1, "五金"), 1);
    ClickCell(window.dialog.List(2), 1, 1);
    ClickCell(window.dialog.List(3), 1, 1);
    QCOMPARE(window.dialog.PrintPrefix(), "010101");
    QTest::mouseClick(window.dialog.ClassButton(), Qt::LeftButton);
    QCOMPARE(LabelCodes(db), (QStringList{"0101010001", "0101010002"}));
    QCOMPARE(db.Rows("SELECT shortname || '|' || spec FROM printcodedata ORDER BY code"),
             (QStringList{"膨胀螺丝|100个/盒", "大膨胀螺丝|200个/盒"}));

    QCOMPARE(messages.Texts(), (QStringList{Question(1), Question(2)}));
    QCOMPARE(messages.Messages().first().icon, MsgIcon::Question);
    QCOMPARE(messages.Messages().first().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(window.registered, QStringList(2, QFileInfo(db.Path()).absoluteFilePath()));
    QCOMPARE(window.opened,
             QList<QUrl>(2, QUrl::fromLocalFile(CPrintCodeDlg::LabelDocumentPath())));
}

void TestPrintCodeDlg::specificationClickLabelsThatOneProduct() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    Window window;

    CGridCtrl* list1 = window.dialog.List(1);
    ClickCell(list1, RowOf(list1, 1, "开关"), 1);
    CGridCtrl* specs = window.dialog.List(5);
    QCOMPARE(specs->GetRowCount(), 3);
    ClickCell(specs, RowOf(specs, 1, "20"), 2);
    QCOMPARE(window.dialog.PrintPrefix(), "0200000002");
    QTest::mouseClick(window.dialog.ClassButton(), Qt::LeftButton);
    // that specification has no properties: nothing to label, no question, nothing opened
    QCOMPARE(LabelCodes(db), QStringList{});
    QCOMPARE(messages.Texts(), QStringList{kNoLabels});
    QVERIFY(window.opened.isEmpty() && window.registered.isEmpty());

    ClickCell(specs, RowOf(specs, 1, "10"), 1);
    QCOMPARE(window.dialog.PrintPrefix(), "0200000001");
    QTest::mouseClick(window.dialog.ClassButton(), Qt::LeftButton);
    QCOMPARE(LabelCodes(db), QStringList{"0200000001"});
}

void TestPrintCodeDlg::allLabelsCopyEveryProductAndDropTheOldRows() {
    TestDatabase db;
    FillCatalogue(db);
    db.Exec("INSERT INTO printcodedata (shortname, spec, code) VALUES ('旧', '1个', '9900000001')");
    MessageScript messages;
    Window window;

    ClickCell(window.dialog.List(1), 1, 1); // a chosen class does not narrow 全部打印
    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);
    QCOMPARE(LabelCodes(db), db.Rows("SELECT code FROM property ORDER BY code"));
    QCOMPARE(LabelCodes(db).size(), 5);

    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);
    QCOMPARE(LabelCodes(db).size(), 5); // the previous job's rows are gone
}

void TestPrintCodeDlg::nothingChosenLabelsEveryProductAndThePrefixOutlivesTheWindow() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    {
        Window window;
        QCOMPARE(window.dialog.PrintPrefix(), QString());
        QTest::mouseClick(window.dialog.ClassButton(), Qt::LeftButton);
        QCOMPARE(LabelCodes(db).size(), 5);
        CGridCtrl* list1 = window.dialog.List(1);
        ClickCell(list1, RowOf(list1, 1, "开关"), 1);
    }
    Window reopened;
    QCOMPARE(reopened.dialog.PrintPrefix(), "02");
    QTest::mouseClick(reopened.dialog.ClassButton(), Qt::LeftButton);
    QCOMPARE(LabelCodes(db), QStringList{"0200000001"});
}

void TestPrintCodeDlg::headerClickKeepsThePrefix() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    Window window;
    ClickCell(window.dialog.List(1), RowOf(window.dialog.List(1), 1, "电线"), 1);
    ClickCell(window.dialog.List(1), 0, 1);
    ClickCell(window.dialog.List(5), 0, 1);
    QCOMPARE(window.dialog.PrintPrefix(), "03");
}

// 是 prints here: the preview shows the sheets (as 标签设置 keeps them); printed from the
// preview to a PDF, every label scans as its product's code. Nothing goes to the label program.
void TestPrintCodeDlg::directPrintingPreviewsAndPrintsEveryLabel() {
    TestDatabase db;
    FillCatalogue(db);
    LabelSheet sheet;
    sheet.columns = 2;
    sheet.rows = 2;
    sheet.Save();
    db.Exec("UPDATE property SET price = '12.50' WHERE code = '0200000001'");
    MessageScript messages({IDYES});
    QTemporaryDir dir;
    const QString pdf = dir.filePath("labels.pdf");
    int previewPages = 0;
    ModalDriver<QPrintPreviewDialog> preview({[&](QPrintPreviewDialog* dialog) {
        auto* view = dialog->findChild<QPrintPreviewWidget*>();
        previewPages = view->pageCount();
        Snapshot(dialog, "labelpreview");
        QVERIFY(ShowsWhole(dialog, view));
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        view->print();
        dialog->accept();
    }});
    Window window;
    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);

    QCOMPARE(preview.Handled(), 1);
    QCOMPARE(messages.Texts(), QStringList{Question(5)});
    QCOMPARE(previewPages, 2); // 5 labels, 4 a sheet
    QCOMPARE(ReadPdf(pdf).pages, 2);
    const QList<QStringList> scanned = ScanPdfBarcodes(pdf);
    QCOMPARE(scanned.size(), 2);
    QCOMPARE(scanned[0].size(), 4);
    QCOMPARE(Sorted(scanned[0] + scanned[1]), LabelCodes(db));
    // each label with its product's name, specification and price
    const QString text = PdfText(pdf);
    for (const QString& part : {"开关", "10个/箱", "¥12.50", "大膨胀螺丝", "200个/盒", "铜线"})
        QVERIFY2(text.contains(part), qPrintable(part));
    QCOMPARE(text.count(QStringLiteral("¥1.00")), 4);
    QVERIFY(window.registered.isEmpty());
    QVERIFY(window.opened.isEmpty());
}

// The preview's 保存为PDF文件 writes the sheets to the file the user names.
void TestPrintCodeDlg::previewSavesAPdfFile() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages({IDYES});
    QTemporaryDir dir;
    const QString pdf = dir.filePath("标签.pdf");
    ModalDriver<QFileDialog> files({[&](QFileDialog* dialog) {
        // the suggested name is selected; the user types another in the folder chosen
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), "条码标签.pdf");
        dialog->setDirectory(dir.path());
        auto* name = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(name);
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        TypeText(name, "标签.pdf");
        QTest::keyClick(name, Qt::Key_Return);
    }});
    ModalDriver<QPrintPreviewDialog> preview({[&](QPrintPreviewDialog* dialog) {
        QAction* save = nullptr;
        for (QAction* action : dialog->findChildren<QAction*>())
            if (action->text() == QStringLiteral("保存为PDF文件"))
                save = action;
        QVERIFY(save);
        auto* tools = dialog->findChild<QToolBar*>();
        QTest::mouseClick(tools->widgetForAction(save), Qt::LeftButton);
        dialog->accept();
    }});
    Window window;
    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);
    QCOMPARE(files.Handled(), 1);
    QCOMPARE(messages.Count(), 1);
    const QList<QStringList> scanned = ScanPdfBarcodes(pdf);
    QCOMPARE(scanned.size(), 1); // 5 labels on one A4 sheet of 24
    QCOMPARE(Sorted(scanned[0]), LabelCodes(db));
}

void TestPrintCodeDlg::cancelledChoicePrintsNothing() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages({IDCANCEL});
    ModalDriver<QPrintPreviewDialog> preview({});
    Window window;
    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{Question(5)});
    QCOMPARE(LabelCodes(db).size(), 5); // the rows stay for a label program started by hand
    QCOMPARE(preview.Handled(), 0);
    QVERIFY(window.registered.isEmpty() && window.opened.isEmpty());
}

void TestPrintCodeDlg::labelSetupChangesTheSheet() {
    TestDatabase db;
    MessageScript messages;
    Window window;
    QCOMPARE(window.dialog.SheetText()->text(), QStringLiteral("A4 纸，每页 3×8 个，70×37 毫米"));
    ModalDriver<CLabelSetupDlg> setup({[](CLabelSetupDlg* dialog) {
        Retype(dialog->findChild<QSpinBox*>("columns"), "2");
        Retype(dialog->findChild<QSpinBox*>("rows"), "5");
        QTest::keyClick(dialog, Qt::Key_Return);
    }});
    QTest::mouseClick(window.dialog.SetupButton(), Qt::LeftButton);
    QCOMPARE(setup.Handled(), 1);
    QCOMPARE(window.dialog.SheetText()->text(), QStringLiteral("A4 纸，每页 2×5 个，70×37 毫米"));
    QCOMPARE(LabelSheet::Load().LabelsPerSheet(), 10);
    QCOMPARE(messages.Count(), 0);
}

// 否 hands the rows to the label program: the data source is written into the user's ODBC
// configuration (a temporary one here), and the SQLite ODBC driver reads through it exactly
// the rows the window filled.
void TestPrintCodeDlg::labelProgramReadsTheRowsThroughTheDataSource() {
    TestDatabase db;
    FillCatalogue(db);
    OdbcHome home;
    MessageScript messages({IDNO});
    LabelDocument document;
    Window window;
    window.dialog.SetRegistrar(&LabelDataSource::Register);
    CGridCtrl* list1 = window.dialog.List(1);
    ClickCell(list1, RowOf(list1, 1, "五金"), 1);
    QTest::mouseClick(window.dialog.ClassButton(), Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{Question(3)}); // registered without complaint
    QCOMPARE(window.opened.size(), 1);

    QString error;
    const QStringList rows =
        home.Query("远航销售", "SELECT shortname, spec, code FROM printcodedata", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(Sorted(rows), Sorted({"膨胀螺丝|100个/盒|0101010001", "大膨胀螺丝|200个/盒|0101010002",
                                   "螺丝|50个/袋|0101000001"}));
    QCOMPARE(Sorted(rows), Sorted(db.Rows("SELECT shortname, spec, code FROM printcodedata")));
}

void TestPrintCodeDlg::failedRegistrationIsReportedAndTheDocumentStillOpens() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages({IDNO});
    LabelDocument document;
    Window window;
    window.registerResult = false;
    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);
    QCOMPARE(messages.Texts(), (QStringList{Question(5), kNoDataSource}));
    QCOMPARE(messages.Messages().last().icon, MsgIcon::Exclamation);
    QCOMPARE(LabelCodes(db).size(), 5);
    QCOMPARE(window.opened.size(), 1);
}

void TestPrintCodeDlg::missingLabelDocumentIsReportedWithoutOpeningAnything() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages({IDNO});
    Window window;
    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);
    QCOMPARE(messages.Count(), 2);
    QVERIFY(messages.Last().startsWith(QStringLiteral("找不到条码标签文件")));
    QVERIFY(messages.Last().contains(QStringLiteral("ODBC数据源.lsdx")));
    QVERIFY(window.opened.isEmpty());
    QCOMPARE(LabelCodes(db).size(), 5); // the label rows are ready all the same
}

void TestPrintCodeDlg::documentThatCannotBeOpenedIsReported() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages({IDNO});
    LabelDocument document;
    Window window;
    window.openResult = false;
    QTest::mouseClick(window.dialog.ClassButton(), Qt::LeftButton);
    QCOMPARE(window.opened.size(), 1);
    QCOMPARE(messages.Count(), 2);
    QVERIFY(messages.Last().startsWith(QStringLiteral("不能打开条码标签文件")));
}

void TestPrintCodeDlg::looksFinished() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    Window window;
    CGridCtrl* list1 = window.dialog.List(1);
    ClickCell(list1, RowOf(list1, 1, "五金"), 1);
    ClickCell(window.dialog.List(2), 1, 1);
    const QRect lists = window.dialog.List(1)->geometry();
    const QRect button = window.dialog.ClassButton()->geometry();
    QVERIFY(button.top() >
            window.dialog.List(1)->mapTo(&window.dialog, QPoint(0, lists.height())).y());
    QVERIFY(window.dialog.rect().contains(window.dialog.AllButton()->geometry()));
    QVERIFY(window.dialog.rect().contains(window.dialog.SetupButton()->geometry()));
    const QLabel* sheet = window.dialog.SheetText();
    QVERIFY(sheet->geometry().left() > window.dialog.AllButton()->geometry().right());
    QVERIFY(sheet->geometry().right() < window.dialog.SetupButton()->geometry().left());
    QVERIFY(sheet->width() >= sheet->sizeHint().width());
    Snapshot(&window.dialog, "printcode");
    QVERIFY(ShowsWhole(&window.dialog, window.dialog.List(1)));
    QVERIFY(ShowsWhole(&window.dialog, window.dialog.AllButton()));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetupFonts();
    TestPrintCodeDlg test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printcodedlg.moc"
