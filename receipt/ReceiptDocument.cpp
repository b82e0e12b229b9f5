#include "receipt/ReceiptDocument.h"

#include "text/Cents.h"

QString ReceiptDocument::Change() const {
    qint64 due = 0;
    qint64 received = 0;
    if (!TextToCents(receivable, &due) || !TextToCents(receipt, &received))
        return CentsText(0);
    return CentsText(qMax<qint64>(0, received - due));
}

QString ReceiptDocument::DiscountText(const QString& discount) {
    qint64 cents = 0;
    // A factor of 1 (or nothing typed) is the full price.
    if (discount.trimmed().isEmpty() || !TextToCents(discount, &cents) || cents == 100 ||
        cents == 0)
        return QString();
    return discount.trimmed();
}
