#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

class CConnection;

// A prepared statement kept by the connection for its text.
struct CCachedStatement {
    QSqlQuery query;
    bool busy = false;     // a run is using it
    bool cached = true;    // false: a one-off, deleted when its run ends
    bool orphaned = false; // the connection closed while a run used it
    QString text;          // set: not prepared, run as this plain text
};

// One run of a statement through the connection's cache of prepared statements. While the
// object lives its result can be read from Query(); at its end the statement is reset, so no
// read stays open on the engine. Raises CDbException when the statement fails.
class CStatementRun {
  public:
    CStatementRun(CConnection& connection, const QString& sql, const QVariantList& values = {});
    ~CStatementRun();
    CStatementRun(const CStatementRun&) = delete;
    CStatementRun& operator=(const CStatementRun&) = delete;

    QSqlQuery& Query();

  private:
    CConnection& m_connection;
    CCachedStatement* m_pStatement = nullptr;
};
