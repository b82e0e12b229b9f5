#pragma once

#include <QString>
#include <QStringList>

// Money, quantities and stock to two decimals, held as whole hundredths so that sums and
// differences are exact: a document's amount due is the sum of its line amounts to the cent,
// and a stock figure moves by exactly the quantities of the lines.

// The hundredths of a plain decimal text; a text with more decimals is rounded half up on its
// exact digits ("1.005" is 101). The empty text is 0. False for text that is not a plain decimal
// number or whose value is beyond 10^13 in magnitude.
bool TextToCents(const QString& text, qint64* cents);
// The hundredths of a text as TextToCents reads them, 0 when it cannot read them.
qint64 CentsOf(const QString& text);
// Hundredths as text with two decimals: 10150 gives "101.50", -5 gives "-0.05".
QString CentsText(qint64 cents);
// The sum of the texts, read as TextToCents reads them (text that is no number counts 0).
qint64 SumCents(const QStringList& texts);
