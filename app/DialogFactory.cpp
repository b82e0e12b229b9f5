#include "app/DialogFactory.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/CPlaceholderDlg.h"
#include "app/CommandIds.h"

namespace {

using Placement = CWorkDialog::Placement;
using CloseBox = CWorkDialog::CloseBox;

CWorkDialog* Placeholder(const char* title, Placement placement = Placement::CoverWorkArea,
                         CloseBox closeBox = CloseBox::Destroys) {
    return new CPlaceholderDlg(QString::fromUtf8(title), placement, closeBox);
}

}  // namespace

CWorkDialog* CreateWorkDialog(int command) {
    switch (command) {
    case ID_SALE_OUT_DLG:
        return Placeholder("销售出库");
    case ID_SALE_IN_DLG:
        return Placeholder("销售退货");
    case ID_SALEOUT_QUERY_DLG:
        return Placeholder("出库查询");
    case ID_SALEIN_QUERY_DLG:
        return Placeholder("退货查询");
    case ID_ENTRY_DLG:
        return Placeholder("采购入库");
    case ID_ENTRY_QUERY_DLG:
        return Placeholder("入库查询");
    case ID_INVENTORY_DLG:
        return Placeholder("库存盘点");
    case ID_ACCOUNT_DLG:
        return Placeholder("帐目统计", Placement::CoverWorkArea, CloseBox::Hides);
    case ID_CLASS_DLG:
        return Placeholder("商品编码");
    case ID_PRINT_CODE_BUTTON:
        return Placeholder("条码打印");
    case ID_SUPPLIER_DLG:
        return Placeholder("供货商管理", Placement::Column);
    case ID_CUSTOMER_BUTTON:
        return Placeholder("客户管理", Placement::Column);
    case ID_EMPLOYEE_BUTTON:
        return Placeholder("员工管理", Placement::Column, CloseBox::Hides);
    default:
        return nullptr;
    }
}

bool RunModalDialog(int command, QWidget* parent) {
    if (command != ID_COMPANYINFO_BUTTON)
        return false;
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("公司信息"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("“公司信息”功能即将提供。"), &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
    return true;
}
