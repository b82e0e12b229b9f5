#pragma once

#include <QString>
#include <QVector>

// One line of a receipt as the document stores it.
struct ReceiptLine {
    QString name;
    QString quantity;
    QString price;
    QString amount;
    QString discount; // empty or "1.0" when there is none
    QString remark;   // the tax option, empty when there is none
};

// Everything a receipt shows: the shop from 公司信息, the stored document and its lines.
struct ReceiptDocument {
    QString shopName;
    QString address;
    QString phone;
    QString title; // 销售小票 or 退货小票
    QString oddnum;
    QString dateTime;
    QString employee;
    QString customer;
    QString receivableLabel = QStringLiteral("应收");
    QString receiptLabel = QStringLiteral("实收");
    QString stateLabel = QStringLiteral("收款状态");
    QString receivable;
    QString receipt;
    QString state;
    bool givesChange = true; // a sale gives change; a return does not
    QVector<ReceiptLine> lines;

    // What is handed back: received minus due when more was received, else "0.00".
    QString Change() const;
    // The discount text a line shows, empty when the line has no discount.
    static QString DiscountText(const QString& discount);
};
