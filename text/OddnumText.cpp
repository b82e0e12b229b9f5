#include "text/OddnumText.h"

namespace {

QString TwoDigits(int value) {
    return value < 10 ? QStringLiteral("0%1").arg(value) : QString::number(value);
}

} // namespace

QDate OddnumDate(const QString& oddnum) {
    return QDate::fromString(oddnum.left(8), QStringLiteral("yyyyMMdd"));
}

QString OddnumPrefix(const QDate& date) {
    return QString::number(date.year()) + TwoDigits(date.month()) + TwoDigits(date.day());
}
