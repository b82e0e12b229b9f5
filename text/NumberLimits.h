#pragma once

#include <QString>

// The numbers a shop can live with. Every number a user types or scans (a cell, a box, the
// property row, a scanner text) is checked against the limits of its kind before it is used,
// so a barcode scanned into 数量 or a row of nines never becomes an amount or a stock figure.
enum class NumberKind {
    Quantity, // a line's quantity: |x| <= 9,999,999.99
    Stock,    // a product's stock: |x| <= 9,999,999.99
    Price,    // a unit price: 0 <= x <= 99,999,999.99
    Discount, // a discount factor: 0 <= x <= 1
    Amount,   // an amount of money (received, refunded, paid): 0 <= x <= kMaxAmount
};

inline constexpr double kMaxQuantity = 9999999.99;
inline constexpr double kMaxPrice = 99999999.99;
// The largest amount a document may reach; cents stay exact in double precision far beyond.
inline constexpr double kMaxAmount = 99999999999.99;

struct NumberRange {
    double low;
    double high;
};
NumberRange RangeOf(NumberKind kind);

// Empty when the text is a plain decimal number within the range of its kind, otherwise the
// message for the user, naming the field: "数量\"12x\"不是数字,请改正",
// "数量不能超过9999999.99,请改正". The empty text is left to the caller (often allowed).
QString NumberProblem(NumberKind kind, const QString& field, const QString& text);

// NumberProblem for a number the user types, scans or imports: quantities, stock and amounts
// of money are kept in whole hundredths, so a third decimal is refused as well:
// "实收最多两位小数,请改正". Stored figures with more decimals are still read (see MoveStock).
QString TypedNumberProblem(NumberKind kind, const QString& field, const QString& text);
