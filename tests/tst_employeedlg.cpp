#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"
#include "UserInput.h"

#include "grid/CGridCtrl.h"
#include "parties/CEmployeeDlg.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"
#include "ui/CWorkSubWindow.h"

namespace {

const char* const kEmployees = "SELECT name, employeeid FROM employee";

} // namespace

class TestEmployeeDlg : public QObject {
    Q_OBJECT

  private slots:
    void loadAndSaveRoundTrip();
    void namelessRowsFollowTheSameRules();
    void deleteRemovesTheClickedEmployeeOnly();
    void closeBoxKeepsTheGridAsItWasLeft();
};

void TestEmployeeDlg::loadAndSaveRoundTrip() {
    TestDatabase db;
    MessageScript messages;
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王小明', '007')");
    CEmployeeDlg dlg;
    ShowAtWorkingSize(dlg);
    QCOMPARE(dlg.windowTitle(), QString("员工管理"));
    CGridCtrl* grid = dlg.Grid();
    QCOMPARE(grid->GetColumnCount(), 3);
    QCOMPARE(grid->GetCellText(0, 1), QString("员工姓名"));
    QCOMPARE(grid->GetCellText(0, 2), QString("工号"));
    QCOMPARE(grid->GetCellText(1, 0), QString("1"));
    QCOMPARE(grid->GetCellText(1, 1), QString("王小明"));
    QVERIFY(grid->GetCellFormat(1, 2) & DT_CENTER);

    Click(dlg.SaveButton()); // unchanged
    QCOMPARE(messages.Last(), QString("已成功保存到数据库"));
    QCOMPARE(db.Rows(kEmployees), QStringList{"王小明|007"});

    Click(dlg.AddButton());
    ReplaceInCell(grid, 2, 1, "O'Hara 李"); // no staff number
    ReplaceInCell(grid, 1, 2, "008");
    Click(dlg.SaveButton());
    QCOMPARE(db.Rows(kEmployees), (QStringList{"王小明|008", "O'Hara 李|"}));
    QCOMPARE(db.Value("SELECT count(*) FROM employee WHERE employeeid = ''"), QString("1"));

    CEmployeeDlg reopened;

    ShowAtWorkingSize(reopened);
    QCOMPARE(reopened.Grid()->GetRowCount(), 3);
    QCOMPARE(reopened.Grid()->GetCellText(2, 1), QString("O'Hara 李"));
}

void TestEmployeeDlg::namelessRowsFollowTheSameRules() {
    TestDatabase db;
    MessageScript messages;
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王小明', '007')");
    CEmployeeDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();
    Click(dlg.AddButton());
    Click(dlg.AddButton());
    ReplaceInCell(grid, 3, 1, "赵六");
    Click(dlg.SaveButton()); // the blank row 2 is left out
    QCOMPARE(messages.Texts(), QStringList{"已成功保存到数据库"});
    QCOMPARE(db.Rows(kEmployees), (QStringList{"王小明|007", "赵六|"}));

    ReplaceInCell(grid, 1, 1, "");
    ReplaceInCell(grid, 3, 2, "010");
    Click(dlg.SaveButton());
    QCOMPARE(messages.Last(), QString("员工名称不能为空,请填写"));
    QCOMPARE(db.Rows(kEmployees), (QStringList{"王小明|007", "赵六|"}));
}

void TestEmployeeDlg::deleteRemovesTheClickedEmployeeOnly() {
    TestDatabase db;
    MessageScript messages;
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('张三', '001')");
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('张三', '002')");
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('李四', '003')");
    CEmployeeDlg dlg;
    ShowAtWorkingSize(dlg);
    CGridCtrl* grid = dlg.Grid();
    Click(dlg.DeleteButton()); // nothing clicked
    ClickCell(grid, 0, 1);     // header
    Click(dlg.DeleteButton());
    QCOMPARE(db.Value("SELECT count(*) FROM employee"), QString("3"));

    ClickCell(grid, 2, 1);
    Click(dlg.DeleteButton());
    QCOMPARE(db.Rows(kEmployees), (QStringList{"张三|001", "李四|003"}));
    QCOMPARE(grid->GetRowCount(), 3);
    QCOMPARE(grid->GetCellText(2, 0), QString("2"));
    QCOMPARE(grid->GetCellText(2, 1), QString("李四"));
    QCOMPARE(messages.Count(), 0);
}

void TestEmployeeDlg::closeBoxKeepsTheGridAsItWasLeft() {
    TestDatabase db;
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王小明', '007')");
    auto* dlg = new CEmployeeDlg;
    QPointer<CEmployeeDlg> alive(dlg);
    CWorkSubWindow sub(dlg);
    sub.show();
    ReplaceInCell(dlg->Grid(), 1, 2, "099");
    sub.close();
    QVERIFY(alive);
    QVERIFY(!sub.isVisible());
    sub.show();
    QCOMPARE(dlg->Grid()->GetCellText(1, 2), QString("099"));
    QCOMPARE(db.Value("SELECT employeeid FROM employee"), QString("007"));
}

QTEST_MAIN(TestEmployeeDlg)
#include "tst_employeedlg.moc"
