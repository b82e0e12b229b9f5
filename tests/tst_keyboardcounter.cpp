// The counter without a mouse: a sales document from the product box to 保存 and print by key
// events only, on a real window, with the picker answered by its keys.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "PdfFacts.h"
#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/PickHandOver.h"
#include "catalogue/PickerSettings.h"
#include "catalogue/ProductSearch.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleOutDlg.h"
#include "documents/DocumentForm.h"
#include "documents/PaymentState.h"
#include "grid/CGridCtrl.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/SaleQueryControls.h"
#include "shell/CHarborApp.h"
#include "shell/CHarborView.h"
#include "shell/CMainFrame.h"
#include "shell/KeyTips.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "support/TestDocumentWindow.h"
#include "support/UserInput.h"

namespace {

const QString kScrew = "0101000001";  // 10.00
const QString kNail = "0102000001";   // 2.50
const QString kSwitch = "0200000001"; // 5.00

QWidget* Focus() {
    return QApplication::focusWidget();
}

// A key to whatever holds the focus, as the keyboard sends it.
void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QVERIFY(Focus());
    QTest::keyClick(Focus(), static_cast<Qt::Key>(key), modifiers);
}

// Characters to whatever holds the focus at each one (a grid hands on to its cell editor).
void Type(const QString& text) {
    for (QChar ch : text) {
        QVERIFY(Focus());
        TypeText(Focus(), QString(ch));
    }
}

// Whether target (or its own line edit) holds the focus.
bool Has(QWidget* target) {
    return Focus() && (Focus() == target || target->isAncestorOf(Focus()));
}

// Tab until target holds the focus; false after limit presses.
bool TabTo(QWidget* target, int limit) {
    for (int i = 0; i < limit && !Has(target); ++i)
        QTest::keyClick(Focus(), Qt::Key_Tab);
    return Has(target);
}

void FillProducts(TestDatabase& db) {
    for (const auto& [code, name, price] :
         {std::tuple{kScrew, "五金-螺丝", "10.00"}, std::tuple{kNail, "五金-钉子", "2.50"},
          std::tuple{kSwitch, "开关", "5.00"}})
        db.Exec(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, "
                               "discount1, discount2, discount3, total) VALUES ('%1', '%2', "
                               "'%2', '10个/箱', '%3', '0.9', '0.8', '0.7', '100')")
                    .arg(code, name, price));
}

// HARBOR_SCREENSHOTS=folder keeps pictures of the windows in use at 1366x768 (the README's).
void KeepPicture(QWidget* window, QWidget* over, const QString& name) {
    const QString folder = qEnvironmentVariable("HARBOR_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QPixmap picture = window->grab();
    if (over) {
        QPainter painter(&picture);
        const QPixmap top = over->grab();
        painter.drawPixmap((picture.width() - top.width()) / 2,
                           (picture.height() - top.height()) / 2, top);
    }
    picture.save(QDir(folder).filePath(name));
}

struct KeyShop {
    TestDatabase db;
    QTemporaryDir dir;
    CMainFrame* frame = nullptr;
    CSaleOutDlg* dlg = nullptr;
    QString pdf;
    bool ready = false;

    KeyShop() {
        FillProducts(db);
        db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('张三五金', 'ZSWJ')");
        frame = new CMainFrame;
        theApp.m_pMainWnd = frame;
        pdf = dir.filePath("sale.pdf");
        frame->View()->SetPrintOutputFile(pdf);
        dlg = new CSaleOutDlg;
        dlg->resize(1366, 768);
        dlg->show();
        dlg->activateWindow();
        ready = QTest::qWaitForWindowActive(dlg);
    }
    ~KeyShop() {
        delete dlg;
        theApp.m_pMainWnd = nullptr;
        delete frame;
    }
    QString Stock(const QString& code) {
        return db.Value(QStringLiteral("SELECT total FROM property WHERE code='%1'").arg(code));
    }
    int SavedRows() { return db.Value("SELECT count(*) FROM saleout").toInt(); }
    // A code typed into the product box and Enter, then Shift+Tab to its quantity.
    void AddByCode(const QString& code, const QString& quantity) {
        Press(Qt::Key_F3);
        QVERIFY(Has(dlg->SearchBox()));
        Type(code);
        Press(Qt::Key_Return);
        TypeQuantity(quantity);
    }
    void TypeQuantity(const QString& quantity) {
        Press(Qt::Key_F3);
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(Has(dlg->Grid()));
        const int last = dlg->Grid()->GetRowCount() - 1;
        QCOMPARE(dlg->Grid()->GetFocusCell().row, last);
        QCOMPARE(dlg->Grid()->GetFocusCell().col, int(kLineCount));
        Type(quantity);
        Press(Qt::Key_Return);
        QCOMPARE(dlg->Grid()->GetCellText(last, kLineCount), quantity);
    }
};

} // namespace

class TestKeyboardCounter : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // The pickers' setting is written to this folder, not the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QSettings::setDefaultFormat(QSettings::NativeFormat);
    }
    void init() { PickArea().m_nPickTarget = 0; }

    void saleOfThreeLinesFromProductBoxToSaveAndPrint();
    void savedDocumentChangesByKeysAndDeleteRemovesTheChosenLine();
    void pickerIsDrivenByItsKeys();
    void singleMatchIsTakenAtOnceUnlessTurnedOff();
    void paymentStateFollowsTheAmounts();
    void stockInSavesWithF5IntoItsStatusLine();
    void queryFilterByCtrlF();
    void altShowsKeyTipsAndKeepsTheFocus();

  private:
    QTemporaryDir m_settings;
};

void TestKeyboardCounter::saleOfThreeLinesFromProductBoxToSaveAndPrint() {
    KeyShop shop;
    QVERIFY(shop.ready);
    CSaleOutDlg* dlg = shop.dlg;
    MessageScript messages;

    Press(Qt::Key_F2); // 新增一单: ready to scan
    QVERIFY(!dlg->OddnumBox()->text().isEmpty());
    QVERIFY(Has(dlg->SearchBox()));
    QCOMPARE(dlg->SearchBox()->placeholderText(), QString("拼音首字母、条码或名称"));

    QVERIFY(TabTo(dlg->CustomerBox(), 8));
    Type("zswj");
    Press(Qt::Key_Return);
    QCOMPARE(dlg->CustomerBox()->currentText(), QString("张三五金"));

    // A whole code is one match: the line comes without the picker.
    shop.AddByCode(kSwitch, "6");
    QCOMPARE(dlg->Grid()->GetCellText(1, 8), QString("30.00"));

    // "五金" finds both hardware products: the picker opens on the first, Down chooses the
    // second, Enter takes it.
    QString chosen;
    QString label;
    ModalDriver<CPinyinSelectDlg> driver({[&](CPinyinSelectDlg* picker) {
        QCOMPARE(picker->focusWidget(), static_cast<QWidget*>(picker->Grid()));
        label = picker->QueryLabel()->text();
        KeepPicture(shop.dlg, picker, "picker.png");
        QTest::keyClick(picker->Grid(), Qt::Key_Down);
        chosen = picker->Grid()->GetCellText(picker->SelectedRow(), kColCode);
        QTest::keyClick(picker->Grid(), Qt::Key_Return);
    }});
    Press(Qt::Key_F3);
    Type("五金");
    Press(Qt::Key_Return);
    QCOMPARE(driver.Handled(), 1);
    // The window manager gives the activation back when the modal picker closes.
    dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dlg));
    QVERIFY(Has(dlg->SearchBox()));
    QCOMPARE(label, QString("查找\"五金\": 找到2种商品"));
    QCOMPARE(dlg->Grid()->GetRowCount(), 3);
    QCOMPARE(dlg->Grid()->GetCellText(2, kLineCode), chosen);
    shop.TypeQuantity("2");

    shop.AddByCode(kScrew, "4");
    QCOMPARE(dlg->Grid()->GetRowCount(), 4);
    const QString due = dlg->ReceivableBox()->text();
    QVERIFY(!due.isEmpty());

    // From the product box on to the payment: 应收 is not in the chain.
    Press(Qt::Key_F3);
    Press(Qt::Key_Tab);
    QVERIFY(Has(dlg->ReceiptBox()));
    Type("20");
    QCOMPARE(dlg->StateBox()->currentText(), QString("欠款"));
    Press(Qt::Key_Tab);
    QVERIFY(Has(dlg->StateBox()));
    Press(Qt::Key_Up); // 未结: nothing received
    QCOMPARE(dlg->ReceiptBox()->text(), QString("0"));
    Press(Qt::Key_Up); // 结清: the amount due
    QCOMPARE(dlg->StateBox()->currentText(), QString("结清"));
    QCOMPARE(dlg->ReceiptBox()->text(), due);
    Press(Qt::Key_Tab);
    QVERIFY(Has(dlg->SaveButton()));
    Press(Qt::Key_Return);

    // Saved without a box to dismiss: the status line tells it, the window shows it.
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QVERIFY(dlg->IsMarkedSaved());
    QVERIFY(!dlg->SaveButton()->isEnabled());
    QCOMPARE(shop.SavedRows(), 3);
    QCOMPARE(shop.Stock(kSwitch).toDouble(), 94.0);
    QCOMPARE(shop.Stock(kNail).toDouble() + shop.Stock(kScrew).toDouble(), 200.0 - 6);
    QCOMPARE(shop.db.Value("SELECT count(DISTINCT code) FROM saleout").toInt(),
             chosen == kScrew ? 2 : 3);
    QCOMPARE(shop.db.Value("SELECT DISTINCT receipt FROM saleout"), due);

    KeepPicture(dlg, nullptr, "saleout.png");

    // F9 prints the stored document at once.
    Press(Qt::Key_F9);
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(shop.frame->View()->m_nPrintKind, 1);
    QCOMPARE(ReadPdf(shop.pdf).pages, 1);
}

void TestKeyboardCounter::savedDocumentChangesByKeysAndDeleteRemovesTheChosenLine() {
    KeyShop shop;
    QVERIFY(shop.ready);
    CSaleOutDlg* dlg = shop.dlg;
    MessageScript messages;
    Press(Qt::Key_F2);
    dlg->CustomerBox()->setEditText("张三五金");
    shop.AddByCode(kSwitch, "6");
    shop.AddByCode(kScrew, "1");
    Press(Qt::Key_F3);
    Press(Qt::Key_Tab);
    Type("0");
    QCOMPARE(dlg->StateBox()->currentText(), QString("未结"));
    Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(dlg->IsMarkedSaved());
    QCOMPARE(shop.SavedRows(), 2);

    // A changed quantity takes the mark away and F5 saves again.
    shop.TypeQuantity("3");
    QVERIFY(!dlg->IsMarkedSaved());
    QVERIFY(dlg->SaveButton()->isEnabled());
    QVERIFY(dlg->StatusLine()->text().isEmpty());
    Press(Qt::Key_F5);
    QVERIFY(dlg->IsMarkedSaved());
    QCOMPARE(shop.Stock(kScrew).toDouble(), 97.0);

    // Delete in the table removes the chosen line: stored, it leaves the database at once.
    Press(Qt::Key_F3);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    Press(Qt::Key_Up); // the first line
    QCOMPARE(dlg->Grid()->GetFocusCell().row, 1);
    Press(Qt::Key_Delete);
    QCOMPARE(dlg->Grid()->GetRowCount(), 2);
    QCOMPARE(dlg->Grid()->GetCellText(1, kLineCode), kScrew);
    QCOMPARE(shop.SavedRows(), 1);
    QCOMPARE(shop.Stock(kSwitch).toDouble(), 100.0);
    QCOMPARE(messages.Count(), 0);

    // F2 on a stored document opens the next one without a question.
    const QString first = dlg->OddnumBox()->text();
    Press(Qt::Key_F2);
    QVERIFY(dlg->OddnumBox()->text() != first);
    QVERIFY(dlg->SaveButton()->isEnabled());
    QCOMPARE(messages.Count(), 0);
}

void TestKeyboardCounter::pickerIsDrivenByItsKeys() {
    TestDatabase db;
    FillProducts(db);
    TestDocumentWindow saleOut("销售出库");
    PickArea().m_nPickTarget = 2;
    PickArea().m_strPickQuery = "0";

    CPinyinSelectDlg picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowActive(&picker));
    QCOMPARE(picker.MatchCount(), 3);
    QCOMPARE(picker.SelectedRow(), 1); // chosen on open, the list holds the focus
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(picker.Grid()));
    QCOMPARE(picker.QueryLabel()->text(), QString("查找\"0\": 找到3种商品"));
    Press(Qt::Key_End);
    QCOMPARE(picker.SelectedRow(), 3);
    Press(Qt::Key_Home);
    QCOMPARE(picker.SelectedRow(), 1);
    Press(Qt::Key_PageDown);
    QCOMPARE(picker.SelectedRow(), 3);
    Press(Qt::Key_Up);
    QCOMPARE(picker.SelectedRow(), 2);
    const QString code = picker.Grid()->GetCellText(2, kColCode);
    Press(Qt::Key_Return);
    QCOMPARE(picker.result(), int(QDialog::Accepted));
    QCOMPARE(saleOut.Products().size(), 1);
    QCOMPARE(saleOut.Products().first().code, code);

    // Escape leaves with nothing picked.
    CPinyinSelectDlg second;
    second.show();
    QVERIFY(QTest::qWaitForWindowActive(&second));
    Press(Qt::Key_Escape);
    QCOMPARE(second.result(), int(QDialog::Rejected));
    QVERIFY(PickArea().m_strPickedName.isEmpty());
    QCOMPARE(saleOut.Products().size(), 1);
}

void TestKeyboardCounter::singleMatchIsTakenAtOnceUnlessTurnedOff() {
    TestDatabase db;
    FillProducts(db);
    TestDocumentWindow saleOut("销售出库");
    QVERIFY(PickSingleMatchAtOnce()); // on by default

    {
        ModalDriver<CPinyinSelectDlg> none({[](CPinyinSelectDlg* picker) { picker->reject(); }});
        QVERIFY(RunProductPicker(nullptr, 2, kScrew));
        QCOMPARE(none.Handled(), 0);
    }
    QCOMPARE(saleOut.Products().size(), 1);
    QCOMPARE(PickArea().m_strPickedCode, kScrew);

    SetPickSingleMatchAtOnce(false);
    int chosenOnOpen = 0;
    ModalDriver<CPinyinSelectDlg> shown({[&chosenOnOpen](CPinyinSelectDlg* picker) {
        chosenOnOpen = picker->SelectedRow();
        QTest::keyClick(picker->Grid(), Qt::Key_Return);
        if (picker->isVisible())
            picker->reject();
    }});
    QVERIFY(RunProductPicker(nullptr, 2, kNail));
    QCOMPARE(shown.Handled(), 1);
    QCOMPARE(chosenOnOpen, 1);
    QCOMPARE(saleOut.Products().size(), 2);
    QCOMPARE(saleOut.Products().last().code, kNail);
    SetPickSingleMatchAtOnce(true);
}

void TestKeyboardCounter::paymentStateFollowsTheAmounts() {
    QCOMPARE(PaymentStateForAmounts("45.00", "45"), QString("结清"));
    QCOMPARE(PaymentStateForAmounts("45.00", "0"), QString("未结"));
    QCOMPARE(PaymentStateForAmounts("45.00", "20.5"), QString("欠款"));
    QCOMPARE(PaymentStateForAmounts("45.00", "45.01"), QString());
    QCOMPARE(PaymentStateForAmounts("45.00", "-1"), QString());
    QCOMPARE(PaymentStateForAmounts("45.00", "abc"), QString());
    QCOMPARE(PaymentStateForAmounts("45.00", ""), QString());
    QCOMPARE(ReceiptForChosenState("欠款", "45.00", "20"), QString("20"));
    QCOMPARE(ReceiptForChosenState("结清", "45.00", "20"), QString("45.00"));
    QCOMPARE(ReceiptForChosenState("未结", "45.00", "20"), QString("0"));

    // On the window: a typed receipt survives choosing 欠款.
    KeyShop shop;
    QVERIFY(shop.ready);
    Press(Qt::Key_F2);
    shop.AddByCode(kSwitch, "2");
    Press(Qt::Key_F3);
    Press(Qt::Key_Tab);
    Type("4");
    QCOMPARE(shop.dlg->StateBox()->currentText(), QString("欠款"));
    Press(Qt::Key_Tab);
    Press(Qt::Key_Down); // past the end: stays 欠款
    shop.dlg->StateBox()->setCurrentIndex(2);
    emit shop.dlg->StateBox()->activated(2);
    QCOMPARE(shop.dlg->ReceiptBox()->text(), QString("4"));
    QCOMPARE(shop.dlg->ReceivableBox()->focusPolicy(), Qt::NoFocus);
}

void TestKeyboardCounter::stockInSavesWithF5IntoItsStatusLine() {
    KeyShop shop;
    QVERIFY(shop.ready);
    shop.db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('李四五金厂', 'LSWJC')");
    CEntryDlg entry;
    entry.resize(1366, 700);
    entry.show();
    entry.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&entry));
    MessageScript messages;
    Press(Qt::Key_F2);
    QVERIFY(Has(entry.SearchBox()));
    entry.SupplierBox()->setEditText("李四五金厂");
    entry.StateBox()->setCurrentIndex(0);
    Type(kNail);
    Press(Qt::Key_Return);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(entry.Grid()->GetFocusCell().col, 6);
    Press(Qt::Key_Left); // the price
    Type("2");
    Press(Qt::Key_Return);
    Press(Qt::Key_Right);
    Type("10");
    Press(Qt::Key_Return);
    Press(Qt::Key_F5);
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(entry.StatusLine()->text(), QString("已成功保存在数据库中"));
    QVERIFY(entry.IsMarkedSaved());
    QCOMPARE(shop.Stock(kNail).toDouble(), 110.0);
}

void TestKeyboardCounter::queryFilterByCtrlF() {
    TestDatabase db;
    CSaleOutQueryDlg query;
    query.show();
    query.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&query));
    query.Ui().m_pQuery->setFocus();
    Press(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(Has(query.Ui().m_pCustomer));
    QVERIFY(query.Ui().m_pListFrame->title().contains("说明:销售单中收款状态"));
}

void TestKeyboardCounter::altShowsKeyTipsAndKeepsTheFocus() {
    KeyShop shop;
    QVERIFY(shop.ready);
    CKeyTips tips;
    Press(Qt::Key_F2);
    QVERIFY(Has(shop.dlg->SearchBox()));
    QWidget* before = Focus();
    QTest::keyPress(before, Qt::Key_Alt, Qt::AltModifier);
    QStringList letters;
    for (QLabel* tip : tips.Shown())
        letters.append(tip->text());
    for (const QString& letter : {"N", "B", "K", "W", "P", "D", "I", "T"})
        QVERIFY2(letters.contains(letter), qPrintable(letters.join(',')));
    QCOMPARE(Focus(), before);
    // Each tip is painted over the window, under its button.
    QLabel* save = nullptr;
    for (QLabel* tip : tips.Shown())
        save = tip->text() == "B" ? tip : save;
    QVERIFY(save);
    const QImage picture = shop.dlg->grab().toImage();
    QCOMPARE(picture.pixelColor(save->geometry().left() + 2, save->geometry().center().y()),
             QColor("#fff6c8"));
    QTest::keyRelease(before, Qt::Key_Alt, Qt::NoModifier);
    QVERIFY(tips.Shown().isEmpty());
    QCOMPARE(Focus(), before);
    // Typing goes on where it was; a key pressed with Alt held takes the tips away.
    Type("LS");
    QCOMPARE(shop.dlg->SearchBox()->text(), QString("LS"));
    QTest::keyPress(Focus(), Qt::Key_Alt, Qt::AltModifier);
    QVERIFY(!tips.Shown().isEmpty());
    QTest::keyClick(Focus(), Qt::Key_F3, Qt::AltModifier);
    QVERIFY(tips.Shown().isEmpty());
}

QTEST_MAIN(TestKeyboardCounter)
#include "tst_keyboardcounter.moc"
#include "ui/PickArea.h"
