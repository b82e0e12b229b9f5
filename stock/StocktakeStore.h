#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

#include "stock/StocktakeMath.h"

// The stock counts in the database (harbor_stocktake, harbor_stocktake_line): the products
// a count takes in and the posting that corrects their stock. Raise CDbException on a
// database error.

// What a count may take in: the whole catalogue (empty prefix) or a class of the first two
// levels, whose products' codes begin with its code.
struct CountScope {
    QString prefix;
    QString label; // "全部商品", "五金", "五金-螺丝"
};
QVector<CountScope> ReadCountScopes();

// The products whose codes begin with the prefix, in code order, with their stock and their
// moving-average cost as they stand; nothing counted yet.
QVector<StocktakeItem> ReadStocktakeItems(const QString& prefix);

// A product whose book stock is not the one the count started from.
struct BookChange {
    QString code;
    QString name;
    QString before; // the book stock the count shows
    QString now;    // the book stock stored now
};

// Why a count was not posted; nothing of it was written. changed lists the products whose
// stock moved since the count read it: their counts must be looked at again.
struct StocktakeRefusal {
    QString message;
    QVector<BookChange> changed;
};

// Posts a count inside the caller's transaction: locks the counted products, and when each
// still exists and still has the book stock the count read, sets its stock to the counted
// figure, records the correction as a count document of its own number and its movements in
// the cost ledger; returns the number. Products without a counted figure are left alone.
// Throws StocktakeRefusal (before anything is written) for a product deleted meanwhile, a
// stock that is no number, or book stocks that changed since the count started.
QString PostStocktake(const QVector<StocktakeItem>& items, const QString& scope,
                      const QDateTime& startedAt);
