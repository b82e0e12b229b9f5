#pragma once

#include <QDate>
#include <QString>

// One settlement of a sales document entered in a query window.
struct Settlement {
    QString state;
    QString receipt;
    QDate settledOn;
    QString operatorName;
};

// Keeps a settlement of the document, beside the state and amount its rows were given.
// Runs in the caller's transaction.
void RecordSettlement(const QString& table, const QString& oddnum, const Settlement& settlement);

// The document's last settlement; settledOn is null when none was entered.
Settlement LastSettlement(const QString& table, const QString& oddnum);

// The words the detail shows for a settlement ("结算于 2026-12-08 实收 120.50"), empty for none.
QString SettlementText(const Settlement& settlement);
