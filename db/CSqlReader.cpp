#include "db/CSqlReader.h"

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CStatementRun.h"
#include "db/Db.h"
#include "db/SqlText.h"

namespace {

CConnection& AppConnection() {
    CConnection* connection = Db().get();
    if (!connection || !connection->IsOpen())
        throw CDbException(QStringLiteral("没有数据库连接"));
    return *connection;
}

} // namespace

CSqlReader::CSqlReader(const QString& sql, const QVariantList& values)
    : CSqlReader(AppConnection(), sql, values) {}

CSqlReader::CSqlReader(CConnection& connection, const QString& sql, const QVariantList& values)
    : m_pRun(std::make_unique<CStatementRun>(connection, sql, values)) {}

CSqlReader::~CSqlReader() = default;

bool CSqlReader::Next() {
    return m_pRun->Next();
}

int CSqlReader::ColumnCount() const {
    return m_pRun->ColumnCount();
}

QString CSqlReader::ColumnName(int column) const {
    return m_pRun->ColumnName(column);
}

int CSqlReader::Column(const QString& name) const {
    const int count = m_pRun->ColumnCount();
    for (int i = 0; i < count; ++i) {
        if (m_pRun->ColumnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw CDbException(QStringLiteral("查询结果中没有字段 %1").arg(name));
}

QString CSqlReader::Text(int column) const {
    return m_pRun->Text(column);
}

QVariant CSqlReader::Value(int column) const {
    return m_pRun->Value(column);
}

QString SqlScalar(const QString& sql, const QVariantList& values) {
    CSqlReader reader(sql, values);
    return reader.Next() ? reader.Text(0) : QString();
}
