#include "TestDatabase.h"

#include <QtTest>

#include "app/CConnection.h"
#include "app/CHarborApp.h"
#include "app/CSqlReader.h"
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

void TestDatabase::Exec(const QString& sql, const QVariantList& values) {
    theApp.m_pConnection->Execute(sql, values);
}

QString TestDatabase::Value(const QString& sql, const QVariantList& values) {
    CSqlReader reader(sql, values);
    return reader.Next() ? reader.Value(0).toString() : QString();
}

QStringList TestDatabase::Rows(const QString& sql, const QVariantList& values) {
    CSqlReader reader(sql, values);
    QStringList rows;
    while (reader.Next()) {
        QStringList texts;
        for (int i = 0; i < reader.ColumnCount(); ++i)
            texts.append(reader.Value(i).toString());
        rows.append(texts.join(QLatin1Char('|')));
    }
    return rows;
}
