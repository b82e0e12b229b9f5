#include "accounts/PermissionCheck.h"

#include "accounts/CSignInDlg.h"
#include "db/OperatorSession.h"
#include "ui/HarborMessageBox.h"

bool RequirePermission(QWidget* parent, Permission permission) {
    OperatorSession& session = OperatorSession::Instance();
    session.SetAuthorizer(QString());
    if (HasPermission(permission))
        return true;
    const int answer = HarborMessageBox(
        parent,
        QStringLiteral("操作员 %1 没有“%2”的权限。\n\n确定: 店长授权(由有这个权限的人输入自己的"
                       "密码)\n取消: 不做这个操作")
            .arg(session.Operator().name, PermissionLabel(permission)),
        MsgIcon::Stop, MsgButtons::OkCancel, QStringLiteral("权限不足"));
    if (answer != IDOK)
        return false;
    CSignInDlg authorize(parent, permission);
    if (authorize.exec() != QDialog::Accepted)
        return false;
    session.SetAuthorizer(authorize.Result().name);
    return true;
}
