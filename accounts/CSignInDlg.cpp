#include "accounts/CSignInDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/Db.h"
#include "db/OperatorStore.h"
#include "ui/HarborMessageBox.h"

CSignInDlg::CSignInDlg(QWidget* parent, std::optional<Permission> authorizing)
    : QDialog(parent), m_authorizing(authorizing) {
    setWindowTitle(authorizing ? QStringLiteral("店长授权") : QStringLiteral("操作员登录"));
    auto* layout = new QVBoxLayout(this);
    if (authorizing)
        layout->addWidget(new QLabel(
            QStringLiteral("请有“%1”权限的人输入自己的操作员名称和密码,只用于这一次操作。")
                .arg(PermissionLabel(*authorizing)),
            this));
    auto* form = new QFormLayout;
    m_pName = new QLineEdit(this);
    m_pName->setMaxLength(kMaxOperatorName * 4);
    m_pPassword = new QLineEdit(this);
    m_pPassword->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("操作员"), m_pName);
    form->addRow(QStringLiteral("密码"), m_pPassword);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    m_pOk = buttons->addButton(authorizing ? QStringLiteral("授权") : QStringLiteral("登录"),
                               QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(m_pOk, &QPushButton::clicked, this, &CSignInDlg::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CSignInDlg::OnOk() {
    const QString what = m_authorizing ? QStringLiteral("店长授权") : QStringLiteral("登录");
    SignInOutcome outcome;
    try {
        outcome = CheckOperator(*Db(), m_pName->text(), m_pPassword->text(), what);
    } catch (const CDbException& error) {
        HarborMessageBox(this,
                         QStringLiteral("%1失败。\n\n数据库信息: %2").arg(what, error.Message()),
                         MsgIcon::Stop);
        return;
    }
    m_pPassword->clear();
    if (outcome.result == SignInResult::Locked) {
        HarborMessageBox(this,
                         QStringLiteral("密码连续输错 %1 次,这个操作员已被锁定,请 %2 秒后再试。")
                             .arg(kMaxFailures)
                             .arg(kLockSeconds),
                         MsgIcon::Stop, MsgButtons::Ok, what);
        return;
    }
    if (outcome.result != SignInResult::Ok) {
        HarborMessageBox(this, QStringLiteral("操作员或密码不对。"), MsgIcon::Stop, MsgButtons::Ok,
                         what);
        return;
    }
    if (m_authorizing && !outcome.op.permissions.contains(PermissionKey(*m_authorizing))) {
        HarborMessageBox(this,
                         QStringLiteral("%1 也没有“%2”的权限。")
                             .arg(outcome.op.name, PermissionLabel(*m_authorizing)),
                         MsgIcon::Stop, MsgButtons::Ok, what);
        return;
    }
    m_result = outcome.op;
    accept();
}
