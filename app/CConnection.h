#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include "app/SqlDialect.h"

class QSqlQuery;

// The one shared database connection (theApp.m_pConnection). Opened from a connection
// string of the local or LAN form; in local mode the database is the SQLite file named by
// the "Data Source" part, relative to the current directory, and is never created here.
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
    int Execute(const QString& sql);
    // Runs a statement and returns the positioned query; raises CDbException on failure.
    QSqlQuery Run(const QString& sql, const QVariantList& bindings = {});

    // Transactions nest: only the outermost Begin/Commit/Rollback reach the engine.
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_nTransactionDepth > 0; }

    const SqlDialect& Dialect() const { return m_dialect; }
    QString DatabasePath() const { return m_strPath; }

    // The SQL text of the last statement, with the engine's rewriting applied.
    QString RewrittenText(const QString& sql) const;

private:
    void OpenSqlite(const QString& path);

    QString m_strName;
    QString m_strPath;
    SqlDialect m_dialect;
    int m_nTransactionDepth = 0;
    bool m_bRollbackOnly = false;
};
