#include "admin/ServerBackup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include "admin/ShopCopy.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "db/DataFolder.h"
#include "db/DatabaseInit.h"
#include "db/SchemaUpgrade.h"

namespace {

const char* const kUnchanged = "数据库没有改变。";

// How long a tool may run before it is given up (a large shop's copy takes minutes at most).
constexpr int kToolTimeoutMs = 30 * 60 * 1000;
constexpr int kPollMs = 100;

RestoreResult Outcome(RestoreResult::Outcome outcome, const QString& message) {
    RestoreResult result;
    result.outcome = outcome;
    result.message = message;
    return result;
}

// The environment of a tool: where the server is and the password, which never goes on the
// command line.
QProcessEnvironment ToolEnvironment(const ServerAddress& address) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGHOST"), address.host);
    if (address.port > 0)
        environment.insert(QStringLiteral("PGPORT"), QString::number(address.port));
    environment.insert(QStringLiteral("PGUSER"), address.user);
    environment.insert(QStringLiteral("PGDATABASE"), address.database);
    environment.insert(QStringLiteral("PGPASSWORD"), address.password);
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    environment.insert(QStringLiteral("PGAPPNAME"), QStringLiteral("Harbor backup"));
    // Messages in a language the log can hold whatever the locale.
    environment.insert(QStringLiteral("PGCLIENTENCODING"), QStringLiteral("UTF8"));
    return environment;
}

QString FindTool(const QString& tool) {
    const QString path = PgToolPath(tool);
    if (path.isEmpty())
        throw CDbException(QStringLiteral("找不到 %1(PostgreSQL 的客户端程序),请在服务器主机上安装 "
                                          "postgresql-client")
                               .arg(tool));
    return path;
}

// Waits for a started tool, calling wait between polls; lines of its standard output go to
// onLine when given. Returns its error output when it failed, empty on success.
QString Finish(QProcess& process, const QString& tool, const ToolWait& wait,
               const std::function<void(const QString&)>& onLine = {}) {
    if (!process.waitForStarted(10000))
        return QStringLiteral("%1 不能运行: %2").arg(tool, process.errorString());
    int waited = 0;
    const auto drain = [&] {
        if (!onLine)
            return;
        while (process.canReadLine())
            onLine(QString::fromUtf8(process.readLine()).chopped(1));
    };
    while (!process.waitForFinished(kPollMs)) {
        drain();
        if (wait)
            wait();
        waited += kPollMs;
        if (waited > kToolTimeoutMs) {
            process.kill();
            process.waitForFinished(5000);
            return QStringLiteral("%1 运行时间过长,已停止").arg(tool);
        }
    }
    drain();
    if (onLine) {
        const QByteArray rest = process.readAll();
        if (!rest.isEmpty())
            onLine(QString::fromUtf8(rest));
    }
    const QString errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return errors.isEmpty()
                   ? QStringLiteral("%1 失败(退出码 %2)").arg(tool).arg(process.exitCode())
                   : errors;
    return QString();
}

QString Unquoted(QString name) {
    name = name.trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return name;
}

} // namespace

QString ServerBackupAnchor(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("HarborServer.dump"));
}

QString ServerBackupAnchor() {
    return ServerBackupAnchor(DataFolder());
}

bool IsThisComputer(const QString& host, const QStringList& ownAddresses) {
    const QString name = host.trimmed().toLower();
    if (name.isEmpty())
        return false;
    static const QRegularExpression loopback(
        QStringLiteral("^127\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"));
    if (name == QLatin1String("localhost") || name == QLatin1String("::1") ||
        loopback.match(name).hasMatch())
        return true;
    return ownAddresses.contains(name, Qt::CaseInsensitive);
}

QStringList OwnAddresses() {
    QStringList addresses;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return addresses;
    for (ifaddrs* it = list; it; it = it->ifa_next) {
        if (!it->ifa_addr)
            continue;
        char text[INET6_ADDRSTRLEN] = {};
        const int family = it->ifa_addr->sa_family;
        const void* raw = nullptr;
        if (family == AF_INET)
            raw = &reinterpret_cast<const sockaddr_in*>(it->ifa_addr)->sin_addr;
        else if (family == AF_INET6)
            raw = &reinterpret_cast<const sockaddr_in6*>(it->ifa_addr)->sin6_addr;
        if (raw && ::inet_ntop(family, raw, text, sizeof text))
            addresses.append(QString::fromLatin1(text));
    }
    ::freeifaddrs(list);
    return addresses;
}

bool IsServerHost(const QString& host) {
    return IsThisComputer(host, OwnAddresses());
}

QString PgToolPath(const QString& tool) {
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    int bestVersion = 0;
    for (const QString& version : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = root.filePath(version + QStringLiteral("/bin/") + tool);
        if (QFileInfo(path).isExecutable() && version.toInt() > bestVersion) {
            bestVersion = version.toInt();
            best = path;
        }
    }
    return best.isEmpty() ? QStandardPaths::findExecutable(tool) : best;
}

void DumpServerDatabase(const ServerAddress& address, const QString& target, const ToolWait& wait) {
    const QString tool = FindTool(QStringLiteral("pg_dump"));
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    QProcess process;
    process.setProcessEnvironment(ToolEnvironment(address));
    process.setStandardOutputFile(QProcess::nullDevice());
    // --no-password: a missing or wrong password fails at once instead of asking.
    process.start(tool, {QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
                         QStringLiteral("--file=") + partial});
    const QString problem = Finish(process, QStringLiteral("pg_dump"), wait);
    if (!problem.isEmpty()) {
        QFile::remove(partial);
        throw CDbException(QStringLiteral("pg_dump 没有完成: %1").arg(problem));
    }
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        throw CDbException(
            QStringLiteral("备份文件 %1 不能写入").arg(QDir::toNativeSeparators(target)));
    }
}

QString TakeAutomaticServerBackup(const ServerAddress& address, const QString& anchor,
                                  const QDateTime& now, const ToolWait& wait) {
    const QString folder = BackupFolderFor(anchor);
    if (!QDir().mkpath(folder))
        throw CDbException(
            QStringLiteral("备份文件夹 %1 不能建立").arg(QDir::toNativeSeparators(folder)));
    const QString target = QDir(folder).filePath(BackupFileName(anchor, now));
    DumpServerDatabase(address, target, wait);
    PruneBackups(anchor);
    return target;
}

void DumpDataCounter::Feed(const QString& line) {
    if (m_strTable.isEmpty()) {
        static const QRegularExpression copy(
            QStringLiteral("^COPY (?:\\w+\\.)?(\"?\\w+\"?) \\((.*)\\) FROM stdin;$"));
        const QRegularExpressionMatch match = copy.match(line);
        if (!match.hasMatch())
            return;
        m_strTable = Unquoted(match.captured(1)).toLower();
        m_seenTables.append(m_strTable);
        QStringList columns;
        for (const QString& column : match.captured(2).split(QLatin1Char(',')))
            columns.append(Unquoted(column).toLower());
        m_nOddnumColumn = columns.indexOf(QStringLiteral("oddnum"));
        m_nVersionColumn = columns.indexOf(QStringLiteral("version"));
        return;
    }
    if (line == QLatin1String("\\.")) {
        m_strTable.clear();
        return;
    }
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (m_strTable == QLatin1String("property")) {
        ++m_nProducts;
    } else if (m_strTable == QLatin1String("harbor_schema")) {
        if (m_nVersionColumn >= 0 && m_nVersionColumn < fields.size())
            m_nVersion = std::max(m_nVersion, fields.at(m_nVersionColumn).toInt());
    } else if (m_strTable == QLatin1String("saleout") || m_strTable == QLatin1String("salein") ||
               m_strTable == QLatin1String("entry")) {
        if (m_nOddnumColumn >= 0 && m_nOddnumColumn < fields.size())
            m_oddnums.append(m_strTable + QLatin1Char(' ') + fields.at(m_nOddnumColumn));
    }
}

void DumpDataCounter::Finish(BackupFacts* facts) const {
    for (const char* table : {"harbor_schema", "property", "saleout", "salein", "entry"}) {
        if (!m_seenTables.contains(QLatin1String(table))) {
            facts->problem = QStringLiteral("不是本系统的数据库(缺少表 %1)").arg(table);
            return;
        }
    }
    if (m_nVersion <= 0) {
        facts->problem = QStringLiteral("不是本系统的数据库(没有版本记录)");
        return;
    }
    facts->schemaVersion = m_nVersion;
    if (m_nVersion > CurrentSchemaVersion()) {
        facts->problem = QStringLiteral("数据库的版本 %1 比本程序新(本程序为版本 %2)")
                             .arg(m_nVersion)
                             .arg(CurrentSchemaVersion());
        return;
    }
    facts->products = m_nProducts;
    facts->documents = int(QSet<QString>(m_oddnums.begin(), m_oddnums.end()).size());
}

BackupFacts InspectServerDump(const QString& path, const ToolWait& wait, QStringList* tables) {
    BackupFacts facts;
    facts.when = CopyTimeOf(path);
    if (!QFileInfo(path).isFile()) {
        facts.problem = QStringLiteral("找不到文件");
        return facts;
    }
    QString tool;
    try {
        tool = FindTool(QStringLiteral("pg_restore"));
    } catch (const CDbException& error) {
        facts.problem = error.Message();
        return facts;
    }
    // Its table of contents first: anything pg_restore cannot read is no copy of ours.
    QProcess list;
    list.setStandardOutputFile(QProcess::nullDevice());
    list.start(tool, {QStringLiteral("--list"), path});
    QString problem = Finish(list, QStringLiteral("pg_restore"), wait);
    if (!problem.isEmpty()) {
        facts.problem = QStringLiteral("不是完好的数据库备份: %1").arg(problem);
        return facts;
    }
    // Then all of its data, read through to the end, counted on the way.
    QProcess data;
    data.start(tool, {QStringLiteral("--data-only"), QStringLiteral("--file=-"), path});
    DumpDataCounter counter;
    problem = Finish(data, QStringLiteral("pg_restore"), wait,
                     [&](const QString& line) { counter.Feed(line); });
    if (!problem.isEmpty()) {
        facts.problem = QStringLiteral("数据库备份已损坏: %1").arg(problem);
        return facts;
    }
    counter.Finish(&facts);
    if (tables)
        *tables = counter.Tables();
    return facts;
}

QStringList TablesMissingFromDump(const QStringList& dumpTables) {
    QStringList missing;
    for (const QString& table : QStringList{QStringLiteral("harbor_schema")} + ShopTables()) {
        if (!dumpTables.contains(table))
            missing.append(table);
    }
    return missing;
}

int OtherConnections() {
    return SqlScalar(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE "
                                    "datname=current_database() AND pid<>pg_backend_pid()"))
        .toInt();
}

RestoreResult RestoreServerDatabase(CConnection& connection, const QString& dumpPath,
                                    const RestoreConfirm& confirm, const QString& anchor,
                                    const QDateTime& now, const ToolWait& wait) {
    if (!connection.IsOpen() || !connection.IsServer())
        return Outcome(RestoreResult::Refused, QStringLiteral("没有连接数据库服务器,不能恢复"));
    // 1.
    QStringList dumpTables;
    const BackupFacts facts = InspectServerDump(dumpPath, wait, &dumpTables);
    if (!facts.problem.isEmpty())
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("文件 %1 不能用来恢复:\n%2\n")
                               .arg(QDir::toNativeSeparators(dumpPath), facts.problem) +
                           kUnchanged);
    // 2. Asked before and after the question: someone may have started the program meanwhile.
    const auto othersConnected = [&]() -> RestoreResult {
        const int others = OtherConnections();
        if (others == 0)
            return Outcome(RestoreResult::Restored, QString());
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("还有 %1 个其他连接(其他电脑上的本程序)正在使用数据库,"
                                      "现在不能恢复。请先在其他电脑上退出本程序,再恢复。\n")
                               .arg(others) +
                           kUnchanged);
    };
    RestoreResult others = othersConnected();
    if (others.outcome == RestoreResult::Refused)
        return others;
    // 3.
    if (confirm && !confirm(facts))
        return Outcome(RestoreResult::Cancelled, QString());
    others = othersConnected();
    if (others.outcome == RestoreResult::Refused)
        return others;
    const QString tool = PgToolPath(QStringLiteral("pg_restore"));
    const QString psql = PgToolPath(QStringLiteral("psql"));
    if (tool.isEmpty() || psql.isEmpty())
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("找不到 pg_restore 或 psql(PostgreSQL 的客户端程序)。") +
                           kUnchanged);

    // 4. The database as it is now, kept first; never over a copy there is.
    RestoreResult result;
    try {
        const QString folder = BackupFolderFor(anchor);
        if (!QDir().mkpath(folder))
            throw CDbException(
                QStringLiteral("备份文件夹 %1 不能建立").arg(QDir::toNativeSeparators(folder)));
        result.safetyCopy = QDir(folder).filePath(BackupFileName(anchor, now));
        const QFileInfo named(result.safetyCopy);
        for (int n = 2; QFileInfo::exists(result.safetyCopy); ++n)
            result.safetyCopy = named.dir().filePath(QStringLiteral("%1-%2.%3")
                                                         .arg(named.completeBaseName())
                                                         .arg(n)
                                                         .arg(named.suffix()));
        DumpServerDatabase(connection.Server(), result.safetyCopy, wait);
    } catch (const CDbException& error) {
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("恢复前不能先备份当前的数据库: %1\n").arg(error.Message()) +
                           kUnchanged);
    }

    // 5. In one transaction: a failure leaves every table as it was. pg_restore writes the
    // copy as a script (dropping each object before making it again) into a folder only this
    // user can read; only a complete script is run, by psql, after dropping the program's
    // tables the copy lacks.
    QTemporaryDir folder;
    const QString scriptPath = folder.filePath(QStringLiteral("restore.sql"));
    QProcess script;
    script.setStandardOutputFile(QProcess::nullDevice());
    script.start(tool, {QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                        QStringLiteral("--no-owner"), QStringLiteral("--no-privileges"),
                        QStringLiteral("--file=") + scriptPath, dumpPath});
    QString problem = folder.isValid() ? Finish(script, QStringLiteral("pg_restore"), wait)
                                       : QStringLiteral("临时文件夹不能建立");
    if (!problem.isEmpty())
        return Outcome(RestoreResult::Failed,
                       QStringLiteral("恢复没有完成: %1\n").arg(problem) + kUnchanged);
    QStringList psqlArgs{QStringLiteral("--no-psqlrc"),
                         QStringLiteral("--quiet"),
                         QStringLiteral("--single-transaction"),
                         QStringLiteral("--set=ON_ERROR_STOP=1"),
                         QStringLiteral("--no-password"),
                         QStringLiteral("--dbname=") + connection.Server().database};
    for (const QString& table : TablesMissingFromDump(dumpTables))
        psqlArgs.append(QStringLiteral("--command=DROP TABLE IF EXISTS %1 CASCADE").arg(table));
    psqlArgs.append(QStringLiteral("--file=") + scriptPath);
    const ServerAddress address = connection.Server();
    connection.Close();
    QProcess run;
    run.setProcessEnvironment(ToolEnvironment(address));
    run.setStandardOutputFile(QProcess::nullDevice());
    run.start(psql, psqlArgs);
    problem = Finish(run, QStringLiteral("psql"), wait);
    QFile::remove(scriptPath);

    // 6. Raises CDbException when the server cannot be reached again.
    connection.OpenServer(address);
    if (!problem.isEmpty()) {
        result.outcome = RestoreResult::Failed;
        result.message = QStringLiteral("恢复没有完成: %1\n").arg(problem) + kUnchanged;
        return result;
    }
    result.outcome = RestoreResult::Restored;
    result.message = QStringLiteral("数据库已恢复为 %1 的备份。\n恢复前的数据库已另存为 %2")
                         .arg(facts.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                              QDir::toNativeSeparators(result.safetyCopy));
    return result;
}
