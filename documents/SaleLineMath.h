#pragma once

#include <QString>
#include <QStringList>

// Line arithmetic of the sales documents. Every value is text as the grid shows it; products
// are computed on the exact decimal digits and rounded half up (RoundedProduct), sums in
// hundredths.

// The remark drop list: the empty text and the four tax options.
QStringList RemarkOptions();
// The discount drop list of a product: "1.0" and the product's three discounts.
QStringList DiscountOptions(const QString& discount1, const QString& discount2,
                            const QString& discount3);
// The tax factor of a remark: 1.10, 1.08, 1.06 or 1.03 for the tax options, 1.0 otherwise.
double TaxFactor(const QString& remark);
// The same factor as the text it is multiplied with ("1.10", "1.0").
QString TaxFactorText(const QString& remark);

// The texts of a sales-out line that an edit can rewrite. untaxedPrice is the price before a
// tax option was applied: a tax option always works from it, so the options replace each
// other instead of piling up.
struct SaleOutLine {
    QString price;
    QString quantity;
    QString discount;
    QString remark;
    QString amount;
    QString untaxedPrice;
};

// A sales-out line after the edit of column editedCol (5 price, 6 quantity, 7 discount,
// 10 remark) against the product's base price text:
// - a discount gives the price discount x base price and clears the tax remark;
// - a typed price gives the discount price / base price and clears the tax remark;
// - a tax option gives the price untaxed price x tax factor;
// - the amount is quantity x price, empty while either is empty.
// Without a base price a discount changes nothing and a typed price keeps the discount.
SaleOutLine RecomputeSaleOutLine(int editedCol, const QString& basePrice, SaleOutLine line);

// The amount of a sales-return line: quantity x price x discount x tax factor, or the empty
// text when the price or the quantity is empty.
QString ReturnLineAmount(const QString& quantity, const QString& price, const QString& discount,
                         const QString& remark);

// The amount of a line as quantity x price, empty when either is empty.
QString ImportLineAmount(const QString& quantity, const QString& price);

// The exact sum of the amounts, with 2 decimals.
QString SumAmounts(const QStringList& amounts);

// The number copy of an amount text for freceivable, freceipt and fmoney: its decimal value
// in double precision, "%f" (123.45 gives "123.450000").
QString NumberColumnText(const QString& amount);

// A typed number as it is kept: "-0" and "-0.00" are zero and lose their sign.
QString WithoutNegativeZero(const QString& text);
