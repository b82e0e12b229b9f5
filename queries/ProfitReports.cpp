#include "queries/ProfitReports.h"

#include <QHash>
#include <QMap>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "db/CSqlReader.h"
#include "documents/CostMath.h"
#include "queries/AccountSums.h"
#include "text/Cents.h"

namespace {

// One group's sales: goods sold less returned, their amounts and their cost.
struct SalesTotal {
    QString key;
    QString name;
    double quantity = 0;
    double sales = 0;
    double cost = 0;
    int unknown = 0;    // lines without a known cost
    bool named = false; // the name is the first one found for the key
    double Gross() const { return sales - cost; }
    void Add(const SalesTotal& other) {
        quantity += other.quantity;
        sales += other.sales;
        cost += other.cost;
        unknown += other.unknown;
    }
};

bool KeyBefore(const SalesTotal& a, const SalesTotal& b) {
    return a.key < b.key;
}

// "%.2f" of the amount rounded to the cent, never "-0.00".
QString Money(double amount) {
    const double cents = std::round(RoundMoney(amount) * 100);
    if (std::fabs(cents) < 1e15)
        return CentsText(qint64(cents));
    return QString::asprintf("%.2f", RoundMoney(amount) + 0.0);
}

QVariantList Bounds(const ReportRequest& request) {
    const TextRange range = DayRange(request.from.toString(QStringLiteral("yyyyMMdd")),
                                     request.to.toString(QStringLiteral("yyyyMMdd")));
    return {range.low, range.high};
}

// The statement of the period's sales movements of one document table, summed per key.
// keySql picks the key from the movement m and, for a header key, the document d of the table.
SqlStatement SalesStatement(const ReportRequest& request, const QString& table,
                            const QString& keySql, bool byHeader) {
    const QString from =
        byHeader ? QStringLiteral("cost_move m JOIN (SELECT DISTINCT oddnum, %2 AS hk FROM %1 "
                                  "WHERE oddnum >= ? AND oddnum < ?) d ON d.oddnum = m.oddnum")
                       .arg(table, keySql)
                 : QStringLiteral("cost_move m");
    const QString key = byHeader ? QStringLiteral("d.hk") : keySql;
    return {QStringLiteral("SELECT %1, SUM(m.qty), SUM(m.amount), SUM(m.cost), "
                           "COUNT(*) - COUNT(m.cost) FROM %2 WHERE m.doctable = ? "
                           "AND m.oddnum >= ? AND m.oddnum < ? GROUP BY %1")
                .arg(key, from),
            (byHeader ? Bounds(request) : QVariantList()) + QVariantList{table} + Bounds(request)};
}

// The sales-out statement, then the sales-return one.
QList<SqlStatement> SalesStatements(const ReportRequest& request, const QString& keySql,
                                    bool byHeader) {
    return {SalesStatement(request, QStringLiteral("saleout"), keySql, byHeader),
            SalesStatement(request, QStringLiteral("salein"), keySql, byHeader)};
}

// The groups of a statement of SalesStatements in key order, one per key: a sales-out one
// (sign 1) or a sales-return one (-1). The engine's grouping usually gives them in order
// already; otherwise they are sorted here.
QList<SalesTotal> ReadSales(const SqlStatement& statement, double sign) {
    QList<SalesTotal> read;
    CSqlReader reader(statement);
    while (reader.Next()) {
        SalesTotal total;
        total.key = reader.Text(0);
        total.quantity = -reader.Value(1).toDouble();
        total.sales = sign * reader.Value(2).toDouble();
        total.cost = sign * reader.Value(3).toDouble();
        total.unknown = reader.Value(4).toInt();
        read.append(std::move(total));
    }
    if (!std::is_sorted(read.begin(), read.end(), KeyBefore))
        std::sort(read.begin(), read.end(), KeyBefore);
    // Keys the engine grouped apart but that read as the same text (NULL and empty text).
    const auto same = [](const SalesTotal& a, const SalesTotal& b) { return a.key == b.key; };
    if (std::adjacent_find(read.begin(), read.end(), same) == read.end())
        return read;
    QList<SalesTotal> once;
    for (SalesTotal& total : read) {
        if (!once.isEmpty() && once.last().key == total.key)
            once.last().Add(total);
        else
            once.append(std::move(total));
    }
    return once;
}

// Two lists in key order as one, the figures of a key in both added up.
QList<SalesTotal> Merged(QList<SalesTotal>&& a, const QList<SalesTotal>& b) {
    if (b.isEmpty())
        return std::move(a);
    QList<SalesTotal> merged;
    merged.reserve(a.size() + b.size());
    auto i = a.begin();
    auto j = b.begin();
    while (i != a.end() && j != b.end()) {
        if (KeyBefore(*i, *j)) {
            merged.append(std::move(*i++));
        } else if (KeyBefore(*j, *i)) {
            merged.append(*j++);
        } else {
            merged.append(std::move(*i++));
            merged.last().Add(*j++);
        }
    }
    std::move(i, a.end(), std::back_inserter(merged));
    std::copy(j, b.end(), std::back_inserter(merged));
    return merged;
}

// Where the key is, or would be, in the totals in key order at or after from: the names come
// mostly in key order, so the search looks close to from first.
qsizetype KeyPosition(const QList<SalesTotal>& totals, qsizetype from, const QString& key) {
    qsizetype low = from;
    qsizetype step = 1;
    while (from + step < totals.size() && totals[from + step].key < key) {
        low = from + step;
        step *= 2;
    }
    const auto high = totals.begin() + std::min(totals.size(), from + step + 1);
    return std::lower_bound(
               totals.begin() + low, high, key,
               [](const SalesTotal& total, const QString& k) { return total.key < k; }) -
           totals.begin();
}

// Gives each total the first name a statement of keys and names has for its key.
void NameSales(QList<SalesTotal>& totals, const SqlStatement& names) {
    CSqlReader reader(names);
    qsizetype next = 0; // past the key named last
    while (reader.Next()) {
        const QString key = reader.Text(0);
        const bool onward = next == 0 || totals[next - 1].key < key;
        const qsizetype at = KeyPosition(totals, onward ? next : 0, key);
        if (at == totals.size() || totals[at].key != key)
            continue;
        next = at + 1;
        if (!totals[at].named) {
            totals[at].name = reader.Text(1);
            totals[at].named = true;
        }
    }
}

// The sales of the period per key in key order: the sales-out rows less the sales-return rows
// of SalesStatements, named by the names statement when there is one.
QList<SalesTotal> SalesBy(const QList<SqlStatement>& statements) {
    QList<SalesTotal> totals =
        Merged(ReadSales(statements.at(0), 1), ReadSales(statements.at(1), -1));
    if (statements.size() > 2)
        NameSales(totals, statements.at(2));
    return totals;
}

// code or class code -> name.
QHash<QString, QString> Names(const SqlStatement& statement) {
    QHash<QString, QString> names;
    CSqlReader reader(statement);
    while (reader.Next()) {
        const QString key = reader.Text(0);
        if (!names.contains(key))
            names.insert(key, reader.Text(1));
    }
    return names;
}

SqlStatement ProductNamesStatement() {
    return {QStringLiteral("SELECT code, name FROM property"), {}};
}

SqlStatement ClassNamesStatement() {
    return {QStringLiteral("SELECT bh, mc FROM name1"), {}};
}

QStringList CostTexts(const SalesTotal& total) {
    if (total.unknown > 0)
        return {UnknownCostText(), UnknownCostText(), UnknownCostText()};
    const double net = RoundMoney(total.sales);
    return {Money(total.cost), Money(total.Gross()),
            net != 0 ? QString::number(total.Gross() / total.sales * 100, 'f', 2) + u'%'
                     : QStringLiteral("-")};
}

ExportTable SalesTable(const QString& keyHeader, const QString& nameHeader,
                       const QList<SalesTotal>& totals) {
    ExportTable table;
    table.columns = {{keyHeader, ExportKind::Text, 0}};
    if (!nameHeader.isEmpty())
        table.columns.append({nameHeader, ExportKind::Text, 0});
    table.columns += {{QStringLiteral("数量"), ExportKind::Number, 2},
                      {QStringLiteral("销售额"), ExportKind::Number, 2},
                      {QStringLiteral("销售成本"), ExportKind::Number, 2},
                      {QStringLiteral("毛利"), ExportKind::Number, 2},
                      {QStringLiteral("毛利率"), ExportKind::Text, 0}};
    table.rows.reserve(totals.size());
    for (const SalesTotal& total : totals) {
        QStringList row;
        row.reserve(table.columns.size());
        row.append(total.key);
        if (!nameHeader.isEmpty())
            row.append(total.name);
        row << Money(total.quantity) << Money(total.sales) << CostTexts(total);
        table.rows.append(std::move(row));
    }
    return table;
}

ExportTable BestSellers(const ReportRequest& request, const QList<SqlStatement>& statements) {
    QList<SalesTotal> list = SalesBy(statements);
    if (request.byProfit)
        list.removeIf([](const SalesTotal& total) { return total.unknown > 0; });
    std::stable_sort(list.begin(), list.end(), [&](const SalesTotal& a, const SalesTotal& b) {
        return request.byProfit ? a.Gross() > b.Gross() : a.quantity > b.quantity;
    });
    ExportTable table = SalesTable(QStringLiteral("编码"), QStringLiteral("商品名称"),
                                   list.mid(0, std::max(0, request.limit)));
    table.columns.prepend({QStringLiteral("名次"), ExportKind::Number, 0});
    for (int i = 0; i < table.rows.size(); ++i)
        table.rows[i].prepend(QString::number(i + 1));
    return table;
}

// Each product's stock now, its moving-average cost, the day of its last sale.
struct StockRow {
    QString code;
    QString name;
    double stock = 0;
    std::optional<double> cost;
    QString lastSale;
};

// Every product with its stock and average cost in code order; with the name and the number
// of its last sales-out when asked for (the slow movers).
SqlStatement StockStatement(bool withLastSale) {
    if (!withLastSale)
        return {QStringLiteral("SELECT p.code, p.total, c.avgcost FROM property p LEFT JOIN "
                               "cost_product c ON c.code = p.code ORDER BY p.code"),
                {}};
    return {QStringLiteral("SELECT p.code, p.total, c.avgcost, p.name, (SELECT max(s.oddnum) FROM "
                           "cost_move s WHERE s.code = p.code AND s.doctable = 'saleout') FROM "
                           "property p LEFT JOIN cost_product c ON c.code = p.code ORDER BY "
                           "p.code"),
            {}};
}

// Calls visit with each product of a StockStatement whose stock is a plain number.
template <typename Visit> void ForEachStockRow(const SqlStatement& statement, Visit visit) {
    CSqlReader reader(statement);
    const bool withLastSale = reader.ColumnCount() > 3;
    StockRow row;
    while (reader.Next()) {
        if (!PlainNumber(reader.Text(1), &row.stock))
            continue;
        row.code = reader.Text(0);
        row.cost = reader.Value(2).isNull() ? std::nullopt
                                            : std::optional<double>(reader.Value(2).toDouble());
        if (withLastSale) {
            row.name = reader.Text(3);
            row.lastSale = reader.Text(4).left(8);
        }
        visit(row);
    }
}

QString StockValueText(const StockRow& row) {
    return row.cost ? Money(row.stock * *row.cost) : UnknownCostText();
}

ExportTable SlowMovers(const ReportRequest& request, const SqlStatement& stock) {
    const QString since = request.to.addDays(1 - request.days).toString(QStringLiteral("yyyyMMdd"));
    ExportTable table;
    table.columns = {{QStringLiteral("编码"), ExportKind::Text, 0},
                     {QStringLiteral("商品名称"), ExportKind::Text, 0},
                     {QStringLiteral("库存"), ExportKind::Number, 2},
                     {QStringLiteral("最后销售"), ExportKind::Text, 0},
                     {QStringLiteral("成本单价"), ExportKind::Number, 2},
                     {QStringLiteral("库存金额"), ExportKind::Number, 2}};
    ForEachStockRow(stock, [&](const StockRow& row) {
        if (row.stock <= 0 || (!row.lastSale.isEmpty() && row.lastSale >= since))
            return;
        table.rows.append({row.code, row.name, Money(row.stock),
                           row.lastSale.isEmpty() ? QStringLiteral("无") : row.lastSale,
                           row.cost ? QString::asprintf("%.2f", *row.cost) : UnknownCostText(),
                           StockValueText(row)});
    });
    return table;
}

ExportTable StockValueByClass(const SqlStatement& stock, const SqlStatement& classNames) {
    struct ClassValue {
        double value = 0;
        double stock = 0;
        int unknown = 0;
    };
    QMap<QString, ClassValue> classes;
    ForEachStockRow(stock, [&](const StockRow& row) {
        ClassValue& value = classes[row.code.left(2)];
        value.stock += row.stock;
        if (row.cost)
            value.value += row.stock * *row.cost;
        else if (row.stock != 0)
            ++value.unknown;
    });
    const QHash<QString, QString> names = Names(classNames);
    ExportTable table;
    table.columns = {{QStringLiteral("类别编码"), ExportKind::Text, 0},
                     {QStringLiteral("类别"), ExportKind::Text, 0},
                     {QStringLiteral("库存"), ExportKind::Number, 2},
                     {QStringLiteral("库存金额"), ExportKind::Number, 2},
                     {QStringLiteral("成本未知商品"), ExportKind::Number, 0}};
    for (auto it = classes.constBegin(); it != classes.constEnd(); ++it)
        table.rows.append({it.key(), names.value(it.key()), Money(it->stock), Money(it->value),
                           QString::number(it->unknown)});
    return table;
}

ExportTable Summary(const ReportRequest& request) {
    const QVariantList bounds = Bounds(request);
    const AccountFigures figures =
        ReadAccountFigures({bounds.at(0).toString(), bounds.at(1).toString()});
    ExportTable table;
    table.columns = {{QStringLiteral("name"), ExportKind::Text, 0},
                     {QStringLiteral("value"), ExportKind::Number, 2}};
    for (const auto& figure : SummaryFigures(figures))
        table.rows.append({figure.first, Money(figure.second)});
    return table;
}

} // namespace

QString UnknownCostText() {
    return QStringLiteral("未知");
}

QStringList ReportNames() {
    return {QStringLiteral("profit-by-product"),  QStringLiteral("profit-by-class"),
            QStringLiteral("profit-by-customer"), QStringLiteral("profit-by-employee"),
            QStringLiteral("best-sellers"),       QStringLiteral("slow-movers"),
            QStringLiteral("stock-value"),        QStringLiteral("summary")};
}

QString ReportTitle(const ReportRequest& request) {
    static const QHash<QString, QString> titles = {
        {QStringLiteral("profit-by-product"), QStringLiteral("商品销售毛利")},
        {QStringLiteral("profit-by-class"), QStringLiteral("类别销售毛利")},
        {QStringLiteral("profit-by-customer"), QStringLiteral("客户销售毛利")},
        {QStringLiteral("profit-by-employee"), QStringLiteral("员工销售毛利")},
        {QStringLiteral("slow-movers"), QStringLiteral("滞销商品")},
        {QStringLiteral("stock-value"), QStringLiteral("类别库存金额")},
        {QStringLiteral("summary"), QStringLiteral("帐目汇总")}};
    if (request.name == QLatin1String("best-sellers"))
        return request.byProfit ? QStringLiteral("畅销商品(按毛利)")
                                : QStringLiteral("畅销商品(按数量)");
    return titles.value(request.name);
}

QList<SqlStatement> ReportStatements(const ReportRequest& request) {
    const QString& name = request.name;
    if (name == QLatin1String("profit-by-product") || name == QLatin1String("best-sellers"))
        return SalesStatements(request, QStringLiteral("m.code"), false) << ProductNamesStatement();
    if (name == QLatin1String("profit-by-class"))
        return SalesStatements(request, QStringLiteral("substr(m.code, 1, 2)"), false)
               << ClassNamesStatement();
    if (name == QLatin1String("profit-by-customer"))
        return SalesStatements(request, QStringLiteral("customer"), true);
    if (name == QLatin1String("profit-by-employee"))
        return SalesStatements(request, QStringLiteral("employeename"), true);
    if (name == QLatin1String("slow-movers"))
        return {StockStatement(true)};
    if (name == QLatin1String("stock-value"))
        return {StockStatement(false), ClassNamesStatement()};
    return {};
}

ExportTable BuildReport(const ReportRequest& request) {
    const QString& name = request.name;
    const QList<SqlStatement> statements = ReportStatements(request);
    ExportTable table;
    if (name == QLatin1String("profit-by-product"))
        table = SalesTable(QStringLiteral("编码"), QStringLiteral("商品名称"), SalesBy(statements));
    else if (name == QLatin1String("profit-by-class"))
        table = SalesTable(QStringLiteral("类别编码"), QStringLiteral("类别"), SalesBy(statements));
    else if (name == QLatin1String("profit-by-customer"))
        table = SalesTable(QStringLiteral("客户"), QString(), SalesBy(statements));
    else if (name == QLatin1String("profit-by-employee"))
        table = SalesTable(QStringLiteral("员工"), QString(), SalesBy(statements));
    else if (name == QLatin1String("best-sellers"))
        table = BestSellers(request, statements);
    else if (name == QLatin1String("slow-movers"))
        table = SlowMovers(request, statements.at(0));
    else if (name == QLatin1String("stock-value"))
        table = StockValueByClass(statements.at(0), statements.at(1));
    else if (name == QLatin1String("summary"))
        table = Summary(request);
    table.title = ReportTitle(request);
    return table;
}
