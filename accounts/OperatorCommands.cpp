#include "accounts/OperatorCommands.h"

#include "accounts/CAuditLogDlg.h"
#include "accounts/CIdleSignIn.h"
#include "accounts/COperatorDlg.h"
#include "accounts/CSignInDlg.h"
#include "accounts/PermissionCheck.h"
#include "db/CConnection.h"
#include "db/Db.h"
#include "db/OperatorSession.h"
#include "db/OperatorStore.h"
#include "ui/HarborMessageBox.h"

bool SignInAtStart(QWidget* parent) {
    OperatorSession::Instance().SignOut();
    if (!Db() || !Db()->IsOpen() || !AccountsEnabled(*Db()))
        return true;
    CSignInDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    OperatorSession::Instance().SignIn(dialog.Result());
    return true;
}

void WatchIdleOperator(QWidget* mainWindow) {
    new CIdleSignIn(mainWindow);
}

void SwitchOperator(QWidget* parent) {
    if (!Db() || !AccountsEnabled(*Db())) {
        HarborMessageBox(parent, QStringLiteral("本店还没有操作员。请先在“操作员管理”中添加店主。"),
                         MsgIcon::Information);
        return;
    }
    CSignInDlg dialog(parent);
    if (dialog.exec() == QDialog::Accepted)
        OperatorSession::Instance().SignIn(dialog.Result());
}

void ShowOperatorWindow(QWidget* parent) {
    if (!RequirePermission(parent, Permission::Operators))
        return;
    COperatorDlg dialog(parent);
    dialog.exec();
}

void ShowAuditLogWindow(QWidget* parent) {
    if (!RequirePermission(parent, Permission::Operators))
        return;
    CAuditLogDlg dialog(parent);
    dialog.exec();
}
