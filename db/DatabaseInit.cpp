#include "db/DatabaseInit.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <cstdio>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/LansetFile.h"
#include "db/SchemaUpgrade.h"

QStringList SchemaStatements() {
    return SqlFileStatements(QStringLiteral(":/schema.sql"));
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
                    failure = query.lastError().text() + QStringLiteral(" (") + statement +
                              QLatin1Char(')');
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
    // Opening applies the upgrade steps, so a new file is at the current version.
    try {
        CConnection connection;
        connection.OpenFile(path);
    } catch (const CDbException& error) {
        QFile::remove(path);
        throw CDbException(QStringLiteral("创建数据库失败: %1").arg(error.Message()));
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
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("文件 %1 已经存在").arg(path).toLocal8Bit().constData());
        return 1;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(FormatLanset(0, 0)) < 0) {
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("无法写入 %1").arg(path).toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
