// The low-stock notice of the sales windows: a save that takes products to or under their
// minimum says so once, beside the payment state, naming them with how many are missing; a save
// that keeps them above, a save of products that were low already and a return that lifts one
// back say nothing. Driven through the real windows with the pickers and the grid.
#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include "DocumentShop.h"
#include "GridInput.h"
#include "Screenshot.h"
#include "catalogue/MinimumStock.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "support/MessageScript.h"
#include "ui/CDbAction.h"

namespace {

const QString kSaved = QStringLiteral("已成功保存在数据库中");

void SetMinimum(TestDatabase& db, const QString& code, const QString& minimum) {
    db.Exec("INSERT INTO minstock (code, minimum) VALUES (?, ?)", {code, minimum});
}

QStringList LowList() {
    QStringList list;
    RunDbRead(nullptr, "低于最低库存", [&] {
        for (const LowStockItem& item : ReadLowStock())
            list << item.product.code + " " + QuantityText(item.missing);
    });
    return list;
}

} // namespace

class TestLowStockNotice : public QObject {
    Q_OBJECT

  private slots:
    void noticeOnceForTheSaveThatTakesProductsUnder() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        shop.AddProduct("0101000001", "五金-螺丝", "1.00", "10");
        shop.AddProduct("0101000002", "五金-螺母", "2.00", "8.50");
        shop.AddProduct("0101000003", "五金-垫片", "0.50", "100");
        shop.AddProduct("0101000004", "五金-铆钉", "0.30", "4"); // no minimum: never told
        SetMinimum(shop.db, "0101000001", "5");
        SetMinimum(shop.db, "0101000002", "3");
        SetMinimum(shop.db, "0101000003", "5");
        CDocumentDlg* sale = shop.saleOut;
        QSignalSpy notices(sale, &CDocumentDlg::lowStockNoticed);
        MessageScript messages;

        // Everything stays above its minimum: nothing is said but the save.
        shop.NewSale(sale);
        shop.AddSaleLine(sale, "0101000001", "2");
        shop.AddSaleLine(sale, "0101000002", "1");
        shop.AddSaleLine(sale, "0101000004", "4");
        QTest::mouseClick(sale->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Count(), 0);
        QCOMPARE(sale->StatusLine()->text(), kSaved);
        QCOMPARE(notices.count(), 0);
        QCOMPARE(sale->LowStockLabel()->text(), QString());

        // The same document saved again with more: two products go under at once; one notice,
        // and still the one success message, no box per line.
        messages.Clear();
        TypeInCell(sale->Grid(), 1, 6, "7");   // 螺丝 10 - 7 = 3, minimum 5: 2 missing
        TypeInCell(sale->Grid(), 2, 6, "6.5"); // 螺母 8.50 - 6.5 = 2, minimum 3: 1 missing
        shop.AddSaleLine(sale, "0101000003", "1");
        QTest::mouseClick(sale->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Count(), 0);
        QCOMPARE(sale->StatusLine()->text(), kSaved);
        QCOMPARE(shop.Stock("0101000001"), QString("3.00"));
        QCOMPARE(shop.Stock("0101000002"), QString("2.00"));
        QCOMPARE(notices.count(), 1);
        const QString notice = QStringLiteral("库存低于最低库存: 螺丝 缺2, 螺母 缺1");
        QCOMPARE(notices.at(0).at(0).toString(), notice);
        QCOMPARE(sale->LowStockLabel()->text(), notice);
        QVERIFY(sale->LowStockLabel()->isVisible());
        QCOMPARE(LowList(), (QStringList{"0101000001 2", "0101000002 1"}));
        Snapshot(sale, "lowstock-notice");
        QVERIFY(ShowsWhole(sale, sale->LowStockLabel()));

        // Saved again: one product that was low already sinks further, the other stays above.
        messages.Clear();
        TypeInCell(sale->Grid(), 1, 6, "8");
        TypeInCell(sale->Grid(), 3, 6, "2");
        QTest::mouseClick(sale->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Count(), 0);
        QCOMPARE(sale->StatusLine()->text(), kSaved);
        QCOMPARE(notices.count(), 1);
        QCOMPARE(sale->LowStockLabel()->text(), QString());
        QCOMPARE(LowList(), (QStringList{"0101000001 3", "0101000002 1"}));

        // A return lifts 螺母 back above its minimum: nothing to tell.
        CDocumentDlg* back = shop.saleIn;
        QSignalSpy returnNotices(back, &CDocumentDlg::lowStockNoticed);
        messages.Clear();
        shop.NewSale(back);
        shop.AddSaleLine(back, "0101000002", "2");
        QTest::mouseClick(back->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Count(), 0);
        QCOMPARE(back->StatusLine()->text(), kSaved);
        QCOMPARE(shop.Stock("0101000002"), QString("4.00"));
        QCOMPARE(returnNotices.count(), 0);
        QCOMPARE(back->LowStockLabel()->text(), QString());
        QCOMPARE(LowList(), QStringList{"0101000001 3"});

        // A new sale takes it down to exactly its minimum, which counts as low, and the other
        // product on the document, low already, is not named again.
        messages.Clear();
        QTest::mouseClick(sale->NewButton(), Qt::LeftButton);
        QCOMPARE(sale->LowStockLabel()->text(), QString());
        sale->CustomerBox()->setEditText("张三五金");
        ChooseState(sale->StateBox(), "结清");
        shop.AddSaleLine(sale, "0101000002", "1");
        shop.AddSaleLine(sale, "0101000001", "1");
        QTest::mouseClick(sale->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Count(), 0);
        QCOMPARE(sale->StatusLine()->text(), kSaved);
        QCOMPARE(notices.count(), 2);
        QCOMPARE(notices.at(1).at(0).toString(), QStringLiteral("库存低于最低库存: 螺母 缺0"));
    }

    void refusedSaveTellsNothing() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        shop.AddProduct("0101000001", "五金-螺丝", "1.00", "10");
        SetMinimum(shop.db, "0101000001", "5");
        CDocumentDlg* sale = shop.saleOut;
        QSignalSpy notices(sale, &CDocumentDlg::lowStockNoticed);
        MessageScript messages;
        shop.NewSale(sale);
        shop.AddSaleLine(sale, "0101000001", "6");
        // The engine refuses the stock change: the save rolls back and nothing is told.
        shop.db.RefuseChanges("property", "UPDATE OF total", "1=1", "磁盘已满");
        QTest::mouseClick(sale->SaveButton(), Qt::LeftButton);
        shop.db.AllowChanges("property");
        QCOMPARE(shop.Stock("0101000001"), QString("10"));
        QCOMPARE(notices.count(), 0);
        QCOMPARE(sale->LowStockLabel()->text(), QString());
        QVERIFY(!messages.Texts().contains(kSaved));
        // Saved once it can be: told then.
        messages.Clear();
        QTest::mouseClick(sale->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Count(), 0);
        QCOMPARE(sale->StatusLine()->text(), kSaved);
        QCOMPARE(notices.count(), 1);
        QCOMPARE(notices.at(0).at(0).toString(), QStringLiteral("库存低于最低库存: 螺丝 缺1"));
    }

    void crossingsOfStoredLevels() {
        const auto level = [](const char* code, const char* total, const char* minimum) {
            return StockLevel{code, "", code, "", "", total, minimum};
        };
        const QVector<StockLevel> before = {level("A", "6", "5"), level("B", "2", "3"),
                                            level("C", "9", "1.5")};
        const QVector<StockLevel> after = {level("A", "4.75", "5"), level("B", "1", "3"),
                                           level("C", "1.50", "1.5"), level("D", "0", "2")};
        QStringList names;
        for (const LowStockItem& item : NewlyLowStock(before, after))
            names << item.product.code + " " + QuantityText(item.missing);
        // B was low already; D was not known before and is low now.
        QCOMPARE(names, (QStringList{"A 0.25", "C 0", "D 2"}));
        QCOMPARE(LowStockNoticeText({}), QString());
    }
};

QTEST_MAIN(TestLowStockNotice)
#include "tst_lowstocknotice.moc"
