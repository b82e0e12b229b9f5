#include "documents/Oddnum.h"

#include "db/CSqlReader.h"
#include "db/SqlText.h"
#include "ui/HarborMessageBox.h"

#include <QtGlobal>

namespace {

constexpr int kSequenceDigits = 3;

// The two statements of one document table: whether the date has numbers, and the highest.
struct OddnumStatements {
    const char* any;
    const char* highest;
};

bool StatementsFor(const QString& table, OddnumStatements* statements) {
    if (table == QLatin1String("saleout")) {
        *statements = {
            "SELECT oddnum FROM saleout WHERE oddnum >= ? AND oddnum <= ?",
            "SELECT max(oddnum) as maxoddnum FROM saleout WHERE oddnum >= ? AND oddnum <= ?"};
    } else if (table == QLatin1String("salein")) {
        *statements = {
            "SELECT oddnum FROM salein WHERE oddnum >= ? AND oddnum <= ?",
            "SELECT max(oddnum) as maxoddnum FROM salein WHERE oddnum >= ? AND oddnum <= ?"};
    } else if (table == QLatin1String("entry")) {
        *statements = {
            "SELECT oddnum FROM entry WHERE oddnum >= ? AND oddnum <= ?",
            "SELECT max(oddnum) as maxoddnum FROM entry WHERE oddnum >= ? AND oddnum <= ?"};
    } else {
        return false;
    }
    return true;
}

bool IsNumber(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The highest number plus one; empty when the sum no longer belongs to the date (after "999"
// it would carry into the next day).
QString FollowingOddnum(const QString& prefix, const QString& highest) {
    const QString next = QString::number(highest.toLongLong() + 1);
    if (!next.startsWith(prefix) || next.size() != prefix.size() + kSequenceDigits)
        return QString();
    return next;
}

// The numbers of a date lie between its first and its last possible one: a range the number
// index serves (a LIKE pattern is read row by row on a file that keeps ten years).
QVariantList DayRange(const QString& prefix) {
    return {prefix + QStringLiteral("000"), prefix + QStringLiteral("999")};
}

// The highest number of the date. A stored number that is not a plain number of the date
// (written by hand or by an old program) takes no part: the maximum over text would put it
// above every real one.
// maximum is what the engine's max() gave over the day's range; empty when the day has none.
QString HighestOddnum(const OddnumStatements& statements, const QString& prefix,
                      const QString& maximum) {
    const QVariantList range = DayRange(prefix);
    const auto ofTheDay = [&](const QString& number) {
        return number.size() == prefix.size() + kSequenceDigits && IsNumber(number);
    };
    if (ofTheDay(maximum))
        return maximum;
    QString highest = prefix + QStringLiteral("000");
    CSqlReader reader(QString::fromUtf8(statements.any), range);
    while (reader.Next()) {
        const QString number = reader.Text(0);
        if (ofTheDay(number) && number > highest)
            highest = number;
    }
    return highest;
}

} // namespace

QString NewOddnum(const QString& table, const QDate& date, QWidget* parent) {
    OddnumStatements statements;
    if (!StatementsFor(table, &statements) || !date.isValid()) {
        qWarning("NewOddnum: unknown document table or invalid date");
        return QString();
    }
    const QString prefix = OddnumPrefix(date);
    // One look in the number index: max() over the day is empty when the day has no document.
    // The day's rows are read only when the maximum is no plain number of the day.
    const QString maximum = SqlScalar(QString::fromUtf8(statements.highest), DayRange(prefix));
    if (maximum.isEmpty())
        return prefix + QStringLiteral("001");

    const QString next = FollowingOddnum(prefix, HighestOddnum(statements, prefix, maximum));
    if (next.isEmpty()) {
        HarborMessageBox(parent,
                         QStringLiteral("%1年%2月%3日的单号已用完(999单),无法再新增单据")
                             .arg(date.year())
                             .arg(date.month())
                             .arg(date.day()),
                         MsgIcon::Exclamation);
    }
    return next;
}
