#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "documents/DocumentLine.h"

// The checks of a stock-in document before it is saved. Values are the texts the line table
// shows; amounts are summed exactly, as in the sales documents (SaleLineMath.h).

// Why the document cannot be saved, or the empty text. Supplier, payment state, at least one
// line, then on each line a price and a quantity, both plain numbers within their limits (the
// quantity above zero, with at most two decimals), and amounts within the largest amount of a
// document.
QString EntryRefusal(const QString& supplier, const QString& state,
                     const QVector<DocumentLine>& lines);
