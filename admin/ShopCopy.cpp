#include "admin/ShopCopy.h"

#include <QRegularExpression>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "db/DatabaseInit.h"
#include "db/SchemaUpgrade.h"

namespace {

// The columns of a table as the source has them, the row key left out.
QStringList ColumnsOf(CConnection& connection, const QString& table) {
    CSqlReader reader(connection, QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table));
    QStringList columns;
    const QString key = connection.Dialect().RowIdColumn();
    for (int i = 0; i < reader.ColumnCount(); ++i) {
        const QString name = reader.ColumnName(i);
        if (name != key)
            columns.append(name);
    }
    return columns;
}

QString Quoted(const QString& identifier) {
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

qint64 RowCount(CConnection& connection, const QString& table) {
    CSqlReader reader(connection, QStringLiteral("SELECT count(*) FROM %1").arg(table));
    return reader.Next() ? reader.Value(0).toLongLong() : 0;
}

} // namespace

QStringList ShopTables(int version) {
    static const QRegularExpression create(
        QStringLiteral("^CREATE\\s+TABLE\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?([A-Za-z0-9_]+)"),
        QRegularExpression::CaseInsensitiveOption);
    // The first version's tables, then those each upgrade up to the version adds.
    QStringList statements = SchemaStatements();
    for (const SchemaUpgradeStep& step : SchemaUpgradeSteps()) {
        if (step.version <= version)
            statements += step.statements;
    }
    QStringList tables;
    for (const QString& statement : std::as_const(statements)) {
        const QRegularExpressionMatch m = create.match(statement);
        const QString table = m.hasMatch() ? m.captured(1).toLower() : QString();
        if (!table.isEmpty() && table != QLatin1String("harbor_schema") && !tables.contains(table))
            tables.append(table);
    }
    return tables;
}

bool StartsWithDefaults(const QString& table) {
    return table == QLatin1String("harbor_role_permission");
}

bool KeptByServer(const QString& table) {
    return table == QLatin1String("harbor_audit_head");
}

QList<qint64> ShopRowCounts(CConnection& connection) {
    QList<qint64> counts;
    for (const QString& table : ShopTables())
        counts.append(RowCount(connection, table));
    return counts;
}

QStringList CopyShopTables(CConnection& from, CConnection& to, const QStringList& only) {
    if (to.SchemaVersion() < from.SchemaVersion())
        throw CDbException(QStringLiteral("目标数据库的版本 %1 比要复制的数据库 (版本 %2) 旧")
                               .arg(to.SchemaVersion())
                               .arg(from.SchemaVersion()));
    const QStringList tables = only.isEmpty() ? ShopTables(from.SchemaVersion()) : only;
    QStringList report;
    to.BeginTransaction();
    try {
        for (const QString& table : tables) {
            if (to.IsServer() && KeptByServer(table)) {
                report.append(QStringLiteral("%1: 由服务器按日志维护").arg(table));
                continue;
            }
            if (StartsWithDefaults(table))
                to.Execute(QStringLiteral("DELETE FROM %1").arg(table));
            if (RowCount(to, table) != 0)
                throw CDbException(QStringLiteral("目标数据库的表 %1 中已有数据").arg(table));
            const QStringList columns = ColumnsOf(from, table);
            QStringList quoted;
            for (const QString& column : columns)
                quoted.append(Quoted(column));
            const QString insert =
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(table, quoted.join(QLatin1Char(',')),
                         QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
            CSqlReader reader(
                from, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                          .arg(quoted.join(QLatin1Char(',')), table, from.Dialect().RowIdColumn()));
            qint64 copied = 0;
            while (reader.Next()) {
                QVariantList values;
                for (int i = 0; i < columns.size(); ++i) {
                    const QVariant value = reader.Value(i);
                    values.append(value.isNull() ? QVariant() : value); // NULL stays NULL
                }
                to.Execute(insert, values);
                ++copied;
            }
            const qint64 source = RowCount(from, table);
            const qint64 target = RowCount(to, table);
            if (copied != source || target != source)
                throw CDbException(QStringLiteral("表 %1 复制后行数不符: 原有 %2 行, 复制后 %3 行")
                                       .arg(table)
                                       .arg(source)
                                       .arg(target));
            report.append(QStringLiteral("%1: %2 行").arg(table).arg(target));
        }
        to.Commit();
    } catch (...) {
        to.Rollback();
        throw;
    }
    return report;
}
