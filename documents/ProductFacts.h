#pragma once

#include <QString>

// What a document line takes from a product's property row.
struct ProductFacts {
    QString name;
    QString shortName;
    QString spec;
    QString price;
    QString discount1;
    QString discount2;
    QString discount3;
    QString total; // the stock
};

// The property row of a product code; false when there is none. Raises CDbException on a
// database error.
bool ReadProduct(const QString& code, ProductFacts* product);

// Why the product cannot go into a document line (a price, discount or stock that is not a
// plain number, or beyond its limits), or the empty text.
QString ProductFactsProblem(const ProductFacts& product);
