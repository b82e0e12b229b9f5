#include "accounts/AuditLogQuery.h"

#include <QDateTime>
#include <QStringList>

namespace {

// The UTC text of a local day's first moment, comparable with the entries' times.
QString UtcStart(const QDate& day) {
    return day.startOfDay().toUTC().toString(Qt::ISODateWithMs);
}

} // namespace

SqlStatement AuditLogStatement(const AuditLogFilter& filter) {
    QStringList where;
    QVariantList values;
    if (filter.from.isValid()) {
        where.append(QStringLiteral("at >= ?"));
        values.append(UtcStart(filter.from));
    }
    if (filter.to.isValid()) {
        where.append(QStringLiteral("at < ?"));
        values.append(UtcStart(filter.to.addDays(1)));
    }
    const struct {
        const char* column;
        QString typed;
    } likes[] = {{"operator", filter.op}, {"action", filter.action}, {"object", filter.object}};
    for (const auto& like : likes) {
        if (like.typed.trimmed().isEmpty())
            continue;
        where.append(QStringLiteral("%1 LIKE ?").arg(QLatin1String(like.column)));
        values.append(LikeContains(like.typed.trimmed()));
    }
    QString sql =
        QStringLiteral("SELECT seq, at, operator, authorizer, workstation, action, object, "
                       "before_rows, after_rows FROM harbor_audit");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY seq DESC");
    return {sql, values};
}

QString AuditLocalTime(const QString& utc) {
    const QDateTime time = QDateTime::fromString(utc, Qt::ISODateWithMs);
    if (!time.isValid())
        return utc;
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
