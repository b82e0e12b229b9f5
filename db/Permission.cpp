#include "db/Permission.h"

#include <QStringList>

namespace {

struct PermissionName {
    Permission permission;
    const char* key;
    const char* label;
};

const PermissionName kNames[] = {
    {Permission::DeleteDocument, "delete_document", "删除单据"},
    {Permission::DeleteWithStock, "delete_stock", "删除单据并退回库存"},
    {Permission::ChangeDocument, "change_document", "修改已保存的单据"},
    {Permission::Settle, "settle", "结清欠款和开票"},
    {Permission::BelowPrice, "below_price", "低于售价或折扣下限销售"},
    {Permission::Catalogue, "catalogue", "修改商品资料和价格"},
    {Permission::StockCount, "stock_count", "盘点过账"},
    {Permission::PurchasePrices, "purchase_prices", "查看进价和利润"},
    {Permission::Accounts, "accounts", "帐目统计"},
    {Permission::Parties, "parties", "管理客户、供货商和员工"},
    {Permission::Backup, "backup", "备份和恢复数据库"},
    {Permission::Network, "network", "网络设置"},
    {Permission::Operators, "operators", "管理操作员和权限"},
};

const PermissionName& NameOf(Permission permission) {
    for (const PermissionName& name : kNames) {
        if (name.permission == permission)
            return name;
    }
    return kNames[0];
}

} // namespace

const QList<Permission>& AllPermissions() {
    static const QList<Permission> all = [] {
        QList<Permission> list;
        for (const PermissionName& name : kNames)
            list.append(name.permission);
        return list;
    }();
    return all;
}

QString PermissionKey(Permission permission) {
    return QString::fromLatin1(NameOf(permission).key);
}

QString PermissionLabel(Permission permission) {
    return QString::fromUtf8(NameOf(permission).label);
}

bool PermissionFromKey(const QString& key, Permission* permission) {
    for (const PermissionName& name : kNames) {
        if (key == QLatin1String(name.key)) {
            *permission = name.permission;
            return true;
        }
    }
    return false;
}

QStringList RoleNames() {
    return {QString::fromUtf8(kOwnerRole), QString::fromUtf8(kManagerRole),
            QString::fromUtf8(kClerkRole)};
}
