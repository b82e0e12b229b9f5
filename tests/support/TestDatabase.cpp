#include "TestDatabase.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include "app/CConnection.h"
#include "app/CHarborApp.h"
#include "app/DatabaseInit.h"

TestDatabase::TestDatabase() {
    m_strPath = m_dir.filePath(QStringLiteral("Harbor.accdb"));
    CreateEmptyDatabase(m_strPath);
    auto connection = std::make_shared<CConnection>();
    connection->OpenFile(m_strPath);
    theApp.m_pConnection = connection;
}

TestDatabase::~TestDatabase() {
    if (theApp.m_pConnection)
        theApp.m_pConnection->Close();
    theApp.m_pConnection.reset();
}

void TestDatabase::Exec(const QString& sql) { theApp.m_pConnection->Execute(sql); }

QString TestDatabase::Value(const QString& sql) {
    QSqlQuery query = theApp.m_pConnection->Run(sql);
    return query.next() ? query.value(0).toString() : QString();
}

QStringList TestDatabase::Rows(const QString& sql) {
    QSqlQuery query = theApp.m_pConnection->Run(sql);
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values.append(query.value(i).toString());
        rows.append(values.join(QLatin1Char('|')));
    }
    return rows;
}
