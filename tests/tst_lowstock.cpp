// Low stock: the minimum typed in the property row (checked, saved with the properties, removed
// when emptied, deleted with its product), the products at or under it after a sequence of
// sales and stock-ins, 库存盘点's choice 低于最低库存, and its printed list.
#include <QtTest>

#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include "GridInput.h"
#include "ModalDriver.h"
#include "PdfFacts.h"
#include "Screenshot.h"
#include "ui/CDbAction.h"
#include "catalogue/CCatalogueWriter.h"
#include "catalogue/CClassDlg.h"
#include "catalogue/CPropertyPanel.h"
#include "catalogue/MinimumStock.h"
#include "catalogue/ProductSearch.h"
#include "text/Cents.h"
#include "export/ReportPrint.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "stock/CInventoryDlg.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"

namespace {

void AddProduct(TestDatabase& db, const QString& code, const QString& name, const QString& total,
                const QString& minimum) {
    db.Exec("INSERT INTO property (code, name, shortname, spec, price, total) VALUES (?, ?, ?, "
            "'1个', '2.00', ?)",
            {code, name, name.right(2), total});
    if (!minimum.isNull())
        db.Exec("INSERT INTO minstock (code, minimum) VALUES (?, ?)", {code, minimum});
}

// A document line written as the documents write it, and the stock it moves: sales take the
// quantity off (stored with two decimals), stock-ins add it.
void Sell(TestDatabase& db, const QString& oddnum, const QString& code, double count) {
    db.Exec("INSERT INTO saleout (oddnum, customer, code, \"count\") VALUES (?, '顾客', ?, ?)",
            {oddnum, code, QString::number(count)});
    const double total = db.Value("SELECT total FROM property WHERE code=?", {code}).toDouble();
    db.Exec("UPDATE property SET total=? WHERE code=?",
            {QString::asprintf("%.2f", total - count), code});
}

void StockIn(TestDatabase& db, const QString& oddnum, const QString& code, int count) {
    db.Exec("INSERT INTO entry (oddnum, supplier, code, \"count\") VALUES (?, '供方', ?, ?)",
            {oddnum, code, QString::number(count)});
    const double total = db.Value("SELECT total FROM property WHERE code=?", {code}).toDouble();
    db.Exec("UPDATE property SET total=? WHERE code=?", {QString::number(total + count), code});
}

// The low-stock list as "code missing" pairs.
QStringList LowList() {
    QStringList list;
    RunDbRead(nullptr, "低于最低库存", [&] {
        for (const LowStockItem& item : ReadLowStock())
            list << item.product.code + " " + QuantityText(item.missing);
    });
    return list;
}

} // namespace

class TestLowStock : public QObject {
    Q_OBJECT

  private slots:
    void listsProductsAtOrUnderTheirMinimum() {
        const QVector<StockLevel> products = {
            {
                "01",
                "甲",
                "",
                "",
                "",
                "10",
                "10",
            },                                    // at the minimum
            {"02", "乙", "", "", "", "3.5", "5"}, // under by 1.5
            {"03", "丙", "", "", "", "11", "10"}, // over
            {"04", "丁", "", "", "", "", "2"},    // no stock recorded counts as 0
            {"05", "戊", "", "", "", "-4", "0"},  // sold below zero
            {"06", "己", "", "", "", "0", ""},    // no minimum
            {"07", "庚", "", "", "", "0", "abc"}, // not a number: no minimum
            {"02", "乙", "", "", "", "3.5", "5"}, // the same code twice
        };
        QStringList got;
        for (const LowStockItem& item : LowStockItems(products))
            got << item.product.code + " " + QuantityText(item.missing);
        QCOMPARE(got, (QStringList{"01 0", "02 1.50", "04 2", "05 4"}));
        QCOMPARE(MinimumStockProblem(""), QString());
        QCOMPARE(MinimumStockProblem("12.5"), QString());
        QVERIFY(MinimumStockProblem("-1").contains("负数"));
        QVERIFY(MinimumStockProblem("12x").startsWith("最低库存"));
        QVERIFY(!MinimumStockProblem("99999999").isEmpty());
    }

    void listFollowsSalesAndStockIns() {
        TestDatabase db;
        AddProduct(db, "0100000001", "开关", "20", "10");
        AddProduct(db, "0100000002", "插座", "8", "5");
        AddProduct(db, "0100000003", "灯泡", "3", QString()); // no minimum: never listed
        QCOMPARE(LowList(), QStringList());
        Sell(db, "20260301001", "0100000001", 6);
        QCOMPARE(LowList(), QStringList());
        Sell(db, "20260301002", "0100000001", 4); // 10: at the minimum
        Sell(db, "20260301002", "0100000003", 3);
        QCOMPARE(LowList(), QStringList{"0100000001 0"});
        Sell(db, "20260302001", "0100000002", 4.5); // 3.5 of 5
        QCOMPARE(LowList(), (QStringList{"0100000001 0", "0100000002 1.50"}));
        StockIn(db, "20260303001", "0100000001", 1);
        QCOMPARE(LowList(), QStringList{"0100000002 1.50"});
        Sell(db, "20260304001", "0100000001", 12); // -1 left
        StockIn(db, "20260304002", "0100000002", 2);
        QCOMPARE(LowList(), QStringList{"0100000001 11"});
        // A minimum of a product whose properties are gone is not listed.
        db.Exec("DELETE FROM property WHERE code='0100000001'");
        QCOMPARE(LowList(), QStringList());
    }

    void inventoryChoiceShowsTheListAndPrintsIt() {
        TestDatabase db;
        db.Exec("INSERT INTO companyinfo (name, telephone, address) VALUES ('远航五交化', "
                "'0571-8888', '解放路1号')");
        AddProduct(db, "0100000001", "五金-螺丝", "4", "10");
        AddProduct(db, "0100000002", "五金-螺母", "30", "10");
        AddProduct(db, "0200000001", "电工-开关", "2.5", "3");
        MessageScript messages;
        CInventoryDlg dlg;
        dlg.resize(1260, 700);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        // Choosing 低于最低库存 lists at once, with the two columns more.
        QTest::mouseClick(dlg.BelowMinimumButton(), Qt::LeftButton);
        CGridCtrl* grid = dlg.Grid();
        QCOMPARE(grid->GetColumnCount(), kProductColumnCount + 2);
        QCOMPARE(grid->GetCellText(0, kProductColumnCount), QString("最低库存"));
        QCOMPARE(grid->GetCellText(0, kProductColumnCount + 1), QString("缺少数量"));
        QCOMPARE(ColumnTexts(grid, kColCode), (QStringList{"0100000001", "0200000001"}));
        QCOMPARE(ColumnTexts(grid, kProductColumnCount + 1), (QStringList{"6", "0.50"}));
        QCOMPARE(dlg.HitsBox()->text(), QString("2"));
        Snapshot(&dlg, "inventory-lowstock");
        QVERIFY(ShowsWhole(&dlg, grid));
        QVERIFY(ShowsWhole(&dlg, dlg.HitsBox()));

        // The export takes the added columns as numbers.
        const ExportTable table = ReadGridTable(*grid, "低于最低库存", {});
        QCOMPARE(table.columns.last().header, QString("缺少数量"));
        QCOMPARE(table.rows.at(1).last(), QString("0.50"));

        // 打印... opens the preview of the list.
        {
            ModalDriver<QPrintPreviewDialog> preview({[](QPrintPreviewDialog* d) { d->reject(); }});
            QTest::mouseClick(dlg.PrintButton(), Qt::LeftButton);
            QCOMPARE(preview.Handled(), 1);
        }
        Report report;
        report.title = "低于最低库存商品清单";
        report.letterhead = ShopLetterhead();
        report.table = ReadGridTable(*grid, report.title, {{"缺少数量", ExportKind::Number}});
        const QString pdf = QDir::temp().filePath("harbor-lowstock.pdf");
        QVERIFY(SaveReportPdf(report, pdf));
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains("低于最低库存商品清单") && text.contains("远航五交化") &&
                     text.contains("0200000001") && text.contains("0.50") &&
                     text.contains("电话: 0571-8888"),
                 qPrintable(text));
        QVERIFY(!text.contains("0100000002"));

        // Back to a search: the search's columns again.
        QTest::mouseClick(dlg.ByNameButton(), Qt::LeftButton);
        dlg.KeywordBox()->setText("五金");
        QTest::mouseClick(dlg.SearchButton(), Qt::LeftButton);
        QCOMPARE(grid->GetColumnCount(), int(kProductColumnCount));
        QCOMPARE(ColumnTexts(grid, kColCode).size(), 2);
        QCOMPARE(messages.Count(), 0);
    }

    void longListGoesOnSeveralPages() {
        TestDatabase db;
        Report report;
        report.title = "库存盘点清单";
        report.table.columns = {{"商品名称"}, {"库存", ExportKind::Number}};
        for (int i = 0; i < 130; ++i)
            report.table.rows.append({QStringLiteral("商品%1").arg(i), QString::number(i)});
        report.footing << "共 130 种商品";
        const QString pdf = QDir::temp().filePath("harbor-longlist.pdf");
        QVERIFY(SaveReportPdf(report, pdf));
        const QString text = PdfText(pdf);
        const QRegularExpressionMatch pages =
            QRegularExpression("第1页/共(\\d+)页").match(QString(text).remove(' '));
        QVERIFY(pages.hasMatch());
        const int count = pages.captured(1).toInt();
        QVERIFY(count >= 2);
        QVERIFY(QString(text).remove(' ').contains(QStringLiteral("第%1页/共%1页").arg(count)));
        // Every row printed once, the header on every page.
        for (int i = 0; i < 130; ++i)
            QVERIFY2(text.contains(QStringLiteral("商品%1 ").arg(i)),
                     qPrintable(QString::number(i)));
        QCOMPARE(int(text.count("商品名称")), count);
        QVERIFY(text.contains("共 130 种商品"));
    }

    void minimumIsSavedWithTheProperties() {
        TestDatabase db;
        for (const char* sql : {"INSERT INTO name1 VALUES ('01', '开关')",
                                "INSERT INTO name5 VALUES ('0100000001', '10', '个/箱')",
                                "INSERT INTO property (code, name, spec, shortname, price, total) "
                                "VALUES ('0100000001', '开关', '10个/箱', '开关', '1', '5')"})
            db.Exec(QString::fromUtf8(sql));
        MessageScript messages;
        CClassDlg dlg;
        dlg.resize(1200, 700);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ClickCell(dlg.List(1), 1, 1);
        ClickCell(dlg.List(5), 1, 1);
        CPropertyPanel* panel = dlg.Properties();
        CGridCtrl* props = panel->Grid();
        QCOMPARE(props->GetCellText(0, 9), QString("最低库存"));
        QCOMPARE(props->GetCellText(1, 2), QString("0100000001"));
        QCOMPARE(props->GetCellText(1, 9), QString());

        // Refused: nothing of the row is written.
        ReplaceInCell(props, 1, 8, "7");
        ReplaceInCell(props, 1, 9, "-2");
        QTest::mouseClick(panel->SaveButton(), Qt::LeftButton);
        QVERIFY(messages.Last().contains("最低库存不能是负数"));
        QCOMPARE(db.Value("SELECT total FROM property"), QString("5"));
        QCOMPARE(db.Value("SELECT COUNT(*) FROM minstock"), QString("0"));

        // Stock and minimum are kept to the hundredth, as the documents move them.
        ReplaceInCell(props, 1, 8, "98.505");
        ReplaceInCell(props, 1, 9, "12.5");
        QTest::mouseClick(panel->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Last(), QString("总数最多两位小数,请改正"));
        ReplaceInCell(props, 1, 8, "7");
        ReplaceInCell(props, 1, 9, "12.505");
        QTest::mouseClick(panel->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Last(), QString("最低库存最多两位小数,请改正"));
        QCOMPARE(db.Value("SELECT total FROM property"), QString("5"));

        ReplaceInCell(props, 1, 9, "12.5");
        QTest::mouseClick(panel->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Last(), QString("商品属性已成功保存"));
        QCOMPARE(db.Rows("SELECT code, minimum FROM minstock"), QStringList{"0100000001|12.5"});
        QCOMPARE(db.Value("SELECT total FROM property"), QString("7"));
        // Saved again: still one row; shown when the product is chosen again.
        QTest::mouseClick(panel->SaveButton(), Qt::LeftButton);
        QCOMPARE(db.Value("SELECT COUNT(*) FROM minstock"), QString("1"));
        panel->ShowProperties(1, QString());
        QCOMPARE(props->GetCellText(1, 9), QString());
        ClickCell(dlg.List(1), 1, 2);
        ClickCell(dlg.List(5), 1, 2);
        QCOMPARE(props->GetCellText(1, 9), QString("12.5"));
        Snapshot(panel, "property-minimum");
        QVERIFY(ShowsWhole(panel, props));

        // Emptied: the minimum is gone.
        ReplaceInCell(props, 1, 9, "");
        QTest::mouseClick(panel->SaveButton(), Qt::LeftButton);
        QCOMPARE(db.Value("SELECT COUNT(*) FROM minstock"), QString("0"));

        // Deleted with its product.
        db.Exec("INSERT INTO minstock (code, minimum) VALUES ('0100000001', '3')");
        QVERIFY(RunDbAction(nullptr, "删除", [] {
            CatalogueRow spec;
            spec.bh = "0100000001";
            spec.count = "10";
            spec.pack = "个/箱";
            QVERIFY(CCatalogueWriter::DeleteRecord(5, spec));
        }));
        QCOMPARE(db.Value("SELECT COUNT(*) FROM minstock"), QString("0"));
    }
};

QTEST_MAIN(TestLowStock)
#include "tst_lowstock.moc"
