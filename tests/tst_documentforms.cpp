// The one document window and its three forms: 销售出库, 销售退货 and 采购入库 are the same
// class configured by a DocumentForm. What each form offers, and what they now share.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "support/DocumentShop.h"
#include "support/GridInput.h"
#include "support/LayoutCheck.h"
#include "support/MessageScript.h"
#include "support/Screenshot.h"

namespace {

const QString kScrew = "0101000001";
const QString kNail = "0102000001";

QStringList Headings(CGridCtrl* grid) {
    QStringList texts;
    for (int col = 0; col < grid->GetColumnCount(); ++col)
        texts.append(grid->GetCellText(0, col));
    return texts;
}

// Where a control stands in its window.
QRect Place(const QWidget* control, const QWidget* window) {
    return QRect(control->mapTo(window, QPoint(0, 0)), control->size());
}

// Left to right on one line: each starts right of the one before, their middles level.
void CheckRow(const QWidget* window, const QList<QWidget*>& controls) {
    for (int i = 1; i < controls.size(); ++i) {
        const QRect before = Place(controls[i - 1], window);
        const QRect after = Place(controls[i], window);
        QVERIFY2(after.left() >= before.right(),
                 qPrintable(controls[i]->objectName() + " " + QString::number(i)));
        QVERIFY2(qAbs(after.center().y() - before.center().y()) <= 6,
                 qPrintable(QString::number(i)));
    }
}

// Inside the window, and wide enough for its own text.
void CheckShown(const QWidget* window, QWidget* control) {
    QVERIFY(control->isVisible());
    const QRect place = Place(control, window);
    QVERIFY2(window->rect().contains(place), qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7")
                                                            .arg(control->metaObject()->className())
                                                            .arg(place.x())
                                                            .arg(place.y())
                                                            .arg(place.width())
                                                            .arg(place.height())
                                                            .arg(window->width())
                                                            .arg(window->height())));
    QString text;
    if (auto* label = qobject_cast<QLabel*>(control); label && !label->wordWrap())
        text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        text = button->text().remove('&');
    if (!text.isEmpty())
        QVERIFY2(control->width() >= control->fontMetrics().horizontalAdvance(text),
                 qPrintable(text));
}

// The controls of a window's rows as a user reads them, top to bottom.
QList<QList<QWidget*>> Rows(CDocumentDlg* dlg) {
    QList<QWidget*> first{dlg->OddnumBox(), dlg->PartyBox(), dlg->PartyButton()};
    QList<QWidget*> second{dlg->ReceivableBox()};
    if (dlg->DateBox())
        first << dlg->DateBox();
    else
        first << dlg->EmployeeNameBox() << dlg->EmployeeIdBox();
    if (dlg->ReceiptBox())
        second << dlg->ReceiptBox();
    second << dlg->StateBox();
    QList<QWidget*> products{dlg->SearchBox(), dlg->AddLineButton(), dlg->DeleteLineButton()};
    if (dlg->DateBox())
        second << products; // the stock-in's product box stands beside its state
    QList<QWidget*> buttons{dlg->NewButton(),     dlg->SaveButton(),  dlg->PrintSetupButton(),
                            dlg->PreviewButton(), dlg->PrintButton(), dlg->SinglePageBox()};
    if (dlg->ReceiptButton())
        buttons << dlg->ReceiptButton();
    buttons << dlg->SaveAndPrintButton() << dlg->SaveAndNewButton();
    QList<QList<QWidget*>> rows{first, second};
    if (!dlg->DateBox())
        rows << products;
    rows << buttons;
    return rows;
}

} // namespace

class TestDocumentForms : public QObject {
    Q_OBJECT
  private slots:
    void eachFormOffersItsOwnControls();
    void lineNumberClickChoosesNothingInEveryForm();
    void oneLineTableServesEveryForm();
    void layoutKeepsTheOrderAndGivesTheTableTheRoom();
};

void TestDocumentForms::eachFormOffersItsOwnControls() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    // The counter forms: clock, employee, amount received, scanner text and receipt slip.
    for (CDocumentDlg* dlg :
         {static_cast<CDocumentDlg*>(shop.saleOut), static_cast<CDocumentDlg*>(shop.saleIn)}) {
        QVERIFY(dlg->ReceiptBox() && dlg->EmployeeNameBox() && dlg->EmployeeIdBox());
        QVERIFY(dlg->BarcodeBox() && dlg->ScannerButton() && dlg->ReceiptButton());
        QVERIFY(dlg->LowStockLabel());
        QVERIFY(!dlg->DateBox());
        QVERIFY(!dlg->StateBox()->isEditable());
        QCOMPARE(dlg->StateBox()->count(), 3);
        QVERIFY(dlg->CustomerButton()->text().startsWith("选择/新增客户"));
        QCOMPARE(dlg->Grid()->GetColumnCount(), 11);
    }
    QVERIFY(!shop.saleOut->ReturnFromSaleButton());
    QVERIFY(shop.saleIn->ReturnFromSaleButton());
    QCOMPARE(shop.saleOut->windowTitle(), QString("销售出库"));
    QCOMPARE(shop.saleIn->windowTitle(), QString("销售退货"));

    // The stock-in: a delivery date and a typed state instead of the counter's controls.
    CEntryDlg* entry = shop.entry;
    QCOMPARE(entry->windowTitle(), QString("采购入库"));
    QVERIFY(entry->DateBox());
    QCOMPARE(entry->DateBox()->date(), QDate::currentDate());
    for (QWidget* none : std::initializer_list<QWidget*>{
             entry->ReceiptBox(), entry->EmployeeNameBox(), entry->EmployeeIdBox(),
             entry->BarcodeBox(), entry->ScannerButton(), entry->ReceiptButton(),
             entry->LowStockLabel(), entry->ReturnFromSaleButton()})
        QVERIFY(!none);
    QVERIFY(entry->StateBox()->isEditable());
    QCOMPARE(entry->StateBox()->itemText(0), QString("未付"));
    QCOMPARE(entry->StateBox()->itemText(1), QString("已付"));
    QVERIFY(entry->SupplierButton()->text().startsWith("选择/新增供货商"));
    QCOMPARE(entry->SupplierBox(), entry->PartyBox());
    QCOMPARE(entry->MoneyBox(), entry->ReceivableBox());
    // Every form opens on a new document of its own table's numbers.
    for (CDocumentDlg* dlg :
         {static_cast<CDocumentDlg*>(shop.saleOut), static_cast<CDocumentDlg*>(shop.saleIn),
          static_cast<CDocumentDlg*>(entry)}) {
        QVERIFY(dlg->m_bOpen);
        QCOMPARE(dlg->OddnumBox()->text().size(), 11);
    }
}

// A click on the heading or on a line number chooses no line: 删除商品 then asks for one
// instead of deleting the line chosen before.
void TestDocumentForms::lineNumberClickChoosesNothingInEveryForm() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kScrew, "五金-螺丝", "10.00", "100");
    shop.AddProduct(kNail, "五金-钉子", "2.50", "50");
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "2");
    shop.AddSaleLine(shop.saleOut, kNail, "4");
    shop.NewEntry();
    shop.AddEntryLine(kScrew, "6", "3");
    shop.AddEntryLine(kNail, "1", "5");
    for (CDocumentDlg* dlg :
         {static_cast<CDocumentDlg*>(shop.saleOut), static_cast<CDocumentDlg*>(shop.entry)}) {
        CGridCtrl* grid = dlg->Grid();
        MessageScript messages;
        ClickCell(grid, 1, 1); // chosen ...
        ClickCell(grid, 1, 0); // ... and let go again
        QTest::mouseClick(dlg->DeleteLineButton(), Qt::LeftButton);
        QCOMPARE(messages.Texts(), QStringList{"请先选择要删除的记录"});
        QCOMPARE(grid->GetRowCount(), 3);
        // A click on a line chooses it; the lines after it are numbered again.
        ClickCell(grid, 1, 1);
        QTest::mouseClick(dlg->DeleteLineButton(), Qt::LeftButton);
        QCOMPARE(messages.Count(), 1);
        QCOMPARE(grid->GetRowCount(), 2);
        QCOMPARE(grid->GetCellText(1, 0), QString("1"));
        QCOMPARE(grid->GetCellText(1, 3), kNail);
        QCOMPARE(dlg->ReceivableBox()->text(),
                 dlg == shop.entry ? QString("5.00") : QString("10.00"));
    }
}

// One set of table helpers serves the forms: the stock-in's table has no discount, packages or
// remark, and what the sales forms do with those columns leaves its lines alone.
void TestDocumentForms::oneLineTableServesEveryForm() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    shop.AddProduct(kScrew, "五金-螺丝", "10.00", "100");
    QCOMPARE(Headings(shop.entry->Grid()), (QStringList{"", "商品名称", "商品简称", "条形码",
                                                        "包装规格", "单价", "数量", "金额"}));
    QCOMPARE(Headings(shop.saleOut->Grid()),
             (QStringList{"", "商品名称", "商品简称", "条形码", "包装规格", "单价", "数量", "折扣",
                          "金额", "件数", "备注"}));
    shop.NewEntry();
    shop.AddEntryLine(kScrew, "6", "3");
    CGridCtrl* grid = shop.entry->Grid();
    // The picker brought no catalogue price: the stock-in's price is typed.
    QCOMPARE(grid->GetCellText(1, 5), QString("6"));
    QCOMPARE(grid->GetCellText(1, 7), QString("18.00"));
    QVERIFY(grid->GetCellFormat(1, 7) & DT_RIGHT);
    QVERIFY(!grid->IsCellEditable(1, 3));
    QVERIFY(!grid->IsCellEditable(1, 7));
    QVERIFY(shop.entry->Save());
    QCOMPARE(shop.Stock(kScrew), QString("103.00"));
    // Read back as stored, the line comes back into the same columns.
    shop.entry->ReloadDocument();
    QCOMPARE(grid->GetRowCount(), 2);
    const QStringList expected{"1", "五金-螺丝", "螺丝", kScrew, "10个/箱", "6", "3", "18.00"};
    for (int col = 0; col < expected.size(); ++col)
        QCOMPARE(grid->GetCellText(1, col), expected[col]);
    QVERIFY(!shop.entry->HasUnsavedChanges());

    // The same product on a sale takes the catalogue price with its discount list.
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "2");
    QCOMPARE(shop.saleOut->Grid()->GetCellText(1, 5), QString("10.00"));
    QCOMPARE(shop.saleOut->Grid()->GetCellText(1, 7), QString("1.0"));
    QCOMPARE(shop.saleOut->Grid()->GetCellText(1, 8), QString("20.00"));
}

// From 1024x768 to 1920x1080 every control stands inside the window, wide enough for its text,
// in the rows and the order of the form; the table takes what the window grows by. With
// HARBOR_SHOT_DIR set, each window is saved there as a picture at each size.
void TestDocumentForms::layoutKeepsTheOrderAndGivesTheTableTheRoom() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    for (CDocumentDlg* dlg :
         {static_cast<CDocumentDlg*>(shop.saleOut), static_cast<CDocumentDlg*>(shop.saleIn),
          static_cast<CDocumentDlg*>(shop.entry)}) {
        QSize table;
        for (const QSize size : {QSize(1024, 768), QSize(1920, 1080)}) {
            dlg->resize(size);
            dlg->layout()->activate();
            QCOMPARE(dlg->size(), size);
            Snapshot(dlg, QStringLiteral("%1-%2").arg(dlg->Form().table).arg(size.width()));
            const QList<QList<QWidget*>> rows = Rows(dlg);
            for (const QList<QWidget*>& row : rows) {
                CheckRow(dlg, row);
                for (QWidget* control : row)
                    CheckShown(dlg, control);
            }
            for (int i = 1; i < rows.size(); ++i)
                QVERIFY(Place(rows[i].first(), dlg).top() >=
                        Place(rows[i - 1].first(), dlg).bottom());
            QCOMPARE(ClippedWidgets(dlg), QStringList());
            // The table between the product row and the document buttons.
            const QRect grid = Place(dlg->Grid(), dlg);
            CheckShown(dlg, dlg->Grid());
            QVERIFY(grid.top() > Place(dlg->SearchBox(), dlg).bottom());
            QVERIFY(grid.bottom() < Place(dlg->NewButton(), dlg).top());
            if (QWidget* barcode = dlg->BarcodeBox()) {
                // The scanner's column left of the table, its button on the product row.
                QVERIFY(Place(barcode, dlg).right() < grid.left());
                QVERIFY(Place(barcode, dlg).top() >= grid.top());
                QCOMPARE(Place(dlg->ScannerButton(), dlg).top(),
                         Place(dlg->SearchBox(), dlg).top());
                if (QWidget* back = dlg->ReturnFromSaleButton())
                    QVERIFY(Place(back, dlg).bottom() < Place(barcode, dlg).top());
            }
            // The product names take the width the other columns leave.
            int columns = 0;
            for (int col = 0; col < dlg->Grid()->GetColumnCount(); ++col)
                columns += dlg->Grid()->GetColumnWidth(col);
            QCOMPARE(columns, dlg->Grid()->viewport()->width());
            if (table.isValid()) {
                QVERIFY(grid.width() >= table.width() + 800);
                QVERIFY(grid.height() >= table.height() + 250);
            }
            table = grid.size();
        }
    }
}

QTEST_MAIN(TestDocumentForms)
#include "tst_documentforms.moc"
