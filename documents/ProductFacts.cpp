#include "documents/ProductFacts.h"

#include "db/CRecordset.h"
#include "documents/LineChecks.h"

bool ReadProduct(const QString& code, ProductFacts* product) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT name,shortname,spec,price,discount1,discount2,discount3,total "
                           "FROM property WHERE code=?"),
            {code});
    if (rs.IsEOF())
        return false;
    *product = ProductFacts{rs.GetCollect("name"),      rs.GetCollect("shortname"),
                            rs.GetCollect("spec"),      rs.GetCollect("price"),
                            rs.GetCollect("discount1"), rs.GetCollect("discount2"),
                            rs.GetCollect("discount3"), rs.GetCollect("total")};
    rs.Close();
    return true;
}

QString ProductFactsProblem(const ProductFacts& product) {
    return ProductProblem(product.name, product.price, product.discount1, product.discount2,
                          product.discount3, product.total);
}
