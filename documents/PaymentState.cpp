#include "documents/PaymentState.h"

#include "text/Cents.h"

namespace {

const QString kSettled = QStringLiteral("结清");
const QString kOpenAccount = QStringLiteral("未结");
const QString kDebt = QStringLiteral("欠款");

} // namespace

QString PaymentStateForAmounts(const QString& receivable, const QString& receipt) {
    qint64 due = 0;
    qint64 paid = 0;
    if (receipt.trimmed().isEmpty() || !TextToCents(receivable, &due) ||
        !TextToCents(receipt.trimmed(), &paid))
        return QString();
    if (paid < 0 || paid > due)
        return QString();
    if (paid == due)
        return kSettled;
    return paid == 0 ? kOpenAccount : kDebt;
}

QString ReceiptForChosenState(const QString& state, const QString& receivable,
                              const QString& typed) {
    if (state == kSettled)
        return receivable;
    if (state == kOpenAccount)
        return QStringLiteral("0");
    return typed;
}
