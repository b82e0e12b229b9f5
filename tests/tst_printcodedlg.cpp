#include <QFile>
#include <QPushButton>
#include <QtTest>

#include "app/FontSetup.h"
#include "catalogue/CPrintCodeDlg.h"
#include "catalogue/LabelDataSource.h"
#include "grid/CGridCtrl.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"

namespace {

const QString kNoDataSource = QStringLiteral("不能自动配置数据源，请手动配置后再进行条码打印");

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

void ClickCell(CGridCtrl* grid, int row, int col) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->GetCellRect(row, col).center());
}

// The row of list k whose given column holds the text.
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

  private slots:
    void init() { QVERIFY(!QFileInfo::exists(CPrintCodeDlg::LabelDocumentPath())); }

    // Filling printcodedata (the first case runs before any click since start-up)
    void nothingChosenLabelsEveryProductAndThePrefixOutlivesTheWindow();
    void classLabelsCopyExactlyTheChosenBranch();
    void specificationClickLabelsThatOneProduct();
    void allLabelsCopyEveryProductAndDropTheOldRows();
    void headerClickKeepsThePrefix();

    // Data source and label document
    void attributeBlockNamesTheSourceAndTheDatabase();
    void failedRegistrationIsReportedAndTheDocumentStillOpens();
    void missingLabelDocumentIsReportedWithoutOpeningAnything();
    void documentThatCannotBeOpenedIsReported();

    void looksFinished();
};

void TestPrintCodeDlg::classLabelsCopyExactlyTheChosenBranch() {
    TestDatabase db;
    FillCatalogue(db);
    db.Exec("INSERT INTO printcodedata (shortname, spec, code) VALUES ('旧', '1个', '9900000001')");
    MessageScript messages;
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

    QCOMPARE(messages.Count(), 0);
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
    // that specification has no properties: nothing to label
    QCOMPARE(LabelCodes(db), QStringList{});

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

void TestPrintCodeDlg::attributeBlockNamesTheSourceAndTheDatabase() {
    const QString path = QStringLiteral("/home/店员/远航/Harbor.db");
    const QByteArray block = LabelDataSource::Attributes(path);
    QVERIFY(block.endsWith(QByteArray("\0\0", 2)));
    const QList<QByteArray> parts = block.chopped(2).split('\0');
    QCOMPARE(parts.size(), 2);
    QCOMPARE(QString::fromUtf8(parts[0]), QStringLiteral("DSN=远航销售"));
    QCOMPARE(QString::fromUtf8(parts[1]), "Database=" + path);
    // a long path is passed whole
    const QString longPath = "/" + QString(400, QChar('x')) + "/Harbor.db";
    QVERIFY(LabelDataSource::Attributes(longPath).contains(longPath.toUtf8()));
}

void TestPrintCodeDlg::failedRegistrationIsReportedAndTheDocumentStillOpens() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    LabelDocument document;
    Window window;
    window.registerResult = false;
    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{kNoDataSource});
    QCOMPARE(messages.Messages().first().icon, MsgIcon::Exclamation);
    QCOMPARE(LabelCodes(db).size(), 5);
    QCOMPARE(window.opened.size(), 1);
}

void TestPrintCodeDlg::missingLabelDocumentIsReportedWithoutOpeningAnything() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    Window window;
    QTest::mouseClick(window.dialog.AllButton(), Qt::LeftButton);
    QCOMPARE(messages.Count(), 1);
    QVERIFY(messages.Last().startsWith(QStringLiteral("找不到条码标签文件")));
    QVERIFY(messages.Last().contains(QStringLiteral("ODBC数据源.lsdx")));
    QVERIFY(window.opened.isEmpty());
    QCOMPARE(LabelCodes(db).size(), 5); // the label rows are ready all the same
}

void TestPrintCodeDlg::documentThatCannotBeOpenedIsReported() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    LabelDocument document;
    Window window;
    window.openResult = false;
    QTest::mouseClick(window.dialog.ClassButton(), Qt::LeftButton);
    QCOMPARE(window.opened.size(), 1);
    QCOMPARE(messages.Count(), 1);
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
    QVERIFY(window.dialog.grab().save("/tmp/printcode.png"));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetupFonts();
    TestPrintCodeDlg test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printcodedlg.moc"
