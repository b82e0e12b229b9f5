#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// 操作员管理: the operators (add, new password, role, remove) and what each role may do. The
// first operator added is the owner's; from then on the program asks everyone to sign in.
class COperatorDlg : public QDialog {
    Q_OBJECT
  public:
    explicit COperatorDlg(QWidget* parent = nullptr);

    QTableWidget* OperatorTable() const { return m_pOperators; }
    QTableWidget* PermissionTable() const { return m_pPermissions; }
    QLineEdit* NameEdit() const { return m_pName; }
    QLineEdit* PasswordEdit() const { return m_pPassword; }
    QLineEdit* EmployeeEdit() const { return m_pEmployee; }
    QComboBox* RoleBox() const { return m_pRole; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* PasswordButton() const { return m_pSetPassword; }
    QPushButton* RoleButton() const { return m_pSetRole; }
    QPushButton* RemoveButton() const { return m_pRemove; }
    QPushButton* SavePermissionsButton() const { return m_pSavePermissions; }
    QSpinBox* IdleBox() const { return m_pIdle; }
    QPushButton* SaveIdleButton() const { return m_pSaveIdle; }

  private:
    void Reload();
    void OnAdd();
    void OnSetPassword();
    void OnSetRole();
    void OnRemove();
    void OnSavePermissions();
    void OnOperatorPicked();
    void OnSaveIdle();

    QTableWidget* m_pOperators = nullptr;
    QTableWidget* m_pPermissions = nullptr;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pPassword = nullptr;
    QLineEdit* m_pEmployee = nullptr;
    QComboBox* m_pRole = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pSetPassword = nullptr;
    QPushButton* m_pSetRole = nullptr;
    QPushButton* m_pRemove = nullptr;
    QPushButton* m_pSavePermissions = nullptr;
    QSpinBox* m_pIdle = nullptr;
    QPushButton* m_pSaveIdle = nullptr;
};
