// The sales-return window: the second instance of the sales document. What differs from the
// sales-out window: its table and numbers, line amounts that never rewrite the price, raised
// stock, 16 stored columns and the deletion of stored lines.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"
#include "ui/CPickReceiver.h"
#include "text/HarborClock.h"
#include "documents/CSaleInDlg.h"
#include "documents/Oddnum.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceList.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"

namespace {

const QString kScrew = "0101000001"; // price 10.00, discounts 0.9 / 0.5 / 0.7, stock 100
const QString kNail = "0102000001";  // price 2.50, stock 50

QString Today(int sequence) {
    return OddnumPrefix(HarborToday()) + QString::asprintf("%03d", sequence);
}

struct ShownReturn {
    TestDatabase db;
    CSaleInDlg* dlg = nullptr;
    CGridCtrl* grid = nullptr;
    bool ready = false;

    ShownReturn() {
        db.Exec("INSERT INTO property (code, name, shortname, spec, price, discount1, discount2, "
                "discount3, total) VALUES ('0101000001', '五金-螺丝', '螺丝', '10个/箱', '10.00', "
                "'0.9', '0.5', '0.7', '100')");
        db.Exec("INSERT INTO property (code, name, shortname, spec, price, total) VALUES "
                "('0102000001', '五金-钉子', '钉子', '1千克', '2.50', '50')");
        db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '7')");
        dlg = new CSaleInDlg;
        dlg->resize(1280, 700);
        dlg->show();
        ready = QTest::qWaitForWindowExposed(dlg);
        grid = dlg->Grid();
    }
    ~ShownReturn() { delete dlg; }

    // A line as the picker hands it over.
    void AddLine(const QString& name, const QString& code) {
        dlg->m_nRow = grid->AppendRow();
        PickArea().m_strPickedName = name;
        PickArea().m_strPickedCode = code;
        FindPickReceiver(PickArea().m_nPickTarget)->PutPickedProduct();
    }
    void SetState(const QString& state) {
        dlg->StateBox()->setCurrentIndex(dlg->StateBox()->findText(state));
        emit dlg->StateBox()->activated(dlg->StateBox()->currentIndex());
    }
    QString Stock(const QString& code) {
        return db.Value(QStringLiteral("SELECT total FROM property WHERE code='%1'").arg(code));
    }
};

} // namespace

class TestSaleInDlg : public QObject {
    Q_OBJECT

  private slots:
    void isTheReturnInstance();
    void lineAmountKeepsThePrice();
    void saveRaisesStockAndLeavesPcsAndRemarksEmpty();
    void deletingStoredLineLowersStock();
    void barcodeImportFillsReturnLines();
    void barcodeReturnOfNothingIsRefused();
    void closeQuestionNamesTheReturn();
};

void TestSaleInDlg::isTheReturnInstance() {
    ShownReturn doc;
    QVERIFY(doc.ready);
    QCOMPARE(doc.dlg->windowTitle(), QString("销售退货"));
    QCOMPARE(PickArea().m_nPickTarget, 3);
    QCOMPARE(FindPickReceiver(3), static_cast<CPickReceiver*>(doc.dlg));
    QStringList labels;
    for (QLabel* label : doc.dlg->findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"退货时间:", "应退:", "实退:", "退款状态:", "选择商品:"})
        QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    QVERIFY(!labels.contains("应收:"));

    // Return numbers are counted apart from sales numbers.
    doc.db.Exec(QStringLiteral("INSERT INTO saleout (oddnum) VALUES ('%1')").arg(Today(4)));
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    QCOMPARE(doc.dlg->OddnumBox()->text(), Today(1));
}

void TestSaleInDlg::lineAmountKeepsThePrice() {
    ShownReturn doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.AddLine("五金-螺丝", kScrew);
    TypeInCell(doc.grid, 1, 6, "2");
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("20.00"));
    ChooseInCell(doc.grid, 1, 7, "0.9");
    ChooseInCell(doc.grid, 1, 10, "含税(1.10)");
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("19.80"));
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("10.00"));
    ChooseInCell(doc.grid, 1, 7, "0.5");
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("11.00"));
    QCOMPARE(doc.grid->GetCellText(1, 5), QString("10.00"));
    QCOMPARE(doc.grid->GetCellText(1, 10), QString("含税(1.10)"));
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("11.00"));
    // A typed price changes only the amount; the discount stays.
    TypeInCell(doc.grid, 1, 5, "8");
    QCOMPARE(doc.grid->GetCellText(1, 7), QString("0.5"));
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("8.80"));
    // A typed code must be a product's: an unknown one is refused and the line stays.
    {
        MessageScript messages;
        TypeInCell(doc.grid, 1, 3, "0101000009");
        QCOMPARE(messages.Texts(),
                 QStringList{"条形码\"0101000009\"没有对应的商品,请重新输入或选择商品"});
    }
    QCOMPARE(doc.grid->GetCellText(1, 3), kScrew);
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("8.80"));
    doc.SetState("结清");
    QCOMPARE(doc.dlg->ReceiptBox()->text(), QString("8.80"));
}

void TestSaleInDlg::saveRaisesStockAndLeavesPcsAndRemarksEmpty() {
    ShownReturn doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.dlg->CustomerBox()->setEditText("李四");
    doc.AddLine("五金-螺丝", kScrew);
    doc.AddLine("五金-钉子", kNail);
    TypeInCell(doc.grid, 1, 6, "3");
    TypeInCell(doc.grid, 2, 6, "2");
    TypeInCell(doc.grid, 1, 9, "1");
    ChooseInCell(doc.grid, 1, 10, "含税(1.06)");
    doc.SetState("未结");
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(doc.dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
    QCOMPARE(doc.Stock(kScrew), QString("103.00"));
    QCOMPARE(doc.Stock(kNail), QString("52.00"));
    QCOMPARE(doc.db.Rows(
                 "SELECT oddnum, customer, receivable, receipt, state, code, \"count\", "
                 "total, CASE WHEN pcs IS NULL THEN 1 END, CASE WHEN remarks IS NULL THEN 1 END, "
                 "freceivable FROM salein ORDER BY " +
                 TestDatabase::RowKey()),
             QStringList({Today(1) + "|李四|36.80|0|未结|" + kScrew + "|3|31.80|1|1|36.8",
                          Today(1) + "|李四|36.80|0|未结|" + kNail + "|2|5.00|1|1|36.8"}));
    QCOMPARE(doc.db.Value("SELECT count(*) FROM saleout"), QString("0"));

    TypeInCell(doc.grid, 1, 6, "5");
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kScrew), QString("105.00"));
    QCOMPARE(doc.Stock(kNail), QString("52.00"));
}

void TestSaleInDlg::deletingStoredLineLowersStock() {
    ShownReturn doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.dlg->CustomerBox()->setEditText("李四");
    doc.AddLine("五金-螺丝", kScrew);
    doc.AddLine("五金-钉子", kNail);
    TypeInCell(doc.grid, 1, 6, "3");
    TypeInCell(doc.grid, 2, 6, "2");
    doc.SetState("结清");
    MessageScript messages;
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.Stock(kScrew), QString("103.00"));

    ClickCell(doc.grid, 1, 1);
    QTest::mouseClick(doc.dlg->DeleteLineButton(), Qt::LeftButton);
    QCOMPARE(doc.Stock(kScrew), QString("100.00"));
    QCOMPARE(doc.grid->GetRowCount(), 2);
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("5.00"));
    QCOMPARE(doc.dlg->ReceiptBox()->text(), QString("5.00"));
    // The remaining rows carry the amounts of the rows that remain at once.
    QCOMPARE(doc.db.Rows("SELECT code, receivable, receipt, freceivable FROM salein"),
             QStringList{kNail + "|5.00|5.00|5"});
    QVERIFY(doc.dlg->Save());
    QCOMPARE(doc.db.Rows("SELECT code, receivable, receipt FROM salein"),
             QStringList{kNail + "|5.00|5.00"});
    QCOMPARE(doc.Stock(kNail), QString("52.00"));
}

void TestSaleInDlg::barcodeImportFillsReturnLines() {
    ShownReturn doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    doc.dlg->BarcodeBox()->setPlainText("7#" + kScrew + ",2\r\n");
    QTRY_VERIFY(doc.dlg->BarcodeBox()->isReadOnly());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(doc.grid->GetCellText(1, 8), QString("20.00"));
    QCOMPARE(doc.dlg->ReceivableBox()->text(), QString("20.00"));
    QCOMPARE(doc.dlg->EmployeeNameBox()->text(), QString("王五"));
}

void TestSaleInDlg::barcodeReturnOfNothingIsRefused() {
    ShownReturn doc;
    QVERIFY(doc.ready);
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    MessageScript messages;
    doc.dlg->BarcodeBox()->setPlainText("7#" + kScrew + ",0\r\n");
    QTRY_COMPARE(messages.Count(), 1);
    // No hint to 销售退货 in 销售退货 itself.
    QCOMPARE(messages.Last(),
             QString("条码信息有误,没有导入:\n第1行\"7#0101000001,0\":数量必须大于0"));
    QCOMPARE(doc.grid->GetRowCount(), 1);
}

void TestSaleInDlg::closeQuestionNamesTheReturn() {
    ShownReturn doc;
    QVERIFY(doc.ready);
    QVERIFY(doc.dlg->QueryClose()); // an untouched new document: nothing asked
    QTest::mouseClick(doc.dlg->NewButton(), Qt::LeftButton);
    doc.dlg->CustomerBox()->setEditText("张三五金");
    MessageScript messages({IDNO});
    QVERIFY(doc.dlg->QueryClose());
    QCOMPARE(messages.Messages().first().text, QString("退货单尚未保存,是否先保存?"));
    QCOMPARE(messages.Messages().first().caption, QString("退货单保存"));
    QVERIFY(!doc.dlg->m_bOpen);
}

QTEST_MAIN(TestSaleInDlg)
#include "tst_saleindlg.moc"
#include "ui/PickArea.h"
