#pragma once

#include <QString>
#include <QVariantList>
#include <memory>

#include "db/SqlText.h"

class CConnection;
class CStatementRun;

// A forward-only read of a SELECT: rows come one at a time straight from the engine, with no
// copy of the whole result. Find each column by name once, then read by index. Raises
// CDbException on a database error or when there is no connection.
//
//   CSqlReader reader("SELECT code,name FROM property WHERE longpinyin LIKE ?",
//                     {LikeContains(typed)});
//   const int code = reader.Column("code");
//   while (reader.Next())
//       codes.append(reader.Text(code));
class CSqlReader {
  public:
    // Uses Db().
    explicit CSqlReader(const QString& sql, const QVariantList& values = {});
    explicit CSqlReader(const SqlStatement& statement)
        : CSqlReader(statement.sql, statement.values) {}
    CSqlReader(CConnection& connection, const QString& sql, const QVariantList& values = {});
    ~CSqlReader();
    CSqlReader(const CSqlReader&) = delete;
    CSqlReader& operator=(const CSqlReader&) = delete;

    // Moves to the next row; false after the last.
    bool Next();
    int ColumnCount() const;
    QString ColumnName(int column) const;
    // The index of a column (names compare without case); raises CDbException when missing.
    int Column(const QString& name) const;
    // A value of the current row as text: NULL as empty, numbers in plain decimal form.
    QString Text(int column) const;
    QVariant Value(int column) const;

  private:
    std::unique_ptr<CStatementRun> m_pRun;
};

// The first column of the first row as text, or empty text when there is no row.
QString SqlScalar(const QString& sql, const QVariantList& values = {});
