#include "parties/CEmployeeDlg.h"

namespace {

TableGridSetup EmployeeSetup() {
    TableGridSetup setup;
    setup.noun = QStringLiteral("员工");
    setup.selectSql = QStringLiteral("SELECT * FROM employee");
    setup.deleteFormat = "select * from employee where name=?";
    setup.fields = {QStringLiteral("name"), QStringLiteral("employeeid")};
    setup.headers = {QStringLiteral("序号"), QStringLiteral("员工姓名"), QStringLiteral("工号")};
    setup.widths = {50, 200, 80};
    setup.centredLoadedColumns = 3;
    setup.namelessMessage = QStringLiteral("员工名称不能为空,请填写");
    setup.names = {{0, QStringLiteral("员工姓名"), true}, {1, QStringLiteral("工号"), false}};
    setup.noteBelowButtons = true;
    setup.width = 380;
    return setup;
}

} // namespace

CEmployeeDlg::CEmployeeDlg(QWidget* parent)
    : CTableGridDlg(QStringLiteral("员工管理"), EmployeeSetup(), parent) {}
