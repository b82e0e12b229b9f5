#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The one place where the program changes a product's stock (property.total): document saves,
// line deletes and document deletes all hand their moves to MoveStock inside the transaction of
// the user's action. Stock moves in hundredths and is stored with two decimals, or with the
// decimals the stored figure already had (an older file's 98.505 less 1 is 97.505).

// A change of one product's stock, in hundredths (+250 adds 2.50). code is the product's code;
// empty when the product a stored line was recorded against no longer exists.
struct StockMove {
    QString code;
    qint64 cents = 0;
    QString line; // the document line it comes from, for the user: "第2行的商品<五金-螺丝>"
};

// The moves summed per product in the order the products first appear; products whose moves
// cancel out are left out. Moves without a product are summed per line.
QVector<StockMove> MergeStockMoves(const QVector<StockMove>& moves);

// Applies the moves. First reads every product involved; when a stock figure is not a plain
// number (it would be overwritten with a wrong figure) or would leave the limits of a stock,
// nothing is written and the result is the message for the user, naming the product. Otherwise
// every total is rewritten and the result is empty. A move whose product no longer exists
// (no code, or no property row) moves nothing: its line goes to unmoved. Raises CDbException on
// a database error.
QString MoveStock(const QVector<StockMove>& moves, QStringList* unmoved = nullptr);

// Sets a product's stock to a counted figure (a posted stock count), in hundredths. The caller
// has locked the product (LockProducts) and read its stock under the lock. Raises CDbException.
void SetCountedStock(const QString& code, qint64 cents);

// The notice for the lines whose stock could not move, or the empty text.
QString UnmovedStockNotice(const QStringList& unmoved);
