#pragma once

#include <QString>

// Rewrites the statements of the program, written in the Access dialect, for the engine in
// use: Left/Mid, "+" joining strings, a derived table without alias, case-insensitive LIKE,
// a quoted value directly followed by a keyword, LIKE patterns with escaped wildcards (a bound
// pattern "LIKE ?" always gets the escape character "\").
// Quoted text is never touched.
class SqlDialect {
public:
    enum class Engine { Sqlite, Postgres };

    explicit SqlDialect(Engine engine = Engine::Sqlite) : m_engine(engine) {}
    Engine GetEngine() const { return m_engine; }

    QString Rewrite(const QString& sql) const;
    // The column that identifies a stored row, for changing the rows of an open recordset.
    QString RowIdColumn() const;

private:
    Engine m_engine;
};
