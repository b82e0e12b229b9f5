#pragma once

#include <QString>

// Amounts, prices and quantities are kept as text; the documents compute with them in double
// precision through these two helpers, so every screen and list shows the same digits.

// The value of a decimal text: an optional leading "-", then digits with at most one ".", read
// to the nearest double. The empty text is 0.
// Text that is not a plain decimal number reads as its leading plain number and ignores the rest:
// "12kg" is 12, "1.5.2" is 1.5; "abc", "+5", " 5", "５" (full-width) are 0. Check what the user
// typed with IsPlainDecimal to tell them instead. A number too large for a double reads as
// infinity.
double TextToFloat(const QString& text);

// Whether the text is a plain decimal number: an optional "-", at least one digit and at most
// one "." ("12", "-0.5", "3.", ".25"), nothing else (no blanks, no "+", no full-width digits), and
// finite in double precision. The empty text is not.
bool IsPlainDecimal(const QString& text);

// The value as text with n decimals, 0 <= n <= 5. The value is formatted with n + 2 decimals and
// rounded on its (n+1)-th decimal alone: below 5 down, above 5 up (away from zero), 5 half to
// even on the last kept decimal. So 2.345 gives "2.34", 2.355 "2.36", 1.006 "1.01", 1.004
// "1.00". With n = 0 a 5 always rounds down (the kept character is the point). Infinity and NaN
// come out as "inf", "-inf" and "nan".
QString RoundText(double value, int n);
