#pragma once

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

#include "db/CDbException.h"
#include "db/Db.h"
#include "db/ShopFileHeader.h"
#include "db/SqlDialect.h"

struct CCachedStatement;
class QSqlError;
class StatementWatch;
struct sqlite3;

// Where the shop's database server is: the host from Lanset.ini; the port is PostgreSQL's
// own (libpq's default, 5432); database and role are the program's.
struct ServerAddress {
    QString host;
    int port = -1; // -1: libpq's default
    QString database = QStringLiteral("harbor");
    QString user = QStringLiteral("harbor");
    QString password;
};

// The one shared database connection (Db()). Opened from a connection
// string of the local or LAN form; in local mode the database is the SQLite file named by
// the "Data Source" part, relative to the current directory, and is never created here. In
// LAN mode it is the PostgreSQL server on the host named by the data source
// (\\192.168.1.20\Harbor\Harbor.accdb: host 192.168.1.20).
//
// A server that went away fails the statement in flight (the action rolls back); the next
// statement outside a transaction connects again.
//
// Every statement takes its values bound to its "?" in order; the text is rewritten for the
// engine and prepared once, then kept for the next run of the same text.
class CConnection {
  public:
    CConnection();
    ~CConnection();
    CConnection(const CConnection&) = delete;
    CConnection& operator=(const CConnection&) = delete;

    // Raises CDbException when the database cannot be opened.
    void Open(const QString& connectionString);
    // Opens an SQLite file directly (the init tool and tests).
    void OpenFile(const QString& path);
    // Opens the database on a server directly (start-up in LAN mode, setup, tests). With
    // createSchema an empty database gets the program's tables first (setup and tests).
    void OpenServer(const ServerAddress& address, bool createSchema = false);
    void Close();
    bool IsOpen() const;

    // Runs an UPDATE, DELETE or INSERT; returns the number of rows it touched.
    //   connection.Execute("update customer set phone=? where mc=?", {phone, name});
    int Execute(const QString& sql, const QVariantList& values = {});

    // Transactions nest: only the outermost Begin/Commit/Rollback reach the engine. The
    // outermost Begin first checks that the database file is still the one that was opened.
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_nTransactionDepth > 0; }

    const SqlDialect& Dialect() const { return m_dialect; }
    bool IsServer() const { return m_dialect.GetEngine() == SqlDialect::Engine::Postgres; }
    QString DatabasePath() const { return m_strPath; }
    // The server's host (empty for the local file) and where it was reached.
    QString ServerHost() const { return m_server.host; }
    const ServerAddress& Server() const { return m_server; }
    // "SQLite 文件 /path" or "PostgreSQL 服务器 host": where the data is, for messages.
    QString Where() const;
    int SchemaVersion() const { return m_nSchemaVersion; }

    // The SQL text as the engine receives it.
    QString RewrittenText(const QString& sql) const;

    // Raises CDbException (kind Lost) when the file opened has been deleted, replaced or
    // overwritten since (another shop, or no database at all).
    void CheckDatabaseFile() const;

    // How long a statement waits for another workstation's write lock before it fails (ms).
    static void SetBusyTimeout(int milliseconds);
    // How long the program waits for the server's answer to one statement before it gives up
    // and drops the connection (ms): a few seconds for the counter's reads and saves, longer for
    // the copy of a shop. For new connections; SetStatementLimit for this one.
    static void SetDefaultStatementLimit(int milliseconds);
    void SetStatementLimit(int milliseconds) { m_nStatementLimit = milliseconds; }
    int StatementLimit() const { return m_nStatementLimit; }

    // The engine's own handle (a sqlite3* in local mode), for the backup; invalid when closed.
    QVariant DriverHandle() const;

    // Number of prepared statements kept for reuse.
    int CachedStatementCount() const { return int(m_cache.size()); }

    // Inside a transaction, locks the rows a SELECT finds until the transaction ends, so a
    // second workstation that changes them waits for this one (the server only: the local
    // file is locked whole by the transaction).
    //   connection.LockRows("SELECT code FROM property WHERE code=?", {code});
    void LockRows(const QString& select, const QVariantList& values = {});
    // Inside a transaction, waits until no other workstation's transaction holds the same key,
    // and holds it until this transaction ends (the server only, as LockRows).
    void LockKey(const QString& key);
    // Whether a lock on key still has to be taken in this transaction: true the first time it
    // is asked for (the caller then takes it), false once it is held until the transaction ends.
    bool NoteHeldLock(const QString& key);

    // The exception for a failed statement; a lost server connection is marked for reopening.
    CDbException Failure(const QSqlError& error, const QString& sql);

  private:
    friend class CStatementRun;
    // A prepared statement for the text, marked busy until Release; a second, uncached one
    // when the cached one is still being read.
    CCachedStatement* Acquire(const QString& sql);
    void Release(CCachedStatement* statement);
    void DropCache();

    void OpenSqlite(const QString& path);
    void CheckSqliteFile(const QString& path) const;
    void RefuseForeignLog(const QString& path) const;
    // CheckDatabaseFile for a write outside a transaction (CStatementRun).
    void CheckFileBeforeWrite() const;
    CDbException LostFile() const;
    // Around each statement sent to the server (CStatementRun): Stop is true when the limit
    // passed and the connection was cut; GaveUp is then the exception to raise.
    void WatchStart();
    bool WatchStop();
    CDbException GaveUp(const QString& sql);
    void ReadShopId();
    // The file at the path is still the one opened: the same file, with the shop's header.
    bool FileIsTheOneOpened() const;
    SqliteHeader HeaderOnDisk() const;
    void PrepareSqlite();
    void ConnectServer();
    void ReadSchemaVersion(const QString& what);
    bool HasSchemaTable();
    void CreateServerSchema();
    void ReopenServerIfLost();
    void ExecuteText(const QString& sql);

    QString m_strName;
    QString m_strPath;
    QByteArray m_fileIdentity;
    quint32 m_nShopId = 0;            // the shop's own id in the file header
    mutable bool m_bIdOnDisk = false; // the file header on disk holds it (checkpointed)
    bool m_bCounted = false;          // counted among the process's open files
    SqlDialect m_dialect;
    int m_nSchemaVersion = 0;
    int m_nTransactionDepth = 0;
    QSet<QString> m_heldLocks; // taken in the transaction that runs
    bool m_bRollbackOnly = false;
    QHash<QString, CCachedStatement*> m_cache;
    ServerAddress m_server;
    bool m_bLost = false;         // the server connection broke; reopen before the next statement
    sqlite3* m_pSqlite = nullptr; // the engine's handle of an SQLite connection
    int m_nStatementLimit;
    std::unique_ptr<StatementWatch> m_pWatch; // the server's statements
};
