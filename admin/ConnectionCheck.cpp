#include "admin/ConnectionCheck.h"

#include <QFile>
#include <cstdio>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "db/ConnectionString.h"
#include "db/LansetFile.h"

ConnectionCheck CheckConnection(const QString& lansetPath) {
    QFile file(lansetPath);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("读不到网络设置文件 %1").arg(lansetPath)};
    const QString connectionString = ConnectionStringFromLanset(file.read(file.size()));
    file.close();
    try {
        CConnection connection;
        connection.Open(connectionString);
        CSqlReader products(connection, QStringLiteral("SELECT count(*) FROM property"));
        const QString count = products.Next() ? products.Text(0) : QStringLiteral("0");
        return {true, QStringLiteral("%1, 数据库版本 %2, 商品 %3 种")
                          .arg(connection.Where())
                          .arg(connection.SchemaVersion())
                          .arg(count)};
    } catch (const CDbException& error) {
        return {false, QStringLiteral("连接数据库失败: %1").arg(error.Message())};
    }
}

int CheckConnectionCommand(const QString& lansetPath) {
    const ConnectionCheck check = CheckConnection(lansetPath);
    std::FILE* out = check.ok ? stdout : stderr;
    std::fprintf(out, "%s\n", check.line.toLocal8Bit().constData());
    return check.ok ? 0 : 1;
}

int LanPasswordCommand(const QString& password) {
    SetServerPassword(password);
    std::printf("%s\n", (password.isEmpty()
                             ? QStringLiteral("局域网主机的密码: 使用本程序自己的密码")
                             : QStringLiteral("已保存局域网主机的密码 (只存在本机,其他用户读不到)"))
                            .toLocal8Bit()
                            .constData());
    return 0;
}
