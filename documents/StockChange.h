#pragma once

#include <QString>
#include <QVector>

// The one place where the program changes a product's stock (property.total): document saves,
// line deletes and document deletes all hand their moves to MoveStock inside the transaction of
// the user's action. Stock moves in hundredths and is stored with two decimals, or with the
// decimals the stored figure already had (an older file's 98.505 less 1 is 97.505).

// A change of one product's stock, in hundredths (+250 adds 2.50).
struct StockMove {
    QString code;
    qint64 cents = 0;
};

// The moves summed per product in the order the products first appear; products whose moves
// cancel out are left out.
QVector<StockMove> MergeStockMoves(const QVector<StockMove>& moves);

// Applies the moves. First reads every product involved; when a stock figure is not a plain
// number (it would be overwritten with a wrong figure) or would leave the limits of a stock,
// nothing is written and the result is the message for the user, naming the product. Otherwise
// every total is rewritten and the result is empty. Products without a property row are
// skipped. Raises CDbException on a database error.
QString MoveStock(const QVector<StockMove>& moves);
