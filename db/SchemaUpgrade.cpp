#include "db/SchemaUpgrade.h"

#include <QFile>

#include "db/CConnection.h"
#include "db/CDbException.h"

QStringList SqlFileStatements(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw CDbException(QStringLiteral("程序中缺少数据库结构文件 %1").arg(resource));
    QStringList statements;
    QString current;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char(' ');
        if (line.endsWith(QLatin1Char(';'))) {
            statements.append(current.trimmed());
            current.clear();
        }
    }
    return statements;
}

const QList<SchemaUpgradeStep>& SchemaUpgradeSteps() {
    static const QList<SchemaUpgradeStep> steps = [] {
        QList<SchemaUpgradeStep> list;
        for (int version = 2; QFile::exists(QStringLiteral(":/upgrade-%1.sql").arg(version));
             ++version)
            list.append(
                {version, SqlFileStatements(QStringLiteral(":/upgrade-%1.sql").arg(version))});
        return list;
    }();
    return steps;
}

int CurrentSchemaVersion() {
    const QList<SchemaUpgradeStep>& steps = SchemaUpgradeSteps();
    return steps.isEmpty() ? 1 : steps.last().version;
}

int UpgradeSchema(CConnection& connection, int fromVersion, const QList<SchemaUpgradeStep>& steps) {
    const int target = steps.isEmpty() ? 1 : steps.last().version;
    if (fromVersion > target)
        throw CDbException(QStringLiteral("数据库的版本 %1 比本程序新(本程序为版本 %2),请使用新版本"
                                          "的程序")
                               .arg(fromVersion)
                               .arg(target));
    if (fromVersion == target)
        return target;
    connection.BeginTransaction();
    try {
        for (const SchemaUpgradeStep& step : steps) {
            if (step.version <= fromVersion)
                continue;
            for (const QString& statement : step.statements)
                connection.Execute(connection.Dialect().SchemaText(statement));
        }
        connection.Execute(QStringLiteral("UPDATE harbor_schema SET version=?"), {target});
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        throw;
    }
    return target;
}
