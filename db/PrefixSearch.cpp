#include "db/PrefixSearch.h"

#include "db/CDbException.h"
#include "db/CSqlReader.h"

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

// The code point after c, skipping the surrogate range that no text holds.
char32_t NextCodePoint(char32_t c) {
    return c == 0xD7FF ? 0xE000 : c + 1;
}

bool IsYear(const QString& text) {
    if (text.size() != 4)
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The smallest number at or after from (after it when not inclusive); fixed statement texts,
// two per table.
QString FirstNumberFrom(const QString& table, const QString& from, bool inclusive, bool* found) {
    static const char* const kTables[] = {"saleout", "salein", "entry"};
    const char* known = nullptr;
    for (const char* name : kTables) {
        if (table == QLatin1String(name))
            known = name;
    }
    if (!known)
        throw CDbException(QStringLiteral("没有单据表 %1").arg(table));
    const QString sql =
        QStringLiteral("SELECT min(oddnum) AS firstnum FROM %1 WHERE oddnum %2 ?")
            .arg(QLatin1String(known), inclusive ? QStringLiteral(">=") : QStringLiteral(">"));
    CSqlReader reader(sql, {from});
    *found = reader.Next() && !reader.Value(0).isNull();
    return *found ? reader.Text(0) : QString();
}

} // namespace

TextRange PrefixRange(const QString& prefix) {
    QList<uint> points = prefix.toUcs4();
    while (!points.isEmpty() && points.last() >= kLastCodePoint)
        points.removeLast();
    if (points.isEmpty())
        return {prefix, QString()};
    points.last() = NextCodePoint(points.last());
    return {prefix, QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()),
                                      points.size())};
}

QStringList YearsInTable(const QString& table) {
    QStringList years;
    // Every text is at or after the empty one.
    QString from = QStringLiteral("");
    bool inclusive = true;
    for (;;) {
        bool found = false;
        const QString first = FirstNumberFrom(table, from, inclusive, &found);
        if (!found)
            break;
        const QString head = first.left(4);
        if (IsYear(head))
            years.append(head);
        const TextRange range = PrefixRange(head);
        if (head.size() < 4 || range.high.isNull()) {
            // A number shorter than a year: the next one is anything after it.
            from = first;
            inclusive = false;
        } else {
            from = range.high;
            inclusive = true;
        }
    }
    return years;
}
