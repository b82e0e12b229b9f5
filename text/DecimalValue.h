#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A decimal number held exactly, as the digits of its text say: units / 10^scale. Money,
// quantities and stock are rounded on these digits, never on the nearest binary double, so
// 3 x 16.055 is 48.165 and rounds half up to 48.17 as any calculator does.
class DecimalValue {
  public:
    DecimalValue() = default;

    // The leading plain number of a text, read as TextToFloat reads it ("12kg" is 12, the
    // empty text 0), but digit by digit. None for a text with more than 30 significant digits.
    static std::optional<DecimalValue> Read(const QString& text);
    // Whole hundredths: 250 is 2.50.
    static DecimalValue FromCents(qint64 cents);

    int Scale() const { return m_scale; }
    bool IsNegative() const { return m_units < 0; }

    // None when the result would leave the range the class holds exactly.
    std::optional<DecimalValue> Times(const DecimalValue& other) const;
    std::optional<DecimalValue> Plus(const DecimalValue& other) const;
    // Rounded half away from zero to n decimals (n >= 0); a value with fewer decimals keeps
    // its value and takes n.
    DecimalValue Rounded(int n) const;
    // The value in hundredths, rounded half away from zero; none beyond 64 bits.
    std::optional<qint64> Cents() const;
    // The digits with exactly Scale() decimals ("-0.50", "97.505", "12").
    QString Text() const;

  private:
    DecimalValue(__int128 units, int scale) : m_units(units), m_scale(scale) {}
    std::optional<DecimalValue> WithScale(int scale) const;

    __int128 m_units = 0;
    int m_scale = 0;
};

// The product of decimal texts rounded half up on its exact value to n decimals (the quantity
// times the price, the discount and the tax factor of a line). Factors too long to multiply
// exactly fall back to double precision and RoundText.
QString RoundedProduct(const QStringList& factors, int n);

// The number of decimals a plain decimal text is written with ("2.500" has 3).
int WrittenDecimals(const QString& text);
