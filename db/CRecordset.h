#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>

#include "db/SqlText.h"

class CConnection;

// The form in which a recordset runs a SELECT: the one table whose rows it can change (empty
// when it cannot) and the text with the row identity fetched beside the asked columns.
struct RecordsetText {
    QString table;
    QString sql;
};

// A static recordset: Open() runs a SELECT and keeps its whole result, which can then be
// walked, counted and changed. Changes (AddNew/PutCollect/Update, Delete) go to the database
// at once; they need a SELECT on one table.
// Every operation raises CDbException on a database error or when there is no connection.
//
// Values are bound to the "?" of the statement in order:
//   CRecordset rs;
//   rs.Open("SELECT * FROM customer WHERE mc=?", {name});
//   while (!rs.IsEOF()) { QString phone = rs.GetCollect("phone"); rs.MoveNext(); }
//   rs.Close();
class CRecordset {
  public:
    // Uses Db() as it is at each Open.
    CRecordset();
    explicit CRecordset(CConnection* connection);
    ~CRecordset();
    CRecordset(const CRecordset&) = delete;
    CRecordset& operator=(const CRecordset&) = delete;

    void Open(const QString& sql, const QVariantList& values = {});
    void Open(const SqlStatement& statement) { Open(statement.sql, statement.values); }
    void Close();
    bool IsOpen() const { return m_bOpen; }

    bool IsEOF() const;
    bool IsBOF() const;
    void MoveFirst();
    void MoveNext();
    int GetRecordCount() const;

    // The value of a column of the current row as text; NULL reads as empty text.
    QString GetCollect(const QString& field) const;
    QStringList GetFieldNames() const { return m_fields; }

    // Append a row: AddNew, PutCollect for each column, Update.
    void AddNew();
    void PutCollect(const QString& field, const QString& value);
    void Update();
    // Remove the current row; it stays current (unreadable) until the next move.
    void Delete();

  private:
    struct ChangeText {
        QVector<bool> touched; // the columns the text writes
        QString sql;
    };
    static const RecordsetText& TextFor(const QString& sql, const QString& rowIdColumn);
    const QString& ChangeSql(bool insert, const CConnection& connection);
    int FieldIndex(const QString& field) const;
    void RequireCurrentRow(const char* operation) const;
    void RequireTable(const char* operation) const;
    CConnection* ActiveConnection() const;
    void SkipDeleted();

    CConnection* m_pFixedConnection = nullptr;
    CConnection* m_pOpenedOn = nullptr;
    bool m_bOpen = false;
    QString m_strTable; // the one table of the SELECT, or empty when it cannot be changed
    QStringList m_fields;
    QHash<QString, int> m_fieldIndex; // lower-cased name -> column, built once at Open
    QVector<QVector<QVariant>> m_rows;
    QVector<QVariant> m_rowIds;
    QVector<bool> m_deleted;
    int m_nPos = 0;
    bool m_bAdding = false;
    bool m_bEditing = false;
    QVector<QVariant> m_pending;
    QVector<bool> m_touched;
    ChangeText m_changeText[2]; // the last UPDATE [0] and INSERT [1] built
};
