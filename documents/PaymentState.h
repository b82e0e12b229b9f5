#pragma once

#include <QString>

// The payment state of a sales document that the amounts say: 结清 when the amount received
// equals the amount due, 未结 when nothing was received, 欠款 for an amount between. Empty when
// the receipt is no number, above the amount due or below 0: the clerk's state then stands.
QString PaymentStateForAmounts(const QString& receivable, const QString& receipt);

// The receipt to show when the clerk chooses a state: the amount due for 结清, 0 for 未结, and
// for 欠款 what was typed (nothing typed is not erased into something either).
QString ReceiptForChosenState(const QString& state, const QString& receivable,
                              const QString& typed);
