// The sales-out and sales-return query windows on a real database: the number range, the
// filters and their escaping, the totals, settling in the list, invoice dates, deleting a
// document and the lines of one document.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"
#include "db/CStatementRun.h"
#include "documents/Oddnum.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceList.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/CSettleDlg.h"
#include "queries/SaleQueryGrid.h"
#include "queries/SaleQuerySql.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/Screenshot.h"
#include "support/SettleConfirm.h"
#include "support/TestDatabase.h"
#include "support/UserInput.h"
#include "text/Cents.h"
#include "text/HarborClock.h"

namespace {

struct Line {
    QString code;
    QString name;
    QString total;
    QString pcs;
};

struct Doc {
    QString oddnum;
    QString customer;
    QString receivable;
    QString receipt;
    QString state;
    QString employee;
    QList<Line> lines;
};

// Stores a document as the document windows do: one row per line, the header repeated.
void Store(TestDatabase& db, const QString& table, const Doc& doc) {
    for (const Line& line : doc.lines)
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, customer, mydate, receivable, receipt, "
                               "freceivable, freceipt, state, employeename, mc, code, spec, "
                               "price, \"count\", discount, total, pcs, remarks) VALUES ('%2', "
                               "'%3', '2026-12-01 10:00:00', '%4', '%5', %4, %6, '%7', '%8', "
                               "'%9', '%10', '10个/箱', '2.50', '4', '1.0', '%11', '%12', '')")
                    .arg(table, doc.oddnum, QString(doc.customer).replace("'", "''"),
                         doc.receivable, doc.receipt,
                         doc.receipt.isEmpty() ? QStringLiteral("0") : doc.receipt, doc.state,
                         doc.employee, line.name, line.code, line.total, line.pcs));
}

QStringList Column(CGridCtrl* grid, int col) {
    QStringList texts;
    for (int row = 1; row < grid->GetRowCount(); ++row)
        texts.append(grid->GetCellText(row, col));
    return texts;
}

// A shop with five sales-out documents over three days and two employees.
template <class Dialog> struct Shown {
    TestDatabase db;
    Dialog* dlg = nullptr;
    CGridCtrl* list = nullptr;
    CGridCtrl* detail = nullptr;
    QString table;

    Shown() {
        db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '7')");
        db.Exec("INSERT INTO employee (name, employeeid) VALUES ('赵六', '8')");
        db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('张三五金', 'ZSWJ')");
        db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('李四', 'LS')");
        db.Exec("INSERT INTO property (code, total) VALUES ('0101000001', '100.00')");
        dlg = new Dialog;
        table = dlg->Kind().table;
        Store(db, table,
              {"20261201001",
               "张三五金",
               "120.50",
               "0",
               "未结",
               "王五",
               {{"0101000001", "螺丝", "100.50", "2"}, {"0200000001", "开关", "20.00", "x"}}});
        Store(db, table,
              {"20261203001",
               "李四",
               "79.25",
               "79.25",
               "结清",
               "赵六",
               {{"0101000001", "螺丝", "79.25", "3"}}});
        Store(db, table,
              {"20261206002",
               "张三五金",
               "0.10",
               "0.05",
               "欠款",
               "赵六",
               {{"0102000001", "钉子", "0.10", "1"}}});
        Store(db, table,
              {"20261130999",
               "张三五金",
               "1000",
               "0",
               "未结",
               "王五",
               {{"0101000001", "螺丝", "1000", "1"}}});
        Store(
            db, table,
            {"20261207001", "李四", "5", "5", "结清", "王五", {{"0101000001", "螺丝", "5", "1"}}});
        list = dlg->Ui().m_pList;
        detail = dlg->Ui().m_pDetail;
        dlg->resize(1280, 700);
        dlg->show();
        ready = QTest::qWaitForWindowExposed(dlg);
        SetRange(QDate(2026, 12, 1), QDate(2026, 12, 6));
    }
    ~Shown() { delete dlg; }

    void SetRange(const QDate& start, const QDate& end) {
        dlg->Ui().m_pStart->setDate(start);
        dlg->Ui().m_pEnd->setDate(end);
    }
    void Query() { QTest::mouseClick(dlg->Ui().m_pQuery, Qt::LeftButton); }
    int RowOf(const QString& oddnum) { return Column(list, kListOddnum).indexOf(oddnum) + 1; }
    QStringList Stored(const QString& oddnum, const QString& columns) {
        return db.Rows(QStringLiteral("SELECT %1 FROM %2 WHERE oddnum='%3' ORDER BY code")
                           .arg(columns, table, oddnum));
    }
    QStringList Totals() {
        return {dlg->Ui().m_pDue->text(), dlg->Ui().m_pReceived->text(),
                dlg->Ui().m_pOutstanding->text()};
    }

    bool ready = false;
};

using ShownOut = Shown<CSaleOutQueryDlg>;
using ShownIn = Shown<CSaleInQueryDlg>;

} // namespace

class TestSaleQueryDlg : public QObject {
    Q_OBJECT

  private slots:
    void RulesOfTheList();
    void QueryByRangeAndFilters();
    void TypedFiltersAreText();
    void CustomerSearchByInitials();
    void OpensOnTodaysDocuments();
    void SettlingInTheList();
    void SettlingAsksAmountAndDate();
    void ReceivedAmountMustBeANumber();
    void DetailOfOneDocument();
    void InvoiceDate();
    void DeleteDocument();
    void ReturnQueryDifferences();
    void PrintButtonsOnOpening();
    void LongListReadAPageAtATime();
};

void TestSaleQueryDlg::RulesOfTheList() {
    const auto [low, high] = OddnumBounds(QDate(2026, 12, 1), QDate(2026, 12, 6));
    QCOMPARE(low, QString("20261201001"));
    QCOMPARE(high, QString("20261206999"));
    QCOMPARE(StateCellText("结清"), QString("结清"));
    QCOMPARE(StateCellText("未结"), QString("未结"));
    QCOMPARE(StateCellText("已付"), QString("欠款"));
    QCOMPARE(StateCellText(""), QString("欠款"));
    QCOMPARE(ReceiptForState("结清", "120.50", "50"), QString("120.50"));
    QCOMPARE(ReceiptForState("未结", "120.50", "50"), QString("0"));
    QCOMPARE(ReceiptForState("欠款", "120.50", "50"), QString("50"));
    QCOMPARE(ReceiptForState("别的", "120.50", "50"), QString());
    // Sums exact to the cent.
    QVector<SaleQueryRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.append({"", "", "", "0.10", i % 2 ? "0.10" : "", "", ""});
    const SaleQueryTotals totals = SumSaleQueryRows(rows);
    QCOMPARE(totals.due, QString("1.00"));
    QCOMPARE(totals.received, QString("0.50"));
    QCOMPARE(totals.outstanding, QString("0.50"));
}

void TestSaleQueryDlg::QueryByRangeAndFilters() {
    ShownOut shop;
    QVERIFY(shop.ready);
    QCOMPARE(shop.dlg->windowTitle(), QString("销售出库查询"));
    QCOMPARE(shop.dlg->Ui().m_pEmployee->count(), 3); // the empty entry and both employees
    QCOMPARE(shop.dlg->Ui().m_pState->itemText(0), QString());
    // Before 查询 the window lists today's documents only (none of these).
    for (const QString& oddnum : Column(shop.list, kListOddnum))
        QVERIFY(oddnum.startsWith(OddnumPrefix(HarborToday())));

    // The number range covers whole days; the empty state matches every state.
    shop.Query();
    QStringList numbers = Column(shop.list, kListOddnum);
    numbers.sort();
    QCOMPARE(numbers, QStringList({"20261201001", "20261203001", "20261206002"}));
    QCOMPARE(shop.Totals(), QStringList({"199.85", "79.30", "120.55"}));
    const int first = shop.RowOf("20261201001");
    QCOMPARE(shop.list->GetCellText(first, 0), QString::number(first));
    QCOMPARE(shop.list->GetCellText(first, kListCustomer), QString("张三五金"));
    QCOMPARE(shop.list->GetCellText(first, kListReceivable), QString("120.50"));
    QCOMPARE(shop.list->GetCellText(first, kListState), QString("未结"));
    QCOMPARE(shop.list->GetCellText(first, kListEmployee), QString("王五"));

    // Customer, state and employee narrow the list; the totals follow.
    shop.dlg->Ui().m_pCustomer->setEditText("三五");
    shop.Query();
    QCOMPARE(Column(shop.list, kListOddnum).size(), 2);
    shop.dlg->Ui().m_pState->setCurrentText("欠款");
    shop.Query();
    QCOMPARE(Column(shop.list, kListOddnum), QStringList{"20261206002"});
    QCOMPARE(shop.Totals(), QStringList({"0.10", "0.05", "0.05"}));
    shop.dlg->Ui().m_pCustomer->setEditText("");
    shop.dlg->Ui().m_pState->setCurrentIndex(0);
    shop.dlg->Ui().m_pEmployee->setCurrentText("王五");
    shop.SetRange(QDate(2026, 11, 30), QDate(2026, 12, 7));
    shop.Query();
    numbers = Column(shop.list, kListOddnum);
    numbers.sort();
    QCOMPARE(numbers, QStringList({"20261130999", "20261201001", "20261207001"}));
    QCOMPARE(shop.Totals(), QStringList({"1125.50", "5.00", "1120.50"}));

    // A range with no documents lists nothing and totals zero.
    shop.SetRange(QDate(2025, 1, 1), QDate(2025, 1, 2));
    shop.Query();
    QCOMPARE(shop.list->GetRowCount(), 1);
    QCOMPARE(shop.Totals(), QStringList({"0.00", "0.00", "0.00"}));
}

void TestSaleQueryDlg::TypedFiltersAreText() {
    ShownOut shop;
    QVERIFY(shop.ready);
    Store(shop.db, "saleout",
          {"20261202001", "O'Brien", "10", "10", "结清", "王五", {{"1", "a", "10", "1"}}});
    Store(shop.db, "saleout",
          {"20261202002", "100%五金", "20", "0", "未结", "王五", {{"1", "a", "20", "1"}}});
    MessageScript messages;
    shop.dlg->Ui().m_pCustomer->setEditText("O'B");
    shop.Query();
    QCOMPARE(Column(shop.list, kListOddnum), QStringList{"20261202001"});
    // "%" and "_" typed by the user match only themselves.
    shop.dlg->Ui().m_pCustomer->setEditText("%");
    shop.Query();
    QCOMPARE(Column(shop.list, kListOddnum), QStringList{"20261202002"});
    shop.dlg->Ui().m_pCustomer->setEditText("_");
    shop.Query();
    QCOMPARE(shop.list->GetRowCount(), 1);
    QCOMPARE(messages.Count(), 0);
}

void TestSaleQueryDlg::CustomerSearchByInitials() {
    ShownOut shop;
    QVERIFY(shop.ready);
    QComboBox* customer = shop.dlg->Ui().m_pCustomer;
    customer->setFocus();
    TypeText(customer, "zs");
    QTest::keyClick(customer, Qt::Key_Return);
    QCOMPARE(customer->count(), 1);
    QCOMPARE(customer->currentText(), QString("张三五金"));
    QVERIFY(shop.dlg->isVisible()); // Enter does not close the window
    shop.Query();
    QCOMPARE(Column(shop.list, kListCustomer), QStringList({"张三五金", "张三五金"}));
}

void TestSaleQueryDlg::OpensOnTodaysDocuments() {
    TestDatabase db;
    const QString today = OddnumPrefix(HarborToday()) + QStringLiteral("001");
    const QString yesterday = OddnumPrefix(HarborToday().addDays(-1)) + QStringLiteral("001");
    for (const QString& oddnum : {today, yesterday})
        Store(db, "saleout",
              {oddnum, "李四", "10.00", "0", "未结", "", {{"0101000001", "螺丝", "10.00", "1"}}});
    CSaleOutQueryDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.Ui().m_pStart->date(), HarborToday());
    QCOMPARE(dlg.Ui().m_pEnd->date(), HarborToday());
    QCOMPARE(Column(dlg.Ui().m_pList, kListOddnum), QStringList{today});
    QCOMPARE(dlg.Ui().m_pDue->text(), QString("10.00"));
    // Closing sets the start back to today.
    dlg.Ui().m_pStart->setDate(QDate(2020, 1, 1));
    QVERIFY(dlg.QueryClose());
    QCOMPARE(dlg.Ui().m_pStart->date(), HarborToday());
}

void TestSaleQueryDlg::SettlingInTheList() {
    ShownOut shop;
    QVERIFY(shop.ready);
    shop.Query();
    const QStringList otherBefore = shop.Stored("20261203001", "receipt,freceipt,state");
    SettleConfirm settles;

    // 结清 takes the amount due into every row of the document, as text and as number.
    ChooseInCell(shop.list, shop.RowOf("20261201001"), kListState, "结清");
    QCOMPARE(shop.Stored("20261201001", "receipt,freceipt,state"),
             QStringList({"120.50|120.5|结清", "120.50|120.5|结清"}));
    int row = shop.RowOf("20261201001");
    QCOMPARE(shop.list->GetCellText(row, kListReceipt), QString("120.50"));
    QCOMPARE(shop.list->GetCellText(row, kListState), QString("结清"));
    QCOMPARE(shop.Totals(), QStringList({"199.85", "199.80", "0.05"}));

    // An amount typed in a settled document is never thrown away: the state follows it.
    TypeInCell(shop.list, row, kListReceipt, "50");
    QCOMPARE(shop.Stored("20261201001", "receipt,state").first(), QString("50|欠款"));
    QCOMPARE(shop.list->GetCellText(shop.RowOf("20261201001"), kListState), QString("欠款"));

    // 欠款 keeps what is typed.
    ChooseInCell(shop.list, shop.RowOf("20261201001"), kListState, "欠款");
    TypeInCell(shop.list, shop.RowOf("20261201001"), kListReceipt, "50.5");
    QCOMPARE(shop.Stored("20261201001", "receipt,freceipt,state"),
             QStringList({"50.5|50.5|欠款", "50.5|50.5|欠款"}));
    QCOMPARE(shop.Totals(), QStringList({"199.85", "129.80", "70.05"}));

    // 未结 sets it to 0.
    ChooseInCell(shop.list, shop.RowOf("20261201001"), kListState, "未结");
    QCOMPARE(shop.Stored("20261201001", "receipt,freceipt,state").first(), QString("0|0|未结"));
    QCOMPARE(shop.Stored("20261203001", "receipt,freceipt,state"), otherBefore);
    QCOMPARE(settles.Handled(), 5);

    // A stored state other than the three words shows as 欠款.
    shop.db.Exec("UPDATE saleout SET state='已付' WHERE oddnum='20261203001'");
    shop.Query();
    QCOMPARE(shop.list->GetCellText(shop.RowOf("20261203001"), kListState), QString("欠款"));
}

void TestSaleQueryDlg::SettlingAsksAmountAndDate() {
    ShownOut shop;
    QVERIFY(shop.ready);
    shop.Query();
    const QStringList before = shop.Stored("20261201001", "receipt,state");
    const QDate paidOn = HarborToday().addDays(-3);
    QString shownAmount;
    QDate shownDate;
    ModalDriver<CSettleDlg> settles(
        {// Esc: nothing is written and the list shows the stored state again.
         [&](CSettleDlg* dialog) { QTest::keyClick(dialog->ReceiptBox(), Qt::Key_Escape); },
         // The amount and date are changed by keys before Enter.
         [&](CSettleDlg* dialog) {
             shownAmount = dialog->ReceiptBox()->text();
             shownDate = dialog->DateBox()->date();
             QTest::keyClick(dialog->ReceiptBox(), Qt::Key_A, Qt::ControlModifier);
             QTest::keyClicks(dialog->ReceiptBox(), "100");
             dialog->DateBox()->setFocus();
             dialog->DateBox()->setDate(paidOn);
             QTest::keyClick(dialog->DateBox(), Qt::Key_Return);
         }});
    ChooseInCell(shop.list, shop.RowOf("20261201001"), kListState, "结清");
    QCOMPARE(shop.Stored("20261201001", "receipt,state"), before);
    QCOMPARE(shop.list->GetCellText(shop.RowOf("20261201001"), kListState), QString("未结"));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_settlement"), QString("0"));

    ChooseInCell(shop.list, shop.RowOf("20261201001"), kListState, "结清");
    QCOMPARE(settles.Handled(), 2);
    QCOMPARE(shownAmount, QString("120.50"));
    QCOMPARE(shownDate, HarborToday());
    QCOMPARE(shop.Stored("20261201001", "receipt,state"), QStringList({"100|欠款", "100|欠款"}));
    QCOMPARE(shop.db.Rows("SELECT tbl, oddnum, state, receipt, settledon FROM harbor_settlement"),
             QStringList{"saleout|20261201001|欠款|100|" + paidOn.toString("yyyy-MM-dd")});
    // The document's detail tells when it was settled.
    ClickCell(shop.list, shop.RowOf("20261201001"), kListCustomer);
    QVERIFY(shop.dlg->Ui().m_pDetailFrame->title().contains(paidOn.toString("yyyy-MM-dd")));
}

void TestSaleQueryDlg::ReceivedAmountMustBeANumber() {
    ShownOut shop;
    QVERIFY(shop.ready);
    shop.Query();
    SettleConfirm settles;
    ChooseInCell(shop.list, shop.RowOf("20261206002"), kListState, "欠款");
    const QStringList before = shop.Stored("20261206002", "receipt,freceipt,state");
    MessageScript messages;
    TypeInCell(shop.list, shop.RowOf("20261206002"), kListReceipt, "5o");
    QCOMPARE(messages.Texts(), QStringList{"实收款\"5o\"不是数字,请改正"});
    QCOMPARE(shop.Stored("20261206002", "receipt,freceipt,state"), before);
    QCOMPARE(shop.list->GetCellText(shop.RowOf("20261206002"), kListReceipt), QString("0.05"));

    // Only the received amount and the state can be edited in the list.
    const int row = shop.RowOf("20261201001");
    for (int col : {kListOddnum, kListCustomer, kListTime, kListReceivable, kListEmployee})
        QVERIFY(!shop.list->IsCellEditable(row, col));
    QVERIFY(shop.list->IsCellEditable(row, kListReceipt));
}

void TestSaleQueryDlg::DetailOfOneDocument() {
    ShownOut shop;
    QVERIFY(shop.ready);
    shop.Query();
    ClickCell(shop.list, shop.RowOf("20261201001"), kListCustomer);
    QCOMPARE(shop.dlg->m_strCurOddnum, QString("20261201001"));
    QCOMPARE(shop.detail->GetRowCount(), 3);
    QStringList names = Column(shop.detail, 1);
    names.sort();
    QCOMPARE(names, QStringList({"开关", "螺丝"}));
    const int screw = Column(shop.detail, 1).indexOf("螺丝") + 1;
    QCOMPARE(shop.detail->GetCellText(screw, 2), QString("0101000001"));
    QCOMPARE(shop.detail->GetCellText(screw, 3), QString("10个/箱"));
    QCOMPARE(shop.detail->GetCellText(screw, 7), QString("100.50"));
    QCOMPARE(shop.detail->GetCellText(screw, 8), QString("2"));
    QVERIFY(!shop.detail->IsCellEditable(screw, 1));

    // Neither the state cell nor the row number opens a document in the sales-out list.
    ClickCell(shop.list, shop.RowOf("20261203001"), kListState);
    QCOMPARE(shop.detail->GetRowCount(), 3);
    ClickCell(shop.list, shop.RowOf("20261203001"), 0);
    QCOMPARE(shop.detail->GetRowCount(), 3);
    ClickCell(shop.list, shop.RowOf("20261203001"), kListTime);
    QCOMPARE(Column(shop.detail, 1), QStringList{"螺丝"});

    // 查询 empties the detail.
    shop.Query();
    QCOMPARE(shop.detail->GetRowCount(), 1);
    QVERIFY(shop.dlg->m_strCurOddnum.isEmpty());
}

void TestSaleQueryDlg::InvoiceDate() {
    ShownOut shop;
    QVERIFY(shop.ready);
    shop.Query();
    QCheckBox* invoiced = shop.dlg->Ui().m_pInvoiced;
    QDateEdit* date = shop.dlg->Ui().m_pInvoiceDate;
    QVERIFY(!invoiced->isEnabled());
    QVERIFY(!date->isEnabled());

    ClickCell(shop.list, shop.RowOf("20261201001"), kListOddnum);
    QVERIFY(invoiced->isEnabled());
    QVERIFY(!invoiced->isChecked());
    QVERIFY(!date->isEnabled());
    QTest::mouseClick(invoiced, Qt::LeftButton);
    const QString today = HarborToday().toString("yyyy-MM-dd");
    QCOMPARE(shop.Stored("20261201001", "invoicedate"), QStringList({today, today}));
    QCOMPARE(shop.Stored("20261203001", "invoicedate"), QStringList{""});
    QVERIFY(date->isEnabled());

    date->setDate(QDate(2026, 12, 24));
    QCOMPARE(shop.Stored("20261201001", "invoicedate").last(), QString("2026-12-24"));

    // Another document and back: the stored date is shown.
    ClickCell(shop.list, shop.RowOf("20261203001"), kListOddnum);
    QVERIFY(!invoiced->isChecked());
    ClickCell(shop.list, shop.RowOf("20261201001"), kListOddnum);
    QVERIFY(invoiced->isChecked());
    QCOMPARE(date->date(), QDate(2026, 12, 24));

    // Unticking writes the empty text.
    QTest::mouseClick(invoiced, Qt::LeftButton);
    QCOMPARE(shop.Stored("20261201001", "invoicedate"), QStringList({"", ""}));
    QVERIFY(!date->isEnabled());

    // A click on a state cell resets the invoice controls.
    ClickCell(shop.list, shop.RowOf("20261201001"), kListState);
    QVERIFY(!invoiced->isEnabled());
}

void TestSaleQueryDlg::DeleteDocument() {
    ShownOut shop;
    QVERIFY(shop.ready);
    shop.Query();
    MessageScript messages;

    QTest::mouseClick(shop.dlg->Ui().m_pDelete, Qt::LeftButton);
    QCOMPARE(messages.Last(), QString("请先选择要删除的记录"));
    ClickCell(shop.list, shop.RowOf("20261201001"), kListState);
    QTest::mouseClick(shop.dlg->Ui().m_pDelete, Qt::LeftButton);
    QCOMPARE(messages.Last(), QString("请先选择要删除的记录"));
    QCOMPARE(messages.Count(), 2);

    // Asked first; 取消 keeps the document.
    ClickCell(shop.list, shop.RowOf("20261201001"), kListCustomer);
    messages.Answer(IDCANCEL);
    QTest::mouseClick(shop.dlg->Ui().m_pDelete, Qt::LeftButton);
    const MessageRecord question = messages.Messages().last();
    QVERIFY(question.text.startsWith("确定要删除该销售单吗?"));
    QVERIFY(question.text.contains("20261201001"));
    QVERIFY(question.text.contains("本单售出的商品加回库存"));
    QVERIFY(question.text.contains("库存保持不变"));
    QCOMPARE(question.caption, QString("删除销售单"));
    QCOMPARE(question.buttons, MsgButtons::YesNoCancel);
    QCOMPARE(shop.Stored("20261201001", "oddnum").size(), 2);

    // 否 removes exactly that document's rows and leaves the stock alone.
    const int total = shop.db.Value("SELECT count(*) FROM saleout").toInt();
    messages.Answer(IDNO);
    QTest::mouseClick(shop.dlg->Ui().m_pDelete, Qt::LeftButton);
    QCOMPARE(messages.Last(), QString("已删除单号20261201001,库存保持不变."));
    QCOMPARE(shop.Stored("20261201001", "oddnum").size(), 0);
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout").toInt(), total - 2);
    QCOMPARE(shop.db.Value("SELECT total FROM property WHERE code='0101000001'"),
             QString("100.00"));
    QCOMPARE(Column(shop.list, kListOddnum).size(), 2);
    QCOMPARE(shop.Totals(), QStringList({"79.35", "79.30", "0.05"}));
    QCOMPARE(shop.detail->GetRowCount(), 1);

    // After a new query the old click stands for nothing.
    messages.Clear();
    QTest::mouseClick(shop.dlg->Ui().m_pDelete, Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{"请先选择要删除的记录"});
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout").toInt(), total - 2);
}

void TestSaleQueryDlg::ReturnQueryDifferences() {
    ShownIn shop;
    QVERIFY(shop.ready);
    QCOMPARE(shop.dlg->windowTitle(), QString("销售退货查询"));
    QCOMPARE(shop.list->GetCellText(0, kListReceivable), QString("应退款"));
    QCOMPARE(shop.list->GetCellText(0, kListState), QString("退款状态"));
    QCOMPARE(shop.list->GetCellText(0, kListTime), QString("退货时间"));
    QVERIFY(!shop.dlg->Ui().m_pInvoiced);
    QVERIFY(!shop.dlg->Ui().m_pInvoiceDate);
    shop.Query();
    QCOMPARE(shop.Totals(), QStringList({"199.85", "79.30", "120.55"}));

    // A click on the row number shows the document.
    ClickCell(shop.list, shop.RowOf("20261203001"), 0);
    QCOMPARE(Column(shop.detail, 1), QStringList{"螺丝"});

    SettleConfirm settles;
    ChooseInCell(shop.list, shop.RowOf("20261203001"), kListState, "未结");
    QCOMPARE(shop.Stored("20261203001", "receipt,freceipt,state"), QStringList{"0|0|未结"});
    QCOMPARE(shop.Totals(), QStringList({"199.85", "0.05", "199.80"}));

    // Deleting from the row number asks too, and removes only that return.
    MessageScript messages({IDNO});
    ClickCell(shop.list, shop.RowOf("20261206002"), 0);
    QTest::mouseClick(shop.dlg->Ui().m_pDelete, Qt::LeftButton);
    QCOMPARE(messages.Count(), 2);
    QVERIFY(messages.Texts().first().startsWith("确定要删除该退货单吗?"));
    QVERIFY(messages.Texts().first().contains("本单退回的商品从库存中减去"));
    QCOMPARE(messages.Messages().first().caption, QString("删除退货单"));
    QCOMPARE(shop.Stored("20261206002", "oddnum").size(), 0);
    QCOMPARE(shop.db.Value("SELECT count(*) FROM salein").toInt(), 5);
    QCOMPARE(Column(shop.list, kListOddnum).size(), 2);
}

// Printing is offered at once; single-page printing is ticked, so there is no paper to set up.
void TestSaleQueryDlg::PrintButtonsOnOpening() {
    ShownOut shop;
    QVERIFY(shop.ready);
    const SaleQueryControls& ui = shop.dlg->Ui();
    for (QWidget* button :
         std::initializer_list<QWidget*>{ui.m_pListPreview, ui.m_pListPrint, ui.m_pDetailPreview,
                                         ui.m_pDetailPrint, ui.m_pSinglePage}) {
        QVERIFY(button->isEnabled());
        QVERIFY(button->toolTip().isEmpty());
    }
    QVERIFY(ui.m_pSinglePage->isChecked());
    QVERIFY(!ui.m_pListPrintSetup->isEnabled());
    QVERIFY(!ui.m_pDetailPrintSetup->isEnabled());
}

// Twelve hundred documents more: 查询 reads the count, the totals and the rows in view, not the
// list; settling far down keeps the clerk's place; a scanned number deep in the list is the
// row the list commands act on.
void TestSaleQueryDlg::LongListReadAPageAtATime() {
    ShownOut shop;
    QVERIFY(shop.ready);
    Db()->BeginTransaction();
    qint64 dueCents = 19985; // the three documents of the fixture in the range
    for (int i = 0; i < 1200; ++i) {
        const int day[] = {2, 4, 5};
        const QString oddnum = QStringLiteral("2026120%1%2")
                                   .arg(day[i / 400])
                                   .arg(1 + i % 400, 3, 10, QLatin1Char('0'));
        const QString due = QStringLiteral("%1.%2").arg(i).arg(i % 100, 2, 10, QLatin1Char('0'));
        dueCents += i * 100 + i % 100;
        Store(shop.db, "saleout",
              {oddnum, "批发客户", due, "0", "未结", "王五", {{"0101000001", "螺丝", due, "1"}}});
    }
    Db()->Commit();

    const qint64 before = CStatementRun::RunCount();
    shop.Query();
    QVERIFY(CStatementRun::RunCount() - before <= 6);
    QCOMPARE(shop.list->GetRowCount(), 1 + 1203);
    QCOMPARE(shop.Totals().first(), CentsText(dueCents));

    // The last document, reached by keys, settled: stored, and the list still shows it.
    ClickCell(shop.list, 1, kListCustomer);
    QTest::keyClick(shop.list, Qt::Key_End, Qt::ControlModifier);
    const int lastSale = shop.list->GetRowCount() - 1;
    QVERIFY(shop.list->IsCellVisible(lastSale, kListState));
    QCOMPARE(shop.list->GetCellText(lastSale, kListOddnum), QString("20261206002"));
    SettleConfirm settles;
    ChooseInCell(shop.list, lastSale, kListState, "结清");
    QCOMPARE(settles.Handled(), 1);
    QCOMPARE(shop.Stored("20261206002", "receipt,state"), QStringList{"0.10|结清"});
    QVERIFY(shop.list->IsCellVisible(lastSale, kListState));
    QCOMPARE(shop.list->GetCellText(lastSale, kListState), QString("结清"));
    QVERIFY(ShowsWhole(shop.dlg, shop.list));
    Snapshot(shop.dlg, QStringLiteral("出库查询-long-list-end"));

    // A scanned number deep in the list: its lines shown, its row the one 删除本单 acts on.
    shop.dlg->Ui().m_pOddnum->setText("20261204123");
    QTest::keyClick(shop.dlg->Ui().m_pOddnum, Qt::Key_Return);
    QCOMPARE(shop.dlg->m_nClickRow, 1 + 2 + 400 + 122);
    QCOMPARE(shop.list->GetCellText(shop.dlg->m_nClickRow, kListOddnum), QString("20261204123"));
    QCOMPARE(shop.detail->GetCellText(1, 1), QString("螺丝"));
}

QTEST_MAIN(TestSaleQueryDlg)
#include "tst_salequerydlg.moc"
