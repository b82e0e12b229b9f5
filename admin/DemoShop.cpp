#include "admin/DemoShop.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "admin/DemoOperators.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/DatabaseInit.h"
#include "db/Db.h"
#include "documents/CostLedger.h"
#include "text/PinyinInitials.h"

namespace {

// The catalogue's word lists: ten groups, ten kinds in each, then qualities, sizes and packs.
const char* const kGroups[] = {"五金工具", "电工电料", "灯具照明", "开关插座", "电线电缆",
                               "水暖管件", "紧固件",   "油漆涂料", "劳保用品", "化工胶粘"};
const char* const kKinds[][10] = {
    {"扳手", "钳子", "螺丝刀", "锤子", "卷尺", "电钻", "角磨机", "手锯", "锉刀", "工具箱"},
    {"断路器", "漏电开关", "接触器", "继电器", "电表", "配电箱", "线槽", "线管", "绝缘胶布",
     "接线端子"},
    {"灯泡", "灯管", "吸顶灯", "筒灯", "射灯", "面板灯", "路灯", "应急灯", "台灯", "灯带"},
    {"单开开关", "双开开关", "五孔插座", "三孔插座", "插线板", "转换插头", "地插", "防水盒", "底盒",
     "空白面板"},
    {"铜芯线", "护套线", "电力电缆", "网线", "电话线", "视频线", "音箱线", "橡套线", "铝芯线",
     "软线"},
    {"PPR管", "PVC管", "弯头", "三通", "阀门", "水龙头", "软管", "地漏", "生料带", "管卡"},
    {"螺丝", "螺母", "垫片", "膨胀螺丝", "自攻螺丝", "铆钉", "钢钉", "螺杆", "拉爆", "合页"},
    {"调和漆", "防锈漆", "乳胶漆", "清漆", "稀释剂", "腻子粉", "毛刷", "滚筒", "砂纸", "自喷漆"},
    {"手套", "安全帽", "口罩", "护目镜", "工作服", "雨衣", "安全带", "耳塞", "胶鞋", "反光背心"},
    {"玻璃胶", "结构胶", "万能胶", "快干胶", "发泡胶", "防水涂料", "密封胶", "AB胶", "热熔胶",
     "封箱胶带"}};
const char* const kQualities[] = {"国标", "加厚", "普通",   "精品", "经济型",
                                  "重型", "轻型", "工程型", "家用", "防水型"};
const char* const kSizes[] = {"小号", "中号", "大号", "加长", "φ20",
                              "φ25",  "4分",  "6分",  "白色", "黑色"};
const int kCounts[] = {1, 5, 10, 12, 20, 24, 50, 100, 200, 500};
const char* const kPacks[] = {"个",      "个/把",   "个/套", "个/支", "个/箱",
                              "个/千克", "个/千只", "个/包", "个/袋", "个/盒"};
const char* const kDiscounts[] = {"0.95", "0.9", "0.85", "0.8"};
const char* const kTaxes[] = {"含税(1.10)", "含税(1.08)", "含税(1.06)", "含税(1.03)"};
const int kTaxPercents[] = {110, 108, 106, 103};

const char* const kPlaces[] = {"城东", "城西", "城南", "城北", "新区", "开发区", "河西",   "江南",
                               "站前", "东关", "西关", "北关", "南湖", "滨江",   "工业园", "老街"};
const char* const kTrades[] = {"五金店",   "装饰公司", "建材商行", "水电安装队", "物业公司",
                               "机电公司", "家具厂",   "汽修厂",   "电器行",     "工程队"};
const char* const kMakers[] = {"宏达", "正泰", "华联", "永固", "金鹰", "明光", "远东", "长城"};
const char* const kMakerTrades[] = {"五金制品厂", "电器有限公司", "线缆厂",
                                    "建材批发部", "照明电器厂",   "化工有限公司"};
const char* const kSurnames[] = {"张", "王", "李", "赵", "刘", "陈", "杨", "黄"};
const char* const kGivenNames[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "军"};

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A name from a list, with a number once the list is used up (for shops larger than the lists).
QString ListName(const char* const* list, int size, int index) {
    const QString name = Text(list[index % size]);
    return index < size ? name : name + QString::number(index / size + 1);
}

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Cents as the documents show money: "12.50", "-3.00".
QString Money(qint64 cents) {
    const qint64 whole = std::llabs(cents);
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 100)
        .arg(whole % 100, 2, 10, QLatin1Char('0'));
}

// A quantity as typed at the counter: "12", "1.5".
QString Quantity(qint64 hundredths) {
    if (hundredths % 100 == 0)
        return QString::number(hundredths / 100);
    return Money(hundredths).remove(QRegularExpression(QStringLiteral("0$")));
}

// a * b / divisor rounded to the nearest integer, halves to even.
qint64 RoundedQuotient(qint64 numerator, qint64 divisor) {
    qint64 quotient = numerator / divisor;
    const qint64 remainder = numerator % divisor;
    if (2 * remainder > divisor || (2 * remainder == divisor && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

struct Product {
    QString code, name, shortName, spec;
    qint64 priceCents = 0;
    int discount[3] = {}; // percent: 95, 90, 85 ...
    qint64 stock = 0;     // hundredths
};

struct Party {
    QString name, id;
};

class DemoWriter {
  public:
    DemoWriter(CConnection& connection, const DemoShopOptions& options,
               const std::function<void(int, const QString&)>& progress)
        : m_db(connection), m_options(options), m_progress(progress), m_random(options.seed) {}

    void Write() {
        Phase(0, QStringLiteral("商品目录"), [this] { WriteCatalogue(); });
        Phase(8, QStringLiteral("客户、供货商和员工"), [this] { WriteParties(); });
        const QDate first(m_options.endYear - m_options.years + 1, 1, 1);
        for (int y = 0; y < m_options.years; ++y) {
            const int year = first.year() + y;
            Phase(10 + 88 * y / std::max(1, m_options.years),
                  QStringLiteral("%1年的单据").arg(year), [this, year] { WriteYear(year); });
        }
        Phase(98, QStringLiteral("库存"), [this] { WriteStock(); });
        if (m_progress)
            m_progress(100, QStringLiteral("完成"));
    }

  private:
    template <typename F> void Phase(int percent, const QString& what, F work) {
        if (m_progress)
            m_progress(percent, what);
        m_db.BeginTransaction();
        try {
            work();
            m_db.Commit();
        } catch (...) {
            m_db.Rollback();
            throw;
        }
    }

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }

    // Children per level so that five levels hold the products asked for.
    int Fanout() const {
        int fanout = 2;
        while (fanout < 99 && std::pow(double(fanout), 5) < double(m_options.products))
            ++fanout;
        return fanout;
    }

    void WriteNode(int level, const QString& code, const QString& name) {
        m_db.Execute(QStringLiteral("INSERT INTO name%1 (bh, mc) VALUES (?, ?)").arg(level),
                     {code, name});
    }

    void WriteCatalogue() {
        const int fanout = Fanout();
        int made = 0;
        for (int a = 0; a < fanout && made < m_options.products; ++a) {
            const QString c1 = TwoDigits(a + 1), n1 = ListName(kGroups, 10, a);
            WriteNode(1, c1, n1);
            const qint64 kindBase = Uniform(100, 5000);
            for (int b = 0; b < fanout && made < m_options.products; ++b) {
                const QString c2 = c1 + TwoDigits(b + 1);
                const QString n2 = ListName(kKinds[a % 10], 10, b);
                WriteNode(2, c2, n2);
                const qint64 base = kindBase * Uniform(50, 200) / 100;
                for (int c = 0; c < fanout && made < m_options.products; ++c) {
                    const QString c3 = c2 + TwoDigits(c + 1), n3 = ListName(kQualities, 10, c);
                    WriteNode(3, c3, n3);
                    for (int d = 0; d < fanout && made < m_options.products; ++d) {
                        const QString c4 = c3 + TwoDigits(d + 1), n4 = ListName(kSizes, 10, d);
                        WriteNode(4, c4, n4);
                        const QString fullName = QStringList{n1, n2, n3, n4}.join(QLatin1Char('-'));
                        for (int e = 0; e < fanout && made < m_options.products; ++e, ++made)
                            WriteProduct(c4 + TwoDigits(e + 1), fullName, n2 + n4, e, base);
                    }
                }
            }
        }
    }

    void WriteProduct(const QString& code, const QString& name, const QString& shortName, int e,
                      qint64 baseCents) {
        Product p;
        p.code = code;
        p.name = name;
        p.shortName = shortName;
        const int count = kCounts[e % 10];
        const QString pack = Text(kPacks[(e / 10 + e) % 10]);
        p.spec = QString::number(count) + pack;
        p.priceCents = std::max<qint64>(50, baseCents * Uniform(80, 150) / 100 / 10 * 10);
        for (int i = 0; i < 3; ++i)
            p.discount[i] = 100 - 5 * (i + 1) - 5 * Uniform(0, 1);
        p.stock = qint64(Uniform(50, 800)) * 100;
        m_db.Execute(QStringLiteral("INSERT INTO name5 (bh, \"count\", pack) VALUES (?, ?, ?)"),
                     {code, QString::number(count), pack});
        m_products.append(p);
    }

    void WriteParties() {
        for (int i = 0; i < 200; ++i) {
            // Place and trade pairs are all different for the first 160.
            const QString name = Text(kPlaces[i % 16]) + Text(kTrades[(i / 16 + i) % 10]) +
                                 (i >= 160 ? QString::number(i) : QString());
            m_customers.append({name, QString()});
            m_db.Execute(QStringLiteral("INSERT INTO customer (mc, linkman, phone, address, "
                                        "remark, pinyin) VALUES (?, ?, ?, ?, ?, ?)"),
                         {name, Person(i), Phone(i),
                          ListName(kPlaces, 16, i) + QStringLiteral("路%1号").arg(i + 1), QString(),
                          GetPinyinInitials(name)});
        }
        for (int i = 0; i < 48; ++i) {
            const QString name = Text(kMakers[i % 8]) + Text(kMakerTrades[i / 8]);
            m_suppliers.append({name, QString()});
            m_db.Execute(QStringLiteral("INSERT INTO supplier (mc, linkman, phone, address, "
                                        "remark, pinyin) VALUES (?, ?, ?, ?, ?, ?)"),
                         {name, Person(i + 3), Phone(i + 500),
                          QStringLiteral("工业园%1栋").arg(i + 1), QString(),
                          GetPinyinInitials(name)});
        }
        for (int i = 0; i < 8; ++i) {
            const Party employee{Person(i * 3), TwoDigits(i + 1)};
            m_employees.append(employee);
            m_db.Execute(QStringLiteral("INSERT INTO employee (name, employeeid) VALUES (?, ?)"),
                         {employee.name, employee.id});
        }
        m_db.Execute(QStringLiteral("INSERT INTO companyinfo (name, telephone, address, bank, "
                                    "remarks1, remarks2, remarks3) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                     {QStringLiteral("远航五交化商店"), QStringLiteral("0571-88886666"),
                      QStringLiteral("城东解放路88号"),
                      QStringLiteral("工商银行城东支行 6222 0000 1234 5678"),
                      QStringLiteral("货物当面点清,过后概不负责"), QStringLiteral("欢迎惠顾"),
                      QString()});
    }

    static QString Person(int i) {
        return Text(kSurnames[i % 8]) + Text(kGivenNames[(i / 8 + i * 3) % 8]);
    }
    static QString Phone(int i) {
        return QStringLiteral("139%1").arg(10000000 + i * 7919, 8, 10, QLatin1Char('0'));
    }

    // The document number of the n-th document of a day.
    static QString Oddnum(const QDate& day, int n) {
        return day.toString(QStringLiteral("yyyyMMdd")) +
               QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
    }

    QDate DayOf(int year, int k, int perYear) const {
        const QDate first(year, 1, 1);
        return first.addDays(qint64(k) * first.daysInYear() / std::max(1, perYear));
    }

    void WriteYear(int year) {
        const int sales = m_options.salesPerYear;
        const int entries = std::max(1, sales / 2);
        const int returns = std::max(1, sales / 50);
        QHash<QDate, int> saleCount, entryCount, returnCount;
        for (int k = 0; k < entries; ++k) {
            const QDate day = DayOf(year, k, entries);
            WriteEntry(day, ++entryCount[day]);
        }
        for (int k = 0; k < sales; ++k) {
            const QDate day = DayOf(year, k, sales);
            WriteSale(QStringLiteral("saleout"), day, ++saleCount[day], Uniform(1, 9), 20);
        }
        for (int k = 0; k < returns; ++k) {
            const QDate day = DayOf(year, k, returns);
            WriteSale(QStringLiteral("salein"), day, ++returnCount[day], Uniform(1, 3), 3);
        }
    }

    struct Line {
        int product;
        qint64 countHundredths;
        QString discount, remark;
        qint64 amountCents;
    };

    QVector<int> DistinctProducts(int n) {
        QVector<int> picked;
        while (picked.size() < n && picked.size() < m_products.size()) {
            const int p = Uniform(0, int(m_products.size()) - 1);
            if (!picked.contains(p))
                picked.append(p);
        }
        return picked;
    }

    Line SaleLine(int product, int maxCount) {
        const Product& p = m_products[product];
        Line line{product, qint64(Uniform(1, maxCount)) * 100, QStringLiteral("1.0"), QString(), 0};
        if (Chance(10))
            line.countHundredths += 50;
        int discountPercent = 100;
        if (Chance(30)) {
            const int i = Uniform(0, 2);
            discountPercent = p.discount[i];
            line.discount = QStringLiteral("0.%1").arg(discountPercent);
        }
        int taxPercent = 100;
        if (Chance(5)) {
            const int t = Uniform(0, 3);
            line.remark = Text(kTaxes[t]);
            taxPercent = kTaxPercents[t];
        }
        line.amountCents = RoundedQuotient(
            p.priceCents * line.countHundredths * discountPercent * taxPercent, 100LL * 100 * 100);
        return line;
    }

    void WriteSale(const QString& table, const QDate& day, int n, int lineCount, int maxCount) {
        if (n > 999)
            return;
        const bool out = table == QLatin1String("saleout");
        QVector<Line> lines;
        qint64 due = 0;
        for (int product : DistinctProducts(lineCount)) {
            lines.append(SaleLine(product, maxCount));
            due += lines.last().amountCents;
        }
        const int stateDraw = Uniform(1, 100);
        const QString state = stateDraw <= 70   ? QStringLiteral("结清")
                              : stateDraw <= 90 ? QStringLiteral("未结")
                                                : QStringLiteral("欠款");
        const qint64 received = stateDraw <= 70 ? due : stateDraw <= 90 ? 0 : due / 2;
        const QString invoice =
            out && stateDraw <= 20
                ? day.addDays(Uniform(0, 10)).toString(QStringLiteral("yyyy-MM-dd"))
                : QString();
        const Party& customer = m_customers[Uniform(0, int(m_customers.size()) - 1)];
        const Party& employee = m_employees[Uniform(0, int(m_employees.size()) - 1)];
        const QString time = QStringLiteral(" %1:%2:%3")
                                 .arg(Uniform(8, 19), 2, 10, QLatin1Char('0'))
                                 .arg(Uniform(0, 59), 2, 10, QLatin1Char('0'))
                                 .arg(Uniform(0, 59), 2, 10, QLatin1Char('0'));
        const QString sql =
            out ? QStringLiteral("INSERT INTO saleout (oddnum, customer, mydate, receivable, "
                                 "receipt, freceivable, freceipt, state, employeename, "
                                 "employeeid, mc, shortname, code, spec, price, \"count\", "
                                 "discount, total, pcs, remarks, invoicedate) VALUES (?, ?, ?, "
                                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                : QStringLiteral("INSERT INTO salein (oddnum, customer, mydate, receivable, "
                                 "receipt, freceivable, freceipt, state, employeename, "
                                 "employeeid, mc, shortname, code, spec, price, \"count\", "
                                 "discount, total, pcs, remarks) VALUES (?, ?, ?, ?, ?, ?, ?, "
                                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const Line& line : lines) {
            Product& p = m_products[line.product];
            p.stock += out ? -line.countHundredths : line.countHundredths;
            QVariantList values = {Oddnum(day, n),
                                   customer.name,
                                   day.toString(QStringLiteral("yyyy-MM-dd")) + time,
                                   Money(due),
                                   Money(received),
                                   double(due) / 100,
                                   double(received) / 100,
                                   state,
                                   employee.name,
                                   employee.id,
                                   p.name,
                                   p.shortName,
                                   p.code,
                                   p.spec,
                                   Money(p.priceCents),
                                   Quantity(line.countHundredths),
                                   line.discount,
                                   Money(line.amountCents),
                                   QString(),
                                   line.remark};
            if (out)
                values.append(invoice);
            m_db.Execute(sql, values);
        }
    }

    void WriteEntry(const QDate& day, int n) {
        if (n > 999)
            return;
        QVector<Line> lines;
        qint64 money = 0;
        for (int product : DistinctProducts(Uniform(1, 9))) {
            const Product& p = m_products[product];
            const qint64 count = qint64(Uniform(1, 8)) * 500; // hundredths: 5 to 40
            const qint64 cost = p.priceCents * Uniform(60, 80) / 100;
            lines.append({product, count, QString(), QString(), cost * count / 100});
            money += lines.last().amountCents;
        }
        const QString state = Chance(80) ? QStringLiteral("已付") : QStringLiteral("未付");
        const Party& supplier = m_suppliers[Uniform(0, int(m_suppliers.size()) - 1)];
        for (const Line& line : lines) {
            Product& p = m_products[line.product];
            p.stock += line.countHundredths;
            const qint64 cost = line.amountCents * 100 / line.countHundredths;
            m_db.Execute(QStringLiteral("INSERT INTO entry (oddnum, supplier, mydate, money, "
                                        "fmoney, state, mc, shortname, code, spec, price, "
                                        "\"count\", total) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                        "?, ?, ?)"),
                         {Oddnum(day, n), supplier.name, day.toString(QStringLiteral("yyyy-MM-dd")),
                          Money(money), double(money) / 100, state, p.name, p.shortName, p.code,
                          p.spec, Money(cost), Quantity(line.countHundredths),
                          Money(line.amountCents)});
        }
    }

    void WriteStock() {
        for (const Product& p : std::as_const(m_products)) {
            m_db.Execute(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, "
                                        "discount1, discount2, discount3, total, longpinyin, "
                                        "shortpinyin) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         {p.code, p.name, p.shortName, p.spec, Money(p.priceCents),
                          QStringLiteral("0.%1").arg(p.discount[0]),
                          QStringLiteral("0.%1").arg(p.discount[1]),
                          QStringLiteral("0.%1").arg(p.discount[2]), Money(p.stock),
                          GetPinyinInitials(p.name), GetPinyinInitials(p.shortName)});
        }
    }

    CConnection& m_db;
    DemoShopOptions m_options;
    std::function<void(int, const QString&)> m_progress;
    std::mt19937_64 m_random;
    QVector<Product> m_products;
    QVector<Party> m_customers, m_suppliers, m_employees;
};

bool ReadNumber(const QStringList& args, int& i, int* value) {
    if (i + 1 >= args.size())
        return false;
    bool ok = false;
    *value = args.at(++i).toInt(&ok);
    return ok && *value > 0;
}

} // namespace

void MakeDemoShop(const QString& path, const DemoShopOptions& options,
                  const std::function<void(int, const QString&)>& progress) {
    CreateEmptyDatabase(path);
    try {
        CConnection connection;
        connection.OpenFile(path);
        // A new file that nobody else uses yet: no need to wait for the disk at each commit.
        connection.Execute(QStringLiteral("PRAGMA synchronous=OFF"));
        DemoWriter(connection, options, progress).Write();
        RebuildCostLedger(connection);
        connection.Execute(QStringLiteral("PRAGMA synchronous=FULL"));
        connection.Execute(QStringLiteral("ANALYZE"));
    } catch (...) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        throw;
    }
}

int MakeDemoCommand(const QStringList& args) {
    // args: FILE [--products N] [--years Y] [--documents D] [--end-year Y] [--seed S]
    if (args.isEmpty()) {
        std::fprintf(stderr, "Harbor --make-demo FILE [--products N] [--years Y] [--documents D] "
                             "[--end-year Y] [--seed S]\n");
        return 2;
    }
    DemoShopOptions options;
    int seed = int(options.seed % 1000000000);
    for (int i = 1; i < args.size(); ++i) {
        const QString& flag = args.at(i);
        const bool ok =
            flag == QLatin1String("--products")    ? ReadNumber(args, i, &options.products)
            : flag == QLatin1String("--years")     ? ReadNumber(args, i, &options.years)
            : flag == QLatin1String("--documents") ? ReadNumber(args, i, &options.salesPerYear)
            : flag == QLatin1String("--end-year")  ? ReadNumber(args, i, &options.endYear)
            : flag == QLatin1String("--seed")      ? ReadNumber(args, i, &seed)
                                                   : false;
        if (!ok) {
            std::fprintf(stderr, "%s\n",
                         qPrintable(QStringLiteral("无法理解的参数: %1").arg(flag)));
            return 2;
        }
    }
    options.seed = quint64(seed);
    try {
        MakeDemoShop(args.first(), options, [](int percent, const QString& what) {
            std::fprintf(stderr, "\r%3d%%  %-40s", percent, qPrintable(what));
            std::fflush(stderr);
        });
        // The shop a new user looks at first shows the operator accounts and their log.
        Db() = std::make_shared<CConnection>();
        Db()->OpenFile(args.first());
        AddDemoOperators(*Db());
        Db().reset();
    } catch (const CDbException& error) {
        std::fprintf(stderr, "\n%s\n", qPrintable(error.Message()));
        return 1;
    }
    std::fprintf(
        stderr, "\n%s\n",
        qPrintable(
            QStringLiteral("已建立演示商店 %1").arg(QFileInfo(args.first()).absoluteFilePath())));
    return 0;
}
