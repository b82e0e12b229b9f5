#include "db/DbError.h"

#include <QSqlError>
#include <QStringList>

QString EngineText(const QSqlError& error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

CDbException DbErrorOf(const QSqlError& error, const QString& statement) {
    // SQLite's primary result codes: 5 busy, 6 locked, 11 corrupt. A file that is no SQLite
    // database at all (26) is simply not ours, as an Access file of the old program would be.
    const int code = error.nativeErrorCode().toInt();
    CDbException::Kind kind = CDbException::Kind::Engine;
    if (code == 5 || code == 6)
        kind = CDbException::Kind::Busy;
    else if (code == 11)
        kind = CDbException::Kind::Damaged;
    return CDbException(EngineText(error), statement, kind);
}

CDbException ServerErrorOf(const QSqlError& error, const QString& statement) {
    const QString state = error.nativeErrorCode().trimmed();
    const QString text = EngineText(error);
    CDbException::Kind kind = CDbException::Kind::Engine;
    // 08: connection exceptions; 57P01-57P03: the server shut down or is starting.
    // Without a code, libpq's own words tell that the socket is gone.
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
        (state.isEmpty() && (text.contains(QLatin1String("server closed the connection")) ||
                             text.contains(QLatin1String("no connection to the server")) ||
                             text.contains(QLatin1String("terminating connection")) ||
                             text.contains(QLatin1String("connection to server")))))
        kind = CDbException::Kind::Disconnected;
    else if (state == QLatin1String("55P03") || state == QLatin1String("40P01") ||
             state == QLatin1String("40001"))
        kind = CDbException::Kind::Busy;
    return CDbException(text, statement, kind);
}

namespace {

struct ConnectCause {
    const char* marks; // libpq's words, "|" between alternatives
    const char* sentence;
};

// %1 is the host.
const ConnectCause kConnectCauses[] = {
    {"password authentication failed|SCRAM|password",
     "数据库服务器拒绝了密码。如果主机准备时用了本店自己的密码 (--password),请在这台电脑上运行 "
     "Harbor --lan-password 本店的密码,再重新连接。"},
    {"does not exist",
     "主机 %1 上的数据库服务器没有本店的数据库。请在主机上运行 sudo Harbor --setup-host,"
     "再重新连接。"},
    {"no pg_hba.conf entry",
     "主机 %1 的数据库服务器不让这台电脑连接。请在主机上运行 sudo Harbor --setup-host "
     "(只让局域网的电脑连接),再重新连接。"},
    {"Connection refused",
     "主机 %1 上没有数据库服务器在等待连接 (连接被拒绝)。请确认主机已开机、数据库服务器已启动;"
     "服务器不在 5432 端口时,请在网络设置中把地址写成 地址:端口。"},
    {"timeout expired|timed out|No route to host|Network is unreachable",
     "连接主机 %1 超时,没有回应。请检查这台电脑和主机的网线、主机是否开机、主机的防火墙是否"
     "放行数据库端口,以及网络设置中的主机IP地址。"},
    {"could not translate host name|Name or service not known|nodename nor servname",
     "找不到主机 %1。请在网络设置中检查主机IP地址。"},
    {"unsupported frontend protocol|server does not support|version",
     "主机 %1 上的数据库服务器版本与本程序不配 (太旧或太新)。请在主机上安装 PostgreSQL 12 "
     "或更新的版本,再运行 sudo Harbor --setup-host。"},
};

} // namespace

QString ServerConnectProblem(const QString& host, const QString& engineText) {
    for (const ConnectCause& cause : kConnectCauses) {
        for (const QString& mark : QString::fromUtf8(cause.marks).split(QLatin1Char('|'))) {
            if (engineText.contains(mark, Qt::CaseInsensitive)) {
                QString sentence = QString::fromUtf8(cause.sentence);
                if (sentence.contains(QLatin1String("%1")))
                    sentence = sentence.arg(host);
                return QStringLiteral("%1\n(数据库信息: %2)").arg(sentence, engineText);
            }
        }
    }
    return QStringLiteral("连接不上主机 %1 上的数据库服务器。请检查网络设置和主机,再重新连接。\n"
                          "(数据库信息: %2)")
        .arg(host, engineText);
}
