#pragma once

#include <QDialog>
#include <optional>

#include "db/OperatorSession.h"

class QLineEdit;
class QPushButton;

// Asks for 操作员 and 密码. To sign in (start-up, 切换操作员): accepted once the name and
// password are right, with the operator in Result(). For 店长授权 (a permission given): the
// person must also hold that permission; nobody is signed in by it.
class CSignInDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CSignInDlg(QWidget* parent = nullptr,
                        std::optional<Permission> authorizing = std::nullopt);

    const SignedInOperator& Result() const { return m_result; }
    QLineEdit* NameEdit() const { return m_pName; }
    QLineEdit* PasswordEdit() const { return m_pPassword; }
    QPushButton* OkButton() const { return m_pOk; }

  private:
    void OnOk();

    std::optional<Permission> m_authorizing;
    SignedInOperator m_result;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pPassword = nullptr;
    QPushButton* m_pOk = nullptr;
};
