#include "app/DatabaseInit.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <cstdio>

#include "app/CDbException.h"
#include "app/LansetFile.h"

QStringList SchemaStatements() {
    QFile file(QStringLiteral(":/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw CDbException(QStringLiteral("程序中缺少数据库结构文件"));
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

void CreateEmptyDatabase(const QString& path) {
    if (QFileInfo::exists(path))
        throw CDbException(QStringLiteral("文件 %1 已经存在").arg(path));
    const QStringList statements = SchemaStatements();
    const QString name = QStringLiteral("harbor-init-") + QUuid::createUuid().toString();
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery query(db);
            db.transaction();
            for (const QString& statement : statements) {
                if (!query.exec(statement)) {
                    failure = query.lastError().text() + QStringLiteral(" (") + statement + QLatin1Char(')');
                    break;
                }
            }
            if (failure.isEmpty() && !db.commit())
                failure = db.lastError().text();
            if (!failure.isEmpty())
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty()) {
        QFile::remove(path);
        throw CDbException(QStringLiteral("创建数据库失败: %1").arg(failure));
    }
}

int CreateEmptyDatabaseCommand(const QString& path) {
    try {
        CreateEmptyDatabase(path);
    } catch (const CDbException& error) {
        std::fprintf(stderr, "%s\n", error.Message().toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s\n", QStringLiteral("已创建空数据库 %1").arg(path).toLocal8Bit().constData());
    return 0;
}

int WriteInitialLanset(const QString& path) {
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "%s\n", QStringLiteral("文件 %1 已经存在").arg(path).toLocal8Bit().constData());
        return 1;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(FormatLanset(0, 0)) < 0) {
        std::fprintf(stderr, "%s\n", QStringLiteral("无法写入 %1").arg(path).toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
