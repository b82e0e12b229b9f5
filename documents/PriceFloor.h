#pragma once

#include <QString>

struct ProductFacts;

// Whether a sales line goes below what the catalogue allows for its product: a unit price under
// the product's price, or a discount under the lowest of the product's own discounts (none set:
// no discount below 1). A price or discount that is no number is left to the other checks.
bool BelowCatalogue(const QString& price, const QString& discount, const ProductFacts& product);
