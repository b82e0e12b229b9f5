// The stock-in query on a real database: documents by number range, supplier and state, the
// total of the listed amounts, the detail of a clicked document and payment states written to
// every row of a document.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"
#include "text/HarborClock.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceList.h"
#include "queries/CEntryQueryDlg.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"
#include "support/UserInput.h"

namespace {

// A stored stock-in document: one entry row per line with the header repeated.
struct StoredDoc {
    QString oddnum;
    QString supplier;
    QString money;
    QString state;
    QStringList codes;
};

void Store(TestDatabase& db, const StoredDoc& doc) {
    int line = 0;
    for (const QString& code : doc.codes) {
        ++line;
        db.Exec(
            "INSERT INTO entry (oddnum, supplier, mydate, money, fmoney, state, mc, shortname, "
            "code, spec, price, \"count\", total) VALUES (?, ?, ?, ?, ?, ?, ?, '', ?, '10个/箱', "
            "?, '2', ?)",
            {doc.oddnum, doc.supplier,
             QDate::fromString(doc.oddnum.left(8), "yyyyMMdd").toString("yyyy/M/d"), doc.money,
             doc.money.isEmpty() ? QVariant() : QVariant(doc.money.toDouble()), doc.state,
             QStringLiteral("商品%1").arg(line), code, QString::number(line),
             QString::number(2 * line)});
    }
}

struct ShownQuery {
    TestDatabase db;
    CEntryQueryDlg* dlg = nullptr;
    CGridCtrl* list = nullptr;
    CGridCtrl* detail = nullptr;
    bool ready = false;

    ShownQuery() {
        db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('张三五金厂', 'ZSWJC')");
        db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('张记', 'ZJ')");
        db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('李四', 'LS')");
        dlg = new CEntryQueryDlg;
        dlg->resize(1280, 700);
        dlg->show();
        ready = QTest::qWaitForWindowExposed(dlg);
        list = dlg->ListGrid();
        detail = dlg->DetailGrid();
    }
    ~ShownQuery() { delete dlg; }

    void Run(const QDate& start, const QDate& end, const QString& supplier = QString(),
             const QString& state = QString()) {
        dlg->StartBox()->setDate(start);
        dlg->EndBox()->setDate(end);
        dlg->SupplierBox()->setEditText(supplier);
        dlg->StateBox()->setCurrentIndex(dlg->StateBox()->findText(state));
        QTest::mouseClick(dlg->QueryButton(), Qt::LeftButton);
    }
    QStringList States(const QString& oddnum) {
        return db.Rows(QStringLiteral("SELECT state FROM entry WHERE oddnum='%1'").arg(oddnum));
    }
};

const QDate kFirst(2026, 12, 1);
const QDate kLast(2026, 12, 6);

} // namespace

class TestEntryQueryDlg : public QObject {
    Q_OBJECT

  private slots:
    void opensEmptyWithDefaultsAndPrintingReady();
    void dateRangeCoversExactlyTheNumbersOfItsDays();
    void defaultDatesListToday();
    void supplierAndStateFilters();
    void typedWildcardsAndQuotesMatchThemselves();
    void totalOfListedAmounts();
    void supplierSearchByInitials();
    void detailOfClickedDocument();
    void stateChangeWritesEveryRowOfTheDocument();
    void failedStateChangeWritesNothing();
    void closingResetsSupplierAndStartDate();
};

void TestEntryQueryDlg::opensEmptyWithDefaultsAndPrintingReady() {
    ShownQuery q;
    QVERIFY(q.ready);
    QCOMPARE(q.dlg->windowTitle(), QString("入库单查询"));
    QCOMPARE(q.dlg->StartBox()->date(), HarborToday());
    QCOMPARE(q.dlg->EndBox()->date(), HarborToday());
    QCOMPARE(q.list->GetRowCount(), 1);
    QCOMPARE(q.list->GetColumnCount(), 6);
    QCOMPARE(q.detail->GetColumnCount(), 7);
    QCOMPARE(q.list->GetCellText(0, 5), QString("付款状态"));
    QCOMPARE(q.detail->GetCellText(0, 6), QString("总价"));
    QCOMPARE(q.dlg->StateBox()->count(), 3);
    QCOMPARE(q.dlg->StateBox()->itemText(0), QString());
    const QList<QWidget*> printing{q.dlg->PrintButton(), q.dlg->PreviewButton(),
                                   q.dlg->SinglePageBox()};
    for (QWidget* control : printing) {
        QVERIFY(control->isEnabled());
        QVERIFY(control->toolTip().isEmpty());
    }
    // Single-page printing is ticked: no paper to set up.
    QVERIFY(q.dlg->SinglePageBox()->isChecked());
    QVERIFY(!q.dlg->PrintSetupButton()->isEnabled());
}

void TestEntryQueryDlg::dateRangeCoversExactlyTheNumbersOfItsDays() {
    ShownQuery q;
    Store(q.db, {"20261130999", "张三五金厂", "1.00", "未付", {"0101000001"}});
    Store(q.db, {"20261201001", "张三五金厂", "10.00", "未付", {"0101000001", "0102000001"}});
    Store(q.db, {"20261206999", "李四", "20.00", "已付", {"0101000001", "0102000001", "02"}});
    Store(q.db, {"20261207001", "李四", "40.00", "已付", {"0101000001"}});
    q.Run(kFirst, kLast);
    // One row per document, however many lines it has.
    QCOMPARE(ColumnTexts(q.list, 1), (QStringList{"20261201001", "20261206999"}));
    QCOMPARE(ColumnTexts(q.list, 0), (QStringList{"1", "2"}));
    QCOMPARE(ColumnTexts(q.list, 2), (QStringList{"张三五金厂", "李四"}));
    QCOMPARE(ColumnTexts(q.list, 3), (QStringList{"2026/12/1", "2026/12/6"}));
    QCOMPARE(ColumnTexts(q.list, 4), (QStringList{"10.00", "20.00"}));
    QCOMPARE(ColumnTexts(q.list, 5), (QStringList{"未付", "已付"}));
    QCOMPARE(q.dlg->TotalBox()->text(), QString("30.00"));

    // A second query replaces the list.
    q.Run(kLast, kLast.addDays(1));
    QCOMPARE(ColumnTexts(q.list, 1), (QStringList{"20261206999", "20261207001"}));
    q.Run(kLast.addDays(2), kLast.addDays(3));
    QCOMPARE(q.list->GetRowCount(), 1);
    QCOMPARE(q.dlg->TotalBox()->text(), QString("0.00"));
}

// The window opens on today's stock-ins, already listed; 查询 with the dates as they open
// lists today's again, with what was saved meanwhile.
void TestEntryQueryDlg::defaultDatesListToday() {
    TestDatabase db;
    const QString today = HarborToday().toString("yyyyMMdd");
    const QString tomorrow = HarborToday().addDays(1).toString("yyyyMMdd");
    Store(db, {"19990101001", "张记", "5.00", "未付", {"0101000001"}});
    Store(db, {today + "001", "张记", "6.00", "已付", {"0101000001"}});
    Store(db, {tomorrow + "001", "张记", "7.00", "已付", {"0101000001"}});
    CEntryQueryDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(ColumnTexts(dlg.ListGrid(), 1), QStringList{today + "001"});
    QCOMPARE(dlg.TotalBox()->text(), QString("6.00"));
    Store(db, {today + "002", "张记", "1.50", "未付", {"0101000001"}});
    QTest::mouseClick(dlg.QueryButton(), Qt::LeftButton);
    QCOMPARE(ColumnTexts(dlg.ListGrid(), 1), (QStringList{today + "001", today + "002"}));
    QCOMPARE(dlg.TotalBox()->text(), QString("7.50"));
}

void TestEntryQueryDlg::supplierAndStateFilters() {
    ShownQuery q;
    Store(q.db, {"20261201001", "张三五金厂", "10.00", "未付", {"01"}});
    Store(q.db, {"20261202001", "张记", "20.00", "已付", {"01"}});
    Store(q.db, {"20261203001", "张三五金厂", "30.00", "已付", {"01", "02"}});
    Store(q.db, {"20261204001", "李四", "40.00", "部分已付", {"01"}});

    q.Run(kFirst, kLast, "张三");
    QCOMPARE(ColumnTexts(q.list, 1), (QStringList{"20261201001", "20261203001"}));
    QCOMPARE(q.dlg->TotalBox()->text(), QString("40.00"));

    // The state matches as contained text, as the stored texts are free.
    q.Run(kFirst, kLast, QString(), "已付");
    QCOMPARE(ColumnTexts(q.list, 1), (QStringList{"20261202001", "20261203001", "20261204001"}));
    QCOMPARE(ColumnTexts(q.list, 5), (QStringList{"已付", "已付", "部分已付"}));

    q.Run(kFirst, kLast, "张", "已付");
    QCOMPARE(ColumnTexts(q.list, 1), (QStringList{"20261202001", "20261203001"}));
    QCOMPARE(q.dlg->TotalBox()->text(), QString("50.00"));

    q.Run(kFirst, kLast, "王五");
    QCOMPARE(q.list->GetRowCount(), 1);
}

void TestEntryQueryDlg::typedWildcardsAndQuotesMatchThemselves() {
    ShownQuery q;
    MessageScript messages;
    Store(q.db, {"20261201001", "O'Neil五金", "10.00", "未付", {"01"}});
    Store(q.db, {"20261202001", "100%电料", "20.00", "未付", {"01"}});
    Store(q.db, {"20261203001", "A_B建材", "30.00", "未付", {"01"}});
    Store(q.db, {"20261204001", "AXB建材", "40.00", "未付", {"01"}});

    q.Run(kFirst, kLast, "O'Neil");
    QCOMPARE(ColumnTexts(q.list, 1), QStringList{"20261201001"});
    q.Run(kFirst, kLast, "%");
    QCOMPARE(ColumnTexts(q.list, 1), QStringList{"20261202001"});
    q.Run(kFirst, kLast, "A_B");
    QCOMPARE(ColumnTexts(q.list, 1), QStringList{"20261203001"});
    q.Run(kFirst, kLast, "' OR ''='");
    QCOMPARE(q.list->GetRowCount(), 1);
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(q.db.Value("SELECT count(*) FROM entry"), QString("4"));
}

void TestEntryQueryDlg::totalOfListedAmounts() {
    ShownQuery q;
    const QStringList amounts{"120.50", "0.10", "0.20", "1234.56", "", "99.99"};
    int day = 0;
    for (const QString& money : amounts)
        Store(q.db, {QStringLiteral("202612%1001").arg(++day, 2, 10, QChar('0')),
                     "张记",
                     money,
                     "未付",
                     {"01", "02"}});
    q.Run(kFirst, kLast);
    QCOMPARE(q.list->GetRowCount(), 7);
    // 120.50 + 0.10 + 0.20 + 1234.56 + 99.99; an empty amount counts nothing.
    QCOMPARE(q.dlg->TotalBox()->text(), QString("1455.35"));
    q.Run(kFirst, QDate(2026, 12, 3));
    QCOMPARE(q.dlg->TotalBox()->text(), QString("120.80"));
}

void TestEntryQueryDlg::supplierSearchByInitials() {
    ShownQuery q;
    QComboBox* box = q.dlg->SupplierBox();
    box->setFocus();
    TypeText(box, "z");
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(q.dlg->isVisible());
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(0), QString("张三五金厂"));
    QCOMPARE(box->itemText(1), QString("张记"));
    QCOMPARE(box->currentText(), QString("张三五金厂"));

    // Nothing found: the typed text stays, upper-cased; a typed "_" is no wildcard.
    box->setEditText(QString());
    TypeText(box, "l_");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->count(), 0);
    QCOMPARE(box->currentText(), QString("L_"));

    // Enter elsewhere neither searches nor closes.
    QTest::keyClick(q.dlg->EndBox(), Qt::Key_Return);
    QVERIFY(q.dlg->isVisible());
}

void TestEntryQueryDlg::detailOfClickedDocument() {
    ShownQuery q;
    Store(q.db, {"20261201001", "张三五金厂", "10.00", "未付", {"0101000001", "0102000001"}});
    Store(q.db, {"20261202001", "李四", "20.00", "已付", {"0200000001", "0101000001", "03"}});
    q.Run(kFirst, kLast);

    ClickCell(q.list, 2, 2);
    QCOMPARE(q.dlg->m_nClickRow, 2);
    QCOMPARE(q.dlg->m_nClickCol, 2);
    QCOMPARE(ColumnTexts(q.detail, 0), (QStringList{"1", "2", "3"}));
    QCOMPARE(ColumnTexts(q.detail, 1), (QStringList{"商品1", "商品2", "商品3"}));
    QCOMPARE(ColumnTexts(q.detail, 2), (QStringList{"0200000001", "0101000001", "03"}));
    QCOMPARE(ColumnTexts(q.detail, 3), (QStringList{"10个/箱", "10个/箱", "10个/箱"}));
    QCOMPARE(ColumnTexts(q.detail, 4), (QStringList{"1", "2", "3"}));
    QCOMPARE(ColumnTexts(q.detail, 5), (QStringList{"2", "2", "2"}));
    QCOMPARE(ColumnTexts(q.detail, 6), (QStringList{"2", "4", "6"}));

    // The row number counts; the state column and the header do not change the detail.
    ClickCell(q.list, 1, 0);
    QCOMPARE(ColumnTexts(q.detail, 2), (QStringList{"0101000001", "0102000001"}));
    ClickCell(q.list, 2, 5);
    if (QWidget* editor = q.list->GetEditWnd())
        QTest::keyClick(editor, Qt::Key_Escape);
    QCOMPARE(ColumnTexts(q.detail, 2), (QStringList{"0101000001", "0102000001"}));
    ClickCell(q.list, 0, 1);
    QCOMPARE(ColumnTexts(q.detail, 2), (QStringList{"0101000001", "0102000001"}));

    // The detail is read-only; a new query empties it.
    QVERIFY(!q.detail->IsCellEditable(1, 1));
    QTest::mouseClick(q.dlg->QueryButton(), Qt::LeftButton);
    QCOMPARE(q.detail->GetRowCount(), 1);
}

void TestEntryQueryDlg::stateChangeWritesEveryRowOfTheDocument() {
    ShownQuery q;
    MessageScript messages;
    Store(q.db, {"20261201001", "张三五金厂", "10.00", "未付", {"01", "02", "03"}});
    Store(q.db, {"20261202001", "李四", "20.00", "未付", {"01", "02"}});
    q.Run(kFirst, kLast, QString(), "未付");

    ChooseInCell(q.list, 1, 5, "已付");
    QCOMPARE(q.States("20261201001"), (QStringList{"已付", "已付", "已付"}));
    QCOMPARE(q.States("20261202001"), (QStringList{"未付", "未付"}));
    // The list stays as it is, although the document no longer matches the filter.
    QCOMPARE(ColumnTexts(q.list, 1), (QStringList{"20261201001", "20261202001"}));
    QCOMPARE(ColumnTexts(q.list, 5), (QStringList{"已付", "未付"}));
    QCOMPARE(messages.Count(), 0);

    ChooseInCell(q.list, 1, 5, "未付");
    QCOMPARE(q.States("20261201001"), (QStringList{"未付", "未付", "未付"}));

    // The document's own texts cannot be edited into another document's number.
    QVERIFY(!q.list->IsCellEditable(1, 1));
    QVERIFY(!q.list->IsCellEditable(1, 4));
    QVERIFY(q.list->IsCellEditable(1, 5));
}

void TestEntryQueryDlg::failedStateChangeWritesNothing() {
    ShownQuery q;
    MessageScript messages;
    Store(q.db, {"20261201001", "张三五金厂", "10.00", "未付", {"01", "02", "03"}});
    // The last row refuses the change, after the first two were written.
    q.db.RefuseChanges("entry", "UPDATE OF state", "OLD.code = '03'", "refused");
    q.Run(kFirst, kLast);

    ChooseInCell(q.list, 1, 5, "已付");
    QCOMPARE(q.States("20261201001"), (QStringList{"未付", "未付", "未付"}));
    QCOMPARE(q.list->GetCellText(1, 5), QString("未付"));
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Messages().first().icon, MsgIcon::Stop);
    QVERIFY(messages.Last().contains("修改付款状态"));
}

void TestEntryQueryDlg::closingResetsSupplierAndStartDate() {
    ShownQuery q;
    q.dlg->StartBox()->setDate(kFirst);
    q.dlg->SupplierBox()->setEditText("张记");
    QVERIFY(q.dlg->QueryClose());
    QCOMPARE(q.dlg->StartBox()->date(), HarborToday());
    QCOMPARE(q.dlg->SupplierBox()->currentText(), QString());
}

QTEST_MAIN(TestEntryQueryDlg)
#include "tst_entryquerydlg.moc"
