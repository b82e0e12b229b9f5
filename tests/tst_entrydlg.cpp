// The stock-in window on a real database: numbers for the delivery date, suppliers, lines
// through the pickers, line arithmetic, saving with its stock changes, deleting, the close
// question and a failing save.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"

#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/CSelectNameDlg.h"
#include "catalogue/PickHandOver.h"
#include "documents/CEntryDlg.h"
#include "grid/CGridCtrl.h"
#include "parties/CSupplierDlg.h"
#include "queries/CEntryQueryDlg.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "support/UserInput.h"

namespace {

const QString kScrew = "0101000001";  // stock 100
const QString kSwitch = "0200000001"; // stock 30
const QString kNail = "0102000001";   // stock 50
const QString kNoProperty = "0300000001";
const QDate kDelivery(2024, 3, 5);

void AddProduct(TestDatabase& db, const QString& code, const QString& name,
                const QString& shortName, const QString& total) {
    db.Exec(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, total) "
                           "VALUES ('%1', '%2', '%3', '10个/箱', '9.00', '%4')")
                .arg(code, name, shortName, total));
}

void FillShop(TestDatabase& db) {
    AddProduct(db, kScrew, "五金-螺丝", "螺丝", "100");
    AddProduct(db, kSwitch, "开关", "开关", "30");
    AddProduct(db, kNail, "五金-钉子", "钉子", "50");
    db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('张三五金厂', 'ZSWJC')");
    db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('李四', 'LS')");
    db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('张记', 'ZJ')");
}

struct ShownDoc {
    TestDatabase db;
    CEntryDlg* dlg = nullptr;
    CGridCtrl* grid = nullptr;
    bool ready = false;

    ShownDoc() {
        FillShop(db);
        dlg = new CEntryDlg;
        dlg->resize(1280, 700);
        dlg->show();
        ready = QTest::qWaitForWindowExposed(dlg);
        grid = dlg->Grid();
        dlg->DateBox()->setDate(kDelivery);
    }
    ~ShownDoc() { delete dlg; }

    // A line through the search box and the pinyin picker.
    void AddLine(const QString& code) { AddLineBySearch(dlg->SearchBox(), code); }
    void AddLine(const QString& code, const QString& price, const QString& count) {
        AddLine(code);
        const int row = grid->GetRowCount() - 1;
        TypeInCell(grid, row, 5, price);
        TypeInCell(grid, row, 6, count);
    }
    // A new document with a supplier, the state 未付 and the lines (code, price, quantity).
    void FillDocument(const QList<QStringList>& lines) {
        QTest::mouseClick(dlg->NewButton(), Qt::LeftButton);
        dlg->SupplierBox()->setEditText("张三五金厂");
        dlg->StateBox()->setCurrentIndex(dlg->StateBox()->findText("未付"));
        for (const QStringList& line : lines) {
            AddLine(line[0], line[1], line[2]);
        }
    }
    QString Stock(const QString& code) {
        return db.Value(QStringLiteral("SELECT total FROM property WHERE code='%1'").arg(code));
    }
    int SavedRows() { return db.Value("SELECT count(*) FROM entry").toInt(); }
};

} // namespace

class TestEntryDlg : public QObject {
    Q_OBJECT

  private slots:
    void init() { PickArea().m_nPickTarget = 0; }
    void opensClosedAndNewDocumentDrawsNumberForDate();
    void supplierSearchAndSupplierDialog();
    void linesThroughPickers();
    void lineArithmeticAndRefusedText();
    void refusalsWriteNothing();
    void saveWritesRowsAndRaisesStock();
    void savingAgainMovesOnlyTheDifference();
    void replacedProductMovesStockBetweenProducts();
    void deletingLines();
    void closeQuestion();
    void failedSaveWritesNothing();
    void numberTakenByAnotherWorkstation();
    void openEditorIsSavedByCloseQuestion();
    void deletingRemovesTheChosenLine();
    void productDeletedMeanwhileIsRefused();
    void numberFollowsTheDateAtTheFirstSave();
};

void TestEntryDlg::opensClosedAndNewDocumentDrawsNumberForDate() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QCOMPARE(PickArea().m_nPickTarget, 1);
    // The window opens on a new document, ready for the scanner; nothing is stored.
    for (QWidget* control : std::initializer_list<QWidget*>{
             doc.dlg->SupplierBox(), doc.dlg->StateBox(), doc.dlg->SearchBox(),
             doc.dlg->AddLineButton(), doc.dlg->DeleteLineButton(), doc.dlg->SupplierButton()})
        QVERIFY(control->isEnabled());
    QVERIFY(doc.dlg->SearchBox()->hasFocus());
    QVERIFY(!doc.dlg->OddnumBox()->text().isEmpty());
    QCOMPARE(doc.db.Value("SELECT count(*) FROM entry"), QString("0"));
    QVERIFY(doc.dlg->DateBox()->isEnabled());
    QVERIFY(doc.dlg->SaveButton()->isEnabled());

    doc.db.Exec("INSERT INTO entry (oddnum) VALUES ('20240305001')");
    doc.db.Exec("INSERT INTO entry (oddnum) VALUES ('20240306007')");
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    QCOMPARE(doc.dlg->OddnumBox()->text(), QString("20240305002"));
    QVERIFY(doc.dlg->OddnumBox()->isReadOnly());
    QVERIFY(doc.dlg->MoneyBox()->isReadOnly());
    QVERIFY(doc.dlg->SupplierBox()->isEnabled());
    QCOMPARE(doc.dlg->StateBox()->count(), 2);
    QCOMPARE(doc.dlg->StateBox()->itemText(0), QString("未付"));
    QCOMPARE(doc.dlg->StateBox()->itemText(1), QString("已付"));
    QVERIFY(doc.dlg->PrintButton()->isEnabled());

    // A second new document before saving draws the same number; another date its own.
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    QCOMPARE(doc.dlg->OddnumBox()->text(), QString("20240305002"));
    QCOMPARE(doc.dlg->StateBox()->count(), 2);
    doc.dlg->DateBox()->setDate(QDate(2024, 3, 6));
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    QCOMPARE(doc.dlg->OddnumBox()->text(), QString("20240306008"));

    // The date's numbers used up: no document starts.
    doc.db.Exec("INSERT INTO entry (oddnum) VALUES ('20240307999')");
    doc.dlg->DateBox()->setDate(QDate(2024, 3, 7));
    MessageScript messages;
    QVERIFY(!doc.dlg->NewDocument());
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(doc.dlg->OddnumBox()->text(), QString("20240306008"));
}

void TestEntryDlg::supplierSearchAndSupplierDialog() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    QComboBox* box = doc.dlg->SupplierBox();
    box->setFocus();
    TypeText(box, "z");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->currentText(), QString("张三五金厂"));
    QCOMPARE(box->itemText(1), QString("张记"));

    box->setEditText("xyz");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->count(), 0);
    QCOMPARE(box->currentText(), QString("XYZ"));

    QString chosen;
    ModalDriver<CSupplierDlg> driver({[&chosen](CSupplierDlg* suppliers) {
        chosen = suppliers->Grid()->GetCellText(2, 1);
        DoubleClickCell(suppliers->Grid(), 2, 1);
    }});
    QTest::mouseClick(doc.dlg->SupplierButton(), Qt::LeftButton);
    QCOMPARE(driver.Handled(), 1);
    QVERIFY(!chosen.isEmpty());
    QCOMPARE(box->currentText(), chosen);
}

void TestEntryDlg::linesThroughPickers() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.AddLine(kScrew);
    QCOMPARE(doc.grid->GetRowCount(), 2);
    const QStringList expected = {"1", "五金-螺丝", "螺丝", kScrew, "10个/箱", "", "", ""};
    for (int col = 0; col < 8; ++col)
        QCOMPARE(doc.grid->GetCellText(1, col), expected[col]);
    QVERIFY(doc.dlg->SearchBox()->text().isEmpty());
    QVERIFY(!doc.grid->IsCellEditable(1, 3)); // products change by the pickers only
    QVERIFY(doc.grid->IsCellEditable(1, 5));

    // Without a search text the catalogue picker opens; closing it drops the new line.
    ModalDriver<CSelectNameDlg> driver({[](CSelectNameDlg* picker) { picker->reject(); }});
    QTest::mouseClick(doc.dlg->AddLineButton(), Qt::LeftButton);
    QCOMPARE(driver.Handled(), 1);
    QCOMPARE(doc.grid->GetRowCount(), 2);
    QCOMPARE(PickArea().m_nPickTarget, 1);

    // A product without properties is refused and leaves the line as it was.
    doc.dlg->m_nRow = 1;
    PickArea().m_strPickedName = "灯泡";
    PickArea().m_strPickedCode = kNoProperty;
    PickArea().m_strPickedSpec = "1个/盒";
    doc.dlg->m_bNoProperty = false;
    doc.dlg->PutPickedProduct();
    QVERIFY(doc.dlg->m_bNoProperty);
    QCOMPARE(doc.grid->GetCellText(1, 3), kScrew);
}

void TestEntryDlg::lineArithmeticAndRefusedText() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.AddLine(kScrew, "1.5", "3");
    QCOMPARE(doc.grid->GetCellText(1, 7), QString("4.50"));
    QVERIFY(doc.grid->GetCellFormat(1, 7) & DT_RIGHT);
    QCOMPARE(doc.dlg->MoneyBox()->text(), QString("4.50"));
    doc.AddLine(kSwitch, "0.333", "3");
    QCOMPARE(doc.grid->GetCellText(2, 7), QString("1.00"));
    QCOMPARE(doc.dlg->MoneyBox()->text(), QString("5.50"));
    // Half up on the exact decimal value, as a shop rounds: 1.235 -> 1.24, 1.245 -> 1.25.
    TypeInCell(doc.grid, 2, 5, "1.235");
    TypeInCell(doc.grid, 2, 6, "1");
    QCOMPARE(doc.grid->GetCellText(2, 7), QString("1.24"));
    TypeInCell(doc.grid, 2, 5, "1.245");
    QCOMPARE(doc.grid->GetCellText(2, 7), QString("1.25"));
    QCOMPARE(doc.dlg->MoneyBox()->text(), QString("5.75"));

    // Text that is not a number is refused and the old value comes back.
    MessageScript messages;
    TypeInCell(doc.grid, 1, 6, "3x");
    QCOMPARE(messages.Texts(), QStringList{"数量\"3x\"不是数字,请改正"});
    QCOMPARE(doc.grid->GetCellText(1, 6), QString("3"));
    TypeInCell(doc.grid, 1, 5, "1,5");
    QCOMPARE(messages.Count(), 2);
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("1.5"));
    QCOMPARE(doc.dlg->MoneyBox()->text(), QString("5.75"));

    // A product replaced on a line empties its price, quantity and amount and the total.
    doc.dlg->m_nRow = 1;
    PickArea().m_strPickedName = "五金-钉子";
    PickArea().m_strPickedCode = kNail;
    PickArea().m_strPickedSpec = "10个/箱";
    doc.dlg->PutPickedProduct();
    QCOMPARE(doc.grid->GetCellText(1, 2), QString("钉子"));
    QCOMPARE(doc.grid->GetCellText(1, 6), QString());
    QCOMPARE(doc.grid->GetCellText(1, 7), QString());
    QCOMPARE(doc.dlg->MoneyBox()->text(), QString());
}

void TestEntryDlg::refusalsWriteNothing() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    MessageScript messages;
    QVERIFY(!doc.dlg->Save()); // no document yet
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    QVERIFY(!doc.dlg->Save());
    doc.dlg->SupplierBox()->setEditText("张记");
    QVERIFY(!doc.dlg->Save());
    doc.dlg->StateBox()->setEditText("部分付");
    QVERIFY(!doc.dlg->Save());
    doc.AddLine(kScrew);
    QVERIFY(!doc.dlg->Save());
    TypeInCell(doc.grid, 1, 5, "2");
    QVERIFY(!doc.dlg->Save());
    QCOMPARE(messages.Texts(), (QStringList{"请先选择供货商", "请先选择供货商", "请先选择付款状态",
                                            "请先完整填写表格", "请先填写单价", "请先填写数量"}));
    QCOMPARE(messages.Messages().last().icon, MsgIcon::Exclamation);
    QCOMPARE(doc.SavedRows(), 0);
    QCOMPARE(doc.Stock(kScrew), QString("100"));
}

void TestEntryDlg::saveWritesRowsAndRaisesStock() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "1.5", "3"}, {kSwitch, "2", "5"}});
    doc.dlg->SupplierBox()->setEditText("O'Neil's 五金");
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(messages.Count(), 0); // told in the window's status line
    QCOMPARE(doc.dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QCOMPARE(doc.db.Rows("SELECT oddnum, supplier, mydate, money, state, mc, shortname, code, "
                         "spec, price, \"count\", total FROM entry ORDER BY " +
                         TestDatabase::RowKey()),
             (QStringList{"20240305001|O'Neil's 五金|2024-03-05|14.50|未付|五金-螺丝|螺丝|" +
                              kScrew + "|10个/箱|1.5|3|4.50",
                          "20240305001|O'Neil's 五金|2024-03-05|14.50|未付|开关|开关|" + kSwitch +
                              "|10个/箱|2|5|10.00"}));
    QCOMPARE(TestDatabase::Fixed(doc.db.Rows("SELECT DISTINCT fmoney FROM entry"), 2),
             QStringList{"14.50"});
    QCOMPARE(doc.Stock(kScrew), QString("103.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("35.00"));
    QVERIFY(doc.dlg->m_bSaved);

    // A fractional quantity moves the stock by all of it, to the hundredth.
    doc.FillDocument({{kNail, "2", "2.5"}});
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kNail), QString("52.50"));
    QCOMPARE(doc.db.Value("SELECT total FROM entry WHERE oddnum='20240305002'"), QString("5.00"));
}

void TestEntryDlg::savingAgainMovesOnlyTheDifference() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "1", "3"}, {kSwitch, "1", "5"}});
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kScrew), QString("103.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("35.00"));

    TypeInCell(doc.grid, 2, 6, "7");
    doc.AddLine(kNail, "1", "4");
    doc.dlg->StateBox()->setCurrentIndex(doc.dlg->StateBox()->findText("已付"));
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kScrew), QString("103.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("37.00"));
    QCOMPARE(doc.Stock(kNail), QString("54.00"));
    QCOMPARE(doc.db.Rows("SELECT code, \"count\", money, state FROM entry ORDER BY " +
                         TestDatabase::RowKey()),
             (QStringList{kScrew + "|3|14.00|已付", kSwitch + "|7|14.00|已付",
                          kNail + "|4|14.00|已付"}));
    QCOMPARE(TestDatabase::Fixed(doc.db.Rows("SELECT DISTINCT fmoney FROM entry"), 2),
             QStringList{"14.00"});
}

void TestEntryDlg::replacedProductMovesStockBetweenProducts() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "1", "5"}, {kSwitch, "1", "2"}});
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kScrew), QString("105.00"));
    auto pickNail = [](CSelectNameDlg* picker) {
        HandOverPick(picker, "五金-钉子", kNail, "10个/箱");
        picker->accept();
    };
    ModalDriver<CSelectNameDlg> driver({pickNail, pickNail});
    // A stored line: its old product loses what was stored, the new one gains the quantity.
    ClickCell(doc.grid, 1, 1, Qt::RightButton);
    QCOMPARE(driver.Handled(), 1);
    QCOMPARE(doc.grid->GetCellText(1, 3), kNail);
    TypeInCell(doc.grid, 1, 5, "1");
    TypeInCell(doc.grid, 1, 6, "4");
    // A new line, replaced before it was ever saved: only the new product moves.
    doc.AddLine(kSwitch, "1", "6");
    ClickCell(doc.grid, 3, 2, Qt::RightButton);
    QCOMPARE(driver.Handled(), 2);
    TypeInCell(doc.grid, 3, 5, "1");
    TypeInCell(doc.grid, 3, 6, "6");
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kScrew), QString("100.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("32.00"));
    QCOMPARE(doc.Stock(kNail), QString("60.00"));
    QCOMPARE(doc.db.Rows("SELECT code, \"count\" FROM entry ORDER BY " + TestDatabase::RowKey()),
             (QStringList{kNail + "|4", kSwitch + "|2", kNail + "|6"}));
}

void TestEntryDlg::deletingLines() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "1", "3"}, {kSwitch, "2", "5"}, {kScrew, "1", "4"}});
    MessageScript messages;
    ClickCell(doc.grid, 2, 0); // the line-number column chooses nothing
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{"请先选择要删除的记录"});
    QCOMPARE(doc.grid->GetRowCount(), 4);
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kScrew), QString("107.00"));

    // The stored third line goes with its own row and the quantity stored for it, although
    // the first line has the same product and the cell was edited since (the edit is let go
    // when asked).
    TypeInCell(doc.grid, 3, 6, "9");
    ClickCell(doc.grid, 3, 1);
    messages.Answer(IDNO);
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(doc.grid->GetRowCount(), 3);
    QCOMPARE(doc.dlg->MoneyBox()->text(), QString("13.00"));
    QCOMPARE(doc.Stock(kScrew), QString("103.00"));
    QCOMPARE(
        doc.db.Rows("SELECT code, \"count\", money FROM entry ORDER BY " + TestDatabase::RowKey()),
        (QStringList{kScrew + "|3|13.00", kSwitch + "|5|13.00"}));
    QCOMPARE(TestDatabase::Fixed(doc.db.Rows("SELECT fmoney FROM entry"), 2),
             (QStringList{"13.00", "13.00"}));

    // A line that was never saved goes from the table only.
    doc.AddLine(kNail, "1", "8");
    ClickCell(doc.grid, 3, 2);
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(doc.Stock(kNail), QString("50"));
    QCOMPARE(doc.SavedRows(), 2);

    // The first line: the others move up and are numbered again.
    ClickCell(doc.grid, 1, 3);
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(doc.grid->GetRowCount(), 2);
    QCOMPARE(doc.grid->GetCellText(1, 0), QString("1"));
    QCOMPARE(doc.grid->GetCellText(1, 3), kSwitch);
    QCOMPARE(doc.Stock(kScrew), QString("100.00"));
    QCOMPARE(doc.db.Rows("SELECT code FROM entry"), QStringList{kSwitch});
    QVERIFY(doc.dlg->Save()); // the remaining line stays paired with its row
    QCOMPARE(doc.Stock(kSwitch), QString("35.00"));
    QCOMPARE(doc.SavedRows(), 1);
}

void TestEntryDlg::closeQuestion() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    MessageScript messages({IDYES, IDOK, IDNO});
    QVERIFY(doc.dlg->QueryClose()); // no document: nothing to ask
    QCOMPARE(messages.Count(), 0);

    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    QVERIFY(doc.dlg->QueryClose()); // a new document nobody touched: nothing to ask
    QCOMPARE(messages.Count(), 0);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.dlg->StateBox()->setCurrentIndex(doc.dlg->StateBox()->findText("已付"));
    QVERIFY(!doc.dlg->QueryClose()); // Yes: the save is refused and the window stays
    QCOMPARE(messages.Texts(), (QStringList{"销售单尚未保存,是否先保存?", "请先选择供货商"}));
    QCOMPARE(messages.Messages().first().caption, QString("销售单保存"));
    QCOMPARE(messages.Messages().first().buttons, MsgButtons::YesNo);
    QVERIFY(doc.dlg->QueryClose()); // No
    QVERIFY(doc.dlg->OddnumBox()->text().isEmpty());
    QVERIFY(doc.dlg->m_bSinglePage);

    messages.Clear();
    doc.FillDocument({{kScrew, "1", "2"}});
    messages.Answer(IDYES);
    QVERIFY(!doc.dlg->QueryClose()); // Yes: saved, the window stays
    QCOMPARE(doc.SavedRows(), 1);
    QVERIFY(doc.dlg->QueryClose()); // saved: no question
    QCOMPARE(messages.Texts(), (QStringList{"销售单尚未保存,是否先保存?"}));
    QCOMPARE(doc.dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
}

void TestEntryDlg::failedSaveWritesNothing() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "1", "3"}, {kSwitch, "1", "5"}});
    doc.db.RefuseChanges("property", "UPDATE", QStringLiteral("NEW.code='%1'").arg(kSwitch),
                         "disk full");
    MessageScript messages;
    QVERIFY(!doc.dlg->Save());
    QCOMPARE(messages.Count(), 1);
    QVERIFY(messages.Last().contains("保存入库单"));
    QCOMPARE(doc.SavedRows(), 0);
    QCOMPARE(doc.Stock(kScrew), QString("100"));
    QVERIFY(!doc.dlg->m_bSaved);

    doc.db.AllowChanges("property");
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.SavedRows(), 2);
    QCOMPARE(doc.Stock(kScrew), QString("103.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("35.00"));
}

void TestEntryDlg::numberTakenByAnotherWorkstation() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "1", "3"}});
    QCOMPARE(doc.dlg->OddnumBox()->text(), QString("20240305001"));
    doc.db.Exec("INSERT INTO entry (oddnum, supplier, code, \"count\") "
                "VALUES ('20240305001', '李四', '0200000001', '1')");
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(messages.Texts().first(),
             QString("单号20240305001已被其他电脑使用,本单已改用新单号20240305002保存"));
    QCOMPARE(doc.dlg->OddnumBox()->text(), QString("20240305002"));
    QCOMPARE(doc.db.Rows("SELECT oddnum, supplier, \"count\" FROM entry ORDER BY " +
                         TestDatabase::RowKey()),
             (QStringList{"20240305001|李四|1", "20240305002|张三五金厂|3"}));
    QCOMPARE(doc.Stock(kScrew), QString("103.00"));
}

// Typed text still in the cell editor belongs to the document that is saved.
void TestEntryDlg::openEditorIsSavedByCloseQuestion() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2", "3"}});
    ClickCell(doc.grid, 1, 6);
    if (QWidget* open = doc.grid->GetEditWnd())
        QTest::keyClick(open, Qt::Key_Escape);
    QTest::keyClick(doc.grid, '7');
    QVERIFY(doc.grid->GetEditWnd());
    MessageScript messages({IDYES});
    QVERIFY(!doc.dlg->QueryClose()); // Yes: saved, the window stays
    QCOMPARE(doc.dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QCOMPARE(doc.db.Rows("SELECT \"count\", total, money FROM entry"),
             QStringList{"7|14.00|14.00"});
    QCOMPARE(doc.Stock(kScrew), QString("107.00"));
}

// The line chosen by a left click goes, whatever line a picker filled since.
void TestEntryDlg::deletingRemovesTheChosenLine() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2", "3"}, {kSwitch, "1", "4"}});
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    ClickCell(doc.grid, 1, 1);
    ModalDriver<CSelectNameDlg> driver({[](CSelectNameDlg* picker) { picker->reject(); }});
    ClickCell(doc.grid, 2, 1, Qt::RightButton); // a replacement begun and given up
    QCOMPARE(driver.Handled(), 1);
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(doc.grid->GetRowCount(), 2);
    QCOMPARE(doc.grid->GetCellText(1, 3), kSwitch);
    QCOMPARE(doc.db.Rows("SELECT code, money FROM entry"), QStringList{kSwitch + "|4.00"});
    QCOMPARE(doc.Stock(kScrew), QString("100.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("34.00"));
}

// A product deleted in the catalogue while a line holds it takes no stock in, and a product
// made later under its code is not the line's product either.
void TestEntryDlg::productDeletedMeanwhileIsRefused() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kNail, "2", "1"}, {kScrew, "1", "5"}});
    doc.db.Exec("DELETE FROM property WHERE code=?", {kScrew});
    MessageScript messages;
    QVERIFY(!doc.dlg->Save());
    QCOMPARE(messages.Texts(), QStringList{"第2行的商品名称与条形码不符,请重新选择商品"});
    QCOMPARE(doc.SavedRows(), 0);
    AddProduct(doc.db, kScrew, "五金-新螺丝", "新螺丝", "0");
    QVERIFY(!doc.dlg->Save());
    QCOMPARE(messages.Last(), QString("第2行的商品名称与条形码不符,请重新选择商品"));
    QCOMPARE(doc.SavedRows(), 0);
    QCOMPARE(doc.Stock(kScrew), QString("0"));
    QCOMPARE(doc.Stock(kNail), QString("50"));
}

// The queries find a document by the day in its number: a delivery date moved after 新增一单
// draws the number again for that date at the first save.
void TestEntryDlg::numberFollowsTheDateAtTheFirstSave() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.db.Exec("INSERT INTO entry (oddnum) VALUES ('20240205001')");
    doc.FillDocument({{kScrew, "1", "3"}});
    QCOMPARE(doc.dlg->OddnumBox()->text(), QString("20240305001"));
    doc.dlg->DateBox()->setDate(QDate(2024, 2, 5));
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(messages.Texts().first(),
             QString("单号20240305001已被其他电脑使用,本单已改用新单号20240205002保存"));
    QCOMPARE(doc.dlg->OddnumBox()->text(), QString("20240205002"));
    // Saved again on another date: a stored document keeps its number.
    doc.dlg->DateBox()->setDate(QDate(2024, 2, 6));
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.db.Rows("SELECT DISTINCT oddnum FROM entry WHERE supplier IS NOT NULL"),
             QStringList{"20240205002"});

    CEntryQueryDlg query;
    query.StartBox()->setDate(QDate(2024, 2, 1));
    query.EndBox()->setDate(QDate(2024, 2, 29));
    QTest::mouseClick(query.QueryButton(), Qt::LeftButton);
    QCOMPARE(query.TotalBox()->text(), QString("3.00"));
}

QTEST_MAIN(TestEntryDlg)
#include "tst_entrydlg.moc"
#include "ui/PickArea.h"
