#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

class CConnection;
struct sqlite3_stmt;

// A prepared statement kept by the connection for its text. On SQLite it is the engine's own
// statement, read straight through its C interface; other engines go through QtSql.
struct CCachedStatement {
    CCachedStatement() = default;
    ~CCachedStatement();
    CCachedStatement(const CCachedStatement&) = delete;
    CCachedStatement& operator=(const CCachedStatement&) = delete;

    QSqlQuery query;                // engines read through QtSql
    sqlite3_stmt* native = nullptr; // SQLite
    bool busy = false;              // a run is using it
    bool cached = true;             // false: a one-off, deleted when its run ends
    bool orphaned = false;          // the connection closed while a run used it
    QString text;                   // set: not prepared, run as this plain text
    int parameters = 0;             // its "?" (QtSql keeps a value bound by an earlier run)
};

// One run of a statement through the connection's cache of prepared statements: the values
// are bound to its "?" in order and it is executed at once. While the object lives the rows of
// its result can be read, one at a time; at its end the statement is reset, so no read stays
// open on the engine. Raises CDbException when the statement fails, at the start or while
// rows are read.
class CStatementRun {
  public:
    CStatementRun(CConnection& connection, const QString& sql, const QVariantList& values = {});
    ~CStatementRun();
    CStatementRun(const CStatementRun&) = delete;
    CStatementRun& operator=(const CStatementRun&) = delete;

    // Moves to the next row of the result; false after the last.
    bool Next();
    int ColumnCount() const;
    QString ColumnName(int column) const;
    // A value of the current row: NULL as a null QVariant, whole numbers as qlonglong, other
    // numbers as double, text as QString.
    QVariant Value(int column) const;
    // The same as SqlValueText(Value(column)), without the QVariant.
    QString Text(int column) const;
    // Rows changed by an INSERT, UPDATE or DELETE.
    int RowsAffected() const { return m_nRowsAffected; }
    // The identity of the row an INSERT added.
    QVariant LastInsertId() const { return m_lastInsertId; }

    // Statements run so far by the process, on any connection, each run counted once (the
    // benchmark suite counts what an action sends to the engine).
    static qint64 RunCount();

  private:
    [[noreturn]] void ThrowEngineError(int code);
    void StepNative();

    CConnection& m_connection;
    CCachedStatement* m_pStatement = nullptr;
    QString m_strSql;
    bool m_bNative = false;
    bool m_bRowPending = false; // the first row is read already (SQLite runs to it at once)
    bool m_bDone = false;
    int m_nRowsAffected = 0;
    QVariant m_lastInsertId;
};
