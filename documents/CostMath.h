#pragma once

#include <QString>
#include <optional>

// The moving-average cost of a product, without the database. A product's movements are
// walked in the order of its documents: a stock-in with a quantity adds its amount to the
// stock on hand, valued at the average so far (stock below zero counts as none); every other
// movement (sales, returns, a stock-in that takes goods out) moves the quantity only.
struct CostState {
    double qty = 0;                // the quantity moved so far
    std::optional<double> average; // none until the first stock-in: the cost is unknown
};

CostState AfterMovement(const CostState& before, bool stockIn, double qty, double amount);

// A money figure rounded to the cent, halves away from zero.
double RoundMoney(double amount);

// The value of a stored quantity or amount: "-" at most in front, digits, at most one ".",
// and at least one digit. False for anything else (it then takes no part in the costs).
bool PlainNumber(const QString& text, double* value);
