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
    // The column that identifies a stored row, for changing the rows of an open recordset:
    // rowid in the local file, the identity column harbor_id that every table of the server has.
    QString RowIdColumn() const;
    // What an INSERT needs after its values to hand back the new row's key ("" when the
    // engine tells it by itself).
    QString ReturningRowId() const;

    // A statement of resources/schema.sql or an upgrade step as this engine takes it: on the
    // server REAL is double precision and every table gets the identity column.
    QString SchemaText(const QString& sql) const;

    // False for statements the engine cannot prepare (transaction control, schema changes on
    // the server); they run as plain text and take no values.
    bool CanPrepare(const QString& sql) const;

    // How many "?" a statement takes (outside quoted text and names).
    static int Placeholders(const QString& sql);

  private:
    Engine m_engine;
};
