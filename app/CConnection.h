#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include "app/SqlDialect.h"

struct CCachedStatement;
struct sqlite3;

// The one shared database connection (theApp.m_pConnection). Opened from a connection
// string of the local or LAN form; in local mode the database is the SQLite file named by
// the "Data Source" part, relative to the current directory, and is never created here.
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
    QString DatabasePath() const { return m_strPath; }
    int SchemaVersion() const { return m_nSchemaVersion; }

    // The SQL text as the engine receives it.
    QString RewrittenText(const QString& sql) const;

    // Raises CDbException (kind Lost) when the file opened has been deleted or replaced since.
    void CheckDatabaseFile() const;

    // How long a statement waits for another workstation's write lock before it fails (ms).
    static void SetBusyTimeout(int milliseconds);

    // Number of prepared statements kept for reuse.
    int CachedStatementCount() const { return int(m_cache.size()); }

  private:
    friend class CStatementRun;
    // A prepared statement for the text, marked busy until Release; a second, uncached one
    // when the cached one is still being read.
    CCachedStatement* Acquire(const QString& sql);
    void Release(CCachedStatement* statement);
    void DropCache();

    void OpenSqlite(const QString& path);
    void CheckSqliteFile(const QString& path) const;
    void PrepareSqlite();

    QString m_strName;
    QString m_strPath;
    QByteArray m_fileIdentity;
    SqlDialect m_dialect;
    int m_nSchemaVersion = 0;
    int m_nTransactionDepth = 0;
    bool m_bRollbackOnly = false;
    QHash<QString, CCachedStatement*> m_cache;
    sqlite3* m_pSqlite = nullptr; // the engine's handle of an SQLite connection
};
