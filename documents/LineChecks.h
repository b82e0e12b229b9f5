#pragma once

#include <QString>

// The checks of the numbers on a document line, shared by the cells (as the user types) and
// the saves (every line again). Each returns the message for the user, naming the field, or
// the empty text when the number can be taken. The empty text is left to the caller.

// A quantity: a plain decimal number within the limits of a quantity, above zero, with at most
// two decimals (stock is kept to the hundredth). saleOut adds that returns have their own
// document.
QString QuantityProblem(const QString& field, const QString& text, bool saleOut = false);
// A unit price: a plain decimal number from 0 to the price limit.
QString PriceProblem(const QString& field, const QString& text);
// A line amount or a document amount: at most the largest amount of a document, in whole
// hundredths.
QString AmountProblem(const QString& field, const QString& text);

// A product's own figures as the catalogue keeps them, checked before the product goes into a
// document line: the price and discounts a line takes from it, and its stock, which the save
// will rewrite. Empty texts pass.
QString ProductProblem(const QString& name, const QString& price, const QString& discount1,
                       const QString& discount2, const QString& discount3, const QString& stock);
