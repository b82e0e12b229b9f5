#include "documents/SaleLineMath.h"

#include "documents/NumericText.h"

#include <cstdlib>

QStringList RemarkOptions() {
    return {QString(), QStringLiteral("含税(1.10)"), QStringLiteral("含税(1.08)"),
            QStringLiteral("含税(1.06)"), QStringLiteral("含税(1.03)")};
}

QStringList DiscountOptions(const QString& discount1, const QString& discount2,
                            const QString& discount3) {
    return {QStringLiteral("1.0"), discount1, discount2, discount3};
}

float TaxFactor(const QString& remark) {
    static const float factors[] = {1.10f, 1.08f, 1.06f, 1.03f};
    const QStringList options = RemarkOptions();
    for (int i = 1; i < options.size(); ++i) {
        if (remark == options[i])
            return factors[i - 1];
    }
    return 1.0f;
}

SaleOutLine RecomputeSaleOutLine(int editedCol, const QString& basePrice, SaleOutLine line) {
    if (basePrice.isEmpty() || line.quantity.isEmpty())
        return line;
    const float b = TextToFloat(basePrice);
    float p = TextToFloat(line.price);
    const float q = TextToFloat(line.quantity);
    const float d = TextToFloat(line.discount);
    if (editedCol == 7) {
        p = d * b;
        line.price = RoundText(p, 4);
        line.remark.clear();
    } else if (editedCol == 10) {
        p = TaxFactor(line.remark) * p;
        line.price = RoundText(p, 4);
    } else if (editedCol == 5) {
        if (b != 0.0f)
            line.discount = RoundText(p / b, 2);
        line.remark.clear();
    }
    const float amount = q * p;
    line.amount = RoundText(amount, 2);
    return line;
}

QString ReturnLineAmount(const QString& quantity, const QString& price, const QString& discount,
                         const QString& remark) {
    if (quantity.isEmpty() || price.isEmpty())
        return QString();
    const double amount = double(TextToFloat(quantity)) * double(TextToFloat(price)) *
                          double(TextToFloat(discount)) * double(TaxFactor(remark));
    return RoundText(static_cast<float>(amount), 2);
}

QString ImportLineAmount(const QString& quantity, const QString& price) {
    if (quantity.isEmpty() || price.isEmpty())
        return QString();
    const float amount = TextToFloat(quantity) * TextToFloat(price);
    return RoundText(amount, 2);
}

QString SumAmounts(const QStringList& amounts) {
    float sum = 0.0f;
    for (const QString& amount : amounts)
        sum += TextToFloat(amount);
    return RoundText(sum, 2);
}

QString StockAfter(const QString& total, float delta) {
    const float value = TextToFloat(total) + delta;
    return QString::asprintf("%.2f", double(value));
}

QString NumberColumnText(const QString& amount) {
    const float value = static_cast<float>(std::atof(amount.toUtf8().constData()));
    return QString::asprintf("%f", double(value));
}
