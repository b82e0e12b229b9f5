#include "app/CSqlReader.h"

#include "app/CConnection.h"
#include "app/CDbException.h"
#include "app/CHarborApp.h"
#include "app/CStatementRun.h"
#include "app/SqlText.h"

namespace {

CConnection& AppConnection() {
    CConnection* connection = theApp.m_pConnection.get();
    if (!connection || !connection->IsOpen())
        throw CDbException(QStringLiteral("没有数据库连接"));
    return *connection;
}

} // namespace

CSqlReader::CSqlReader(const QString& sql, const QVariantList& values)
    : CSqlReader(AppConnection(), sql, values) {}

CSqlReader::CSqlReader(CConnection& connection, const QString& sql, const QVariantList& values)
    : m_pRun(std::make_unique<CStatementRun>(connection, sql, values)),
      m_record(m_pRun->Query().record()) {}

CSqlReader::~CSqlReader() = default;

bool CSqlReader::Next() {
    return m_pRun->Query().next();
}

int CSqlReader::Column(const QString& name) const {
    for (int i = 0; i < m_record.count(); ++i) {
        if (m_record.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw CDbException(QStringLiteral("查询结果中没有字段 %1").arg(name));
}

QString CSqlReader::Text(int column) const {
    return SqlValueText(m_pRun->Query().value(column));
}

QVariant CSqlReader::Value(int column) const {
    return m_pRun->Query().value(column);
}

QString SqlScalar(const QString& sql, const QVariantList& values) {
    CSqlReader reader(sql, values);
    return reader.Next() ? reader.Text(0) : QString();
}
