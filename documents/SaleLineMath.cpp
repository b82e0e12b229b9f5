#include "documents/SaleLineMath.h"

#include "text/Cents.h"
#include "text/DecimalValue.h"
#include "text/NumericText.h"

#include <cstdlib>

QStringList RemarkOptions() {
    return {QString(), QStringLiteral("含税(1.10)"), QStringLiteral("含税(1.08)"),
            QStringLiteral("含税(1.06)"), QStringLiteral("含税(1.03)")};
}

QStringList DiscountOptions(const QString& discount1, const QString& discount2,
                            const QString& discount3) {
    return {QStringLiteral("1.0"), discount1, discount2, discount3};
}

QString TaxFactorText(const QString& remark) {
    static const char* const factors[] = {"1.10", "1.08", "1.06", "1.03"};
    const QStringList options = RemarkOptions();
    for (int i = 1; i < options.size(); ++i) {
        if (remark == options[i])
            return QString::fromLatin1(factors[i - 1]);
    }
    return QStringLiteral("1.0");
}

double TaxFactor(const QString& remark) {
    return TextToFloat(TaxFactorText(remark));
}

SaleOutLine RecomputeSaleOutLine(int editedCol, const QString& basePrice, SaleOutLine line) {
    const double b = TextToFloat(basePrice);
    if (editedCol == 7 && !basePrice.isEmpty()) {
        line.price = RoundedProduct({line.discount, basePrice}, 4);
        line.untaxedPrice = line.price;
        line.remark.clear();
    } else if (editedCol == 10) {
        if (line.untaxedPrice.isEmpty())
            line.untaxedPrice = line.price;
        if (!line.untaxedPrice.isEmpty())
            line.price = RoundedProduct({line.untaxedPrice, TaxFactorText(line.remark)}, 4);
    } else if (editedCol == 5) {
        if (!basePrice.isEmpty() && b != 0.0 && !line.price.isEmpty())
            line.discount = RoundText(TextToFloat(line.price) / b, 2);
        line.untaxedPrice = line.price;
        line.remark.clear();
    }
    line.amount = ImportLineAmount(line.quantity, line.price);
    return line;
}

QString ReturnLineAmount(const QString& quantity, const QString& price, const QString& discount,
                         const QString& remark) {
    if (quantity.isEmpty() || price.isEmpty())
        return QString();
    return RoundedProduct({quantity, price, discount, TaxFactorText(remark)}, 2);
}

QString ImportLineAmount(const QString& quantity, const QString& price) {
    if (quantity.isEmpty() || price.isEmpty())
        return QString();
    return RoundedProduct({quantity, price}, 2);
}

QString SumAmounts(const QStringList& amounts) {
    return CentsText(SumCents(amounts));
}

QString NumberColumnText(const QString& amount) {
    return QString::asprintf("%f", std::atof(amount.toUtf8().constData()));
}

QString WithoutNegativeZero(const QString& text) {
    if (text.startsWith(u'-') && IsPlainDecimal(text) && TextToFloat(text) == 0.0)
        return text.mid(1);
    return text;
}
