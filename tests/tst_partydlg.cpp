#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "GridInput.h"
#include "UserInput.h"

#include "grid/CGridCtrl.h"
#include "parties/CCustomerDlg.h"
#include "parties/CEmployeeDlg.h"
#include "parties/CSupplierDlg.h"
#include "parties/CTableGridDlg.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"
#include "support/TestDocumentWindow.h"
#include "text/PinyinInitials.h"

namespace {

const char* const kCustomers = "SELECT mc, linkman, phone, address, remark, pinyin FROM customer";

void AddCustomer(TestDatabase& db, const QString& name, const QString& phone,
                 const QString& table = "customer") {
    db.Exec(QStringLiteral("INSERT INTO %1 (mc, linkman, phone, address, remark) "
                           "VALUES ('%2', '李经理', '%3', '杭州', '')")
                .arg(table, QString(name).replace("'", "''"), phone));
}

} // namespace

class TestPartyDlg : public QObject {
    Q_OBJECT

  private slots:
    void init() { PickArea().m_nPickTarget = 0; }

    void loadShowsEveryRecordInTableOrder();
    void gridIsSetUpLikeEveryOtherTable();
    void saveWritesEditsAndInitialsAndReloads();
    void savingAnUnchangedGridRewritesEveryRecordWithItsOwnValues();
    void addedRowsAreSavedAndBlankOnesLeftOut();
    void rowWithoutNameStopsTheSaveWithNothingWritten();
    void badNamesAreRefusedButOldRecordsStaySavable();
    void deleteRemovesTheRecordOfTheClickedRow();
    void deleteOfAnEditedRowKeepsLaterSavesInStep();
    void deleteWithoutARowDoesNothing();
    void deleteTakesTheRowLastClickedToEdit();
    void saveTakesTheTextOfAnOpenEditor();
    void namesWithQuotesAreStoredAndDeleted();
    void failedDeleteKeepsTheRow();
    void supplierDialogKeepsItsOwnTable();
    void selectModeHandsTheNameToTheDocumentOfThePickTarget();
    void selectModeDoesNotPickFromTheHeaderOrInOrdinaryMode();
    void supplierPickGoesToStockIn();
    void runSelectModeReturnsAfterAPick();
    void staleRowsAreRefusedByName();
    void staleDeleteRemovesNothing();
};

void TestPartyDlg::loadShowsEveryRecordInTableOrder() {
    TestDatabase db;
    AddCustomer(db, "五金城", "111");
    AddCustomer(db, "建材店", "222");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    QCOMPARE(dlg.windowTitle(), QString("客户管理"));
    CGridCtrl* grid = dlg.Grid();
    QCOMPARE(grid->GetRowCount(), 3);
    QCOMPARE(RowTexts(grid, 0), (QStringList{"序号", "名称", "联系人", "电话", "地址", "备注"}));
    QCOMPARE(RowTexts(grid, 1), (QStringList{"1", "五金城", "李经理", "111", "杭州", ""}));
    QCOMPARE(RowTexts(grid, 2), (QStringList{"2", "建材店", "李经理", "222", "杭州", ""}));
    QCOMPARE(grid->GetRowHeight(2), 25);
    QCOMPARE(grid->GetColumnWidth(1), 200);
    QVERIFY(grid->GetCellFormat(1, 3) & DT_CENTER);
    QVERIFY(!(grid->GetCellFormat(1, 4) & DT_CENTER));
}

// List mode and a white background: a click marks the whole row, and the area below the rows
// is white, not grey.
void TestPartyDlg::gridIsSetUpLikeEveryOtherTable() {
    TestDatabase db;
    AddCustomer(db, "五金城", "111");
    AddCustomer(db, "建材店", "222");
    CCustomerDlg customers;
    CSupplierDlg suppliers;
    for (CTableGridDlg* dlg :
         {static_cast<CTableGridDlg*>(&customers), static_cast<CTableGridDlg*>(&suppliers)}) {
        ShowAtWorkingSize(*dlg);
        CGridCtrl* grid = dlg->Grid();
        QVERIFY(grid->GetListMode());
        QCOMPARE(grid->GetSortColumn(), -1);
        QVERIFY(!grid->GetTrackFocusCell());
        QVERIFY(!grid->GetFixedColumnSelection());

        const int rows = grid->GetRowCount();
        QVERIFY(rows >= 1);
        if (rows > 1) {
            ClickCell(grid, 1, 2);
            for (int col = 1; col < grid->GetColumnCount(); ++col)
                QVERIFY(grid->IsCellSelected(1, col));
            QCOMPARE(grid->GetFocusCell(), CCellID(1, 2));
        }
        const QImage picture = grid->viewport()->grab().toImage();
        const QRect last = grid->GetCellRect(rows - 1, 1);
        const int below = (last.bottom() + grid->viewport()->height()) / 2;
        QVERIFY(below > last.bottom() + 2);
        for (int x : {5, grid->viewport()->width() / 2, grid->viewport()->width() - 5})
            QCOMPARE(picture.pixelColor(x, below), QColor(Qt::white));
    }
}

void TestPartyDlg::saveWritesEditsAndInitialsAndReloads() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    AddCustomer(db, "建材店", "222");
    {
        CCustomerDlg dlg;
        ShowAtWorkingSize(dlg);
        ReplaceInCell(dlg.Grid(), 2, 1, "永达电器");
        ReplaceInCell(dlg.Grid(), 2, 5, "月结");
        Click(dlg.SaveButton());
        QCOMPARE(messages.Texts(), QStringList{"已成功保存到数据库"});
    }
    QCOMPARE(db.Rows(kCustomers),
             (QStringList{"五金城|李经理|111|杭州||" + GetPinyinInitials("五金城"),
                          "永达电器|李经理|222|杭州|月结|" + GetPinyinInitials("永达电器")}));
    QCOMPARE(GetPinyinInitials("永达电器"), QString("YDDQ"));
    CCustomerDlg reopened;
    ShowAtWorkingSize(reopened);
    QCOMPARE(RowTexts(reopened.Grid(), 2),
             (QStringList{"2", "永达电器", "李经理", "222", "杭州", "月结"}));
}

void TestPartyDlg::savingAnUnchangedGridRewritesEveryRecordWithItsOwnValues() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "张三", "111");
    AddCustomer(db, "张三", "222");
    AddCustomer(db, "李四", "333");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    Click(dlg.SaveButton());
    QCOMPARE(messages.Last(), QString("已成功保存到数据库"));
    QCOMPARE(db.Rows("SELECT mc, phone, pinyin FROM customer"),
             (QStringList{"张三|111|ZS", "张三|222|ZS", "李四|333|LS"}));
    // A second save after the first must find the same records again.
    ReplaceInCell(dlg.Grid(), 1, 3, "119");
    Click(dlg.SaveButton());
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"),
             (QStringList{"张三|119", "张三|222", "李四|333"}));
}

void TestPartyDlg::addedRowsAreSavedAndBlankOnesLeftOut() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();
    Click(dlg.AddButton());
    Click(dlg.AddButton());
    Click(dlg.AddButton());
    QCOMPARE(grid->GetRowCount(), 5);
    QCOMPARE(RowTexts(grid, 4), (QStringList{"4", "", "", "", "", ""}));
    QVERIFY(grid->GetCellFormat(4, 5) & DT_CENTER);
    QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("1"));

    // Row 2 stays blank; rows 3 and 4 are filled in after it.
    ReplaceInCell(grid, 3, 1, "新客户");
    ReplaceInCell(grid, 3, 3, "333");
    ReplaceInCell(grid, 4, 1, "另一个客户");
    Click(dlg.SaveButton());
    QCOMPARE(messages.Last(), QString("已成功保存到数据库"));
    QCOMPARE(db.Rows("SELECT mc, phone, pinyin FROM customer"),
             (QStringList{"五金城|111|WJC", "新客户|333|XKH", "另一个客户||LYGKH"}));

    // The saved rows now stand for their records: a second save adds nothing.
    ReplaceInCell(grid, 3, 3, "334");
    Click(dlg.SaveButton());
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"),
             (QStringList{"五金城|111", "新客户|334", "另一个客户|"}));
}

void TestPartyDlg::rowWithoutNameStopsTheSaveWithNothingWritten() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    AddCustomer(db, "建材店", "222");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();

    // An existing record whose name was cleared.
    ReplaceInCell(grid, 1, 3, "999");
    ReplaceInCell(grid, 2, 1, "");
    Click(dlg.SaveButton());
    QCOMPARE(messages.Texts(), QStringList{"供货商名称不能为空,请填写"});
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"五金城|111", "建材店|222"}));

    // An added row with a telephone but no name.
    ReplaceInCell(grid, 2, 1, "建材店");
    Click(dlg.AddButton());
    ReplaceInCell(grid, 3, 3, "555");
    messages.Clear();
    Click(dlg.SaveButton());
    QCOMPARE(messages.Texts(), QStringList{"供货商名称不能为空,请填写"});
    QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("2"));
    QCOMPARE(db.Value("SELECT phone FROM customer WHERE mc = '五金城'"), QString("111"));
}

// A name of blanks or with control characters is refused where it is typed, naming the field and
// putting the cursor on it; a record an older program stored with such a name is not judged
// again while it is left as it is, so the rest of the list can still be saved.
void TestPartyDlg::badNamesAreRefusedButOldRecordsStaySavable() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    AddCustomer(db, "  ", "222"); // from an older program
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();

    ReplaceInCell(grid, 1, 3, "999");
    Click(dlg.SaveButton());
    QCOMPARE(messages.Last(), QString("已成功保存到数据库"));
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"五金城|999", "  |222"}));

    // What a scanner or a paste can put into the cell: keys cannot type an escape character.
    messages.Clear();
    ClickCell(grid, 1, 1);
    grid->EditCell(1, 1);
    auto* editor = qobject_cast<QLineEdit*>(grid->GetEditWnd());
    QVERIFY(editor);
    editor->selectAll();
    editor->insert(QString("五金") + QChar(0x1b) + "城");
    QTest::keyClick(editor, Qt::Key_Return);
    Click(dlg.SaveButton());
    QCOMPARE(messages.Texts(), QStringList{"客户名称中有不能保存的控制字符,请改正"});
    QCOMPARE(grid->GetFocusCell().row, 1);
    QCOMPARE(grid->GetFocusCell().col, 1);
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"五金城|999", "  |222"}));

    // The old record, once edited, must get a real name.
    messages.Clear();
    ReplaceInCell(grid, 1, 1, "五金城");
    ReplaceInCell(grid, 2, 3, "333");
    Click(dlg.SaveButton());
    QCOMPARE(messages.Texts(), QStringList{"客户名称不能为空"});
    QCOMPARE(grid->GetFocusCell().row, 2);
    QCOMPARE(db.Value("SELECT phone FROM customer WHERE mc = '  '"), QString("222"));
}

void TestPartyDlg::deleteRemovesTheRecordOfTheClickedRow() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "张三", "111");
    AddCustomer(db, "张三", "222");
    AddCustomer(db, "李四", "333");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();
    ClickCell(grid, 2, 3);
    QCOMPARE(dlg.m_nClickRow, 2);
    QCOMPARE(dlg.m_nClickCol, 3);
    Click(dlg.DeleteButton());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"张三|111", "李四|333"}));
    QCOMPARE(grid->GetRowCount(), 3);
    QCOMPARE(RowTexts(grid, 2).mid(0, 2), (QStringList{"2", "李四"}));

    // Two records alike in every column: one goes, one stays.
    AddCustomer(db, "李四", "333");
    CCustomerDlg again;
    ShowAtWorkingSize(again);
    ClickCell(again.Grid(), 2, 1);
    Click(again.DeleteButton());
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"张三|111", "李四|333"}));
    QCOMPARE(again.Grid()->GetRowCount(), 3);
}

void TestPartyDlg::deleteOfAnEditedRowKeepsLaterSavesInStep() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "甲", "111");
    AddCustomer(db, "乙", "222");
    AddCustomer(db, "丙", "333");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();
    ReplaceInCell(grid, 1, 1, "甲改");
    ClickCell(grid, 1, 1);
    Click(dlg.DeleteButton());
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"乙|222", "丙|333"}));

    ReplaceInCell(grid, 2, 3, "334");
    Click(dlg.SaveButton());
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"乙|222", "丙|334"}));
}

void TestPartyDlg::deleteWithoutARowDoesNothing() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    AddCustomer(db, "建材店", "222");
    CCustomerDlg dlg;
    dlg.resize(830, 400);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    CGridCtrl* grid = dlg.Grid();

    Click(dlg.DeleteButton()); // nothing clicked yet
    ClickCell(grid, 0, 2);     // the header
    QCOMPARE(dlg.m_nClickRow, 0);
    Click(dlg.DeleteButton());
    QCOMPARE(grid->GetRowCount(), 3);

    ClickCell(grid, 1, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint(10, grid->viewport()->height() - 5));
    QCOMPARE(dlg.m_nClickRow, -1);
    Click(dlg.DeleteButton());
    QCOMPARE(grid->GetRowCount(), 3);
    QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("2"));
    QCOMPARE(messages.Count(), 0);
}

void TestPartyDlg::deleteTakesTheRowLastClickedToEdit() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "甲", "111");
    AddCustomer(db, "乙", "222");
    AddCustomer(db, "丙", "333");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();
    // Row 1 clicked, the arrows lead to row 3, and a click there opens its editor.
    ClickCell(grid, 1, 1);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->GetFocusCell(), CCellID(3, 1));
    ClickCell(grid, 3, 1);
    QVERIFY(grid->GetEditWnd());
    QCOMPARE(dlg.m_nClickRow, 3);
    QCOMPARE(dlg.m_nClickCol, 1);
    Click(dlg.DeleteButton());
    QCOMPARE(db.Rows("SELECT mc FROM customer ORDER BY " + TestDatabase::RowKey()),
             (QStringList{"甲", "乙"}));
    QCOMPARE(grid->GetRowCount(), 3);
}

void TestPartyDlg::saveTakesTheTextOfAnOpenEditor() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();
    ClickCell(grid, 1, 3);
    QTest::keyClicks(grid, "9");
    auto* editor = qobject_cast<QLineEdit*>(grid->GetEditWnd());
    QVERIFY(editor);
    QTest::keyClicks(editor, "88");
    // The button pressed from the keyboard: the editor keeps the focus until the save.
    dlg.SaveButton()->click();
    QCOMPARE(grid->GetEditWnd(), nullptr);
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), QStringList{"五金城|988"});

    Click(dlg.AddButton());
    ClickCell(grid, 2, 1);
    QTest::keyClicks(grid, "k");
    editor = qobject_cast<QLineEdit*>(grid->GetEditWnd());
    QVERIFY(editor);
    TypeText(editor, "五金");
    Click(dlg.SaveButton());
    QCOMPARE(db.Rows("SELECT mc, pinyin FROM customer"),
             (QStringList{"五金城|WJC", "k五金|" + GetPinyinInitials("k五金")}));
    QCOMPARE(messages.Texts(), (QStringList{"已成功保存到数据库", "已成功保存到数据库"}));
}

void TestPartyDlg::namesWithQuotesAreStoredAndDeleted() {
    TestDatabase db;
    MessageScript messages;
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();
    Click(dlg.AddButton());
    Click(dlg.AddButton());
    ReplaceInCell(grid, 1, 1, "O'Neil 五金");
    ReplaceInCell(grid, 1, 5, "it's '月结'");
    ReplaceInCell(grid, 2, 1, "O'Neil 五金");
    Click(dlg.SaveButton());
    QCOMPARE(db.Rows("SELECT mc, remark FROM customer"),
             (QStringList{"O'Neil 五金|it's '月结'", "O'Neil 五金|"}));

    ClickCell(grid, 1, 1);
    Click(dlg.DeleteButton());
    QCOMPARE(db.Rows("SELECT mc, remark FROM customer"), QStringList{"O'Neil 五金|"});
    CCustomerDlg reopened;
    ShowAtWorkingSize(reopened);
    QCOMPARE(reopened.Grid()->GetCellText(1, 1), QString("O'Neil 五金"));
}

void TestPartyDlg::failedDeleteKeepsTheRow() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    CCustomerDlg dlg;
    ShowAtWorkingSize(dlg);
    db.Exec("DROP TABLE customer");
    ClickCell(dlg.Grid(), 1, 1);
    Click(dlg.DeleteButton());
    QCOMPARE(messages.Count(), 1);
    QVERIFY(messages.Last().startsWith("删除客户失败"));
    QCOMPARE(dlg.Grid()->GetRowCount(), 2);

    Click(dlg.SaveButton());
    QVERIFY(messages.Last().startsWith("保存客户失败"));
    QCOMPARE(messages.Count(), 2);
}

void TestPartyDlg::supplierDialogKeepsItsOwnTable() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    AddCustomer(db, "螺丝厂", "888", "supplier");
    CSupplierDlg dlg;
    ShowAtWorkingSize(dlg);
    QCOMPARE(dlg.windowTitle(), QString("供货商管理"));
    CGridCtrl* grid = dlg.Grid();
    QCOMPARE(grid->GetRowCount(), 2);
    QCOMPARE(grid->GetCellText(1, 1), QString("螺丝厂"));
    Click(dlg.AddButton());
    ReplaceInCell(grid, 2, 1, "电线厂");
    Click(dlg.SaveButton());
    QCOMPARE(db.Rows("SELECT mc, pinyin FROM supplier"), (QStringList{"螺丝厂|LSC", "电线厂|DXC"}));
    ClickCell(grid, 1, 2);
    Click(dlg.DeleteButton());
    QCOMPARE(db.Rows("SELECT mc FROM supplier"), QStringList{"电线厂"});
    QCOMPARE(db.Rows("SELECT mc FROM customer"), QStringList{"五金城"});
}

void TestPartyDlg::selectModeHandsTheNameToTheDocumentOfThePickTarget() {
    TestDatabase db;
    AddCustomer(db, "五金城", "111");
    AddCustomer(db, "建材店", "222");
    TestDocumentWindow saleOut("销售出库");
    TestDocumentWindow saleIn("销售退货");
    TestDocumentWindow entry("采购入库");

    PickArea().m_nPickTarget = 3;
    CCustomerDlg dlg;
    dlg.OpenSelectMode();
    QVERIFY(dlg.isVisible());
    QVERIFY(dlg.isModal());
    DoubleClickCell(dlg.Grid(), 2, 4);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(saleIn.Parties(), QStringList{"建材店"});
    QVERIFY(saleOut.Parties().isEmpty());

    PickArea().m_nPickTarget = 2;
    CCustomerDlg second;
    second.OpenSelectMode();
    DoubleClickCell(second.Grid(), 1, 1);
    QCOMPARE(saleOut.Parties(), QStringList{"五金城"});

    PickArea().m_nPickTarget = 1;
    CCustomerDlg third;
    third.OpenSelectMode();
    DoubleClickCell(third.Grid(), 1, 1);
    QVERIFY(!third.isVisible());
    QVERIFY(entry.Parties().isEmpty());
    QCOMPARE(saleOut.Parties().size() + saleIn.Parties().size(), 2);
}

void TestPartyDlg::selectModeDoesNotPickFromTheHeaderOrInOrdinaryMode() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "五金城", "111");
    TestDocumentWindow saleOut("销售出库");
    PickArea().m_nPickTarget = 2;

    CCustomerDlg ordinary;

    ordinary.show();
    DoubleClickCell(ordinary.Grid(), 1, 1);
    QVERIFY(ordinary.isVisible());
    QVERIFY(saleOut.Parties().isEmpty());

    CCustomerDlg dlg;

    dlg.OpenSelectMode();
    DoubleClickCell(dlg.Grid(), 0, 1);
    QVERIFY(dlg.isVisible());
    QVERIFY(saleOut.Parties().isEmpty());
    // Still a full dialog: a row added and saved can be picked at once.
    Click(dlg.AddButton());
    ReplaceInCell(dlg.Grid(), 2, 1, "新客户");
    Click(dlg.SaveButton());
    DoubleClickCell(dlg.Grid(), 2, 1);
    QCOMPARE(saleOut.Parties(), QStringList{"新客户"});
    QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("2"));
}

void TestPartyDlg::supplierPickGoesToStockIn() {
    TestDatabase db;
    AddCustomer(db, "螺丝厂", "888", "supplier");
    TestDocumentWindow saleOut("销售出库");
    TestDocumentWindow entry("采购入库");
    PickArea().m_nPickTarget = 2;
    CSupplierDlg dlg;
    dlg.OpenSelectMode();
    DoubleClickCell(dlg.Grid(), 1, 1);
    QCOMPARE(entry.Parties(), QStringList{"螺丝厂"});
    QVERIFY(saleOut.Parties().isEmpty());
    QVERIFY(!dlg.isVisible());
}

void TestPartyDlg::runSelectModeReturnsAfterAPick() {
    TestDatabase db;
    AddCustomer(db, "五金城", "111");
    TestDocumentWindow saleOut("销售出库");
    PickArea().m_nPickTarget = 2;
    CCustomerDlg dlg;
    QTimer::singleShot(0, &dlg, [&] { DoubleClickCell(dlg.Grid(), 1, 1); });
    dlg.RunSelectMode();
    QCOMPARE(saleOut.Parties(), QStringList{"五金城"});

    CCustomerDlg escaped;

    QTimer::singleShot(0, &escaped, [&] { QTest::keyClick(&escaped, Qt::Key_Escape); });
    escaped.RunSelectMode();
    QCOMPARE(saleOut.Parties().size(), 1);
}

// Two windows on one table (or two workstations): a row whose record changed or vanished
// since the window read it is refused by name; nothing is duplicated, overwritten or lost.
void TestPartyDlg::staleRowsAreRefusedByName() {
    TestDatabase db;
    MessageScript messages;
    AddCustomer(db, "甲", "100");
    AddCustomer(db, "乙", "200");
    AddCustomer(db, "丙", "300");
    CCustomerDlg first;
    ShowAtWorkingSize(first);
    CCustomerDlg second;
    ShowAtWorkingSize(second);

    ReplaceInCell(second.Grid(), 1, 3, "1");
    ClickCell(second.Grid(), 3, 1);
    Click(second.DeleteButton());
    Click(second.SaveButton());
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"甲|1", "乙|200"}));

    // The first window still shows 甲|100 and 丙; its own edit of 乙 is saved.
    ReplaceInCell(first.Grid(), 2, 3, "201");
    messages.Clear();
    Click(first.SaveButton());
    QCOMPARE(messages.Count(), 1);
    QVERIFY(messages.Last().contains("<甲>"));
    QVERIFY(messages.Last().contains("<丙>"));
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"甲|1", "乙|201"}));
    // The window reads the table again and saves in step from then on.
    QCOMPARE(first.Grid()->GetRowCount(), 3);
    QCOMPARE(first.Grid()->GetCellText(1, 3), QString("1"));
    messages.Clear();
    Click(first.SaveButton());
    QCOMPARE(messages.Texts(), QStringList{"已成功保存到数据库"});
    QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), (QStringList{"甲|1", "乙|201"}));

    // The selection-mode window a document opens is a second window all the same.
    CCustomerDlg select;
    select.OpenSelectMode();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    ReplaceInCell(first.Grid(), 1, 2, "赵经理");
    Click(first.SaveButton());
    ReplaceInCell(select.Grid(), 1, 4, "宁波");
    messages.Clear();
    Click(select.SaveButton());
    QVERIFY(messages.Last().contains("<甲>"));
    QCOMPARE(db.Rows("SELECT mc, linkman, address FROM customer WHERE mc='甲'"),
             QStringList{"甲|赵经理|杭州"});
    select.close();
}

void TestPartyDlg::staleDeleteRemovesNothing() {
    TestDatabase db;
    MessageScript messages;
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '7')");
    CEmployeeDlg first;
    ShowAtWorkingSize(first);
    CEmployeeDlg second;
    ShowAtWorkingSize(second);
    ReplaceInCell(second.Grid(), 1, 2, "8");
    Click(second.SaveButton());
    ClickCell(first.Grid(), 1, 1);
    messages.Clear();
    Click(first.DeleteButton());
    QCOMPARE(messages.Count(), 1);
    QVERIFY(messages.Last().contains("<王五>"));
    QCOMPARE(db.Rows("SELECT name, employeeid FROM employee"), QStringList{"王五|8"});
    QCOMPARE(first.Grid()->GetCellText(1, 2), QString("8"));
}

QTEST_MAIN(TestPartyDlg)
#include "tst_partydlg.moc"
#include "ui/PickArea.h"
