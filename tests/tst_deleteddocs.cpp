// Deleted documents stay visible: a delete from a query window keeps the document with who
// deleted it and when, 已删除单据 lists it, and 恢复 puts back the very rows, the lines'
// products and costs, and the stock as the delete had given it back.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"
#include "ModalDriver.h"

#include "db/CSqlReader.h"
#include "db/OperatorSession.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "queries/CDeletedDocsDlg.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "shell/CHarborApp.h"
#include "support/DocumentShop.h"
#include "support/MessageScript.h"

namespace {

const QString kScrew = QStringLiteral("0101000001");
const QString kNut = QStringLiteral("0101000002");

// Every stored row about a document, each value as read, the engine's own row id aside.
QStringList RowsAbout(const QString& sql, const QVariantList& values) {
    QStringList rows;
    for (CSqlReader reader(sql, values); reader.Next();) {
        QStringList texts;
        for (int i = 0; i < reader.ColumnCount(); ++i) {
            if (reader.ColumnName(i) != QLatin1String("harbor_id"))
                texts.append(reader.Value(i).isNull() ? QStringLiteral("<NULL>") : reader.Text(i));
        }
        rows.append(texts.join('|'));
    }
    return rows;
}

QStringList DocumentRows(const QString& table, const QString& oddnum) {
    return RowsAbout(QStringLiteral("SELECT * FROM %1 WHERE oddnum=? ORDER BY %2")
                         .arg(table, TestDatabase::RowKey()),
                     {oddnum}) +
           RowsAbout(QStringLiteral("SELECT * FROM docline WHERE oddnum=? ORDER BY %1")
                         .arg(TestDatabase::RowKey()),
                     {oddnum}) +
           RowsAbout(QStringLiteral("SELECT code, qty, amount, cost FROM cost_move WHERE oddnum=? "
                                    "ORDER BY code"),
                     {oddnum});
}

// A sale of both products (a hundred of each in stock at the first sale); its number.
QString SaveSale(DocumentShop& shop) {
    if (shop.db.Value("SELECT count(*) FROM property") == QLatin1String("0")) {
        shop.AddProduct(kScrew, "五金-螺丝", "10.00", "100");
        shop.AddProduct(kNut, "五金-螺母", "1.55", "100");
    }
    MessageScript messages;
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "2");
    shop.AddSaleLine(shop.saleOut, kNut, "3");
    ChooseInCell(shop.saleOut->Grid(), 2, 7, "0.9"); // a discount the restore must keep
    return shop.saleOut->Save() ? shop.saleOut->OddnumBox()->text() : QString();
}

// 删除本单 of the sales query, answered 是 (stock back) or 否 (stock kept).
void DeleteSale(DocumentShop& shop, const QString& oddnum, int answer) {
    DocumentShop::QueryAll(shop.outQuery);
    CGridCtrl* list = shop.outQuery->Ui().m_pList;
    MessageScript messages({answer});
    ClickCell(list, DocumentShop::ListRow(list, oddnum), 2);
    QTest::mouseClick(shop.outQuery->Ui().m_pDelete, Qt::LeftButton);
}

// Opens 已删除单据 of the sales query and runs the step on it; the step's QVERIFYs count.
void InDeletedList(DocumentShop& shop, const std::function<void(CDeletedDocsDlg*)>& step) {
    ModalDriver<CDeletedDocsDlg> driver({[&](CDeletedDocsDlg* dialog) {
        step(dialog);
        dialog->reject();
    }});
    QTest::mouseClick(shop.outQuery->Ui().m_pDeleted, Qt::LeftButton);
    QCOMPARE(driver.Handled(), 1);
}

} // namespace

class TestDeletedDocs : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { OperatorSession::Instance().SignOut(); }

    void saleDeletedWithItsStockIsRestoredExactly() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        const QString oddnum = SaveSale(shop);
        QVERIFY(!oddnum.isEmpty());
        const QStringList stored = DocumentRows("saleout", oddnum);
        QCOMPARE(stored.size(), 2 + 2 + 2);
        QCOMPARE(shop.Stock(kNut), QString("97.00"));

        OperatorSession::Instance().SignIn(
            {"小王", "店长", "7", {"delete_document", "delete_stock"}});
        DeleteSale(shop, oddnum, IDYES);
        QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));
        QCOMPARE(shop.Stock(kScrew), QString("100.00"));
        QCOMPARE(shop.Stock(kNut), QString("100.00"));

        MessageScript messages({IDYES});
        InDeletedList(shop, [&](CDeletedDocsDlg* dialog) {
            CGridCtrl* list = dialog->List();
            QCOMPARE(list->GetRowCount(), 2);
            QCOMPARE(list->GetCellText(1, 0), oddnum);
            QCOMPARE(list->GetCellText(1, 4), QString("小王"));
            QCOMPARE(list->GetCellText(1, 6), QString("已退回"));
            QVERIFY(!list->GetCellText(1, 3).isEmpty());
            QVERIFY(dialog->LinesBox()->toPlainText().contains("五金-螺母"));
            QVERIFY(dialog->RestoreButton()->isEnabled());
            QTest::mouseClick(dialog->RestoreButton(), Qt::LeftButton);
            QVERIFY2(messages.Last().contains("已恢复单号" + oddnum),
                     qPrintable(messages.Texts().join('\n')));
            QVERIFY(!list->GetCellText(1, 7).isEmpty()); // 恢复: when and by whom
            QVERIFY(!dialog->RestoreButton()->isEnabled());
        });
        QCOMPARE(DocumentRows("saleout", oddnum), stored);
        QCOMPARE(shop.Stock(kScrew), QString("98.00"));
        QCOMPARE(shop.Stock(kNut), QString("97.00"));
        // The query window lists it again.
        QVERIFY(DocumentShop::ListRow(shop.outQuery->Ui().m_pList, oddnum) > 0);
    }

    // A delete that kept the stock: the restore moves none, and the goods' cost movements,
    // left in place by the delete, are the document's again (not counted twice). A number in
    // use again is refused, whole.
    void restoreKeepsStockAsTheDeleteDidAndRefusesATakenNumber() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        const QString oddnum = SaveSale(shop);
        const QStringList stored = DocumentRows("saleout", oddnum);
        const QString moves = shop.db.Value("SELECT count(*) FROM cost_move");
        DeleteSale(shop, oddnum, IDNO);
        QCOMPARE(shop.Stock(kNut), QString("97.00"));

        // Another sale is saved under the freed number: the restore is refused, nothing moves.
        const QString again = SaveSale(shop);
        QCOMPARE(again, oddnum);
        QCOMPARE(shop.Stock(kNut), QString("94.00"));
        {
            MessageScript messages({IDYES});
            InDeletedList(shop, [&](CDeletedDocsDlg* dialog) {
                QCOMPARE(dialog->List()->GetCellText(1, 6), QString("保持不变"));
                QVERIFY(!dialog->Restore());
                QVERIFY2(messages.Last().contains("已有另一张单据在使用"),
                         qPrintable(messages.Texts().join('\n')));
                QVERIFY(dialog->RestoreButton()->isEnabled());
            });
        }
        QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_deleted WHERE restoredat IS NULL"),
                 QString("1"));
        QCOMPARE(shop.Stock(kNut), QString("94.00"));

        // That one goes for good (stock back); now the first comes back as it was.
        DeleteSale(shop, again, IDYES);
        QCOMPARE(shop.Stock(kNut), QString("97.00"));
        MessageScript messages({IDYES});
        InDeletedList(shop, [&](CDeletedDocsDlg* dialog) {
            QCOMPARE(dialog->List()->GetRowCount(), 3);
            // The newest first: choose the older delete.
            dialog->Choose(2);
            QCOMPARE(dialog->List()->GetCellText(2, 6), QString("保持不变"));
            QVERIFY(dialog->Restore());
        });
        QCOMPARE(DocumentRows("saleout", oddnum), stored);
        QCOMPARE(shop.Stock(kNut), QString("97.00"));
        QCOMPARE(shop.db.Value("SELECT count(*) FROM cost_move"), moves);
        QCOMPARE(shop.db.Value("SELECT count(*) FROM cost_move WHERE oddnum=''"), QString("0"));
    }

    // A restore whose stock cannot move (a stock made no number meanwhile) is refused whole:
    // no row comes back and the delete stays restorable.
    void restoreWhoseStockCannotMoveWritesNothing() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        const QString oddnum = SaveSale(shop);
        DeleteSale(shop, oddnum, IDYES);
        shop.db.Exec(QStringLiteral("UPDATE property SET total='十' WHERE code='%1'").arg(kNut));
        {
            MessageScript messages({IDYES});
            InDeletedList(shop, [&](CDeletedDocsDlg* dialog) {
                QVERIFY(!dialog->Restore());
                QVERIFY2(messages.Texts().join('\n').contains("不是数字"),
                         qPrintable(messages.Texts().join('\n')));
                QVERIFY(dialog->RestoreButton()->isEnabled());
            });
        }
        QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));
        QCOMPARE(shop.db.Value("SELECT count(*) FROM harbor_deleted WHERE restoredat IS NULL"),
                 QString("1"));
        QCOMPARE(shop.Stock(kScrew), QString("100.00"));
        // Put right, the same delete comes back.
        shop.db.Exec(
            QStringLiteral("UPDATE property SET total='100.00' WHERE code='%1'").arg(kNut));
        MessageScript messages({IDYES});
        InDeletedList(shop, [&](CDeletedDocsDlg* dialog) { QVERIFY(dialog->Restore()); });
        QCOMPARE(shop.Stock(kNut), QString("97.00"));
        QCOMPARE(shop.Stock(kScrew), QString("98.00"));
    }

    // Stock-ins too, from their own query window.
    void stockInRestoredFromItsQueryWindow() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        shop.AddProduct(kScrew, "五金-螺丝", "10.00", "0");
        QString oddnum;
        {
            MessageScript messages;
            shop.NewEntry();
            shop.AddEntryLine(kScrew, "5.00", "10");
            QVERIFY(shop.entry->Save());
            oddnum = shop.entry->OddnumBox()->text();
        }
        const QStringList stored = DocumentRows("entry", oddnum);
        DocumentShop::QueryAll(shop.entryQuery);
        CGridCtrl* list = shop.entryQuery->ListGrid();
        {
            MessageScript messages({IDYES});
            ClickCell(list, DocumentShop::ListRow(list, oddnum), 2);
            QTest::mouseClick(shop.entryQuery->DeleteButton(), Qt::LeftButton);
        }
        QCOMPARE(shop.Stock(kScrew), QString("0.00"));
        MessageScript messages({IDYES});
        ModalDriver<CDeletedDocsDlg> driver({[&](CDeletedDocsDlg* dialog) {
            QCOMPARE(dialog->List()->GetCellText(0, 1), QString("供货商"));
            QVERIFY(dialog->Restore());
            dialog->reject();
        }});
        QTest::mouseClick(shop.entryQuery->DeletedButton(), Qt::LeftButton);
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(DocumentRows("entry", oddnum), stored);
        QCOMPARE(shop.Stock(kScrew), QString("10.00"));
    }
};

QTEST_MAIN(TestDeletedDocs)
#include "tst_deleteddocs.moc"
