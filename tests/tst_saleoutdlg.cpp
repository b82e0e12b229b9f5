// The sales-out window on a real database: numbers, customers, lines through the pickers and
// the scanner, line arithmetic, payment states, saving with its stock changes, deleting, the
// close question and a failing save.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"

#include "ui/CWorkSubWindow.h"
#include "text/HarborClock.h"
#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/CSelectNameDlg.h"
#include "catalogue/PickHandOver.h"
#include "documents/CSaleOutDlg.h"
#include "documents/Oddnum.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceList.h"
#include "parties/CCustomerDlg.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "support/UserInput.h"

namespace {

const QString kScrew = "0101000001";  // price 10.00, discounts 0.9 / 0.8 / 0.7, stock 100
const QString kSwitch = "0200000001"; // price 5.00, stock 30
const QString kNail = "0102000001";   // price 2.50, stock 50
const QString kNoProperty = "0300000001";

void AddProduct(TestDatabase& db, const QString& code, const QString& name,
                const QString& shortName, const QString& price, const QString& total) {
    db.Exec(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, discount1, "
                           "discount2, discount3, total) VALUES ('%1', '%2', '%3', '10个/箱', "
                           "'%4', '0.9', '0.8', '0.7', '%5')")
                .arg(code, name, shortName, price, total));
}

void FillShop(TestDatabase& db) {
    AddProduct(db, kScrew, "五金-螺丝", "螺丝", "10.00", "100");
    AddProduct(db, kSwitch, "开关", "开关", "5.00", "30");
    AddProduct(db, kNail, "五金-钉子", "钉子", "2.50", "50");
    db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('张三五金', 'ZSWJ')");
    db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('李四', 'LS')");
    db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('张记', 'ZJ')");
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '7')");
}

QString Today(int sequence) {
    return OddnumPrefix(HarborToday()) + QString::asprintf("%03d", sequence);
}

struct ShownDoc {
    TestDatabase db;
    CSaleOutDlg* dlg = nullptr;
    CGridCtrl* grid = nullptr;

    ShownDoc() {
        FillShop(db);
        dlg = new CSaleOutDlg;
        dlg->resize(1280, 700);
        dlg->show();
        ready = QTest::qWaitForWindowExposed(dlg);
        grid = dlg->Grid();
    }
    ~ShownDoc() { delete dlg; }

    // A line through the search box and the pinyin picker.
    void AddLine(const QString& code) { AddLineBySearch(dlg->SearchBox(), code); }
    void SetState(const QString& state) {
        dlg->StateBox()->setCurrentIndex(dlg->StateBox()->findText(state));
        emit dlg->StateBox()->activated(dlg->StateBox()->currentIndex());
    }
    // A customer, lines with quantities and the state 结清.
    void FillDocument(const QList<QPair<QString, QString>>& lines) {
        QTest::mouseClick(dlg->NewButton(), Qt::LeftButton);
        dlg->CustomerBox()->setEditText("张三五金");
        for (const auto& [code, quantity] : lines) {
            AddLine(code);
            TypeInCell(grid, grid->GetRowCount() - 1, 6, quantity);
        }
        SetState("结清");
    }
    QString Stock(const QString& code) {
        return db.Value(QStringLiteral("SELECT total FROM property WHERE code='%1'").arg(code));
    }
    int SavedRows() { return db.Value("SELECT count(*) FROM saleout").toInt(); }
    // 保存 as a keyboard user presses it: the button has no focus of its own to take.
    void SaveButton_Click() { dlg->SaveButton()->click(); }

    bool ready = false;
};

} // namespace

class TestSaleOutDlg : public QObject {
    Q_OBJECT

  private slots:
    void init() { PickArea().m_nPickTarget = 0; }
    void opensClosedAndNewDocumentDrawsNumber();
    void customerSearchByInitials();
    void customerDialogHandsOverName();
    void lineThroughPickerAndCancelledPicker();
    void productWithoutPropertyIsRefused();
    void lineArithmetic();
    void typedNonNumberIsRefused();
    void paymentStates();
    void validationWritesNothing();
    void saveWritesRowsAndLowersStock();
    void savingAgainMovesOnlyTheDifference();
    void replacedProductMovesStockBetweenProducts();
    void deletingLines();
    void barcodeImport();
    void barcodeImportRefusesBadText_data();
    void barcodeImportRefusesBadText();
    void barcodeEmployeeIsTheTextBeforeTheFirstHash();
    void barcodeImportNamesBadLines();
    void barcodePasteOfAMillionCharacters_data();
    void barcodePasteOfAMillionCharacters();
    void closeBoxAsksToSave();
    void failedSaveWritesNothing();
    void numberTakenByAnotherWorkstation();
    void openEditorIsSavedByCloseQuestion();
    void openEditorIsSavedBySaveButton();
    void deletedStoredLineLeavesTheAccounts();
};

void TestSaleOutDlg::opensClosedAndNewDocumentDrawsNumber() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QCOMPARE(PickArea().m_nPickTarget, 2);
    // The window opens on a new document of today, ready for the scanner.
    QVERIFY(doc.dlg->m_bOpen);
    QCOMPARE(doc.dlg->OddnumBox()->text(), Today(1));
    QVERIFY(doc.dlg->CustomerBox()->isEnabled());
    QVERIFY(doc.dlg->AddLineButton()->isEnabled());
    QVERIFY(doc.dlg->BarcodeBox()->isEnabled());
    QVERIFY(doc.dlg->SearchBox()->hasFocus());
    QCOMPARE(doc.db.Value("SELECT count(*) FROM saleout"), QString("0")); // nothing stored

    doc.db.Exec(QStringLiteral("INSERT INTO saleout (oddnum) VALUES ('%1')").arg(Today(1)));
    doc.db.Exec(QStringLiteral("INSERT INTO salein (oddnum) VALUES ('%1')").arg(Today(7)));
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    QVERIFY(doc.dlg->m_bOpen);
    QVERIFY(!doc.dlg->m_bSaved);
    QCOMPARE(doc.dlg->OddnumBox()->text(), Today(2));
    QVERIFY(doc.dlg->OddnumBox()->isReadOnly());
    QVERIFY(doc.dlg->ReceivableBox()->isReadOnly());
    for (QWidget* control :
         {static_cast<QWidget*>(doc.dlg->CustomerBox()),
          static_cast<QWidget*>(doc.dlg->AddLineButton()),
          static_cast<QWidget*>(doc.dlg->BarcodeBox()), static_cast<QWidget*>(doc.dlg->StateBox())})
        QVERIFY(control->isEnabled());
    QVERIFY(doc.dlg->SearchBox()->hasFocus()); // ready for the scanner
    QVERIFY(doc.dlg->PrintButton()->isEnabled());

    // The day's last number is used up: no document starts.
    MessageScript messages({IDNO});
    QVERIFY(doc.dlg->QueryClose());
    doc.db.Exec(QStringLiteral("INSERT INTO saleout (oddnum) VALUES ('%1')").arg(Today(999)));
    messages.Clear();
    QVERIFY(!doc.dlg->NewDocument());
    QCOMPARE(messages.Count(), 1);
    QVERIFY(!doc.dlg->m_bOpen);
}

void TestSaleOutDlg::customerSearchByInitials() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.dlg->CustomerBox()->setFocus();
    TypeText(doc.dlg->CustomerBox(), "z");
    QTest::keyClick(doc.dlg->CustomerBox(), Qt::Key_Return);
    QCOMPARE(doc.dlg->CustomerBox()->count(), 2);
    QCOMPARE(doc.dlg->CustomerBox()->itemText(1), QString("张记"));
    QCOMPARE(doc.dlg->CustomerBox()->currentText(), QString("张三五金"));
    QCOMPARE(doc.dlg->OddnumBox()->text(), Today(1)); // Enter there starts no new document

    // A quote in the typed text is only text.
    doc.dlg->CustomerBox()->setEditText("z'");
    QTest::keyClick(doc.dlg->CustomerBox(), Qt::Key_Return);
    QCOMPARE(doc.dlg->CustomerBox()->count(), 0);
    QCOMPARE(doc.dlg->CustomerBox()->currentText(), QString("Z'"));

    // A typed % or _ is no wildcard.
    for (const char* typed : {"%", "_"}) {
        doc.dlg->CustomerBox()->setEditText(QString::fromLatin1(typed));
        QTest::keyClick(doc.dlg->CustomerBox(), Qt::Key_Return);
        QCOMPARE(doc.dlg->CustomerBox()->count(), 0);
    }
}

void TestSaleOutDlg::customerDialogHandsOverName() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    PickArea().m_nPickTarget = 3;
    QString chosen;
    ModalDriver<CCustomerDlg> driver({[&chosen](CCustomerDlg* customers) {
        chosen = customers->Grid()->GetCellText(2, 1);
        DoubleClickCell(customers->Grid(), 2, 1);
    }});
    QTest::mouseClick(doc.dlg->CustomerButton(), Qt::LeftButton);
    QCOMPARE(driver.Handled(), 1);
    QVERIFY(!chosen.isEmpty());
    QCOMPARE(doc.dlg->CustomerBox()->currentText(), chosen);
}

void TestSaleOutDlg::lineThroughPickerAndCancelledPicker() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.AddLine(kScrew);
    QCOMPARE(doc.grid->GetRowCount(), 2);
    QCOMPARE(doc.grid->GetCellText(1, 0), QString("1"));
    QCOMPARE(doc.grid->GetCellText(1, 1), QString("五金-螺丝"));
    QCOMPARE(doc.grid->GetCellText(1, 2), QString("螺丝"));
    QCOMPARE(doc.grid->GetCellText(1, 3), kScrew);
    QCOMPARE(doc.grid->GetCellText(1, 4), QString("10个/箱"));
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("10.00"));
    QCOMPARE(doc.grid->GetCellText(1, 7), QString("1.0"));
    QCOMPARE(doc.grid->GetCellText(1, 10), QString());
    QVERIFY(doc.dlg->SearchBox()->text().isEmpty());

    // Without a search text the catalogue picker opens; closing it drops the new line.
    ModalDriver<CSelectNameDlg> driver({[](CSelectNameDlg* picker) { picker->reject(); }});
    QTest::mouseClick(doc.dlg->AddLineButton(), Qt::LeftButton);
    QCOMPARE(driver.Handled(), 1);
    QCOMPARE(doc.grid->GetRowCount(), 2);
    QCOMPARE(PickArea().m_nPickTarget, 2);
}

void TestSaleOutDlg::productWithoutPropertyIsRefused() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.dlg->m_nRow = doc.grid->AppendRow();
    PickArea().m_strPickedName = "灯泡";
    PickArea().m_strPickedCode = kNoProperty;
    doc.dlg->PutPickedProduct();
    QVERIFY(doc.dlg->m_bNoProperty);
    // The line takes nothing: a product the catalogue does not describe is never sold.
    QCOMPARE(doc.grid->GetCellText(1, 1), QString());
    QCOMPARE(doc.grid->GetCellText(1, 3), QString());
    QCOMPARE(doc.grid->GetCellText(1, 5), QString());
}

void TestSaleOutDlg::lineArithmetic() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.AddLine(kScrew);
    doc.AddLine(kNail);
    TypeInCell(doc.grid, 1, 6, "3");
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("30.00"));
    QCOMPARE(doc.grid->GetCellFormat(1, 8) & DT_RIGHT, DT_RIGHT);
    TypeInCell(doc.grid, 2, 6, "3");
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("37.50"));

    ChooseInCell(doc.grid, 1, 7, "0.9");
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("9.0000"));
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("27.00"));
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("34.50"));

    TypeInCell(doc.grid, 1, 5, "8.5");
    QCOMPARE(doc.grid->GetCellText(1, 7), QString("0.85"));
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("25.50"));

    TypeInCell(doc.grid, 1, 5, "10");
    ChooseInCell(doc.grid, 1, 10, "含税(1.10)");
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("11.0000"));
    // Tax options replace each other: each works from the price before tax.
    ChooseInCell(doc.grid, 1, 10, "含税(1.08)");
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("10.8000"));
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("32.40"));
    // A discount chosen again clears the tax remark and starts from the base price.
    ChooseInCell(doc.grid, 1, 7, "0.8");
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("8.0000"));
    QCOMPARE(doc.grid->GetCellText(1, 10), QString());
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("31.50"));
}

void TestSaleOutDlg::typedNonNumberIsRefused() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.AddLine(kScrew);
    TypeInCell(doc.grid, 1, 6, "2");
    MessageScript messages;
    TypeInCell(doc.grid, 1, 6, "3x");
    QCOMPARE(messages.Texts(), QStringList{"数量\"3x\"不是数字,请改正"});
    QCOMPARE(doc.grid->GetCellText(1, 6), QString("2"));
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("20.00"));
    TypeInCell(doc.grid, 1, 5, "abc");
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("10.00"));
    QCOMPARE(messages.Last(), QString("单价\"abc\"不是数字,请改正"));
    QCOMPARE(messages.Count(), 2);

    // A pasted quantity is taken like a typed one: checked, and the amounts follow it.
    doc.grid->SetFocusCell(1, 6);
    QApplication::clipboard()->setText("4");
    QTest::keyClick(doc.grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("40.00"));
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("40.00"));
    QApplication::clipboard()->setText("4kg");
    QTest::keyClick(doc.grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(doc.grid->GetCellText(1, 6), QString("4"));
    QCOMPARE(messages.Count(), 3);
}

void TestSaleOutDlg::paymentStates() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.AddLine(kScrew);
    TypeInCell(doc.grid, 1, 6, "2");
    doc.SetState("结清");
    QCOMPARE(doc.dlg->ReceiptBox()->text(), QString("20.00"));
    QVERIFY(!doc.dlg->ReceiptBox()->isReadOnly()); // open to typing: a typed amount moves the state
    TypeInCell(doc.grid, 1, 6, "3");
    QCOMPARE(doc.dlg->ReceiptBox()->text(), QString("30.00")); // follows while 结清
    doc.SetState("未结");
    QCOMPARE(doc.dlg->ReceiptBox()->text(), QString("0"));
    doc.SetState("欠款");
    QCOMPARE(doc.dlg->ReceiptBox()->text(), QString());
    QVERIFY(!doc.dlg->ReceiptBox()->isReadOnly());
    QCOMPARE(doc.dlg->focusWidget(), doc.dlg->ReceiptBox());
    TypeText(doc.dlg->ReceiptBox(), "12.5");
    QTest::keyClick(doc.dlg->ReceiptBox(), Qt::Key_Return); // keeps the document
    QCOMPARE(doc.grid->GetRowCount(), 2);
    doc.dlg->CustomerBox()->setEditText("李四");
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.db.Value("SELECT receipt || '|' || freceipt FROM saleout"), QString("12.5|12.5"));
}

void TestSaleOutDlg::validationWritesNothing() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    QTest::mouseClick(doc.dlg->SaveButton(), Qt::LeftButton);
    doc.dlg->CustomerBox()->setEditText("张三五金");
    QTest::mouseClick(doc.dlg->SaveButton(), Qt::LeftButton);
    doc.SetState("未结");
    QTest::mouseClick(doc.dlg->SaveButton(), Qt::LeftButton);
    doc.AddLine(kScrew);
    QCOMPARE(doc.dlg->StateBox()->currentText(), QString()); // a picked product asks again
    doc.SetState("未结");
    QTest::mouseClick(doc.dlg->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Texts(),
             QStringList({"请先选择客户", "请先选择收款状态", "请先完整填写表格", "请先填写数量"}));
    for (const MessageRecord& message : messages.Messages()) {
        QCOMPARE(message.icon, MsgIcon::Exclamation);
        QCOMPARE(message.caption, QString(kAppTitle));
    }
    // A quantity brought in by the scanner that is no number cannot move stock.
    doc.grid->SetCellText(1, 6, "2箱");
    messages.Clear();
    QVERIFY(!doc.dlg->Save());
    QCOMPARE(messages.Texts(), QStringList{"第1行的数量\"2箱\"不是数字,请改正"});
    QCOMPARE(doc.SavedRows(), 0);
    QCOMPARE(doc.Stock(kScrew), QString("100"));
}

void TestSaleOutDlg::saveWritesRowsAndLowersStock() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2"}, {kSwitch, "1.5"}, {kNail, "3"}});
    doc.dlg->EmployeeNameBox()->setText("王五");
    doc.dlg->EmployeeIdBox()->setText("7");
    doc.grid->SetCellText(2, 9, "1");
    ChooseInCell(doc.grid, 2, 10, "含税(1.03)");
    // 1.5 x 5.15 is 7.725, a half cent rounded up on the decimal value.
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("35.23"));
    MessageScript messages;
    QTest::mouseClick(doc.dlg->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Count(), 0); // told in the window's status line
    QCOMPARE(doc.dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QVERIFY(doc.dlg->m_bSaved);

    const QStringList headers =
        doc.db.Rows("SELECT DISTINCT oddnum, customer, mydate, receivable, receipt, state, "
                    "employeename, employeeid, freceivable, freceipt FROM saleout");
    QCOMPARE(headers.size(), 1);
    const QStringList header = headers.first().split('|');
    QCOMPARE(header[0], Today(1));
    QCOMPARE(header[1], QString("张三五金"));
    QCOMPARE(header[2], doc.dlg->m_strSaveTime);
    QVERIFY(QDateTime::fromString(header[2], "yyyy-MM-dd HH:mm:ss").isValid());
    QCOMPARE(header.mid(3, 5), QStringList({"35.23", "35.23", "结清", "王五", "7"}));
    QCOMPARE(TestDatabase::Fixed(doc.db.Rows("SELECT DISTINCT freceipt FROM saleout"), 6).join(""),
             QString("35.230000"));
    QCOMPARE(doc.db.Rows("SELECT mc, shortname, code, spec, price, \"count\", discount, total, "
                         "pcs, remarks FROM saleout ORDER BY " +
                         TestDatabase::RowKey()),
             QStringList({"五金-螺丝|螺丝|" + kScrew + "|10个/箱|10.00|2|1.0|20.00||",
                          "开关|开关|" + kSwitch + "|10个/箱|5.1500|1.5|1.0|7.73|1|含税(1.03)",
                          "五金-钉子|钉子|" + kNail + "|10个/箱|2.50|3|1.0|7.50||"}));
    QCOMPARE(doc.Stock(kScrew), QString("98.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("28.50"));
    QCOMPARE(doc.Stock(kNail), QString("47.00"));
}

void TestSaleOutDlg::savingAgainMovesOnlyTheDifference() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2"}, {kSwitch, "1"}});
    MessageScript messages;
    QVERIFY2(doc.dlg->Save(), qPrintable(messages.Texts().join(";")));
    TypeInCell(doc.grid, 1, 6, "5");
    doc.AddLine(kNail);
    TypeInCell(doc.grid, 3, 6, "4");
    doc.SetState("结清"); // a picked product empties the state box
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.SavedRows(), 3);
    QCOMPARE(doc.Stock(kScrew), QString("95.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("29.00"));
    QCOMPARE(doc.Stock(kNail), QString("46.00"));
    QCOMPARE(doc.db.Rows("SELECT DISTINCT receivable, freceivable FROM saleout"),
             QStringList{"65.00|65"});
    QVERIFY(doc.dlg->Save()); // nothing changed: nothing moves
    QCOMPARE(doc.Stock(kScrew), QString("95.00"));
    QCOMPARE(doc.SavedRows(), 3);
}

void TestSaleOutDlg::replacedProductMovesStockBetweenProducts() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2"}});
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    TypeInCell(doc.grid, 1, 6, "7"); // edited, then replaced before the next save
    auto pickSwitch = [](CSelectNameDlg* picker) {
        HandOverPick(picker, "开关", kSwitch, "10个/箱");
        picker->accept();
    };
    ModalDriver<CSelectNameDlg> driver({pickSwitch, pickSwitch});
    ClickCell(doc.grid, 1, 1, Qt::RightButton);
    QCOMPARE(driver.Handled(), 1);
    QCOMPARE(doc.grid->GetCellText(1, 3), kSwitch);
    QCOMPARE(doc.grid->GetCellText(1, 6), QString());
    TypeInCell(doc.grid, 1, 6, "4");
    doc.SetState("结清");
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kScrew), QString("100.00")); // the 2 that were taken come back
    QCOMPARE(doc.Stock(kSwitch), QString("26.00"));
    QCOMPARE(doc.db.Rows("SELECT code, \"count\" FROM saleout"), QStringList{kSwitch + "|4"});
}

void TestSaleOutDlg::deletingLines() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{"请先选择要删除的记录"});
    doc.FillDocument({{kScrew, "2"}, {kSwitch, "1"}, {kNail, "2"}});
    QVERIFY(doc.dlg->Save());
    doc.AddLine(kSwitch);
    TypeInCell(doc.grid, 4, 6, "3");
    doc.SetState("结清");
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("45.00"));

    // An unsaved line touches neither the table nor the stock.
    ClickCell(doc.grid, 4, 1);
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(doc.grid->GetRowCount(), 4);
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("30.00"));
    QCOMPARE(doc.Stock(kSwitch), QString("29.00"));

    // A stored line beside an unsaved edit: asked first; "否" lets the edit go, then the row
    // goes, its stored quantity goes back into stock and every remaining row carries the
    // amounts of the rows that remain.
    TypeInCell(doc.grid, 1, 6, "9");
    ClickCell(doc.grid, 1, 2);
    messages.Clear();
    messages.Answer(IDNO);
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Messages().first().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(doc.grid->GetRowCount(), 3);
    QCOMPARE(doc.grid->GetCellText(1, 0), QString("1"));
    QCOMPARE(doc.grid->GetCellText(2, 0), QString("2"));
    QCOMPARE(doc.grid->GetCellText(1, 3), kSwitch);
    QCOMPARE(doc.Stock(kScrew), QString("100.00"));
    QCOMPARE(doc.db.Rows("SELECT code, receivable, receipt FROM saleout ORDER BY " +
                         TestDatabase::RowKey()),
             QStringList({kSwitch + "|10.00|10.00", kNail + "|10.00|10.00"}));
    QCOMPARE(doc.dlg->m_nDeleteRow, 0);
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("10.00"));
    QCOMPARE(doc.dlg->ReceiptBox()->text(), doc.dlg->ReceivableBox()->text());
    QVERIFY(!doc.dlg->HasUnsavedChanges());
}

void TestSaleOutDlg::barcodeImport() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    doc.dlg->BarcodeBox()->setPlainText("7#" + kScrew + ",3\r\n#9900000001,1\r\n#" + kNail +
                                        ",2\r\n#9900000002,5\r\n");
    QTRY_VERIFY(doc.dlg->BarcodeBox()->isReadOnly());
    QCOMPARE(doc.dlg->EmployeeNameBox()->text(), QString("王五"));
    QCOMPARE(doc.dlg->EmployeeIdBox()->text(), QString("7"));
    QCOMPARE(doc.grid->GetRowCount(), 3);
    QCOMPARE(doc.grid->GetCellText(2, 0), QString("2"));
    QCOMPARE(doc.grid->GetCellText(1, 6), QString("3"));
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("30.00"));
    QCOMPARE(doc.grid->GetCellText(2, 1), QString("五金-钉子"));
    QCOMPARE(doc.grid->GetCellText(2, 8), QString("5.00"));
    QCOMPARE(doc.grid->GetCellText(2, 7), QString("1.0"));
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("35.00"));
    QCOMPARE(messages.Texts(), QStringList{"所选条码为<9900000001,9900000002>的商品还未添加规格"
                                           "属性,请先在基础资料中添加"});
    QCOMPARE(messages.Messages().first().icon, MsgIcon::Stop);
}

void TestSaleOutDlg::barcodeImportRefusesBadText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString format = "条码输入格式不对,请使用盘点功能上传条码";
    QTest::newRow("unknown employee") << "8#" + kScrew + ",3\r\n" << format;
    QTest::newRow("no product line") << "7\r\n" << format;
    QTest::newRow("no comma")
        << "7#" + kScrew + "\r\n"
        << "条码信息有误,没有导入:\n第1行\"7#0101000001\":格式应为\"#条码,数量\"";
    QTest::newRow("more # than commas")
        << "7#" + kScrew + ",3\r\n#\r\n"
        << "条码信息有误,没有导入:\n第2行\"#\":格式应为\"#条码,数量\"";
}

void TestSaleOutDlg::barcodeImportRefusesBadText() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    doc.dlg->BarcodeBox()->setPlainText(text);
    QTRY_COMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last(), message);
    QVERIFY(doc.dlg->BarcodeBox()->toPlainText().isEmpty());
    QVERIFY(!doc.dlg->BarcodeBox()->isReadOnly());
    QCOMPARE(doc.grid->GetRowCount(), 1);
    // Emptying the box may start the import's wait: when it is over, no second import came.
    QTRY_VERIFY(!doc.dlg->BarcodeImportPending());
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(doc.grid->GetRowCount(), 1);
}

void TestSaleOutDlg::barcodeEmployeeIsTheTextBeforeTheFirstHash() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.db.Exec("INSERT INTO employee (name, employeeid) VALUES ('钱七', '1')");
    doc.db.Exec("INSERT INTO employee (name, employeeid) VALUES ('赵六', '12')");
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    doc.dlg->BarcodeBox()->setPlainText("12#" + kScrew + ",3\r\n");
    QTRY_VERIFY(doc.dlg->BarcodeBox()->isReadOnly());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(doc.dlg->EmployeeIdBox()->text(), QString("12"));
    QCOMPARE(doc.dlg->EmployeeNameBox()->text(), QString("赵六"));
    QCOMPARE(doc.grid->GetCellText(1, 3), kScrew);
}

void TestSaleOutDlg::barcodeImportNamesBadLines() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    doc.dlg->BarcodeBox()->setPlainText("7#" + kScrew + ",3\r\n#" + kNail +
                                        ",-2\r\n#01010001,3\r\n#" + kSwitch + ",0\r\n");
    QTRY_COMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last(), QString("条码信息有误,没有导入:\n"
                                      "第2行\"#0102000001,-2\":数量必须大于0\n"
                                      "第3行\"#01010001,3\":条码应为10位数字\n"
                                      "第4行\"#0200000001,0\":数量必须大于0\n"
                                      "退货请使用销售退货"));
    QCOMPARE(messages.Messages().first().icon, MsgIcon::Exclamation);
    // Nothing of the text is taken; the box is ready for the corrected text.
    QCOMPARE(doc.grid->GetRowCount(), 1);
    QVERIFY(doc.dlg->BarcodeBox()->toPlainText().isEmpty());
    QVERIFY(!doc.dlg->BarcodeBox()->isReadOnly());
    QCOMPARE(doc.dlg->EmployeeNameBox()->text(), QString());
}

void TestSaleOutDlg::barcodePasteOfAMillionCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("commas") << "7#" + QString(1000000, QLatin1Char(','))
                            << "条码信息有误,没有导入:\n第1行\"7#" + QString(38, QLatin1Char(',')) +
                                   "…\":格式应为\"#条码,数量\"";
    // 58824 lines of 17 characters, the product codes of the shop.
    QString products = "7";
    const QStringList codes{kScrew, kSwitch, kNail};
    for (int i = 0; i < 58824; ++i)
        products += "#" + codes[i % 3] + ",1.5\r\n";
    QTest::newRow("product lines")
        << products << "条码信息有58824行商品,一次最多导入1000行,请分成几单录入";
    // Every second line without its quantity.
    QString broken = "7";
    for (int i = 0; i < 70000; ++i)
        broken += "#" + codes[i % 3] + (i % 2 ? ",\r\n" : ",9\r\n");
    QTest::newRow("half of the lines broken")
        << broken
        << "条码信息有误,没有导入:\n"
           "第2行\"#0200000001,\":数量不是数字\n第4行\"#0101000001,\":数量不是数字\n"
           "第6行\"#0102000001,\":数量不是数字\n第8行\"#0200000001,\":数量不是数字\n"
           "第10行\"#0101000001,\":数量不是数字\n另有34995行有误";
}

void TestSaleOutDlg::barcodePasteOfAMillionCharacters() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    QVERIFY(text.size() >= 1000000);
    ShownDoc doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    QApplication::clipboard()->setText(text);
    QTest::keyClick(doc.dlg->BarcodeBox(), Qt::Key_V, Qt::ControlModifier);
    // The box keeps one line end of each CR LF.
    QCOMPARE(doc.dlg->BarcodeBox()->toPlainText(), QString(text).replace("\r\n", "\n"));
    // The import waits for half a second without typing; the bound here is only a safety net.
    QTRY_COMPARE_WITH_TIMEOUT(messages.Count(), 1, 120000);
    QCOMPARE(messages.Last(), message);
    QCOMPARE(doc.grid->GetRowCount(), 1);
    QVERIFY(doc.dlg->BarcodeBox()->toPlainText().isEmpty());
    QVERIFY(!doc.dlg->BarcodeBox()->isReadOnly());
}

void TestSaleOutDlg::closeBoxAsksToSave() {
    TestDatabase db;
    FillShop(db);
    {
        QPointer<CSaleOutDlg> dlg = new CSaleOutDlg;
        auto* window = new CWorkSubWindow(dlg);
        window->show();
        window->close(); // no document: nothing to ask
        QTRY_VERIFY(dlg.isNull());
    }
    QPointer<CSaleOutDlg> dlg = new CSaleOutDlg;
    auto* window = new CWorkSubWindow(dlg);
    window->show();
    dlg->NewDocument();
    dlg->CustomerBox()->setEditText("李四");
    MessageScript messages({IDYES});
    window->close();
    QCOMPARE(messages.Messages().first().text, QString("销售单尚未保存,是否先保存?"));
    QCOMPARE(messages.Messages().first().caption, QString("销售单保存"));
    QCOMPARE(messages.Messages().first().buttons, MsgButtons::YesNo);
    QCOMPARE(messages.Last(), QString("请先选择收款状态")); // Yes tried to save
    QVERIFY(!dlg.isNull());
    QVERIFY(window->isVisible());

    messages.Answer(IDNO);
    messages.Clear();
    window->close();
    QCOMPARE(messages.Count(), 1);
    QTRY_VERIFY(dlg.isNull());
    QCOMPARE(db.Value("SELECT count(*) FROM saleout"), QString("0"));
}

void TestSaleOutDlg::failedSaveWritesNothing() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2"}, {kNail, "3"}});
    // The engine refuses the second stock change, after the rows and the first change.
    doc.db.RefuseChanges("property", "UPDATE", QStringLiteral("NEW.code='%1'").arg(kNail),
                         "disk full");
    MessageScript messages;
    QTest::mouseClick(doc.dlg->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Count(), 1);
    QVERIFY(messages.Last().contains("disk full"));
    QCOMPARE(messages.Messages().first().icon, MsgIcon::Stop);
    QVERIFY(!doc.dlg->m_bSaved);
    QCOMPARE(doc.SavedRows(), 0);
    QCOMPARE(doc.Stock(kScrew), QString("100"));

    doc.db.AllowChanges("property");
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.SavedRows(), 2);
    QCOMPARE(doc.Stock(kScrew), QString("98.00"));
    QCOMPARE(doc.Stock(kNail), QString("47.00"));
}

void TestSaleOutDlg::numberTakenByAnotherWorkstation() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2"}});
    QCOMPARE(doc.dlg->m_strOddnum, Today(1));
    doc.db.Exec(QStringLiteral("INSERT INTO saleout (oddnum, customer, code, \"count\") VALUES "
                               "('%1', '李四', '%2', '1')")
                    .arg(Today(1), kSwitch));
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(
        messages.Texts(),
        QStringList(
            {QString("单号%1已被其他电脑使用,本单已改用新单号%2保存").arg(Today(1), Today(2))}));
    QCOMPARE(doc.dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QCOMPARE(doc.dlg->OddnumBox()->text(), Today(2));
    QCOMPARE(doc.db.Rows("SELECT oddnum, customer, \"count\" FROM saleout ORDER BY " +
                         TestDatabase::RowKey()),
             QStringList({Today(1) + "|李四|1", Today(2) + "|张三五金|2"}));
    QVERIFY(doc.dlg->Save()); // its own rows now: saved in place, no new number
    QCOMPARE(doc.SavedRows(), 2);
    QCOMPARE(doc.Stock(kScrew), QString("98.00"));
}

// Typed text still in the cell editor belongs to the document that is saved.
void TestSaleOutDlg::openEditorIsSavedByCloseQuestion() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2"}});
    ClickCell(doc.grid, 1, 6);
    if (QWidget* open = doc.grid->GetEditWnd())
        QTest::keyClick(open, Qt::Key_Escape);
    QTest::keyClick(doc.grid, '5');
    QVERIFY(doc.grid->GetEditWnd());
    MessageScript messages({IDYES});
    QVERIFY(!doc.dlg->QueryClose()); // Yes: saved, the window stays
    QCOMPARE(doc.dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QCOMPARE(doc.db.Rows("SELECT \"count\", total, receivable, receipt FROM saleout"),
             QStringList{"5|50.00|50.00|50.00"});
    QCOMPARE(doc.Stock(kScrew), QString("95.00"));
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("50.00"));
}

void TestSaleOutDlg::openEditorIsSavedBySaveButton() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2"}, {kNail, "2"}});
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    ClickCell(doc.grid, 2, 6);
    if (QWidget* open = doc.grid->GetEditWnd())
        QTest::keyClick(open, Qt::Key_Escape);
    QTest::keyClick(doc.grid, '4');
    QVERIFY(doc.grid->GetEditWnd());
    doc.SaveButton_Click();
    QCOMPARE(doc.dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QCOMPARE(doc.db.Rows("SELECT code, \"count\", total, receivable FROM saleout ORDER BY " +
                         TestDatabase::RowKey()),
             QStringList({kScrew + "|2|20.00|30.00", kNail + "|4|10.00|30.00"}));
    QCOMPARE(doc.Stock(kNail), QString("46.00"));
}

// The accounts add up the number columns: a deleted stored line leaves them at once.
void TestSaleOutDlg::deletedStoredLineLeavesTheAccounts() {
    ShownDoc doc;
    QVERIFY(doc.ready);
    doc.FillDocument({{kScrew, "2"}, {kNail, "3"}});
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.db.Rows("SELECT DISTINCT freceivable, freceipt FROM saleout"),
             QStringList{"27.5|27.5"});
    ClickCell(doc.grid, 1, 1);
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(doc.Stock(kScrew), QString("100.00"));
    QCOMPARE(doc.db.Rows("SELECT code, receivable, receipt, freceivable, freceipt FROM saleout"),
             QStringList{kNail + "|7.50|7.50|7.5|7.5"});
}

QTEST_MAIN(TestSaleOutDlg)
#include "tst_saleoutdlg.moc"
#include "ui/PickArea.h"
