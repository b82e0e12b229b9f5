#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A fresh, empty shop database in a temporary folder, built from the schema by the same init
// step as a new shop's, and connected as theApp.m_pConnection while the object lives.
//
//   TestDatabase db;            // theApp.m_pConnection now points at it
//   db.Exec("INSERT INTO ...");  // raw statement for setting up a case
//   QCOMPARE(db.Value("SELECT count(*) FROM customer"), "1");
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();

    QString Path() const { return m_strPath; }
    QString Folder() const { return m_dir.path(); }
    // Runs a statement on the connection (through the record layer).
    void Exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row as text ("" when there is no row).
    QString Value(const QString& sql, const QVariantList& values = {});
    // All rows, each joined with "|".
    QStringList Rows(const QString& sql, const QVariantList& values = {});

private:
    QTemporaryDir m_dir;
    QString m_strPath;
};
