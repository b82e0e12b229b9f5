// Exporting from the windows as a user does: a right-click on a list or the 导出... button, the
// save dialog, the progress dialog of a long list; every file read back by openpyxl or Python's
// csv module and compared cell by cell with what the grid shows.
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "text/HarborClock.h"
#include "catalogue/CClassDlg.h"
#include "catalogue/CPropertyPanel.h"
#include "export/ExportDialogs.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "parties/CCustomerDlg.h"
#include "parties/CEmployeeDlg.h"
#include "queries/CAccountDlg.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "stock/CInventoryDlg.h"
#include "support/GridInput.h"
#include "support/MessageScript.h"
#include "support/ModalDriver.h"
#include "support/SheetReadBack.h"
#include "support/TestDatabase.h"

namespace {

QString Today() {
    return HarborToday().toString(QStringLiteral("yyyy-MM-dd"));
}

// Answers the save dialog as a user does: notes the name and format it proposes, then saves
// under the given path (or, when empty, under the name it proposes).
struct SaveAs {
    QString proposedName;
    QString proposedFilter;
    QString folder;
    ModalDriver<QFileDialog> driver;

    explicit SaveAs(const QString& path, std::function<void(QFileDialog*)> before = {})
        : driver({[this, path, before](QFileDialog* dialog) {
              proposedName = QFileInfo(dialog->selectedFiles().value(0)).fileName();
              proposedFilter = dialog->selectedNameFilter();
              folder = dialog->directory().path();
              if (before)
                  before(dialog);
              if (!path.isEmpty()) {
                  dialog->setDirectory(QFileInfo(path).absolutePath());
                  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                  QVERIFY(name);
                  name->selectAll();
                  name->insert(QFileInfo(path).fileName()); // what the user types
              }
              static_cast<QDialog*>(dialog)->accept(); // what 保存 does
          }}) {}
    int Shown() const { return driver.Handled(); }
};

// Cancels every progress dialog as soon as it shows, as a user pressing 取消 at once.
class CancelProgress : public QObject {
  public:
    CancelProgress() { qApp->installEventFilter(this); }
    ~CancelProgress() override { qApp->removeEventFilter(this); }
    int shown = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* progress = qobject_cast<QProgressDialog*>(watched)) {
                ++shown;
                QMetaObject::invokeMethod(progress, &QProgressDialog::cancel, Qt::QueuedConnection);
            }
        }
        return false;
    }
};

// Counts the progress dialogs that show.
class WatchProgress : public QObject {
  public:
    WatchProgress() { qApp->installEventFilter(this); }
    ~WatchProgress() override { qApp->removeEventFilter(this); }
    int shown = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog*>(watched))
            ++shown;
        return false;
    }
};

// A right-click on a cell of the grid and a click on the menu item, as a user does. The menu
// runs its own loop: a timer finds it open and clicks the item.
void ExportByMenu(CGridCtrl* grid, const QString& item) {
    bool clicked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible() || clicked)
            return;
        for (QAction* action : menu->actions()) {
            if (action->text() == item) {
                clicked = true;
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return;
            }
        }
        menu->close(); // not the item wanted: the test fails below
    });
    poll.start(10);
    ClickCell(grid, 1, 1, Qt::RightButton);
    QVERIFY2(clicked, qPrintable("no menu item " + item));
}

void StoreSale(TestDatabase& db, const QString& table, const QString& oddnum,
               const QString& customer, const QString& receivable, const QString& receipt,
               const QString& state, const QStringList& lineCodes) {
    int line = 0;
    for (const QString& code : lineCodes) {
        ++line;
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, customer, mydate, receivable, receipt, "
                               "freceivable, freceipt, state, employeename, mc, code, spec, "
                               "price, \"count\", discount, total, pcs, remarks) VALUES ('%2', "
                               "'%3', '%4 09:30:05', '%5', '%6', %5, %6, '%7', '王五', "
                               "'膨胀螺丝 M%8', '%9', '10个/箱', '2.5000', '4', '0.95', '9.50', "
                               "'%10', '送货上门,付现')")
                    .arg(table, oddnum, customer,
                         QDate::fromString(oddnum.left(8), "yyyyMMdd").toString("yyyy-MM-dd"),
                         receivable, receipt, state)
                    .arg(line)
                    .arg(code, line == 2 ? QStringLiteral("x") : QString::number(line)));
    }
}

void StoreSales(TestDatabase& db, const QString& table) {
    StoreSale(db, table, "20261201001", "张三五金", "120.50", "0", "未结",
              {"0101000001", "0200000010"});
    StoreSale(db, table, "20261203001", "李四,电料行", "88.00", "88.00", "结清", {"0000000007"});
    StoreSale(db, table, "20261205002", "\"老王\"灯具", "1234.56", "1000", "欠款", {"0101000001"});
}

template <class Dialog> void ExportsQueryLists(const QHash<QString, char>& listKinds) {
    TestDatabase db;
    MessageScript messages;
    QTemporaryDir dir;
    Dialog dlg;
    StoreSales(db, dlg.Kind().table);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.Ui().m_pStart->setDate(QDate(1970, 1, 1)); // the window opens on today
    QTest::mouseClick(dlg.Ui().m_pQuery, Qt::LeftButton);
    CGridCtrl* list = dlg.Ui().m_pList;
    QCOMPARE(list->GetRowCount(), 4);

    const QString listPath = dir.filePath("list.xlsx");
    {
        SaveAs save(listPath);
        ExportByMenu(list, "导出到 Excel...");
        QCOMPARE(save.Shown(), 1);
        QCOMPARE(save.proposedName, dlg.Kind().title + "_" + Today() + ".xlsx");
        QCOMPARE(save.proposedFilter, FormatFilter(ExportFormat::Xlsx));
    }
    QCOMPARE(messages.Last(), "3 条记录已导出到:\n" + listPath);
    const QString listDifference =
        CompareSheetWithGrid(ReadSheetBack(listPath), *list, 1, listKinds);
    QVERIFY2(listDifference.isEmpty(), qPrintable(listDifference));

    // The lines of one document, as CSV and as a workbook.
    ClickCell(list, 1, 1);
    CGridCtrl* detail = dlg.Ui().m_pDetail;
    QCOMPARE(detail->GetRowCount(), 3);
    const QString csvPath = dir.filePath("detail.csv");
    {
        SaveAs save(csvPath);
        ExportByMenu(detail, "导出到 CSV...");
        QCOMPARE(save.proposedName, dlg.Kind().detailCaption + "_" + Today() + ".csv");
        QCOMPARE(save.proposedFilter, FormatFilter(ExportFormat::Csv));
    }
    const QString csvDifference = CompareCsvWithGrid(ReadSheetBack(csvPath), *detail, 1);
    QVERIFY2(csvDifference.isEmpty(), qPrintable(csvDifference));
    const QString detailPath = dir.filePath("detail.xlsx");
    {
        SaveAs save(detailPath);
        ExportByMenu(detail, "导出到 Excel...");
    }
    const QString detailDifference = CompareSheetWithGrid(ReadSheetBack(detailPath), *detail, 1,
                                                          {{"条形码", 's'},
                                                           {"单价", 'n'},
                                                           {"数量", 'n'},
                                                           {"折扣", 'n'},
                                                           {"金额", 'n'},
                                                           {"件数", 'i'}});
    QVERIFY2(detailDifference.isEmpty(), qPrintable(detailDifference));
}

// 100,000 products with codes of leading zeros, prices of two or four decimals and stock.
// (The record layer reads "+" as joining texts, as the shop's statements mean it.)
void FillManyProducts(TestDatabase& db, int count) {
    if (TestDatabase::OnServer()) {
        db.Exec("INSERT INTO property (code, name, shortname, spec, price, total, longpinyin, "
                "shortpinyin) SELECT lpad(i::text, 10, '0'), '五金商品' || i, '简称' || i, "
                "'10个/箱', CASE WHEN i % 7 = 0 THEN to_char(i / 1000.0, 'FM999990.0000') ELSE "
                "to_char(i / 100.0, 'FM999990.00') END, to_char(i % 500, 'FM990.00'), 'WJSP', "
                "'JC' FROM generate_series(1, ?) AS n(i)",
                {count});
        return;
    }
    db.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i - (-1) FROM n WHERE i < " +
            QString::number(count) +
            ") INSERT INTO property (code, name, shortname, spec, price, total, longpinyin, "
            "shortpinyin) SELECT printf('%010d', i), '五金商品' || i, '简称' || i, '10个/箱', "
            "CASE WHEN i % 7 = 0 THEN printf('%.4f', i / 1000.0) ELSE printf('%.2f', i / 100.0) "
            "END, printf('%.2f', i % 500), 'WJSP', 'JC' FROM n");
}

} // namespace

class TestGridExport : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;

  private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    // Only what the grid shows: no row numbers, no hidden rows or columns, no empty rows;
    // fixed columns that hold data stay.
    void readsWhatTheGridShows() {
        CGridCtrl grid(5, 5, 1, 1);
        const QStringList headers{"", "名称", "隐藏", "电话", "金额"};
        for (int col = 0; col < 5; ++col)
            grid.SetCellText(0, col, headers[col]);
        for (int row = 1; row < 5; ++row) {
            grid.SetCellText(row, 0, QString::number(row));
            grid.SetCellText(row, 1, QStringLiteral("客户%1").arg(row));
            grid.SetCellText(row, 2, "secret");
            grid.SetCellText(row, 3, "0755-1234");
            grid.SetCellText(row, 4, "1.50");
        }
        grid.SetColumnWidth(2, 0);
        grid.SetRowHeight(2, 0);
        for (int col = 1; col < 5; ++col)
            grid.SetCellText(4, col, QString());
        const ExportTable table =
            ReadGridTable(grid, "客户", {{"金额", ExportKind::Number}, {"电话", ExportKind::Text}});
        QCOMPARE(table.title, QStringLiteral("客户"));
        QCOMPARE(table.columns.size(), 3);
        QCOMPARE(table.columns[0].header, QStringLiteral("名称"));
        QCOMPARE(int(table.columns[1].kind), int(ExportKind::Text));
        QCOMPARE(int(table.columns[2].kind), int(ExportKind::Number));
        QCOMPARE(table.rows, QList<QStringList>(
                                 {{"客户1", "0755-1234", "1.50"}, {"客户3", "0755-1234", "1.50"}}));

        CGridCtrl properties(2, 3, 1, 2);
        for (int col = 0; col < 3; ++col) {
            properties.SetCellText(0, col, QStringList{"商品名称", "序号", "售价"}[col]);
            properties.SetCellText(1, col, QStringList{"开关", "7", "3.5"}[col]);
        }
        QCOMPARE(ReadGridTable(properties, "商品属性", {}).rows,
                 QList<QStringList>({{"开关", "3.5"}}));
    }

    void exportsSaleOutQuery() {
        ExportsQueryLists<CSaleOutQueryDlg>(
            {{"单号", 's'}, {"销售时间", 'd'}, {"应收款", 'n'}, {"实收款", 'n'}});
    }

    void exportsSaleInQuery() {
        ExportsQueryLists<CSaleInQueryDlg>(
            {{"单号", 's'}, {"退货时间", 'd'}, {"应退款", 'n'}, {"实退款", 'n'}});
    }

    void exportsEntryQuery() {
        TestDatabase db;
        MessageScript messages;
        QTemporaryDir dir;
        for (const QString& oddnum : {"20261201001", "20261202001"}) {
            for (int line = 1; line <= 2; ++line)
                db.Exec(
                    QStringLiteral("INSERT INTO entry (oddnum, supplier, mydate, money, fmoney, "
                                   "state, mc, code, spec, price, \"count\", total) VALUES "
                                   "('%1', '五金厂', '%2', '350.00', 350, '未付', '开关', "
                                   "'010000000%3', '10个/箱', '1.2500', '20', '25.00')")
                        .arg(oddnum,
                             QDate::fromString(oddnum.left(8), "yyyyMMdd").toString("yyyy-MM-dd"))
                        .arg(line));
        }
        CEntryQueryDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.StartBox()->setDate(QDate(1970, 1, 1)); // the window opens on today
        QTest::mouseClick(dlg.QueryButton(), Qt::LeftButton);
        QCOMPARE(dlg.ListGrid()->GetRowCount(), 3);
        const QString listPath = dir.filePath("entries.xlsx");
        {
            SaveAs save(listPath);
            ExportByMenu(dlg.ListGrid(), "导出到 Excel...");
            QCOMPARE(save.proposedName, "入库单查询_" + Today() + ".xlsx");
        }
        QString difference =
            CompareSheetWithGrid(ReadSheetBack(listPath), *dlg.ListGrid(), 1,
                                 {{"单号", 's'}, {"供货日期", 'd'}, {"金额", 'n'}});
        QVERIFY2(difference.isEmpty(), qPrintable(difference));

        ClickCell(dlg.ListGrid(), 2, 1);
        QCOMPARE(dlg.DetailGrid()->GetRowCount(), 3);
        const QString detailPath = dir.filePath("lines.xlsx");
        {
            SaveAs save(detailPath);
            ExportByMenu(dlg.DetailGrid(), "导出到 Excel...");
            QCOMPARE(save.proposedName, "入库详单查询_" + Today() + ".xlsx");
        }
        difference =
            CompareSheetWithGrid(ReadSheetBack(detailPath), *dlg.DetailGrid(), 1,
                                 {{"条形码", 's'}, {"单价", 'n'}, {"数量", 'n'}, {"总价", 'n'}});
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // A list of 100,000 products: exported with its progress shown, every cell read back; a
    // cancelled export leaves nothing in the folder.
    void exportsAHundredThousandProducts() {
        TestDatabase db;
        FillManyProducts(db, 100000);
        MessageScript messages;
        QTemporaryDir dir;
        CInventoryDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(dlg.SearchButton(), Qt::LeftButton);
        CGridCtrl* grid = dlg.Grid();
        QCOMPARE(grid->GetRowCount(), 100001);

        {
            CancelProgress cancel;
            SaveAs save(dir.filePath("stock.xlsx"));
            QTest::mouseClick(dlg.ExportButton(), Qt::LeftButton);
            QCOMPARE(cancel.shown, 1);
        }
        QCOMPARE(messages.Count(), 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());

        const QString path = dir.filePath("stock.xlsx");
        {
            WatchProgress progress;
            SaveAs save(path);
            QTest::mouseClick(dlg.ExportButton(), Qt::LeftButton);
            QCOMPARE(save.proposedName, "库存盘点_" + Today() + ".xlsx");
            QCOMPARE(progress.shown, 1);
        }
        QCOMPARE(messages.Last(), "100000 条记录已导出到:\n" + path);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"stock.xlsx"});
        const SheetReadBack back = ReadSheetBack(path);
        QVERIFY2(back.ok, qPrintable(back.error));
        QCOMPARE(back.sheets, QStringList{"库存盘点"});
        QCOMPARE(back.freeze, QStringLiteral("A2"));
        const QString difference =
            CompareSheetWithGrid(back, *grid, 1, {{"条形码", 's'}, {"单价", 'n'}, {"库存", 'n'}});
        QVERIFY2(difference.isEmpty(), qPrintable(difference));

        const QString csvPath = dir.filePath("stock.csv");
        {
            SaveAs save(csvPath);
            ExportByMenu(grid, "导出到 CSV...");
        }
        const QString csvDifference = CompareCsvWithGrid(ReadSheetBack(csvPath), *grid, 1);
        QVERIFY2(csvDifference.isEmpty(), qPrintable(csvDifference));
    }

    // Customers and employees through 导出...: phone and staff numbers keep their zeros; a
    // file that exists is replaced only when the user says so.
    void exportsPartiesAndEmployees() {
        TestDatabase db;
        db.Exec("INSERT INTO customer (mc, linkman, phone, address, remark, pinyin) VALUES "
                "('张三五金', '张三', '01088886666', '北京市,朝阳区', '老客户', 'ZSWJ')");
        db.Exec("INSERT INTO customer (mc, linkman, phone, address, remark, pinyin) VALUES "
                "('李四电料', '', '+86 139 0000 0000', '', '', 'LSDL')");
        db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '007')");
        db.Exec("INSERT INTO employee (name, employeeid) VALUES ('赵六', '0120')");
        MessageScript messages;
        QTemporaryDir dir;

        CCustomerDlg customers;
        customers.show();
        QVERIFY(QTest::qWaitForWindowExposed(&customers));
        const QString path = dir.filePath("customers.xlsx");
        {
            SaveAs save(path);
            QTest::mouseClick(customers.ExportButton(), Qt::LeftButton);
            QCOMPARE(save.proposedName, "客户管理_" + Today() + ".xlsx");
        }
        QString difference = CompareSheetWithGrid(ReadSheetBack(path), *customers.Grid(), 1, {});
        QVERIFY2(difference.isEmpty(), qPrintable(difference));

        CEmployeeDlg employees;
        employees.show();
        QVERIFY(QTest::qWaitForWindowExposed(&employees));
        QFile old(path);
        const QByteArray customersFile = (old.open(QIODevice::ReadOnly), old.readAll());
        old.close();
        messages.Answer(IDNO);
        {
            SaveAs save(path);
            QTest::mouseClick(employees.ExportButton(), Qt::LeftButton);
            // The save dialog opens where the last export went.
            QCOMPARE(QDir(save.folder), QDir(dir.path()));
        }
        QVERIFY(messages.Last().contains("已存在"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), customersFile);
        old.close();

        messages.Answer(IDYES);
        {
            SaveAs save(path);
            QTest::mouseClick(employees.ExportButton(), Qt::LeftButton);
        }
        QCOMPARE(messages.Last(), "2 条记录已导出到:\n" + path);
        difference = CompareSheetWithGrid(ReadSheetBack(path), *employees.Grid(), 1, {});
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"customers.xlsx"});
    }

    // Choosing CSV in the save dialog changes the proposed name, and CSV is written.
    void formatFollowsTheChosenFilter() {
        TestDatabase db;
        db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '007')");
        MessageScript messages;
        QTemporaryDir dir;
        CEmployeeDlg employees;
        employees.show();
        QVERIFY(QTest::qWaitForWindowExposed(&employees));
        QString chosen;
        {
            SaveAs save({}, [&](QFileDialog* dialog) {
                dialog->setDirectory(dir.path());
                auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                QVERIFY(types);
                types->setFocus();
                QTest::keyClick(types, Qt::Key_Down);
                chosen = dialog->selectedFiles().value(0);
            });
            QTest::mouseClick(employees.ExportButton(), Qt::LeftButton);
        }
        QCOMPARE(QFileInfo(chosen).fileName(), "员工管理_" + Today() + ".csv");
        const SheetReadBack back = ReadSheetBack(dir.filePath("员工管理_" + Today() + ".csv"));
        QVERIFY2(back.ok, qPrintable(back.error));
        QVERIFY(back.bom);
        QCOMPARE(back.records, QList<QStringList>({{"员工姓名", "工号"}, {"王五", "007"}}));
        QCOMPARE(FormatForPath("a.CSV", ExportFormat::Xlsx), ExportFormat::Csv);
        QCOMPARE(FormatForPath("a", ExportFormat::Csv), ExportFormat::Csv);
    }

    // The property row of the coding window: its fixed name, specification and code columns
    // are data and go out too.
    void exportsProductProperties() {
        TestDatabase db;
        db.Exec("INSERT INTO name1 VALUES ('01', '开关')");
        db.Exec("INSERT INTO name5 VALUES ('0100000001', '10', '个/箱')");
        db.Exec("INSERT INTO property (code, name, spec, shortname, price, discount1, discount2, "
                "discount3, total) VALUES ('0100000001', '开关', '10个/箱', '单开', '3.5000', "
                "'0.9', '0.85', '0.8', '120.00')");
        MessageScript messages;
        QTemporaryDir dir;
        CClassDlg dlg;
        dlg.resize(1200, 700);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ClickCell(dlg.List(1), 1, 1);
        ClickCell(dlg.List(5), 1, 1);
        CGridCtrl* props = dlg.Properties()->Grid();
        QCOMPARE(props->GetCellText(1, 2), QStringLiteral("0100000001"));
        const QString path = dir.filePath("props.xlsx");
        {
            SaveAs save(path);
            ExportByMenu(props, "导出到 Excel...");
            QCOMPARE(save.proposedName, "商品属性_" + Today() + ".xlsx");
        }
        const QString difference = CompareSheetWithGrid(ReadSheetBack(path), *props, 0,
                                                        {{"条码", 's'},
                                                         {"售价", 'n'},
                                                         {"折扣一", 'n'},
                                                         {"折扣二", 'n'},
                                                         {"折扣三", 'n'},
                                                         {"总数", 'n'}});
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void exportsAccountFigures() {
        TestDatabase db;
        db.Exec("INSERT INTO saleout (oddnum, freceivable, freceipt) VALUES ('20260301001', "
                "1000, 800)");
        db.Exec("INSERT INTO salein (oddnum, freceivable, freceipt) VALUES ('20260302001', "
                "200, 150.5)");
        db.Exec("INSERT INTO entry (oddnum, fmoney) VALUES ('20260303001', 1500)");
        MessageScript messages;
        QTemporaryDir dir;
        CAccountDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QString path = dir.filePath("account.xlsx");
        {
            SaveAs save(path);
            QTest::mouseClick(dlg.ExportButton(), Qt::LeftButton);
            QCOMPARE(save.proposedName, "帐目统计_" + Today() + ".xlsx");
        }
        const SheetReadBack back = ReadSheetBack(path);
        QVERIFY2(back.ok, qPrintable(back.error));
        QCOMPARE(back.cells.size(), 2);
        QStringList headers, values;
        for (int col = 0; col < back.cells[0].size(); ++col) {
            headers << back.cells[0][col].value;
            values << back.cells[1][col].type + ":" + back.cells[1][col].value;
        }
        QCOMPARE(headers,
                 QStringList({"统计期间", "应收款", "实收款", "应退款", "实退款", "进货款", "利润",
                              "销售成本", "毛利", "库存金额", "盘点差异", "毛利率"}));
        // No line has a cost: the gross profit is the net sales.
        QCOMPARE(values,
                 QStringList({"s:2026年全年", "n:1000", "n:800", "n:200", "n:150.5", "n:1500",
                              "n:-700", "n:0", "n:800", "n:0", "n:0", "s:100.00%"}));
        QCOMPARE(back.cells[1][6].format, QStringLiteral("0.00"));
    }

    // Nothing listed: the user is told, and no save dialog opens.
    void emptyListIsNotExported() {
        TestDatabase db;
        MessageScript messages;
        CSaleOutQueryDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        SaveAs save(QDir::temp().filePath("never.xlsx"));
        ExportByMenu(dlg.Ui().m_pList, "导出到 Excel...");
        QCOMPARE(messages.Texts(), QStringList{"表格中没有可导出的记录"});
        QCOMPARE(save.Shown(), 0);
    }
};

QTEST_MAIN(TestGridExport)
#include "tst_gridexport.moc"
