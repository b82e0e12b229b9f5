#pragma once

#include <QList>
#include <QString>

// What a role may do beyond selling, returning and taking stock in at the listed prices.
enum class Permission {
    DeleteDocument,  // delete a saved document, its stock kept
    DeleteWithStock, // delete a saved document and move its stock back
    ChangeDocument,  // change a saved document
    Settle,          // settle debts or mark invoices in the query windows
    BelowPrice,      // sell below the product's price or below the discount limit
    Catalogue,       // change the catalogue and prices
    StockCount,      // post a stock count that corrects the stock
    PurchasePrices,  // see purchase prices and profit
    Accounts,        // run 帐目统计
    Parties,         // manage customers, suppliers and employees
    Backup,          // back up and restore
    Network,         // network settings
    Operators,       // operators and roles
};

// Every permission, in the order the operator window lists them.
const QList<Permission>& AllPermissions();
// The key stored in harbor_role_permission.
QString PermissionKey(Permission permission);
// The name the user sees.
QString PermissionLabel(Permission permission);
// False when the key is none of ours.
bool PermissionFromKey(const QString& key, Permission* permission);

// The three roles a shop starts with.
inline const char* const kOwnerRole = "店主";
inline const char* const kManagerRole = "店长";
inline const char* const kClerkRole = "收银员";
QStringList RoleNames();
