// Statements opened from the query windows: 出库查询's and 退货查询's 对账单 beside the customer
// box and 入库查询's beside the supplier box, over the query's dates, with exact figures for
// documents saved through the document windows, and again after documents were deleted through
// the queries' own 删除本单, with the stock given back and without.
#include <QtTest>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

#include "DocumentShop.h"
#include "GridInput.h"
#include "Screenshot.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "documents/Oddnum.h"
#include "grid/CGridCtrl.h"
#include "parties/CStatementDlg.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/SaleQueryControls.h"
#include "support/MessageScript.h"
#include "text/HarborClock.h"

namespace {

QString Today(int sequence) {
    return HarborToday().toString("yyyyMMdd") + QString::asprintf("%03d", sequence);
}

QString TodayText() {
    return HarborToday().toString("yyyy-MM-dd");
}

QStringList GridRows(CGridCtrl* grid) {
    QStringList rows;
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            cells << grid->GetCellText(row, col);
        rows << cells.join('|');
    }
    return rows;
}

// Saves the document of a sales window; the success stands in its status line.
void Save(CDocumentDlg* dlg, MessageScript&) {
    QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
    QCOMPARE(dlg->StatusLine()->text(), QString("已成功保存在数据库中"));
}

// The statement window that the button opened, the newest of the window's children.
CStatementDlg* Opened(QWidget* owner) {
    const QList<CStatementDlg*> all = owner->findChildren<CStatementDlg*>();
    return all.isEmpty() ? nullptr : all.last();
}

// Clicks the document's row in the list and 删除本单, answering the question.
void DeleteThroughQuery(CGridCtrl* list, QPushButton* deleteButton, const QString& oddnum,
                        int answer, MessageScript& messages) {
    const int row = DocumentShop::ListRow(list, oddnum);
    QVERIFY2(row > 0, qPrintable(oddnum));
    ClickCell(list, row, 2);
    messages.Answer(answer);
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    QVERIFY2(messages.Last().startsWith("已删除单号" + oddnum), qPrintable(messages.Last()));
}

} // namespace

class TestQueryStatement : public QObject {
    Q_OBJECT

  private slots:
    void customerStatementFromTheSalesQueries() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        shop.AddProduct("0101000001", "五金-螺丝", "10.00", "100");
        shop.AddProduct("0101000002", "五金-螺母", "2.50", "50");
        // A document of forty days ago: the opening balance of a range that starts today.
        const QDate old = HarborToday().addDays(-40);
        const QString oldNumber = old.toString("yyyyMMdd") + "001";
        shop.db.Exec("INSERT INTO saleout (oddnum, customer, mydate, receivable, receipt, "
                     "freceivable, freceipt, state, code, \"count\") VALUES (?, '张三五金', ?, "
                     "'80.00', '30.00', 80, 30, '欠款', '0101000009', '1')",
                     {oldNumber, old.toString("yyyy-MM-dd") + " 09:00:00"});
        MessageScript messages;

        shop.NewSale(shop.saleOut, "结清"); // 30.00, all received
        shop.AddSaleLine(shop.saleOut, "0101000001", "3");
        Save(shop.saleOut, messages);
        shop.NewSale(shop.saleOut, "未结"); // 10.00
        shop.AddSaleLine(shop.saleOut, "0101000002", "4");
        Save(shop.saleOut, messages);
        shop.NewSale(shop.saleOut, "未结"); // 10.00 + 5.00
        shop.AddSaleLine(shop.saleOut, "0101000001", "1");
        shop.AddSaleLine(shop.saleOut, "0101000002", "2");
        Save(shop.saleOut, messages);
        shop.NewSale(shop.saleIn, "结清"); // 10.00 back, refunded
        shop.AddSaleLine(shop.saleIn, "0101000001", "1");
        Save(shop.saleIn, messages);
        QCOMPARE(shop.Stock("0101000001"), QString("97.00"));
        QCOMPARE(shop.Stock("0101000002"), QString("44.00"));

        // 出库查询 over today with the customer typed in part: the statement of that customer
        // over the query's dates.
        CSaleQueryDlg* query = shop.outQuery;
        query->Ui().m_pStart->setDate(HarborToday());
        query->Ui().m_pEnd->setDate(HarborToday());
        query->Ui().m_pCustomer->setEditText("张三");
        QTest::mouseClick(query->Ui().m_pStatement, Qt::LeftButton);
        CStatementDlg* statement = Opened(query);
        QVERIFY(statement);
        QCOMPARE(statement->windowTitle(), QString("客户对账单 - 张三五金"));
        QCOMPARE(statement->FromBox()->date(), HarborToday());
        QCOMPARE(statement->ToBox()->date(), HarborToday());
        QCOMPARE(GridRows(statement->Grid()),
                 (QStringList{"|" + TodayText() + "||期初余额|||50.00",
                              "1|" + TodayText() + "|" + Today(1) + "|销售出库|30.00|30.00|50.00",
                              "2|" + TodayText() + "|" + Today(1) + "|销售退货|-10.00|-10.00|50.00",
                              "3|" + TodayText() + "|" + Today(2) + "|销售出库|10.00|0.00|60.00",
                              "4|" + TodayText() + "|" + Today(3) + "|销售出库|15.00|0.00|75.00",
                              "|||本期合计|45.00|20.00|75.00"}));
        QVERIFY(statement->TotalsLabel()->text().contains("期末余额 75.00"));
        statement->resize(780, 420);
        Snapshot(statement, "query-statement");
        QVERIFY(ShowsWhole(statement, statement->Grid()));
        QVERIFY(ShowsWhole(statement, statement->TotalsLabel()));
        Snapshot(query, "query-statement-button");
        QVERIFY(ShowsWhole(query, query->Ui().m_pStatement));
        statement->close();

        // The query's own 删除本单: the second sale with its stock given back, the third with
        // the stock left as it is. Both leave the statement; the balances after them follow.
        DocumentShop::QueryAll(query);
        DeleteThroughQuery(query->Ui().m_pList, query->Ui().m_pDelete, Today(2), IDYES, messages);
        QCOMPARE(shop.Stock("0101000002"), QString("48.00"));
        DeleteThroughQuery(query->Ui().m_pList, query->Ui().m_pDelete, Today(3), IDNO, messages);
        QCOMPARE(shop.Stock("0101000001"), QString("97.00"));
        QCOMPARE(shop.Stock("0101000002"), QString("48.00"));
        // The whole range of the query (from 1970): the old document is a line, no opening.
        query->Ui().m_pCustomer->setEditText("张三五金");
        QTest::mouseClick(query->Ui().m_pStatement, Qt::LeftButton);
        statement = Opened(query);
        QVERIFY(statement);
        QCOMPARE(statement->FromBox()->date(), QDate(1970, 1, 1));
        QCOMPARE(GridRows(statement->Grid()),
                 (QStringList{"|1970-01-01||期初余额|||0.00",
                              "1|" + old.toString("yyyy-MM-dd") + "|" + oldNumber +
                                  "|销售出库|80.00|30.00|50.00",
                              "2|" + TodayText() + "|" + Today(1) + "|销售出库|30.00|30.00|50.00",
                              "3|" + TodayText() + "|" + Today(1) + "|销售退货|-10.00|-10.00|50.00",
                              "|||本期合计|100.00|50.00|50.00"}));
        statement->close();

        // The return deleted through 退货查询 with its stock taken off again: 退货查询's button
        // opens the same customer's statement.
        CSaleQueryDlg* returns = shop.inQuery;
        DocumentShop::QueryAll(returns);
        DeleteThroughQuery(returns->Ui().m_pList, returns->Ui().m_pDelete, Today(1), IDYES,
                           messages);
        QCOMPARE(shop.Stock("0101000001"), QString("96.00"));
        returns->Ui().m_pStart->setDate(HarborToday());
        returns->Ui().m_pCustomer->setEditText("张三五金");
        QTest::mouseClick(returns->Ui().m_pStatement, Qt::LeftButton);
        statement = Opened(returns);
        QVERIFY(statement);
        QCOMPARE(GridRows(statement->Grid()),
                 (QStringList{"|" + TodayText() + "||期初余额|||50.00",
                              "1|" + TodayText() + "|" + Today(1) + "|销售出库|30.00|30.00|50.00",
                              "|||本期合计|30.00|30.00|50.00"}));
        statement->close();
    }

    void customerBoxThatNamesNoCustomer() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        shop.db.Exec("INSERT INTO customer (mc, pinyin) VALUES ('张三电器', 'ZSDQ')");
        MessageScript messages;
        CSaleQueryDlg* query = shop.outQuery;
        QTest::mouseClick(query->Ui().m_pStatement, Qt::LeftButton);
        QCOMPARE(messages.Texts(), QStringList{"请先在客户框中选择客户"});
        // Two customers hold the text: which one is meant is not guessed.
        query->Ui().m_pCustomer->setEditText("张三");
        QTest::mouseClick(query->Ui().m_pStatement, Qt::LeftButton);
        QCOMPARE(messages.Last(), QString("找不到客户<张三>,请在客户框中按回车查找后选择"));
        // Wildcards typed are plain text.
        query->Ui().m_pCustomer->setEditText("张三%");
        QTest::mouseClick(query->Ui().m_pStatement, Qt::LeftButton);
        QCOMPARE(messages.Last(), QString("找不到客户<张三%>,请在客户框中按回车查找后选择"));
        QVERIFY(!Opened(query));
        // A name kept only on documents (the customer was removed since) still has a statement.
        shop.db.Exec("INSERT INTO saleout (oddnum, customer, receivable, receipt, code) VALUES "
                     "(?, '旧客户', '12.34', '0', '01')",
                     {Today(5)});
        query->Ui().m_pCustomer->setEditText("旧客户");
        QTest::mouseClick(query->Ui().m_pStatement, Qt::LeftButton);
        CStatementDlg* statement = Opened(query);
        QVERIFY(statement);
        QCOMPARE(statement->Statement().lines.size(), 1);
        QCOMPARE(statement->Statement().closing, 1234);
        statement->close();
    }

    void supplierStatementFromTheStockInQuery() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        shop.AddProduct("0101000001", "五金-螺丝", "10.00", "100");
        shop.AddProduct("0101000002", "五金-螺母", "2.50", "50");
        MessageScript messages;
        shop.NewEntry();
        shop.AddEntryLine("0101000001", "8.00", "10"); // 80.00
        QTest::mouseClick(shop.entry->SaveButton(), Qt::LeftButton);
        shop.NewEntry();
        shop.AddEntryLine("0101000002", "1.25", "8"); // 10.00
        QTest::mouseClick(shop.entry->SaveButton(), Qt::LeftButton);
        shop.NewEntry();
        shop.AddEntryLine("0101000001", "7.50", "2"); // 15.00
        QTest::mouseClick(shop.entry->SaveButton(), Qt::LeftButton);
        QCOMPARE(shop.Stock("0101000001"), QString("112.00"));
        QCOMPARE(shop.Stock("0101000002"), QString("58.00"));

        CEntryQueryDlg* query = shop.entryQuery;
        DocumentShop::QueryAll(query);
        // The first is marked paid in the list.
        ChooseInCell(query->ListGrid(), DocumentShop::ListRow(query->ListGrid(), Today(1)), 5,
                     "已付");
        query->StartBox()->setDate(HarborToday());
        query->SupplierBox()->setEditText("李四五金厂");
        QTest::mouseClick(query->StatementButton(), Qt::LeftButton);
        CStatementDlg* statement = Opened(query);
        QVERIFY(statement);
        QCOMPARE(statement->windowTitle(), QString("供货商对账单 - 李四五金厂"));
        Snapshot(query, "entry-query-statement-button");
        QVERIFY(ShowsWhole(query, query->StatementButton()));
        QCOMPARE(GridRows(statement->Grid()),
                 (QStringList{"|" + TodayText() + "||期初余额|||0.00",
                              "1|" + TodayText() + "|" + Today(1) + "|采购入库|80.00|80.00|0.00",
                              "2|" + TodayText() + "|" + Today(2) + "|采购入库|10.00|0.00|10.00",
                              "3|" + TodayText() + "|" + Today(3) + "|采购入库|15.00|0.00|25.00",
                              "|||本期合计|105.00|80.00|25.00"}));
        statement->close();

        // Deleted through 入库查询: the second with its stock taken off again, the third with the
        // stock left.
        DocumentShop::QueryAll(query);
        DeleteThroughQuery(query->ListGrid(), query->DeleteButton(), Today(2), IDYES, messages);
        QCOMPARE(shop.Stock("0101000002"), QString("50.00"));
        DeleteThroughQuery(query->ListGrid(), query->DeleteButton(), Today(3), IDNO, messages);
        QCOMPARE(shop.Stock("0101000001"), QString("112.00"));
        query->SupplierBox()->setEditText("李四");
        QTest::mouseClick(query->StatementButton(), Qt::LeftButton);
        statement = Opened(query);
        QVERIFY(statement);
        QCOMPARE(GridRows(statement->Grid()),
                 (QStringList{"|1970-01-01||期初余额|||0.00",
                              "1|" + TodayText() + "|" + Today(1) + "|采购入库|80.00|80.00|0.00",
                              "|||本期合计|80.00|80.00|0.00"}));
        statement->close();
    }
};

QTEST_MAIN(TestQueryStatement)
#include "tst_querystatement.moc"
