#include "documents/PriceFloor.h"

#include <QStringList>
#include <algorithm>

#include "documents/CostMath.h"
#include "documents/ProductFacts.h"

namespace {

// Prices carry at most four decimals: anything closer is the same price.
constexpr double kSame = 0.00005;

bool Number(const QString& text, double* value) {
    return PlainNumber(text.trimmed(), value);
}

// The lowest discount the product offers itself.
double LowestDiscount(const ProductFacts& product) {
    double lowest = 1;
    for (const QString& text : {product.discount1, product.discount2, product.discount3}) {
        double discount = 0;
        if (Number(text, &discount) && discount > 0)
            lowest = std::min(lowest, discount);
    }
    return lowest;
}

} // namespace

bool BelowCatalogue(const QString& price, const QString& discount, const ProductFacts& product) {
    double listed = 0;
    double asked = 0;
    if (Number(product.price, &listed) && Number(price, &asked) && asked < listed - kSame)
        return true;
    double given = 1;
    if (!discount.trimmed().isEmpty() && !Number(discount, &given))
        return false;
    return given < LowestDiscount(product) - kSame;
}
