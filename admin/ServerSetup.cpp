#include "admin/ServerSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUuid>
#include <algorithm>

#include "admin/ShopCopy.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/ConnectionString.h"
#include "db/ServerAuditGuard.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <unistd.h>

namespace {

const char* const kBlockEnd = "# end of Harbor --setup-host";

bool IsLoopback(const QString& text);
const char* const kRole = "harbor";
const char* const kDatabase = "harbor";

// A step that failed: what happened and what to do next.
struct SetupFailure {
    QString what;
    QString next;
};

struct Command {
    int code = -1;
    QString output;
};

// Runs a program (as the postgres user when asked), input given on its standard input.
Command Run(const QString& program, const QStringList& args, bool asPostgres = false,
            const QByteArray& input = QByteArray()) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The postgres user may not enter the folder root started in (/root, a private temporary
    // folder): psql then warns on its output, which is read as the answer.
    if (asPostgres)
        process.setWorkingDirectory(QStringLiteral("/"));
    if (asPostgres && ::geteuid() == 0)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                  QStringLiteral("--"), program} +
                          args);
    else
        process.start(program, args);
    Command result;
    if (!process.waitForStarted(10000))
        return {-1, QStringLiteral("%1 不能运行").arg(program)};
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(15 * 60 * 1000);
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return result;
}

QString NewestBinDir() {
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    int bestVersion = 0;
    for (const QString& version : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = root.filePath(version + QStringLiteral("/bin"));
        if (QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable() &&
            version.toInt() > bestVersion) {
            bestVersion = version.toInt();
            best = bin;
        }
    }
    return best;
}

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SetupFailure{QStringLiteral("读不了 %1").arg(path),
                           QStringLiteral("请确认文件存在,并以 root 身份运行")};
    return QString::fromUtf8(file.readAll());
}

void WriteText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        throw SetupFailure{QStringLiteral("写不了 %1").arg(path),
                           QStringLiteral("请以 root 身份运行")};
}

// A statement as it may be shown: the password left out.
QString ForMessage(const QString& sql) {
    const qsizetype at = sql.indexOf(QLatin1String("PASSWORD"));
    return at < 0 ? sql : sql.left(at) + QStringLiteral("PASSWORD ...");
}

QString SqlLiteral(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString WithoutBlock(const QString& content) {
    const QString mark = QString::fromUtf8(kSetupMark);
    const qsizetype start = content.indexOf(mark);
    if (start < 0)
        return content;
    const QString end = QString::fromLatin1(kBlockEnd);
    qsizetype stop = content.indexOf(end, start);
    stop = stop < 0 ? content.size() : stop + end.size();
    if (stop < content.size() && content.at(stop) == QLatin1Char('\n'))
        ++stop;
    return content.left(start) + content.mid(stop);
}

QString Block(const QStringList& lines) {
    return QString::fromUtf8(kSetupMark) + QLatin1Char('\n') + lines.join(QLatin1Char('\n')) +
           QLatin1Char('\n') + QString::fromLatin1(kBlockEnd) + QLatin1Char('\n');
}

constexpr int kSetupStatementLimit = 10 * 60 * 1000;

// The steps, in order; each prints what it did.
class Setup {
  public:
    Setup(const SetupOptions& options, const std::function<void(const QString&)>& out)
        : m_options(options), m_out(out) {}

    void Run() {
        CheckRoot();
        Install();
        FindCluster();
        StartServer();
        Configure();
        CreateRole();
        CreateDatabase();
        LoadSchema();
        GuardAudit();
        if (!m_options.fromFile.isEmpty())
            CopyFrom();
        if (!m_options.password.isEmpty())
            SetServerPassword(m_options.password);
        Say(m_bChanged ? QStringLiteral("主机已就绪。")
                       : QStringLiteral("主机已是所需的状态,这次没有改动任何东西。"));
        Say(QStringLiteral("各工作站: 网络设置 → 使用局域网主机数据库,主机IP地址填 %1。")
                .arg(m_strListen));
        if (Password() != QLatin1String(kDatabasePassword))
            Say(QStringLiteral(
                "这个主机用了自己的密码: 请在每台工作站运行 Harbor --lan-password 加上同一密码。"));
    }

  private:
    void Say(const QString& text) { m_out(text); }

    void CheckRoot() {
        if (::geteuid() != 0)
            throw SetupFailure{QStringLiteral("准备主机要改动系统的设置"),
                               QStringLiteral("请以 root 身份运行: sudo Harbor --setup-host")};
    }

    void Install() {
        m_strBin = NewestBinDir();
        if (!m_strBin.isEmpty()) {
            Say(QStringLiteral("PostgreSQL 已安装 (%1)").arg(m_strBin));
            return;
        }
        Say(QStringLiteral("正在从 Debian 安装 PostgreSQL ..."));
        Command update =
            ::Run(QStringLiteral("apt-get"), {QStringLiteral("update"), QStringLiteral("-qq")});
        Command install =
            ::Run(QStringLiteral("env"),
                  {QStringLiteral("DEBIAN_FRONTEND=noninteractive"), QStringLiteral("apt-get"),
                   QStringLiteral("install"), QStringLiteral("-y"), QStringLiteral("-qq"),
                   QStringLiteral("postgresql")});
        m_strBin = NewestBinDir();
        if (install.code != 0 || m_strBin.isEmpty())
            throw SetupFailure{
                QStringLiteral("安装 PostgreSQL 失败: %1")
                    .arg(install.output.right(400) + update.output.right(200)),
                QStringLiteral("请检查网络和软件源,或手动运行 apt-get install postgresql 后再试")};
        Say(QStringLiteral("已安装 PostgreSQL"));
        m_bChanged = true;
    }

    void FindCluster() {
        if (!m_options.dataDir.isEmpty()) {
            m_strData = m_options.dataDir;
            m_strConfig = m_options.configDir.isEmpty() ? m_strData : m_options.configDir;
            m_strSocket = m_options.socketDir.isEmpty() ? QStringLiteral("/var/run/postgresql")
                                                        : m_options.socketDir;
            m_nPort = m_options.port > 0 ? m_options.port : 5432;
            if (!QFileInfo::exists(m_strData + QStringLiteral("/PG_VERSION")))
                throw SetupFailure{
                    QStringLiteral("%1 不是 PostgreSQL 的数据文件夹").arg(m_strData),
                    QStringLiteral(
                        "请用 --data-dir 指定已初始化的数据文件夹,或不加此选项使用系统的集群")};
            Say(QStringLiteral("数据库集群: 数据文件夹 %1, 端口 %2").arg(m_strData).arg(m_nPort));
            return;
        }
        Command list = ::Run(QStringLiteral("pg_lsclusters"), {QStringLiteral("-h")});
        QStringList fields =
            list.output.split(QLatin1Char('\n')).value(0).simplified().split(QLatin1Char(' '));
        if (list.code != 0 || fields.size() < 6) {
            const QString version = QFileInfo(QFileInfo(m_strBin).path()).fileName();
            Command create =
                ::Run(QStringLiteral("pg_createcluster"), {version, QStringLiteral("main")});
            if (create.code != 0)
                throw SetupFailure{QStringLiteral("建立数据库集群失败: %1").arg(create.output),
                                   QStringLiteral("请查看 pg_lsclusters 的输出,修好后再试")};
            Say(QStringLiteral("已建立数据库集群 %1/main").arg(version));
            m_bChanged = true;
            list = ::Run(QStringLiteral("pg_lsclusters"), {QStringLiteral("-h")});
            fields =
                list.output.split(QLatin1Char('\n')).value(0).simplified().split(QLatin1Char(' '));
            if (fields.size() < 6)
                throw SetupFailure{QStringLiteral("找不到数据库集群"),
                                   QStringLiteral("请查看 pg_lsclusters 的输出")};
        }
        m_strVersion = fields[0];
        m_strCluster = fields[1];
        m_nPort = fields[2].toInt();
        m_strData = fields[5];
        m_strConfig = m_options.configDir.isEmpty()
                          ? QStringLiteral("/etc/postgresql/%1/%2").arg(m_strVersion, m_strCluster)
                          : m_options.configDir;
        m_strSocket = m_options.socketDir.isEmpty() ? QStringLiteral("/var/run/postgresql")
                                                    : m_options.socketDir;
        if (m_options.port > 0)
            m_nPort = m_options.port;
        Say(QStringLiteral("数据库集群: %1/%2, 数据文件夹 %3, 端口 %4")
                .arg(m_strVersion, m_strCluster, m_strData)
                .arg(m_nPort));
    }

    bool Debian() const { return !m_strCluster.isEmpty(); }

    Command Control(const QString& action) {
        if (Debian())
            return ::Run(QStringLiteral("pg_ctlcluster"), {m_strVersion, m_strCluster, action});
        QStringList args{QStringLiteral("-D"), m_strData, QStringLiteral("-w"),
                         QStringLiteral("-t"), QStringLiteral("60")};
        if (action == QLatin1String("start"))
            args << QStringLiteral("-l") << m_strData + QStringLiteral("/harbor-server.log")
                 << QStringLiteral("-o")
                 << QStringLiteral("-p %1 -k %2").arg(m_nPort).arg(m_strSocket);
        args << action;
        return ::Run(m_strBin + QStringLiteral("/pg_ctl"), args, true);
    }

    bool Running() {
        return ::Run(m_strBin + QStringLiteral("/pg_isready"),
                     {QStringLiteral("-q"), QStringLiteral("-h"), m_strSocket, QStringLiteral("-p"),
                      QString::number(m_nPort)})
                   .code == 0;
    }

    void StartServer() {
        if (Running()) {
            Say(QStringLiteral("服务器已在运行"));
            return;
        }
        const Command start = Control(QStringLiteral("start"));
        if (start.code != 0 || !Running())
            throw SetupFailure{
                QStringLiteral("服务器启动失败: %1").arg(start.output),
                QStringLiteral(
                    "请查看服务器日志 (/var/log/postgresql/ 或数据文件夹中的日志),修好后再试")};
        Say(QStringLiteral("已启动服务器"));
        m_bChanged = true;
    }

    void Configure() {
        m_strListen = m_options.listen.isEmpty() ? LanAddress() : m_options.listen;
        if (m_strListen.isEmpty())
            throw SetupFailure{
                QStringLiteral("找不到本机的局域网地址 (10.x, 172.16-31.x, 192.168.x)"),
                QStringLiteral("请接好网络,或用 --listen 指定本机在局域网中的地址")};
        const QString confPath = m_strConfig + QStringLiteral("/postgresql.conf");
        const QString hbaPath = m_strConfig + QStringLiteral("/pg_hba.conf");
        const QString conf = ReadText(confPath);
        const QString hba = ReadText(hbaPath);
        const QString newConf = ConfWithHarbor(conf, m_strListen, m_options.port);
        const QString newHba = HbaWithHarbor(hba);
        if (newConf == conf) {
            Say(QStringLiteral("postgresql.conf 已是所需的设置 (监听 %1),未改动").arg(m_strListen));
        } else {
            WriteText(confPath, newConf);
            Say(QStringLiteral("postgresql.conf: 监听 localhost 和 %1, 密码以 scram-sha-256 保存")
                    .arg(m_strListen));
        }
        if (newHba == hba) {
            Say(QStringLiteral("pg_hba.conf 已是所需的设置,未改动"));
        } else {
            WriteText(hbaPath, newHba);
            Say(QStringLiteral(
                    "pg_hba.conf: 数据库 %1 只允许本机和局域网 (10.0.0.0/8, 172.16.0.0/12, "
                    "192.168.0.0/16) 以密码 (scram-sha-256) 连接,其余一律拒绝")
                    .arg(QLatin1String(kDatabase)));
        }
        if (newConf != conf) {
            const Command restart = Control(QStringLiteral("restart"));
            if (restart.code != 0 || !Running())
                throw SetupFailure{
                    QStringLiteral("服务器重新启动失败: %1").arg(restart.output),
                    QStringLiteral("请查看服务器日志;监听地址 %1 须是本机的地址").arg(m_strListen)};
            Say(QStringLiteral("已重新启动服务器,新的监听地址生效"));
            m_bChanged = true;
        } else if (newHba != hba) {
            const Command reload = Control(QStringLiteral("reload"));
            if (reload.code != 0)
                throw SetupFailure{
                    QStringLiteral("服务器没能重新读取访问规则: %1").arg(reload.output),
                    QStringLiteral("请查看服务器日志")};
            Say(QStringLiteral("服务器已重新读取访问规则"));
            m_bChanged = true;
        }
    }

    QString Superuser(const QString& sql, const QString& database = QStringLiteral("postgres")) {
        const Command psql =
            ::Run(m_strBin + QStringLiteral("/psql"),
                  {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"),
                   QStringLiteral("-t"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                   QStringLiteral("-h"), m_strSocket, QStringLiteral("-p"),
                   QString::number(m_nPort), QStringLiteral("-d"), database},
                  true, sql.toUtf8());
        // The statement goes in on standard input, so a password never shows in the process list.
        if (psql.code != 0)
            throw SetupFailure{
                QStringLiteral("服务器拒绝了: %1\n%2").arg(ForMessage(sql), psql.output),
                QStringLiteral("请确认 postgres 用户能在本机通过 %1 连接服务器").arg(m_strSocket)};
        return psql.output;
    }

    // The role's password: --password when given, else the one the role already has (the
    // program's own, or the shop's own kept on this computer by an earlier run).
    QString Password() const { return m_strPassword; }

    ServerAddress Address() const {
        ServerAddress address;
        address.host = QStringLiteral("127.0.0.1");
        address.port = m_nPort;
        address.password = Password();
        return address;
    }

    bool PasswordWorks(const QString& password) {
        const QString name = QStringLiteral("harbor-setup-") + QUuid::createUuid().toString();
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(QStringLiteral("127.0.0.1"));
            db.setPort(m_nPort);
            db.setDatabaseName(QStringLiteral("postgres"));
            db.setUserName(QLatin1String(kRole));
            db.setPassword(password);
            ok = db.open();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return ok;
    }

    void SetRolePassword(const QString& verb) {
        Superuser(QStringLiteral("SET password_encryption='scram-sha-256'; %1 ROLE %2 LOGIN "
                                 "PASSWORD %3")
                      .arg(verb, QLatin1String(kRole), SqlLiteral(Password())));
    }

    void CreateRole() {
        const QString exists =
            Superuser(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname='%1'")
                          .arg(QLatin1String(kRole)));
        const QString own = QString::fromLatin1(kDatabasePassword);
        if (exists != QLatin1String("1")) {
            m_strPassword = m_options.password.isEmpty() ? own : m_options.password;
            SetRolePassword(QStringLiteral("CREATE"));
            Say(QStringLiteral("已建立角色 %1").arg(QLatin1String(kRole)));
            m_bChanged = true;
            return;
        }
        if (!m_options.password.isEmpty()) {
            m_strPassword = m_options.password;
            if (PasswordWorks(m_strPassword)) {
                Say(QStringLiteral("角色 %1 已存在,密码正确,未改动").arg(QLatin1String(kRole)));
                return;
            }
            SetRolePassword(QStringLiteral("ALTER"));
            Say(QStringLiteral("已按 --password 更改角色 %1 的密码").arg(QLatin1String(kRole)));
            m_bChanged = true;
            return;
        }
        // Without --password the role keeps the password it has: the workstations use it.
        for (const QString& known : {ServerPassword(), own}) {
            if (!known.isEmpty() && PasswordWorks(known)) {
                m_strPassword = known;
                Say(QStringLiteral("角色 %1 已存在,沿用原来的密码,未改动 (要换密码请加 --password)")
                        .arg(QLatin1String(kRole)));
                return;
            }
        }
        throw SetupFailure{
            QStringLiteral("角色 %1 已存在,密码是本店自己设的,这台电脑上没有记录;密码没有改动")
                .arg(QLatin1String(kRole)),
            QStringLiteral("请加上 --password 本店的密码 再运行一次 (各工作站不受影响)")};
    }

    void CreateDatabase() {
        const QString exists =
            Superuser(QStringLiteral("SELECT count(*) FROM pg_database WHERE datname='%1'")
                          .arg(QLatin1String(kDatabase)));
        if (exists == QLatin1String("1")) {
            Say(QStringLiteral("数据库 %1 已存在,未改动").arg(QLatin1String(kDatabase)));
            return;
        }
        // Text compares and sorts by its bytes, as in the local file.
        Superuser(QStringLiteral("CREATE DATABASE %1 OWNER %2 TEMPLATE template0 ENCODING 'UTF8' "
                                 "LC_COLLATE 'C' LC_CTYPE 'C'")
                      .arg(QLatin1String(kDatabase), QLatin1String(kRole)));
        Say(QStringLiteral("已建立数据库 %1").arg(QLatin1String(kDatabase)));
        m_bChanged = true;
    }

    // The log of changes belongs to the superuser: the program's role only reads and adds.
    void GuardAudit() {
        Superuser(ServerAuditGuardStatements(QLatin1String(kRole)).join(QStringLiteral("; ")),
                  QLatin1String(kDatabase));
        Say(QStringLiteral("操作日志只允许角色 %1 读取和添加").arg(QLatin1String(kRole)));
    }

    void LoadSchema() {
        CConnection probe;
        bool had = true;
        try {
            probe.OpenServer(Address());
        } catch (const CDbException&) {
            had = false;
        }
        probe.Close();
        // The schema and the copy of a large shop take longer than a sale.
        m_server.SetStatementLimit(kSetupStatementLimit);
        try {
            m_server.OpenServer(Address(), true);
        } catch (const CDbException& e) {
            throw SetupFailure{QStringLiteral("建立数据表失败: %1").arg(e.Message()),
                               QStringLiteral("请查看服务器日志,修好后再运行一次")};
        }
        if (had) {
            Say(QStringLiteral("数据表已存在 (版本 %1),未改动").arg(m_server.SchemaVersion()));
        } else {
            Say(QStringLiteral("已建立数据表 (版本 %1)").arg(m_server.SchemaVersion()));
            m_bChanged = true;
        }
    }

    void CopyFrom() {
        CConnection local;
        try {
            local.OpenFile(m_options.fromFile);
        } catch (const CDbException& e) {
            throw SetupFailure{QStringLiteral("打不开要复制的数据库: %1").arg(e.Message()),
                               QStringLiteral("请用 --from 指定本店的 Harbor.accdb")};
        }
        const QStringList tables = ShopTables();
        const QList<qint64> source = ShopRowCounts(local);
        const QList<qint64> target = ShopRowCounts(m_server);
        // Tables still empty on the server that hold rows in the file: all of them on the first
        // run; on a later run those an older program left behind.
        QStringList missing;
        bool differs = false;
        // (The roles' default permissions and the log's head are not the shop's data.)
        bool held = false;
        for (int i = 0; i < tables.size(); ++i) {
            if (StartsWithDefaults(tables[i]) || KeptByServer(tables[i]))
                continue;
            held = held || target[i] > 0;
            if (target[i] == 0 && source[i] > 0)
                missing.append(tables[i]);
            else if (target[i] != source[i])
                differs = true;
        }
        if (held && differs)
            throw SetupFailure{
                QStringLiteral("服务器上的数据库已有数据,与 %1 不同,没有复制")
                    .arg(m_options.fromFile),
                QStringLiteral("要重新复制,请先备份并删除服务器上的数据库 (sudo -u postgres dropdb "
                               "harbor),再运行一次")};
        if (held && missing.isEmpty()) {
            Say(QStringLiteral("服务器上的数据与 %1 各表行数相同,已复制过,未改动")
                    .arg(m_options.fromFile));
            return;
        }
        if (!held)
            missing.clear(); // every table, the empty ones checked too
        try {
            const QStringList report = CopyShopTables(local, m_server, missing);
            Say(missing.isEmpty()
                    ? QStringLiteral("已在一个事务中复制 %1 的每个表,复制后行数核对无误:")
                          .arg(m_options.fromFile)
                    : QStringLiteral("服务器上缺少 %1 中这些表的数据,已在一个事务中补上,"
                                     "复制后行数核对无误:")
                          .arg(m_options.fromFile));
            for (const QString& line : report)
                Say(QStringLiteral("  ") + line);
        } catch (const CDbException& e) {
            throw SetupFailure{QStringLiteral("复制失败,服务器上什么也没写入: %1").arg(e.Message()),
                               QStringLiteral("请检查要复制的数据库,修好后再运行一次")};
        }
        m_bChanged = true;
    }

    SetupOptions m_options;
    std::function<void(const QString&)> m_out;
    bool m_bChanged = false;
    QString m_strBin;
    QString m_strVersion;
    QString m_strCluster;
    QString m_strData;
    QString m_strConfig;
    QString m_strSocket;
    QString m_strListen;
    QString m_strPassword;
    int m_nPort = 5432;
    CConnection m_server;
};

} // namespace

bool ParseSetupOptions(const QStringList& args, SetupOptions* options, QString* error) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        QString* target = nullptr;
        if (arg == QLatin1String("--from"))
            target = &options->fromFile;
        else if (arg == QLatin1String("--password"))
            target = &options->password;
        else if (arg == QLatin1String("--data-dir"))
            target = &options->dataDir;
        else if (arg == QLatin1String("--config-dir"))
            target = &options->configDir;
        else if (arg == QLatin1String("--socket-dir"))
            target = &options->socketDir;
        else if (arg == QLatin1String("--listen"))
            target = &options->listen;
        if (target && hasValue) {
            *target = args[++i];
            continue;
        }
        if (arg == QLatin1String("--port") && hasValue) {
            bool ok = false;
            options->port = args[++i].toInt(&ok);
            if (ok && options->port > 0 && options->port < 65536)
                continue;
        }
        *error = QStringLiteral("不认识的选项或缺少值: %1").arg(arg);
        return false;
    }
    if (!options->listen.isEmpty() && !IsPrivateAddress(options->listen)) {
        *error =
            QStringLiteral("%1 不是局域网地址 (10.x, 172.16-31.x, 192.168.x)").arg(options->listen);
        return false;
    }
    return true;
}

QStringList HarborBlock(const QString& content) {
    const QString mark = QString::fromUtf8(kSetupMark);
    const qsizetype start = content.indexOf(mark);
    if (start < 0)
        return {};
    const qsizetype stop = content.indexOf(QString::fromLatin1(kBlockEnd), start);
    const QString inner =
        content.mid(start + mark.size(), stop < 0 ? -1 : stop - start - mark.size());
    return inner.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString HbaWithHarbor(const QString& current) {
    const QString block = Block({
        QStringLiteral("local   harbor  all                     peer"),
        QStringLiteral("host    harbor  harbor  127.0.0.1/32    scram-sha-256"),
        QStringLiteral("host    harbor  harbor  ::1/128         scram-sha-256"),
        QStringLiteral("host    harbor  harbor  10.0.0.0/8      scram-sha-256"),
        QStringLiteral("host    harbor  harbor  172.16.0.0/12   scram-sha-256"),
        QStringLiteral("host    harbor  harbor  192.168.0.0/16  scram-sha-256"),
        QStringLiteral("host    harbor  all     all             reject"),
    });
    // First match wins: the program's lines go before every other line.
    return block + WithoutBlock(current);
}

QString ConfWithHarbor(const QString& current, const QString& listen, int port) {
    const QString addresses =
        IsLoopback(listen) ? QStringLiteral("localhost") : QStringLiteral("localhost,") + listen;
    QStringList lines{QStringLiteral("listen_addresses = '%1'").arg(addresses),
                      QStringLiteral("password_encryption = 'scram-sha-256'")};
    if (port > 0)
        lines.append(QStringLiteral("port = %1").arg(port));
    QString rest = WithoutBlock(current);
    if (!rest.isEmpty() && !rest.endsWith(QLatin1Char('\n')))
        rest += QLatin1Char('\n');
    // The last setting counts: the program's block goes after everything else.
    return rest + Block(lines);
}

namespace {

// An IPv4 address in host order; false for anything else.
bool Ipv4(const QString& text, quint32* address) {
    in_addr in{};
    if (::inet_pton(AF_INET, text.trimmed().toLatin1().constData(), &in) != 1)
        return false;
    *address = ntohl(in.s_addr);
    return true;
}

bool IsLoopback(const QString& text) {
    quint32 address = 0;
    return Ipv4(text, &address) && (address >> 24) == 127;
}

} // namespace

bool IsPrivateAddress(const QString& text) {
    quint32 a = 0;
    if (!Ipv4(text, &a))
        return false;
    return (a >> 24) == 127 || (a >> 24) == 10 || (a >> 20) == ((172u << 4) | 1u) ||
           (a >> 16) == ((192u << 8) | 168u);
}

QString LanAddress() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return QString();
    QString found;
    for (ifaddrs* it = list; it && found.isEmpty(); it = it->ifa_next) {
        if (!it->ifa_addr || it->ifa_addr->sa_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(it->ifa_addr);
        if (!::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            continue;
        const QString address = QString::fromLatin1(text);
        if (IsPrivateAddress(address) && !IsLoopback(address))
            found = address;
    }
    ::freeifaddrs(list);
    return found;
}

int RunServerSetup(const SetupOptions& options, const std::function<void(const QString&)>& out) {
    try {
        Setup setup(options, out);
        setup.Run();
        return 0;
    } catch (const SetupFailure& failure) {
        out(QStringLiteral("失败: %1").arg(failure.what));
        out(QStringLiteral("下一步: %1").arg(failure.next));
    }
    return 1;
}
