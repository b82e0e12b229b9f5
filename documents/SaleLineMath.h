#pragma once

#include <QString>
#include <QStringList>

// Line arithmetic of the sales documents. Every value is text as the grid shows it; the
// computations run in single precision through TextToFloat and RoundText.

// The remark drop list: the empty text and the four tax options.
QStringList RemarkOptions();
// The discount drop list of a product: "1.0" and the product's three discounts.
QStringList DiscountOptions(const QString& discount1, const QString& discount2,
                            const QString& discount3);
// The tax factor of a remark: 1.10, 1.08, 1.06 or 1.03 for the tax options, 1.0 otherwise.
float TaxFactor(const QString& remark);

// The texts of a sales-out line that an edit can rewrite.
struct SaleOutLine {
    QString price;
    QString quantity;
    QString discount;
    QString remark;
    QString amount;
};

// A sales-out line after the edit of column editedCol (5 price, 6 quantity, 7 discount,
// 10 remark) against the product's base price text. Unchanged unless the base price and the
// quantity are both given. A base price of 0 leaves the discount as it was after a price edit.
SaleOutLine RecomputeSaleOutLine(int editedCol, const QString& basePrice, SaleOutLine line);

// The amount of a sales-return line: quantity x price x discount x tax factor, or the empty
// text when the price or the quantity is empty (the amount then stays as it is).
QString ReturnLineAmount(const QString& quantity, const QString& price, const QString& discount,
                         const QString& remark);

// The amount of an imported line: quantity x price, empty when either is empty.
QString ImportLineAmount(const QString& quantity, const QString& price);

// The single-precision sum of the amounts, with 2 decimals.
QString SumAmounts(const QStringList& amounts);

// A stock total after adding delta, as it is stored ("%.2f").
QString StockAfter(const QString& total, float delta);

// The number copy of an amount text for freceivable and freceipt: the decimal value narrowed to
// single precision, "%f" (123.45 gives "123.449997").
QString NumberColumnText(const QString& amount);
