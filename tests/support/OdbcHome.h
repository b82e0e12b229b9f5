#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary ODBC home while the object lives: HOME and ODBCINI point into a fresh folder, so
// data sources the program writes land there and not in the user's own configuration.
// ODBCSYSINI points at a copy of the system's driver list (/etc/odbcinst.ini); unixODBC reads
// that variable once per process, so the copy is made once and kept for the whole run.
class OdbcHome {
  public:
    OdbcHome();
    ~OdbcHome();

    bool IsValid() const { return m_home.isValid(); }
    QString Folder() const { return m_home.path(); }
    // The user's odbc.ini and its text ("" while it does not exist).
    QString UserIni() const;
    QString UserIniText() const;

    // Runs a statement through the data source with unixODBC's isql, as a program that reads
    // it would; each row with its fields joined by "|". Sets *error to what isql reported when
    // it failed.
    QStringList Query(const QString& dataSource, const QString& sql, QString* error) const;

  private:
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    QByteArray m_oldOdbcIni;
};
