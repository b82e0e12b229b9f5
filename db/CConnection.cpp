#include "db/CConnection.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRandomGenerator>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <libpq-fe.h>
#include <sqlite3.h>

#include "db/AuditCapture.h"
#include "db/CDbException.h"
#include "db/CStatementRun.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/SchemaUpgrade.h"
#include "db/ShopFileHeader.h"
#include "db/StatementWatch.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

QAtomicInt g_nextConnection = 0;

// Statements kept for reuse; past this many (texts built at run time) the idle ones go.
constexpr int kCacheLimit = 256;

int g_busyTimeout = 5000;
int g_statementLimit = 8000;

// A full quick check reads every page: done at open for files up to this size.
constexpr qint64 kQuickCheckLimit = 256LL * 1024 * 1024;

// What tells the opened file apart from another one put at its path later.
QByteArray FileIdentity(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QByteArray();
    return QByteArray::number(qulonglong(info.st_dev)) + ':' +
           QByteArray::number(qulonglong(info.st_ino));
#else
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    return info.birthTime().toString(Qt::ISODateWithMs).toUtf8();
#endif
}

// The engine's own handle behind a QtSql SQLite connection, so that statements can be run
// straight through SQLite's C interface; null when the driver gives none.
sqlite3* SqliteHandle(const QSqlDatabase& db) {
    if (!db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// How many connections of this process have each shop file open. POSIX locks belong to the
// process: closing any other descriptor of a file that SQLite holds drops SQLite's locks on it,
// and another program closing its last connection would then fold the log into the file and
// delete it under this one. So nothing here opens a file that a connection of this process has
// open; its header is read through SQLite's own descriptor.
QMutex g_openFilesLock;
QHash<QString, int> g_openFiles;

bool OpenedInThisProcess(const QString& path) {
    const QMutexLocker lock(&g_openFilesLock);
    return g_openFiles.value(path) > 0;
}

void CountOpenFile(const QString& path, int change) {
    const QMutexLocker lock(&g_openFilesLock);
    const int count = g_openFiles.value(path) + change;
    if (count > 0)
        g_openFiles.insert(path, count);
    else
        g_openFiles.remove(path);
}

} // namespace

CConnection::CConnection()
    : m_strName(QStringLiteral("harbor-%1").arg(g_nextConnection.fetchAndAddRelaxed(1))),
      m_nStatementLimit(g_statementLimit) {}

CConnection::~CConnection() {
    Close();
}

void CConnection::Open(const QString& connectionString) {
    const QString source = DataSourceOf(connectionString);
    if (source.isEmpty())
        throw CDbException(QStringLiteral("连接字符串中没有数据源"));
    if (IsNetworkPath(source)) {
        ServerAddress address;
        // "host" or "host:port" (a server on another port than PostgreSQL's own).
        address.host = HostOfDataSource(source);
        const qsizetype colon = address.host.lastIndexOf(QLatin1Char(':'));
        if (colon > 0 && address.host.count(QLatin1Char(':')) == 1) {
            bool number = false;
            const int port = address.host.mid(colon + 1).toInt(&number);
            if (!number || port < 1 || port > 65535)
                throw CDbException(
                    QStringLiteral("局域网主机地址 %1 中的端口不对").arg(address.host));
            address.port = port;
            address.host = address.host.left(colon);
        }
        if (address.host.isEmpty())
            throw CDbException(QStringLiteral("局域网主机数据库 %1 中没有主机地址").arg(source));
        address.password = ServerPassword();
        OpenServer(address);
        return;
    }
    OpenSqlite(source);
}

void CConnection::OpenServer(const ServerAddress& address, bool createSchema) {
    Close();
    m_server = address;
    m_strPath.clear();
    m_fileIdentity.clear();
    m_dialect = SqlDialect(SqlDialect::Engine::Postgres);
    try {
        ConnectServer();
        if (createSchema && !HasSchemaTable())
            CreateServerSchema();
        ReadSchemaVersion(QStringLiteral("服务器上的数据库"));
        m_nSchemaVersion = UpgradeSchema(*this, m_nSchemaVersion);
        InstallAuditCapture(*this);
    } catch (const CDbException& e) {
        Close();
        m_server = ServerAddress();
        throw CDbException(QStringLiteral("局域网主机 %1 上的数据库服务器连接失败: %2")
                               .arg(address.host, e.Message()),
                           e.Statement(), e.GetKind());
    }
}

void CConnection::ConnectServer() {
    QString openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_strName);
        db.setHostName(m_server.host);
        if (m_server.port > 0)
            db.setPort(m_server.port);
        db.setDatabaseName(m_server.database);
        db.setUserName(m_server.user);
        db.setPassword(m_server.password);
        // An unreachable host fails within seconds instead of the system's TCP time-out.
        db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=Harbor"));
        if (!db.open())
            openError = EngineText(db.lastError());
    }
    if (!openError.isEmpty()) {
        QSqlDatabase::removeDatabase(m_strName);
        throw CDbException(ServerConnectProblem(m_server.host, openError), QString(),
                           CDbException::Kind::Disconnected);
    }
    m_bLost = false;
    // Dates and numbers as the program writes them, whatever the server's defaults.
    ExecuteText(QStringLiteral("SET datestyle TO ISO"));
    ExecuteText(QStringLiteral("SET standard_conforming_strings TO on"));
}

bool CConnection::HasSchemaTable() {
    CStatementRun run(*this, QStringLiteral("SELECT to_regclass('harbor_schema') IS NOT NULL"));
    return run.Next() && run.Value(0).toBool();
}

// The tables of resources/schema.sql as the server takes them, in one transaction.
void CConnection::CreateServerSchema() {
    const QStringList statements = SqlFileStatements(QStringLiteral(":/schema.sql"));
    BeginTransaction();
    try {
        for (const QString& statement : statements)
            Execute(m_dialect.SchemaText(statement));
        Commit();
    } catch (...) {
        Rollback();
        throw;
    }
}

// The schema version of the open database; a database without one is named by what (the
// file's path, or the server's database) as not the program's.
void CConnection::ReadSchemaVersion(const QString& what) {
    try {
        CStatementRun check(*this, QStringLiteral("SELECT version FROM harbor_schema"));
        if (!check.Next())
            throw CDbException(QStringLiteral("数据库没有版本记录"));
        m_nSchemaVersion = check.Value(0).toInt();
    } catch (const CDbException& e) {
        if (e.GetKind() != CDbException::Kind::Engine)
            throw;
        throw CDbException(QStringLiteral("%1不是本系统的数据库: %2").arg(what, e.Message()));
    }
}

// After the server went away: a fresh session with fresh prepared statements. Inside a
// transaction nothing can be done; the action fails and rolls back.
void CConnection::ReopenServerIfLost() {
    if (!IsServer() || m_server.host.isEmpty() || !m_bLost)
        return;
    if (m_nTransactionDepth > 0)
        throw CDbException(
            QStringLiteral("与数据库服务器 %1 的连接已断开,这次的操作已撤销。").arg(m_server.host),
            QString(), CDbException::Kind::Disconnected);
    DropCache();
    if (QSqlDatabase::contains(m_strName)) {
        QSqlDatabase::database(m_strName, false).close();
        QSqlDatabase::removeDatabase(m_strName);
    }
    try {
        ConnectServer();
    } catch (const CDbException& e) {
        m_bLost = true;
        throw CDbException(
            QStringLiteral("数据库服务器 %1 连接不上: %2").arg(m_server.host, e.Message()),
            QString(), CDbException::Kind::Disconnected);
    }
}

QString CConnection::Where() const {
    if (IsServer())
        return m_server.port > 0 && m_server.port != 5432
                   ? QStringLiteral("PostgreSQL 服务器 %1:%2").arg(m_server.host).arg(m_server.port)
                   : QStringLiteral("PostgreSQL 服务器 %1").arg(m_server.host);
    return QStringLiteral("SQLite 文件 %1").arg(QDir::toNativeSeparators(m_strPath));
}

CDbException CConnection::Failure(const QSqlError& error, const QString& sql) {
    CDbException failure = IsServer() ? ServerErrorOf(error, sql) : DbErrorOf(error, sql);
    // What fails on a file that was replaced under the program (it reads as no database, or
    // as a damaged one) is told as the replaced file it is.
    if (!IsServer() && m_nShopId != 0 && !FileIsTheOneOpened())
        return LostFile();
    if (!IsServer() || failure.GetKind() != CDbException::Kind::Disconnected)
        return failure;
    m_bLost = true;
    return CDbException(
        QStringLiteral("与数据库服务器 %1 的连接已断开,这次的操作已撤销,下一次操作时"
                       "程序会重新连接。(%2)")
            .arg(m_server.host, failure.Message()),
        sql, CDbException::Kind::Disconnected);
}

void CConnection::ExecuteText(const QString& sql) {
    CStatementRun run(*this, sql);
}

void CConnection::LockRows(const QString& select, const QVariantList& values) {
    if (!IsServer() || m_nTransactionDepth == 0)
        return;
    CStatementRun run(*this, select + QStringLiteral(" FOR UPDATE"), values);
}

void CConnection::LockKey(const QString& key) {
    if (!IsServer() || m_nTransactionDepth == 0)
        return;
    CStatementRun run(*this, QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"), {key});
}

bool CConnection::NoteHeldLock(const QString& key) {
    if (m_nTransactionDepth == 0)
        return true;
    if (m_heldLocks.contains(key))
        return false;
    m_heldLocks.insert(key);
    return true;
}

void CConnection::OpenFile(const QString& path) {
    OpenSqlite(path);
}

void CConnection::SetBusyTimeout(int milliseconds) {
    g_busyTimeout = milliseconds;
}

void CConnection::SetDefaultStatementLimit(int milliseconds) {
    g_statementLimit = milliseconds;
}

void CConnection::WatchStart() {
    if (!IsServer() || m_nStatementLimit <= 0)
        return;
    const QVariant handle = DriverHandle();
    // Qt's driver names it by libpq's struct.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return;
    PGconn* connection = *static_cast<PGconn* const*>(handle.constData());
    if (!m_pWatch)
        m_pWatch = std::make_unique<StatementWatch>();
    m_pWatch->Arm(PQsocket(connection), m_nStatementLimit);
}

bool CConnection::WatchStop() {
    return m_pWatch && m_pWatch->Disarm();
}

// The server did not answer in time and its connection was cut: the transaction is rolled back
// there, unless the statement was the commit itself, whose result is then not known.
CDbException CConnection::GaveUp(const QString& sql) {
    m_bLost = true;
    const QString seconds = QString::number((m_nStatementLimit + 999) / 1000);
    if (sql.trimmed().compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0)
        return CDbException(
            QStringLiteral("数据库服务器 %1 在 %2 秒内没有回应提交,不知道这次的修改是否已经保存。"
                           "程序已断开连接;服务器恢复后窗口会重新读取,请核对后再操作,不要"
                           "重复保存。")
                .arg(m_server.host, seconds),
            sql, CDbException::Kind::InDoubt);
    return CDbException(QStringLiteral("数据库服务器 %1 在 %2 秒内没有回应,程序已断开连接,这次的"
                                       "操作已撤销。服务器恢复后,下一次操作时程序会重新连接。")
                            .arg(m_server.host, seconds),
                        sql, CDbException::Kind::Disconnected);
}

void CConnection::CheckSqliteFile(const QString& path) const {
    const QFileInfo info(path);
    const QString file = info.absoluteFilePath();
    if (!info.exists())
        throw CDbException(QStringLiteral("找不到数据库文件 %1").arg(file));
    if (!info.isFile() || !info.isReadable() || !info.isWritable())
        throw CDbException(QStringLiteral("数据库文件 %1 不能读写").arg(file));
    const QFileInfo folder(info.absolutePath());
    if (!folder.isWritable())
        throw CDbException(QStringLiteral("数据库所在的文件夹 %1 不能写入。数据库要在文件旁边建立"
                                          "日志文件,请让本程序能写入这个文件夹,或把数据库移到能"
                                          "写入的文件夹。")
                               .arg(QDir::toNativeSeparators(info.absolutePath())),
                           QString(), CDbException::Kind::Folder);
}

// A log left beside the file by another database (its file was replaced while a program had it
// open) would be applied to this one and mix the two: it is set aside, never used or deleted.
void CConnection::RefuseForeignLog(const QString& path) const {
    if (OwnerOfLog(path) != LogOwner::Foreign)
        return;
    const QStringList aside = SetLogAside(path);
    const QString file = QDir::toNativeSeparators(path);
    if (aside.isEmpty())
        throw CDbException(
            QStringLiteral("数据库文件 %1 旁边的日志文件 %1-wal 不是这个文件的(是另一个"
                           "数据库留下的),没有打开数据库。这个日志文件也不能移开:"
                           "请退出所有电脑上的本程序,把 %1-wal 和 %1-shm 移到别处"
                           "保存,再打开。")
                .arg(file));
    QStringList names;
    for (const QString& name : aside)
        names.append(QDir::toNativeSeparators(name));
    throw CDbException(QStringLiteral("数据库文件 %1 旁边的日志文件不是这个文件的(是另一个数据库"
                                      "留下的),没有用它,数据库没有改动。日志文件已原样移到旁边保存:"
                                      "\n%2\n请再连接一次数据库。")
                           .arg(file, names.join(QLatin1Char('\n'))));
}

void CConnection::OpenSqlite(const QString& path) {
    Close();
    CheckSqliteFile(path);
    const QFileInfo info(path);
    // A log that a connection of this program uses is the file's own.
    if (!OpenedInThisProcess(info.absoluteFilePath()))
        RefuseForeignLog(info.absoluteFilePath());
    m_strPath = info.absoluteFilePath();
    m_fileIdentity = FileIdentity(m_strPath);
    CountOpenFile(m_strPath, 1);
    m_bCounted = true;

    QString openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strName);
        db.setDatabaseName(QStringLiteral("file:") + m_strPath + QStringLiteral("?mode=rw"));
        db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(g_busyTimeout));
        if (!db.open())
            openError = EngineText(db.lastError());
    }
    if (!openError.isEmpty()) {
        QSqlDatabase::removeDatabase(m_strName);
        CountOpenFile(m_strPath, -1);
        m_bCounted = false;
        throw CDbException(QStringLiteral("数据库 %1 打开失败: %2").arg(m_strPath, openError));
    }
    m_dialect = SqlDialect(SqlDialect::Engine::Sqlite);
    m_pSqlite = SqliteHandle(QSqlDatabase::database(m_strName, false));
    try {
        PrepareSqlite();
    } catch (const CDbException& e) {
        Close();
        const QString file = info.absoluteFilePath();
        switch (e.GetKind()) {
        case CDbException::Kind::Busy:
            throw CDbException(QStringLiteral("数据库 %1 正被另一台电脑写入,暂时不能打开: %2")
                                   .arg(file, e.Message()),
                               QString(), CDbException::Kind::Busy);
        case CDbException::Kind::Damaged:
            throw CDbException(QStringLiteral("数据库文件 %1 已损坏,不能使用: %2\n"
                                              "请从备份恢复数据库。")
                                   .arg(file, e.Message()),
                               QString(), CDbException::Kind::Damaged);
        default:
            throw;
        }
    }
}

// Checks that the file is a sound shop database, switches it to WAL and brings its schema
// up to this program's version.
void CConnection::PrepareSqlite() {
    ReadSchemaVersion(m_strPath + QLatin1Char(' '));
    if (QFileInfo(m_strPath).size() <= kQuickCheckLimit) {
        CStatementRun check(*this, QStringLiteral("PRAGMA quick_check"));
        const QString verdict = check.Next() ? check.Text(0) : QString();
        if (verdict != QLatin1String("ok"))
            throw CDbException(verdict, QStringLiteral("PRAGMA quick_check"),
                               CDbException::Kind::Damaged);
    }
    Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    Execute(QStringLiteral("PRAGMA foreign_keys=OFF"));
    ReadShopId();
    m_nSchemaVersion = UpgradeSchema(*this, m_nSchemaVersion);
    InstallAuditCapture(*this);
}

// The shop's own id in the file header, given once (at random) to a file that has none. Two
// workstations opening a new file at once agree: the second one reads the first one's id under
// the write lock.
void CConnection::ReadShopId() {
    Execute(QStringLiteral("BEGIN IMMEDIATE"));
    bool begun = true;
    try {
        {
            CStatementRun read(*this, QStringLiteral("PRAGMA application_id"));
            m_nShopId = read.Next() ? quint32(read.Value(0).toLongLong()) : 0;
        }
        const bool given = m_nShopId == 0;
        if (given) {
            m_nShopId = quint32(QRandomGenerator::system()->bounded(1, 0x7FFFFFFF));
            Execute(QStringLiteral("PRAGMA application_id=%1").arg(m_nShopId));
        }
        Execute(QStringLiteral("COMMIT"));
        begun = false;
        if (given) // onto the file itself, so that a look at its first bytes finds it
            CStatementRun checkpoint(*this, QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
    } catch (...) {
        if (begun)
            ExecuteText(QStringLiteral("ROLLBACK"));
        throw;
    }
    m_bIdOnDisk = HeaderOnDisk().applicationId == m_nShopId;
}

void CConnection::DropCache() {
    for (CCachedStatement* statement : std::as_const(m_cache)) {
        if (statement->busy) {
            // A run still reads it: it deletes the statement when it ends.
            statement->query.finish();
            statement->query = QSqlQuery();
            if (statement->native) {
                sqlite3_finalize(statement->native);
                statement->native = nullptr;
            }
            statement->orphaned = true;
        } else {
            delete statement;
        }
    }
    m_cache.clear();
}

void CConnection::Close() {
    DropCache();
    if (!QSqlDatabase::contains(m_strName))
        return;
    // A file replaced under the program gets nothing of this connection's log: no checkpoint
    // into it, and the log at its path stays (the next open sets it aside).
    if (m_pSqlite && m_nShopId != 0 && !FileIsTheOneOpened())
        sqlite3_db_config(m_pSqlite, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    {
        QSqlDatabase db = QSqlDatabase::database(m_strName, false);
        if (db.isOpen()) {
            if (m_nTransactionDepth > 0)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_strName);
    if (m_bCounted)
        CountOpenFile(m_strPath, -1);
    m_bCounted = false;
    m_pSqlite = nullptr;
    m_nShopId = 0;
    m_bIdOnDisk = false;
    m_nTransactionDepth = 0;
    m_bRollbackOnly = false;
    m_bLost = false;
}

bool CConnection::IsOpen() const {
    // A lost server session still counts as open: the next statement connects again.
    if (m_bLost && !m_server.host.isEmpty())
        return true;
    return QSqlDatabase::contains(m_strName) && QSqlDatabase::database(m_strName, false).isOpen();
}

QVariant CConnection::DriverHandle() const {
    if (!IsOpen())
        return QVariant();
    const QSqlDatabase db = QSqlDatabase::database(m_strName, false);
    return db.driver() ? db.driver()->handle() : QVariant();
}

QString CConnection::RewrittenText(const QString& sql) const {
    return m_dialect.Rewrite(sql);
}

CCachedStatement* CConnection::Acquire(const QString& sql) {
    ReopenServerIfLost();
    if (!IsOpen())
        throw CDbException(QStringLiteral("没有数据库连接"), sql);
    if (!m_dialect.CanPrepare(sql)) {
        // Run as plain text each time (transaction control, schema changes on the server).
        auto* statement = new CCachedStatement;
        statement->query = QSqlQuery(QSqlDatabase::database(m_strName, false));
        statement->query.setForwardOnly(true);
        statement->text = sql;
        statement->busy = true;
        statement->cached = false;
        return statement;
    }
    CCachedStatement* cached = m_cache.value(sql);
    if (cached && !cached->busy) {
        cached->busy = true;
        return cached;
    }
    auto* statement = new CCachedStatement;
    if (m_pSqlite) {
        const QByteArray text = m_dialect.Rewrite(sql).toUtf8();
        // A one-off (the kept statement is still being read) is not meant to last.
        const unsigned flags = cached ? 0u : unsigned(SQLITE_PREPARE_PERSISTENT);
        const int rc = sqlite3_prepare_v3(m_pSqlite, text.constData(), int(text.size()), flags,
                                          &statement->native, nullptr);
        if (rc != SQLITE_OK || !statement->native) {
            const QString message = rc == SQLITE_OK ? QStringLiteral("语句是空的")
                                                    : QString::fromUtf8(sqlite3_errmsg(m_pSqlite));
            delete statement;
            throw Failure(QSqlError(QString(), message, QSqlError::StatementError,
                                    QString::number(rc & 0xFF)),
                          sql);
        }
    } else {
        statement->query = QSqlQuery(QSqlDatabase::database(m_strName, false));
        // The server's driver streams a forward-only result row by row, and a second statement
        // run meanwhile would cut it off: there the whole result is fetched at once.
        statement->query.setForwardOnly(!IsServer());
        WatchStart();
        const bool prepared = statement->query.prepare(m_dialect.Rewrite(sql));
        const bool gaveUp = WatchStop();
        if (!prepared || gaveUp) {
            const CDbException error =
                gaveUp ? GaveUp(sql) : Failure(statement->query.lastError(), sql);
            delete statement;
            throw error;
        }
        statement->parameters = SqlDialect::Placeholders(sql);
    }
    statement->busy = true;
    if (cached) {
        statement->cached = false;
        return statement;
    }
    if (m_cache.size() >= kCacheLimit) {
        for (auto it = m_cache.begin(); it != m_cache.end();) {
            if (it.value()->busy) {
                ++it;
            } else {
                delete it.value();
                it = m_cache.erase(it);
            }
        }
    }
    m_cache.insert(sql, statement);
    return statement;
}

void CConnection::Release(CCachedStatement* statement) {
    if (!statement->cached || statement->orphaned) {
        delete statement;
        return;
    }
    if (statement->native) {
        sqlite3_reset(statement->native);
        sqlite3_clear_bindings(statement->native);
    } else {
        statement->query.finish();
    }
    statement->busy = false;
}

int CConnection::Execute(const QString& sql, const QVariantList& values) {
    CStatementRun run(*this, sql, values);
    return run.RowsAffected();
}

// The first bytes of the opened file as they are on disk (not as SQLite sees them with its log),
// read through SQLite's own descriptor.
SqliteHeader CConnection::HeaderOnDisk() const {
    sqlite3_file* file = nullptr;
    if (!m_pSqlite ||
        sqlite3_file_control(m_pSqlite, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods)
        return SqliteHeader();
    QByteArray bytes(kSqliteHeaderSize, '\0');
    if (file->pMethods->xRead(file, bytes.data(), int(bytes.size()), 0) != SQLITE_OK)
        return SqliteHeader(); // short or failed: no longer a database of this size
    return SqliteHeaderOf(bytes);
}

bool CConnection::FileIsTheOneOpened() const {
    if (FileIdentity(m_strPath) != m_fileIdentity)
        return false;
    // Overwritten in place: the same file, another content (another shop, text, nothing).
    const SqliteHeader header = HeaderOnDisk();
    if (!header.valid)
        return false;
    if (header.applicationId == m_nShopId) {
        m_bIdOnDisk = true;
        return true;
    }
    // The id given at open may still wait in the log for its first checkpoint.
    return header.applicationId == 0 && !m_bIdOnDisk;
}

void CConnection::CheckFileBeforeWrite() const {
    if (m_nShopId != 0) // not while the file is being opened
        CheckDatabaseFile();
}

void CConnection::CheckDatabaseFile() const {
    if (m_dialect.GetEngine() != SqlDialect::Engine::Sqlite || m_strPath.isEmpty())
        return;
    if (!FileIsTheOneOpened())
        throw LostFile();
}

CDbException CConnection::LostFile() const {
    return CDbException(QStringLiteral("数据库文件已被删除或移动: %1\n这次的修改没有保存。请在"
                                       "网络设置中重新连接数据库。")
                            .arg(QDir::toNativeSeparators(m_strPath)),
                        QString(), CDbException::Kind::Lost);
}

void CConnection::BeginTransaction() {
    if (m_nTransactionDepth > 0) {
        ++m_nTransactionDepth;
        return;
    }
    CheckDatabaseFile();
    m_bRollbackOnly = false;
    m_heldLocks.clear();
    // The local file: take the write lock at once, so a second workstation waits instead of
    // failing late. The server: READ COMMITTED; what must not be changed by two workstations at
    // once (stock, the first save of a number) is locked by LockRows and LockKey.
    Execute(IsServer() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
    m_nTransactionDepth = 1;
    if (IsServer())
        return;
    try {
        // Under the write lock the file cannot change any more but by hand: look again. Then
        // every write carries the file header with the shop's id into the log, which tells a
        // log left beside another file apart at the next open.
        CheckDatabaseFile();
        Execute(QStringLiteral("PRAGMA application_id=%1").arg(m_nShopId));
    } catch (...) {
        Rollback();
        throw;
    }
}

void CConnection::Commit() {
    if (m_nTransactionDepth <= 0)
        return;
    if (--m_nTransactionDepth > 0)
        return;
    if (m_bRollbackOnly) {
        m_nTransactionDepth = 1;
        Rollback();
        throw CDbException(QStringLiteral("操作已撤销"));
    }
    try {
        CheckDatabaseFile();
        Execute(QStringLiteral("COMMIT"));
    } catch (...) {
        m_nTransactionDepth = 1;
        Rollback();
        throw;
    }
}

void CConnection::Rollback() {
    if (m_nTransactionDepth <= 0)
        return;
    if (--m_nTransactionDepth > 0) {
        m_bRollbackOnly = true; // an inner action failed: the outer one must not commit
        return;
    }
    m_bRollbackOnly = false;
    if (IsOpen() && !m_bLost) {
        QSqlQuery query(QSqlDatabase::database(m_strName, false));
        if (!query.exec(QStringLiteral("ROLLBACK")))
            Failure(query.lastError(), QStringLiteral("ROLLBACK"));
    }
}
