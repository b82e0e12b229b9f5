#include "ui/CPagedSqlSource.h"

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "ui/CDbAction.h"

#include <QWidget>

namespace {

QString Condition(const PagedQuery& query, const QString& more = QString()) {
    QStringList parts;
    if (!query.where.isEmpty())
        parts << QStringLiteral("(%1)").arg(query.where);
    if (!more.isEmpty())
        parts << more;
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(" AND ");
}

QString KeyColumn(const PagedQuery& query) {
    CConnection* connection = Db().get();
    if (!connection || !connection->IsOpen())
        throw CDbException(QStringLiteral("没有数据库连接"));
    return query.key.isEmpty() ? connection->Dialect().RowIdColumn() : query.key;
}

// How many rows of the list a condition keeps: one per key when grouped.
QString CountOf(const PagedQuery& query, const QString& keyColumn, const QString& more) {
    const QString counted =
        query.grouped ? QStringLiteral("COUNT(DISTINCT %1)").arg(keyColumn) : "COUNT(*)";
    return QStringLiteral("SELECT %1 FROM %2%3").arg(counted, query.table, Condition(query, more));
}

} // namespace

CPagedSqlSource::CPagedSqlSource(PagedQuery query, QWidget* messageParent, QString what)
    : m_query(std::move(query)), m_pParent(messageParent), m_strWhat(std::move(what)) {
    m_nRows = SqlScalar(CountSql(m_query), m_query.values).toInt();
}

QString CPagedSqlSource::CountSql(const PagedQuery& query) {
    return CountOf(query, query.key, QString());
}

QString CPagedSqlSource::PageSql(const PagedQuery& query, const QString& keyColumn, bool afterKey,
                                 int count, int offset) {
    const QString where =
        Condition(query, afterKey ? QStringLiteral("%1 > ?").arg(keyColumn) : QString());
    const QString group = query.grouped ? QStringLiteral(" GROUP BY ") + keyColumn : QString();
    QString sql = QStringLiteral("SELECT %1,%2 FROM %3%4%5 ORDER BY %1 LIMIT %6")
                      .arg(keyColumn, query.columns, query.table, where, group)
                      .arg(count);
    if (!afterKey && offset > 0)
        sql += QStringLiteral(" OFFSET %1").arg(offset);
    return sql;
}

bool CPagedSqlSource::ReadRows(int first, int count, QList<QStringList>& rows) {
    return RunDbReadWhilePainting(m_pParent, m_strWhat, [&] { Read(first, count, rows); });
}

bool CPagedSqlSource::ReadRowsQuietly(int first, int count, QList<QStringList>& rows,
                                      QString& error) {
    try {
        Read(first, count, rows);
        return true;
    } catch (const CDbException& e) {
        error = e.Message();
    }
    return false;
}

void CPagedSqlSource::Read(int first, int count, QList<QStringList>& rows) {
    count = std::min(count, m_nRows - first);
    if (first < 0 || count <= 0)
        return;
    const QString keyColumn = KeyColumn(m_query);
    const auto known = m_keyBefore.constFind(first);
    const bool afterKey = first > 0 && known != m_keyBefore.constEnd();
    QVariantList values = m_query.values;
    if (afterKey)
        values.append(known.value());
    CSqlReader reader(PageSql(m_query, keyColumn, afterKey, count, first), values);
    const int columns = reader.ColumnCount();
    const qsizetype before = rows.size();
    QVariant lastKey;
    while (reader.Next()) {
        QStringList texts;
        texts.reserve(columns);
        texts.append(QString::number(first + (rows.size() - before) + 1));
        for (int c = 1; c < columns; ++c)
            texts.append(reader.Text(c));
        rows.append(texts);
        lastKey = reader.Value(0);
    }
    if (!lastKey.isValid())
        return;
    if (m_keyBefore.size() >= kMaxKnownKeys)
        m_keyBefore.clear();
    m_keyBefore.insert(first + static_cast<int>(rows.size() - before), lastKey);
}

QStringList CPagedSqlSource::Sums() {
    QStringList sums;
    if (!m_query.sums.isEmpty())
        RunDbReadWhilePainting(m_pParent, m_strWhat, [&] { sums = ReadSums(); });
    return sums;
}

QStringList CPagedSqlSource::ReadSums() {
    if (m_query.sums.isEmpty())
        return {};
    QString from = m_query.table + Condition(m_query);
    if (m_query.grouped && !m_query.sumsOver.isEmpty())
        from = QStringLiteral("(SELECT DISTINCT %1 FROM %2) keyed").arg(m_query.sumsOver, from);
    CSqlReader reader(QStringLiteral("SELECT %1 FROM %2").arg(m_query.sums, from), m_query.values);
    QStringList sums{QString()};
    if (reader.Next())
        for (int c = 0; c < reader.ColumnCount(); ++c)
            sums.append(reader.Text(c));
    return sums;
}

int CPagedSqlSource::RowOfKey(const QVariant& key) {
    const QString keyColumn = KeyColumn(m_query);
    QVariantList values = m_query.values;
    values.append(key);
    if (SqlScalar(CountOf(m_query, keyColumn, keyColumn + " = ?"), values).toInt() == 0)
        return -1;
    const int row = SqlScalar(CountOf(m_query, keyColumn, keyColumn + " < ?"), values).toInt();
    return row < m_nRows ? row : -1;
}
