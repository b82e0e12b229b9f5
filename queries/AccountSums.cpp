#include "queries/AccountSums.h"

#include <QDate>
#include <QVariant>

#include "db/CSqlReader.h"
#include "db/SqlText.h"
#include "documents/CostMath.h"
#include "text/Cents.h"

namespace {

// The range as the two values of "oddnum >= ? AND oddnum < ?"; no upper end reads as a text
// above every number.
QVariantList Bounds(const TextRange& numbers) {
    return {numbers.low, numbers.high.isNull() ? QString(QChar(0xFFFD)) : numbers.high};
}

// A sum of whole hundredths as money; a NULL sum (no documents) is 0.
double FromCents(const QVariant& cents) {
    return cents.toDouble() / 100;
}

// Two sums of distinct document headers, each document counted in its whole cents.
QPair<double, double> HeaderSums(const QString& table, const QString& first, const QString& second,
                                 const TextRange& numbers) {
    CSqlReader reader(QStringLiteral("SELECT %5, %6 FROM (SELECT DISTINCT oddnum,%2%4 "
                                     "FROM %1 WHERE oddnum >= ? AND oddnum < ?)")
                          .arg(table, first,
                               second.isEmpty() ? QString() : QStringLiteral(",") + second,
                               CentsSum(first), CentsSum(second.isEmpty() ? first : second)),
                      Bounds(numbers));
    if (!reader.Next())
        return {0, 0};
    return {FromCents(reader.Value(0)), FromCents(reader.Value(1))};
}

void ReadSalesCost(const TextRange& numbers, AccountFigures* figures) {
    CSqlReader reader(QStringLiteral("SELECT doctable, SUM(cost), COUNT(*) - COUNT(cost) FROM "
                                     "cost_move WHERE oddnum >= ? AND oddnum < ? AND doctable IN "
                                     "('saleout', 'salein') GROUP BY doctable"),
                      Bounds(numbers));
    while (reader.Next()) {
        const double cost = reader.Value(1).toDouble();
        figures->salesCost += reader.Text(0) == QLatin1String("saleout") ? cost : -cost;
        figures->unknownCostLines += reader.Value(2).toInt();
    }
}

// The stock counts' corrections at cost: never a sale nor a purchase.
void ReadCountValue(const TextRange& numbers, AccountFigures* figures) {
    CSqlReader reader(QStringLiteral("SELECT SUM(cost), COUNT(*) - COUNT(cost) FROM cost_move "
                                     "WHERE oddnum >= ? AND oddnum < ? AND doctable = 'count'"),
                      Bounds(numbers));
    if (!reader.Next())
        return;
    figures->countValue = RoundMoney(reader.Value(0).toDouble());
    figures->unknownCountLines = reader.Value(1).toInt();
}

// Each product's stock at the end of the range (its stock now less what the documents after
// the range moved) at the moving average after its last movement up to then.
void ReadStockValue(const TextRange& numbers, AccountFigures* figures) {
    const QVariant high = Bounds(numbers).at(1);
    CSqlReader reader(QStringLiteral("SELECT p.total, (SELECT SUM(l.qty) FROM cost_move l WHERE "
                                     "l.code = p.code AND l.oddnum >= ?), (SELECT m.avgafter FROM "
                                     "cost_move m WHERE m.code = p.code AND m.oddnum < ? ORDER BY "
                                     "m.seq DESC LIMIT 1) FROM property p"),
                      {high, high});
    double value = 0;
    while (reader.Next()) {
        double stock = 0;
        if (!PlainNumber(reader.Text(0), &stock))
            continue;
        stock -= reader.Value(1).toDouble();
        if (reader.Value(2).isNull()) {
            if (stock != 0)
                ++figures->unknownStockProducts;
            continue;
        }
        value += stock * reader.Value(2).toDouble();
    }
    figures->stockValue = RoundMoney(value);
}

// The sums of a column per month (the number's first six characters), signed.
void AddByMonth(const QString& sql, const TextRange& numbers, double sign,
                QVector<MonthFigures>* months, double MonthFigures::*field) {
    CSqlReader reader(sql, Bounds(numbers));
    while (reader.Next()) {
        const int month = reader.Text(0).mid(4, 2).toInt();
        if (month >= 1 && month <= 12)
            (*months)[month - 1].*field += sign * reader.Value(1).toDouble();
    }
}

} // namespace

QVector<MonthFigures> ReadYearMonths(const QString& year) {
    QVector<MonthFigures> months(12);
    const TextRange numbers = PrefixRange(year);
    const QString headers = QStringLiteral(
        "SELECT substr(oddnum, 1, 6) AS month, SUM(ROUND(freceivable*100-(-0.000001)))/100 AS due "
        "FROM (SELECT DISTINCT "
        "oddnum,freceivable FROM %1 WHERE oddnum >= ? AND oddnum < ?) GROUP BY substr(oddnum, 1, "
        "6)");
    AddByMonth(headers.arg(QStringLiteral("saleout")), numbers, 1, &months, &MonthFigures::sales);
    AddByMonth(headers.arg(QStringLiteral("salein")), numbers, -1, &months, &MonthFigures::sales);
    const QString costs =
        QStringLiteral("SELECT substr(oddnum, 1, 6) AS month, SUM(cost) AS cost FROM cost_move "
                       "WHERE oddnum >= ? AND oddnum < ? AND doctable = '%1' GROUP BY substr("
                       "oddnum, 1, 6)");
    AddByMonth(costs.arg(QStringLiteral("saleout")), numbers, 1, &months, &MonthFigures::cost);
    AddByMonth(costs.arg(QStringLiteral("salein")), numbers, -1, &months, &MonthFigures::cost);
    for (MonthFigures& month : months) {
        month.cost = RoundMoney(month.cost);
        month.sales = RoundMoney(month.sales);
        month.gross = RoundMoney(month.sales - month.cost);
    }
    return months;
}

TextRange DayRange(const QString& fromYyyyMmDd, const QString& toYyyyMmDd) {
    const QDate to = QDate::fromString(toYyyyMmDd, QStringLiteral("yyyyMMdd"));
    return {fromYyyyMmDd, to.addDays(1).toString(QStringLiteral("yyyyMMdd"))};
}

AccountFigures ReadAccountFigures(const TextRange& numbers) {
    AccountFigures figures;
    const auto sales = HeaderSums(QStringLiteral("saleout"), QStringLiteral("freceivable"),
                                  QStringLiteral("freceipt"), numbers);
    const auto returns = HeaderSums(QStringLiteral("salein"), QStringLiteral("freceivable"),
                                    QStringLiteral("freceipt"), numbers);
    const auto purchases =
        HeaderSums(QStringLiteral("entry"), QStringLiteral("fmoney"), QString(), numbers);
    figures.receivable = sales.first;
    figures.receipt = sales.second;
    figures.refundDue = returns.first;
    figures.refunded = returns.second;
    figures.purchase = purchases.first;
    figures.profit = RoundMoney(figures.receivable - figures.refundDue - figures.purchase);
    ReadSalesCost(numbers, &figures);
    figures.salesCost = RoundMoney(figures.salesCost);
    figures.grossProfit = RoundMoney(figures.receivable - figures.refundDue - figures.salesCost);
    ReadCountValue(numbers, &figures);
    ReadStockValue(numbers, &figures);
    return figures;
}

QVector<QPair<QString, double>> SummaryFigures(const AccountFigures& f) {
    return {{QStringLiteral("应收款"), f.receivable},   {QStringLiteral("实收款"), f.receipt},
            {QStringLiteral("应退款"), f.refundDue},    {QStringLiteral("实退款"), f.refunded},
            {QStringLiteral("进货款"), f.purchase},     {QStringLiteral("利润"), f.profit},
            {QStringLiteral("销售成本"), f.salesCost},  {QStringLiteral("毛利"), f.grossProfit},
            {QStringLiteral("库存金额"), f.stockValue}, {QStringLiteral("盘点差异"), f.countValue}};
}
