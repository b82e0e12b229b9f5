#pragma once

#include <QString>

// The header that every stored line row repeats. A stock-in keeps the party (its supplier), the
// delivery date, the amount due (本单金额) and the state; the sales forms keep all of it.
struct DocumentHeader {
    QString oddnum;
    QString party; // the customer, or the supplier of a stock-in
    QString mydate;
    QString due; // 应收 / 应退 / 本单金额
    QString receipt;
    QString state;
    QString employeeName;
    QString employeeId;
};

// One line of the table as it is stored; a form without discounts, packages or remarks leaves
// those empty.
struct DocumentLine {
    QString name;
    QString shortName;
    QString code;
    QString spec;
    QString price;
    QString count;
    QString discount;
    QString amount;
    QString pcs;
    QString remark;
};
