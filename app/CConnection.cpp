#include "app/CConnection.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include "app/CDbException.h"
#include "app/ConnectionString.h"

namespace {

QAtomicInt g_nextConnection = 0;

QString EngineText(const QSqlError& error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

}  // namespace

CConnection::CConnection()
    : m_strName(QStringLiteral("harbor-%1").arg(g_nextConnection.fetchAndAddRelaxed(1))) {}

CConnection::~CConnection() { Close(); }

void CConnection::Open(const QString& connectionString) {
    const QString source = DataSourceOf(connectionString);
    if (source.isEmpty())
        throw CDbException(QStringLiteral("连接字符串中没有数据源"));
    if (IsNetworkPath(source))
        throw CDbException(
            QStringLiteral("局域网主机数据库 %1 无法打开: 本版本尚不支持局域网模式").arg(source));
    OpenSqlite(source);
}

void CConnection::OpenFile(const QString& path) { OpenSqlite(path); }

void CConnection::OpenSqlite(const QString& path) {
    Close();
    const QFileInfo info(path);
    if (!info.exists())
        throw CDbException(QStringLiteral("找不到数据库文件 %1").arg(info.absoluteFilePath()));
    if (!info.isFile() || !info.isReadable() || !info.isWritable())
        throw CDbException(
            QStringLiteral("数据库文件 %1 不能读写").arg(info.absoluteFilePath()));
    m_strPath = info.absoluteFilePath();

    QString openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strName);
        db.setDatabaseName(QStringLiteral("file:") + m_strPath + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open())
            openError = EngineText(db.lastError());
    }
    if (!openError.isEmpty()) {
        QSqlDatabase::removeDatabase(m_strName);
        throw CDbException(QStringLiteral("数据库 %1 打开失败: %2").arg(m_strPath, openError));
    }
    try {
        // The first read shows whether this is a shop database at all.
        {
            QSqlQuery check = Run(QStringLiteral("SELECT version FROM harbor_schema"));
            if (!check.next())
                throw CDbException(QStringLiteral("数据库没有版本记录"));
        }
        Run(QStringLiteral("PRAGMA journal_mode=WAL"));
        Run(QStringLiteral("PRAGMA foreign_keys=OFF"));
    } catch (const CDbException& e) {
        Close();
        throw CDbException(
            QStringLiteral("%1 不是本系统的数据库: %2").arg(info.absoluteFilePath(), e.Message()));
    }
    m_dialect = SqlDialect(SqlDialect::Engine::Sqlite);
}

void CConnection::Close() {
    if (!QSqlDatabase::contains(m_strName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_strName, false);
        if (db.isOpen()) {
            if (m_nTransactionDepth > 0)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_strName);
    m_nTransactionDepth = 0;
    m_bRollbackOnly = false;
}

bool CConnection::IsOpen() const {
    return QSqlDatabase::contains(m_strName) && QSqlDatabase::database(m_strName, false).isOpen();
}

QString CConnection::RewrittenText(const QString& sql) const { return m_dialect.Rewrite(sql); }

QSqlQuery CConnection::Run(const QString& sql, const QVariantList& bindings) {
    if (!IsOpen())
        throw CDbException(QStringLiteral("没有数据库连接"), sql);
    QSqlQuery query(QSqlDatabase::database(m_strName, false));
    query.setForwardOnly(true);
    const QString text = m_dialect.Rewrite(sql);
    bool ok = false;
    if (bindings.isEmpty()) {
        ok = query.exec(text);
    } else if (query.prepare(text)) {
        for (const QVariant& value : bindings)
            query.addBindValue(value);
        ok = query.exec();
    }
    if (!ok)
        throw CDbException(EngineText(query.lastError()), sql);
    return query;
}

int CConnection::Execute(const QString& sql) {
    QSqlQuery query = Run(sql);
    return query.numRowsAffected();
}

void CConnection::BeginTransaction() {
    if (m_nTransactionDepth++ > 0)
        return;
    m_bRollbackOnly = false;
    try {
        // Take the write lock at once, so a second workstation waits instead of failing late.
        Run(QStringLiteral("BEGIN IMMEDIATE"));
    } catch (...) {
        m_nTransactionDepth = 0;
        throw;
    }
}

void CConnection::Commit() {
    if (m_nTransactionDepth <= 0)
        return;
    if (--m_nTransactionDepth > 0)
        return;
    if (m_bRollbackOnly) {
        m_nTransactionDepth = 1;
        Rollback();
        throw CDbException(QStringLiteral("操作已撤销"));
    }
    try {
        Run(QStringLiteral("COMMIT"));
    } catch (...) {
        m_nTransactionDepth = 1;
        Rollback();
        throw;
    }
}

void CConnection::Rollback() {
    if (m_nTransactionDepth <= 0)
        return;
    if (--m_nTransactionDepth > 0) {
        m_bRollbackOnly = true;  // an inner action failed: the outer one must not commit
        return;
    }
    m_bRollbackOnly = false;
    if (IsOpen()) {
        QSqlQuery query(QSqlDatabase::database(m_strName, false));
        query.exec(QStringLiteral("ROLLBACK"));
    }
}
