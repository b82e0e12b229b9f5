#include "app/CStatementRun.h"

#include <QSqlError>

#include "app/CConnection.h"
#include "app/CDbException.h"
#include "app/DbError.h"
#include "app/SqlText.h"

namespace {

// Text goes in as valid Unicode, and an empty text as empty text, never as NULL: only an
// explicit QVariant() stores NULL.
// The server's text cannot hold U+0000: there it becomes U+FFFD, as a broken character does.
QVariant Bindable(const QVariant& value, bool server) {
    if (value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString();
    if (text.isNull())
        return QStringLiteral("");
    QString repaired = RepairText(text);
    if (server && repaired.contains(QChar(0)))
        repaired.replace(QChar(0), QChar(QChar::ReplacementCharacter));
    return repaired;
}

} // namespace

CStatementRun::CStatementRun(CConnection& connection, const QString& sql,
                             const QVariantList& values)
    : m_connection(connection) {
    m_pStatement = connection.Acquire(sql);
    QSqlQuery& query = m_pStatement->query;
    bool done = false;
    if (!m_pStatement->text.isEmpty()) {
        if (!values.isEmpty()) {
            connection.Release(m_pStatement);
            m_pStatement = nullptr;
            throw CDbException(QStringLiteral("这条语句不能带参数"), sql);
        }
        done = query.exec(m_pStatement->text);
    } else {
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, Bindable(values.at(i), connection.IsServer()));
        done = query.exec();
    }
    if (!done) {
        const QSqlError error = query.lastError();
        connection.Release(m_pStatement);
        m_pStatement = nullptr;
        throw connection.Failure(error, sql);
    }
}

CStatementRun::~CStatementRun() {
    if (m_pStatement)
        m_connection.Release(m_pStatement);
}

QSqlQuery& CStatementRun::Query() {
    return m_pStatement->query;
}
