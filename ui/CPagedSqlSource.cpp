#include "ui/CPagedSqlSource.h"

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "ui/CDbAction.h"

#include <QWidget>

namespace {

QString Condition(const PagedQuery& query) {
    return query.where.isEmpty() ? QString() : QStringLiteral(" WHERE (%1)").arg(query.where);
}

QString KeyColumn() {
    CConnection* connection = Db().get();
    if (!connection || !connection->IsOpen())
        throw CDbException(QStringLiteral("没有数据库连接"));
    return connection->Dialect().RowIdColumn();
}

} // namespace

CPagedSqlSource::CPagedSqlSource(PagedQuery query, QWidget* messageParent, QString what)
    : m_query(std::move(query)), m_pParent(messageParent), m_strWhat(std::move(what)) {
    m_nRows = SqlScalar(CountSql(m_query), m_query.values).toInt();
}

QString CPagedSqlSource::CountSql(const PagedQuery& query) {
    return QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(query.table, Condition(query));
}

QString CPagedSqlSource::PageSql(const PagedQuery& query, const QString& keyColumn, bool afterKey,
                                 int count, int offset) {
    QString where = Condition(query);
    if (afterKey) {
        const QString key = QStringLiteral("%1 > ?").arg(keyColumn);
        where = where.isEmpty() ? QStringLiteral(" WHERE ") + key : where + " AND " + key;
    }
    QString sql = QStringLiteral("SELECT %1,%2 FROM %3%4 ORDER BY %1 LIMIT %5")
                      .arg(keyColumn, query.columns, query.table, where)
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
    const QString keyColumn = KeyColumn();
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
    CSqlReader reader(
        QStringLiteral("SELECT %1 FROM %2%3").arg(m_query.sums, m_query.table, Condition(m_query)),
        m_query.values);
    QStringList sums{QString()};
    if (reader.Next())
        for (int c = 0; c < reader.ColumnCount(); ++c)
            sums.append(reader.Text(c));
    return sums;
}
