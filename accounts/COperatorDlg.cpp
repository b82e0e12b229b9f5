#include "accounts/COperatorDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "db/Db.h"
#include "db/OperatorSession.h"
#include "db/OperatorStore.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

namespace {

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

COperatorDlg::COperatorDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("操作员管理"));
    m_pOperators = new QTableWidget(0, 4, this);
    m_pOperators->setHorizontalHeaderLabels({QStringLiteral("操作员"), QStringLiteral("角色"),
                                             QStringLiteral("工号"), QStringLiteral("状态")});
    m_pOperators->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pOperators->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pName = new QLineEdit(this);
    m_pPassword = new QLineEdit(this);
    m_pPassword->setEchoMode(QLineEdit::Password);
    m_pEmployee = new QLineEdit(this);
    m_pRole = new QComboBox(this);
    m_pRole->addItems(RoleNames());
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("操作员"), m_pName);
    form->addRow(QStringLiteral("密码"), m_pPassword);
    form->addRow(QStringLiteral("角色"), m_pRole);
    form->addRow(QStringLiteral("员工工号"), m_pEmployee);
    m_pAdd = new QPushButton(QStringLiteral("添加"), this);
    m_pSetPassword = new QPushButton(QStringLiteral("重设密码"), this);
    m_pSetRole = new QPushButton(QStringLiteral("修改角色"), this);
    m_pRemove = new QPushButton(QStringLiteral("删除"), this);
    auto* row = new QHBoxLayout;
    for (QPushButton* button : {m_pAdd, m_pSetPassword, m_pSetRole, m_pRemove})
        row->addWidget(button);
    const QStringList roles = RoleNames();
    m_pPermissions = new QTableWidget(int(AllPermissions().size()), int(roles.size()), this);
    m_pPermissions->setHorizontalHeaderLabels(roles);
    for (int i = 0; i < AllPermissions().size(); ++i)
        m_pPermissions->setVerticalHeaderItem(i,
                                              ReadOnlyItem(PermissionLabel(AllPermissions()[i])));
    m_pSavePermissions = new QPushButton(QStringLiteral("保存权限"), this);
    m_pIdle = new QSpinBox(this);
    m_pIdle->setRange(0, kMaxIdleMinutes);
    m_pIdle->setSuffix(QStringLiteral(" 分钟"));
    m_pIdle->setSpecialValueText(QStringLiteral("不重新登录"));
    m_pSaveIdle = new QPushButton(QStringLiteral("保存"), this);
    auto* idleRow = new QHBoxLayout;
    idleRow->addWidget(new QLabel(QStringLiteral("无人操作多久后重新登录:"), this));
    idleRow->addWidget(m_pIdle);
    idleRow->addWidget(m_pSaveIdle);
    idleRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pOperators);
    layout->addLayout(form);
    layout->addLayout(row);
    layout->addWidget(m_pPermissions);
    layout->addWidget(m_pSavePermissions);
    layout->addLayout(idleRow);
    connect(m_pAdd, &QPushButton::clicked, this, &COperatorDlg::OnAdd);
    connect(m_pSetPassword, &QPushButton::clicked, this, &COperatorDlg::OnSetPassword);
    connect(m_pSetRole, &QPushButton::clicked, this, &COperatorDlg::OnSetRole);
    connect(m_pRemove, &QPushButton::clicked, this, &COperatorDlg::OnRemove);
    connect(m_pSavePermissions, &QPushButton::clicked, this, &COperatorDlg::OnSavePermissions);
    connect(m_pSaveIdle, &QPushButton::clicked, this, &COperatorDlg::OnSaveIdle);
    connect(m_pOperators, &QTableWidget::itemSelectionChanged, this,
            &COperatorDlg::OnOperatorPicked);
    resize(640, 720);
    Reload();
}

void COperatorDlg::Reload() {
    RunDbRead(this, QStringLiteral("读取操作员"), [&] {
        const QList<OperatorRow> rows = Operators(*Db());
        m_pOperators->setRowCount(int(rows.size()));
        for (int i = 0; i < rows.size(); ++i) {
            m_pOperators->setItem(i, 0, ReadOnlyItem(rows[i].name));
            m_pOperators->setItem(i, 1, ReadOnlyItem(rows[i].role));
            m_pOperators->setItem(i, 2, ReadOnlyItem(rows[i].employeeId));
            m_pOperators->setItem(
                i, 3, ReadOnlyItem(rows[i].locked ? QStringLiteral("已锁定") : QString()));
        }
        const QStringList roles = RoleNames();
        for (int c = 0; c < roles.size(); ++c) {
            const QSet<QString> keys = RolePermissions(*Db(), roles[c]);
            for (int r = 0; r < AllPermissions().size(); ++r) {
                auto* item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
                item->setCheckState(keys.contains(PermissionKey(AllPermissions()[r]))
                                        ? Qt::Checked
                                        : Qt::Unchecked);
                m_pPermissions->setItem(r, c, item);
            }
        }
        m_pIdle->setValue(IdleMinutes(*Db()));
    });
}

void COperatorDlg::OnSaveIdle() {
    RunDbAction(this, QStringLiteral("修改重新登录时间"),
                [&] { SetIdleMinutes(*Db(), m_pIdle->value()); });
    Reload();
}

void COperatorDlg::OnOperatorPicked() {
    const int row = m_pOperators->currentRow();
    if (row < 0 || !m_pOperators->item(row, 0))
        return;
    m_pName->setText(m_pOperators->item(row, 0)->text());
    m_pRole->setCurrentText(m_pOperators->item(row, 1)->text());
    m_pEmployee->setText(m_pOperators->item(row, 2)->text());
}

void COperatorDlg::OnAdd() {
    CConnection& connection = *Db();
    const bool first = !AccountsEnabled(connection);
    const QString name = m_pName->text();
    const QString role = m_pRole->currentText();
    if (!RunDbAction(this, QStringLiteral("添加操作员"), [&] {
            AddOperator(connection, name, m_pPassword->text(), role, m_pEmployee->text().trimmed());
        }))
        return;
    m_pPassword->clear();
    if (first) {
        // The owner who turned the accounts on works on as that owner.
        OperatorSession::Instance().SignIn(
            {name, role, m_pEmployee->text().trimmed(), RolePermissions(connection, role)});
        HarborMessageBox(this,
                         QStringLiteral("已添加店主 %1。从现在起,每次启动本程序都要用操作员和密码"
                                        "登录。")
                             .arg(name),
                         MsgIcon::Information);
    }
    Reload();
}

void COperatorDlg::OnSetPassword() {
    const QString name = m_pName->text();
    if (RunDbAction(this, QStringLiteral("重设操作员密码"),
                    [&] { SetOperatorPassword(*Db(), name, m_pPassword->text()); }))
        m_pPassword->clear();
    Reload();
}

void COperatorDlg::OnSetRole() {
    const QString name = m_pName->text();
    RunDbAction(this, QStringLiteral("修改操作员角色"),
                [&] { SetOperatorRole(*Db(), name, m_pRole->currentText()); });
    Reload();
}

void COperatorDlg::OnRemove() {
    const QString name = m_pName->text();
    if (HarborMessageBox(this, QStringLiteral("删除操作员 %1?").arg(name), MsgIcon::Question,
                         MsgButtons::YesNo) != IDYES)
        return;
    RunDbAction(this, QStringLiteral("删除操作员"), [&] { RemoveOperator(*Db(), name); });
    Reload();
}

void COperatorDlg::OnSavePermissions() {
    const QStringList roles = RoleNames();
    RunDbAction(this, QStringLiteral("修改权限"), [&] {
        for (int c = 0; c < roles.size(); ++c) {
            QSet<QString> keys;
            for (int r = 0; r < AllPermissions().size(); ++r) {
                if (m_pPermissions->item(r, c)->checkState() == Qt::Checked)
                    keys.insert(PermissionKey(AllPermissions()[r]));
            }
            SetRolePermissions(*Db(), roles[c], keys);
        }
    });
    Reload();
}
