#include "DocumentShop.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"
#include "ModalDriver.h"
#include "UserInput.h"

#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/CSelectNameDlg.h"
#include "catalogue/PickHandOver.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/SaleQueryControls.h"
#include "text/HarborClock.h"
#include "ui/PickArea.h"

namespace {

template <typename Dlg> Dlg* ShowWindow(Dlg* dlg, bool& ready) {
    dlg->resize(1280, 700);
    dlg->show();
    ready = QTest::qWaitForWindowExposed(dlg) && ready;
    return dlg;
}

} // namespace

DocumentShop::DocumentShop() {
    db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('张三五金', 'ZSWJ')");
    db.Exec("INSERT INTO supplier (mc, pinyin) VALUES ('李四五金厂', 'LSWJC')");
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '7')");
    ready = true;
    outQuery = ShowWindow(new CSaleOutQueryDlg, ready);
    inQuery = ShowWindow(new CSaleInQueryDlg, ready);
    entryQuery = ShowWindow(new CEntryQueryDlg, ready);
    entry = ShowWindow(new CEntryDlg, ready);
    saleIn = ShowWindow(new CSaleInDlg, ready);
    saleOut = ShowWindow(new CSaleOutDlg, ready);
}

DocumentShop::~DocumentShop() {
    for (QWidget* window :
         std::initializer_list<QWidget*>{saleOut, saleIn, entry, outQuery, inQuery, entryQuery})
        delete window;
}

void DocumentShop::AddProduct(const QString& code, const QString& name, const QString& price,
                              const QString& stock) {
    db.Exec("INSERT INTO property (code, name, shortname, spec, price, discount1, discount2, "
            "discount3, total) VALUES (?, ?, ?, '10个/箱', ?, '0.9', '0.8', '0.7', ?)",
            {code, name, name.section('-', -1), price, stock});
}

QString DocumentShop::Stock(const QString& code) {
    return db.Value("SELECT total FROM property WHERE code=?", {code});
}

void DocumentShop::NewSale(CDocumentDlg* dlg, const QString& state) {
    QTest::mouseClick(dlg->NewButton(), Qt::LeftButton);
    dlg->CustomerBox()->setEditText("张三五金");
    ChooseState(dlg->StateBox(), state);
}

void DocumentShop::AddSaleLine(CDocumentDlg* dlg, const QString& code, const QString& quantity) {
    const QString state = dlg->StateBox()->currentText();
    AddLineBySearch(dlg->SearchBox(), code);
    TypeInCell(dlg->Grid(), dlg->Grid()->GetRowCount() - 1, 6, quantity);
    // A picked product empties the state box: the user chooses it again.
    if (!state.isEmpty())
        ChooseState(dlg->StateBox(), state);
}

void DocumentShop::NewEntry() {
    QTest::mouseClick(entry->NewButton(), Qt::LeftButton);
    entry->SupplierBox()->setEditText("李四五金厂");
    entry->StateBox()->setCurrentIndex(entry->StateBox()->findText("未付"));
}

void DocumentShop::AddEntryLine(const QString& code, const QString& price,
                                const QString& quantity) {
    AddLineBySearch(entry->SearchBox(), code);
    const int row = entry->Grid()->GetRowCount() - 1;
    TypeInCell(entry->Grid(), row, 5, price);
    TypeInCell(entry->Grid(), row, 6, quantity);
}

void DocumentShop::QueryAll(CSaleQueryDlg* dlg) {
    dlg->Ui().m_pStart->setDate(QDate(1970, 1, 1));
    dlg->Ui().m_pEnd->setDate(HarborToday());
    QTest::mouseClick(dlg->Ui().m_pQuery, Qt::LeftButton);
}

void DocumentShop::QueryAll(CEntryQueryDlg* dlg) {
    dlg->StartBox()->setDate(QDate(1970, 1, 1));
    dlg->EndBox()->setDate(HarborToday());
    QTest::mouseClick(dlg->QueryButton(), Qt::LeftButton);
}

int DocumentShop::ListRow(CGridCtrl* list, const QString& oddnum) {
    for (int row = 1; row < list->GetRowCount(); ++row) {
        if (list->GetCellText(row, 1) == oddnum)
            return row;
    }
    return -1;
}

// A code that matches one product alone is handed over at once (PickSingleMatchAtOnce);
// otherwise the picker opens and its first product is chosen.
void AddLineBySearch(QLineEdit* search, const QString& code) {
    TypeText(search, code);
    PickArea().m_strPickedCode.clear();
    ModalDriver<CPinyinSelectDlg> driver({PickFirstProduct});
    QTest::keyClick(search, Qt::Key_Return);
    QVERIFY(driver.Handled() <= 1);
    if (driver.Handled() == 0)
        QCOMPARE(PickArea().m_strPickedCode, code);
}

void ChooseState(QComboBox* box, const QString& state) {
    box->setCurrentIndex(box->findText(state));
    emit box->activated(box->currentIndex());
}

void ReplaceLineProduct(CGridCtrl* grid, int row, const QString& name, const QString& code,
                        const QString& spec) {
    ModalDriver<CSelectNameDlg> driver({[=](CSelectNameDlg* picker) {
        if (HandOverPick(picker, name, code, spec))
            picker->accept();
        else
            picker->reject();
    }});
    ClickCell(grid, row, 1, Qt::RightButton);
    QCOMPARE(driver.Handled(), 1);
}
