#include "db/CStatementRun.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QStringDecoder>
#include <atomic>
#include <sqlite3.h>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/DbError.h"
#include "db/SqlText.h"

namespace {

std::atomic<qint64> g_runCount{0};

// Text goes in as valid Unicode, and an empty text as empty text, never as NULL: only an
// explicit QVariant() stores NULL.
// U+0000 becomes U+FFFD, as a broken character does, on both engines: the server's text
// cannot hold it, and SQLite's LIKE ends a pattern there (a search for "a<NUL>b" would find
// every "a").
QString BindableText(const QString& text) {
    QString repaired = RepairText(text);
    if (repaired.contains(QChar(0)))
        repaired.replace(QChar(0), QChar(QChar::ReplacementCharacter));
    return repaired;
}

QVariant Bindable(const QVariant& value) {
    if (value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString();
    if (text.isNull())
        return QStringLiteral("");
    return BindableText(text);
}

int BindNative(sqlite3_stmt* statement, int index, const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QByteArray text = BindableText(value.toString()).toUtf8(); // null text as ""
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()),
                                 SQLITE_TRANSIENT);
    }
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()),
                                 SQLITE_TRANSIENT);
    }
    default:
        if (value.isNull())
            return sqlite3_bind_null(statement, index);
        return BindNative(statement, index, QVariant(value.toString()));
    }
}

} // namespace

qint64 CStatementRun::RunCount() {
    return g_runCount.load(std::memory_order_relaxed);
}

CCachedStatement::~CCachedStatement() {
    if (native)
        sqlite3_finalize(native);
}

CStatementRun::CStatementRun(CConnection& connection, const QString& sql,
                             const QVariantList& values)
    : m_connection(connection), m_strSql(sql) {
    m_pStatement = connection.Acquire(sql);
    ++g_runCount;
    m_bNative = m_pStatement->native != nullptr;
    if (m_bNative) {
        sqlite3_stmt* statement = m_pStatement->native;
        if (sqlite3_bind_parameter_count(statement) != values.size()) {
            connection.Release(m_pStatement);
            m_pStatement = nullptr;
            throw CDbException(QStringLiteral("语句的参数个数不符: 需要 %1 个, 给了 %2 个")
                                   .arg(sqlite3_bind_parameter_count(statement))
                                   .arg(values.size()),
                               sql);
        }
        // A write outside a transaction looks at the file first, as BeginTransaction does.
        if (sqlite3_get_autocommit(sqlite3_db_handle(statement)) &&
            !sqlite3_stmt_readonly(statement)) {
            try {
                connection.CheckFileBeforeWrite();
            } catch (...) {
                connection.Release(m_pStatement);
                m_pStatement = nullptr;
                throw;
            }
        }
        for (int i = 0; i < int(values.size()); ++i) {
            const int rc = BindNative(statement, i + 1, values.at(i));
            if (rc != SQLITE_OK)
                ThrowEngineError(rc);
        }
        // Runs to the first row, so a failing statement fails here as it does on other engines.
        StepNative();
        m_bRowPending = !m_bDone;
        if (m_bDone) {
            sqlite3* db = sqlite3_db_handle(statement);
            m_nRowsAffected = sqlite3_changes(db);
            m_lastInsertId = qlonglong(sqlite3_last_insert_rowid(db));
        }
        return;
    }
    QSqlQuery& query = m_pStatement->query;
    bool done = false;
    if (!m_pStatement->text.isEmpty()) {
        if (!values.isEmpty()) {
            connection.Release(m_pStatement);
            m_pStatement = nullptr;
            throw CDbException(QStringLiteral("这条语句不能带参数"), sql);
        }
        connection.WatchStart();
        done = query.exec(m_pStatement->text);
    } else {
        if (values.size() != m_pStatement->parameters) {
            const int wanted = m_pStatement->parameters;
            connection.Release(m_pStatement);
            m_pStatement = nullptr;
            throw CDbException(QStringLiteral("语句的参数个数不符: 需要 %1 个, 给了 %2 个")
                                   .arg(wanted)
                                   .arg(values.size()),
                               sql);
        }
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, Bindable(values.at(i)));
        connection.WatchStart();
        done = query.exec();
    }
    const bool gaveUp = connection.WatchStop();
    if (!done || gaveUp) {
        const QSqlError error = query.lastError();
        connection.Release(m_pStatement);
        m_pStatement = nullptr;
        throw gaveUp ? connection.GaveUp(sql) : connection.Failure(error, sql);
    }
    m_nRowsAffected = query.numRowsAffected();
    // The server's driver asks lastval() for it, which fails (and spoils the transaction) after
    // anything but an insert: there the key comes back through RETURNING instead.
    if (!connection.IsServer())
        m_lastInsertId = query.lastInsertId();
}

CStatementRun::~CStatementRun() {
    if (m_pStatement)
        m_connection.Release(m_pStatement);
}

void CStatementRun::ThrowEngineError(int code) {
    sqlite3_stmt* statement = m_pStatement->native;
    const QString text = statement ? QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(statement)))
                                   : QString::fromUtf8(sqlite3_errstr(code));
    m_connection.Release(m_pStatement);
    m_pStatement = nullptr;
    // The primary code, as the engine reports it without extended codes.
    throw m_connection.Failure(
        QSqlError(QString(), text, QSqlError::StatementError, QString::number(code & 0xFF)),
        m_strSql);
}

void CStatementRun::StepNative() {
    sqlite3_stmt* statement = m_pStatement ? m_pStatement->native : nullptr;
    if (!statement) { // the connection was closed under the read
        m_bDone = true;
        return;
    }
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW)
        return;
    m_bDone = true;
    if (rc != SQLITE_DONE)
        ThrowEngineError(rc);
}

bool CStatementRun::Next() {
    if (!m_pStatement)
        return false;
    if (!m_bNative)
        return m_pStatement->query.next();
    if (m_bRowPending) {
        m_bRowPending = false;
        return true;
    }
    if (!m_bDone)
        StepNative();
    return !m_bDone;
}

int CStatementRun::ColumnCount() const {
    if (!m_pStatement)
        return 0;
    if (!m_bNative)
        return m_pStatement->query.record().count();
    return m_pStatement->native ? sqlite3_column_count(m_pStatement->native) : 0;
}

QString CStatementRun::ColumnName(int column) const {
    if (!m_pStatement)
        return QString();
    if (!m_bNative)
        return m_pStatement->query.record().fieldName(column);
    if (!m_pStatement->native)
        return QString();
    return QString::fromUtf8(sqlite3_column_name(m_pStatement->native, column));
}

QVariant CStatementRun::Value(int column) const {
    if (!m_pStatement)
        return QVariant();
    if (!m_bNative)
        return m_pStatement->query.value(column);
    sqlite3_stmt* statement = m_pStatement->native;
    if (!statement || m_bDone)
        return QVariant();
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    case SQLITE_NULL:
        return QVariant();
    default:
        return Text(column);
    }
}

QString CStatementRun::Text(int column) const {
    if (!m_bNative)
        return SqlValueText(Value(column));
    sqlite3_stmt* statement = m_pStatement ? m_pStatement->native : nullptr;
    if (!statement || m_bDone)
        return QString();
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return SqlValueText(sqlite3_column_double(statement, column));
    default: {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        // A text that begins with U+FEFF keeps it: it was typed (or pasted) so.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(QByteArrayView(text, sqlite3_column_bytes(statement, column)));
    }
    }
}
