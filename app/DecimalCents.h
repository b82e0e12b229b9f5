#pragma once

#include <QString>
#include <QtGlobal>

// Amounts and quantities as whole hundredths, so that sums and balances come out to the cent:
// the texts the tables hold ("12.50", "-3", "0.125") are read exactly, never through a float.

// The hundredths of a plain decimal text: an optional "-", digits with at most one "."; a third
// decimal and beyond round half away from zero ("0.125" is 13, "-0.125" is -13). False for
// anything else, the empty text included, and for values beyond ±10^15.
bool ParseCents(const QString& text, qint64* cents);
// The hundredths of a text, 0 when it is not a plain decimal (an empty cell).
qint64 CentsOr0(const QString& text);
// The text of an amount with two decimals: 1250 is "12.50", -5 is "-0.05".
QString CentsText(qint64 cents);
