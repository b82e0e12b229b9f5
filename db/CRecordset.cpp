#include "db/CRecordset.h"

#include <QRegularExpression>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CStatementRun.h"
#include "db/Db.h"
#include "db/SqlText.h"

namespace {

const char* const kRowIdAlias = "harbor_rowid";

// Statement texts whose Open form is kept; past this many (texts built at run time) they go.
constexpr int kTextCacheLimit = 512;

// The table of a plain "SELECT ... FROM table [WHERE ...] [ORDER BY ...]" whose rows can be
// changed, or empty for anything else (DISTINCT, joins, derived tables, aggregates).
QString ChangeableTable(const QString& sql) {
    static const QRegularExpression plain(
        QStringLiteral("^\\s*select\\s+(?!distinct\\b)(.*?)\\s+from\\s+([A-Za-z_][A-Za-z0-9_]*)"
                       "\\s*(?:$|where\\b|order\\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression aggregate(
        QStringLiteral("\\b(sum|max|min|count|avg)\\s*\\(|\\bgroup\\s+by\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = plain.match(sql);
    if (!m.hasMatch() || aggregate.match(m.captured(1)).hasMatch())
        return QString();
    return m.captured(2);
}

QString Quoted(const QString& identifier) {
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

} // namespace

CRecordset::CRecordset() = default;
CRecordset::CRecordset(CConnection* connection) : m_pFixedConnection(connection) {}
CRecordset::~CRecordset() = default;

CConnection* CRecordset::ActiveConnection() const {
    CConnection* connection = m_pFixedConnection ? m_pFixedConnection : Db().get();
    if (!connection || !connection->IsOpen())
        throw CDbException(QStringLiteral("没有数据库连接"));
    return connection;
}

// What Open runs for a statement: the text as given, or with each row's identity fetched
// beside the asked columns when the rows can be changed. Worked out once per statement text.
const RecordsetText& CRecordset::TextFor(const QString& sql, const QString& rowIdColumn) {
    static QHash<QString, RecordsetText> known;
    const QString key = rowIdColumn + QLatin1Char('\n') + sql;
    auto found = known.constFind(key);
    if (found != known.constEnd())
        return found.value();
    if (known.size() >= kTextCacheLimit) // texts built at run time: start afresh
        known.clear();
    RecordsetText text{ChangeableTable(sql), sql};
    if (!text.table.isEmpty()) {
        static const QRegularExpression select(QStringLiteral("^\\s*select\\s+"),
                                               QRegularExpression::CaseInsensitiveOption);
        text.sql.replace(
            select,
            QStringLiteral("SELECT %1 AS %2, ").arg(rowIdColumn, QLatin1String(kRowIdAlias)));
    }
    return known.insert(key, text).value();
}

void CRecordset::Open(const QString& sql, const QVariantList& values) {
    Close();
    CConnection* connection = ActiveConnection();
    const RecordsetText& prepared = TextFor(sql, connection->Dialect().RowIdColumn());
    m_strTable = prepared.table;
    const QString text = prepared.sql;
    CStatementRun run(*connection, text, values);
    const int columns = run.ColumnCount();
    const int first = m_strTable.isEmpty() ? 0 : 1;
    // The server's row key is the program's own, not one of the shop's columns.
    const QString rowKey = connection->Dialect().RowIdColumn();
    QVector<int> shown;
    for (int i = first; i < columns; ++i) {
        const QString name = run.ColumnName(i);
        if (connection->IsServer() && name == rowKey)
            continue;
        const QString key = name.toLower();
        if (!m_fieldIndex.contains(key)) // the first column of a name wins
            m_fieldIndex.insert(key, int(m_fields.size()));
        m_fields.append(name);
        shown.append(i);
    }
    while (run.Next()) {
        QVector<QVariant> row;
        row.reserve(m_fields.size());
        for (int i : std::as_const(shown))
            row.append(run.Value(i));
        m_rows.append(row);
        m_rowIds.append(first ? run.Value(0) : QVariant());
    }
    m_deleted = QVector<bool>(m_rows.size(), false);
    m_pOpenedOn = connection;
    m_bOpen = true;
    m_nPos = 0;
}

void CRecordset::Close() {
    m_bOpen = false;
    m_pOpenedOn = nullptr;
    m_strTable.clear();
    m_fields.clear();
    m_fieldIndex.clear();
    m_rows.clear();
    m_rowIds.clear();
    m_deleted.clear();
    m_nPos = 0;
    m_bAdding = false;
    m_bEditing = false;
    m_pending.clear();
    m_touched.clear();
    m_changeText[0] = m_changeText[1] = ChangeText();
}

bool CRecordset::IsEOF() const {
    return !m_bOpen || m_nPos >= m_rows.size();
}
bool CRecordset::IsBOF() const {
    return !m_bOpen || GetRecordCount() == 0;
}

void CRecordset::SkipDeleted() {
    while (m_nPos < m_rows.size() && m_deleted[m_nPos])
        ++m_nPos;
}

void CRecordset::MoveFirst() {
    m_nPos = 0;
    SkipDeleted();
}

void CRecordset::MoveNext() {
    if (!m_bOpen)
        throw CDbException(QStringLiteral("记录集没有打开"));
    if (m_nPos >= m_rows.size())
        throw CDbException(QStringLiteral("已经在最后一条记录之后"));
    ++m_nPos;
    SkipDeleted();
}

int CRecordset::GetRecordCount() const {
    return m_bOpen ? int(m_rows.size() - m_deleted.count(true)) : -1;
}

// Names are mostly asked in the case the engine gives them: folded only when that misses.
int CRecordset::FieldIndex(const QString& field) const {
    auto found = m_fieldIndex.constFind(field);
    if (found == m_fieldIndex.constEnd())
        found = m_fieldIndex.constFind(field.toLower());
    if (found != m_fieldIndex.constEnd())
        return found.value();
    throw CDbException(QStringLiteral("记录集中没有字段 %1").arg(field));
}

void CRecordset::RequireCurrentRow(const char* operation) const {
    if (!m_bOpen || m_nPos < 0 || m_nPos >= m_rows.size() || m_deleted[m_nPos])
        throw CDbException(QStringLiteral("%1: 没有当前记录").arg(QLatin1String(operation)));
}

void CRecordset::RequireTable(const char* operation) const {
    if (!m_bOpen || m_strTable.isEmpty())
        throw CDbException(QStringLiteral("%1: 该记录集不能修改").arg(QLatin1String(operation)));
}

QString CRecordset::GetCollect(const QString& field) const {
    const int index = FieldIndex(field);
    if ((m_bAdding || m_bEditing) && m_touched.value(index))
        return SqlValueText(m_pending[index]);
    RequireCurrentRow("GetCollect");
    return SqlValueText(m_rows[m_nPos][index]);
}

void CRecordset::AddNew() {
    RequireTable("AddNew");
    m_bAdding = true;
    m_bEditing = false;
    m_pending = QVector<QVariant>(m_fields.size());
    m_touched = QVector<bool>(m_fields.size(), false);
}

void CRecordset::PutCollect(const QString& field, const QString& value) {
    RequireTable("PutCollect");
    const int index = FieldIndex(field);
    if (!m_bAdding && !m_bEditing) {
        RequireCurrentRow("PutCollect");
        m_bEditing = true;
        m_pending = QVector<QVariant>(m_fields.size());
        m_touched = QVector<bool>(m_fields.size(), false);
    }
    m_pending[index] = value;
    m_touched[index] = true;
}

void CRecordset::Update() {
    RequireTable("Update");
    if (!m_bAdding && !m_bEditing)
        return;
    CConnection* connection = ActiveConnection();
    QVariantList values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_touched[i])
            values.append(m_pending[i]);
    }
    if (m_bAdding) {
        CStatementRun run(*connection, ChangeSql(true, *connection), values);
        // The server hands the new row's key back from the INSERT itself.
        QVariant rowId;
        if (connection->Dialect().ReturningRowId().isEmpty())
            rowId = run.LastInsertId();
        else if (run.Next())
            rowId = run.Value(0);
        QVector<QVariant> row(m_fields.size());
        for (int i = 0; i < m_fields.size(); ++i)
            row[i] = m_touched[i] ? m_pending[i] : QVariant();
        m_rows.append(row);
        m_rowIds.append(rowId);
        m_deleted.append(false);
        m_nPos = m_rows.size() - 1;
    } else if (!values.isEmpty()) {
        values.append(m_rowIds[m_nPos]);
        connection->Execute(ChangeSql(false, *connection), values);
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_touched[i])
                m_rows[m_nPos][i] = m_pending[i];
        }
    }
    m_bAdding = false;
    m_bEditing = false;
}

// The INSERT (or UPDATE by row identity) of the touched columns. A save writes row after row
// with the same columns: the text is built for the first and kept while they stay the same.
const QString& CRecordset::ChangeSql(bool insert, const CConnection& connection) {
    ChangeText& kept = m_changeText[insert ? 1 : 0];
    if (!kept.sql.isEmpty() && kept.touched == m_touched)
        return kept.sql;
    QStringList columns;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_touched[i])
            columns.append(Quoted(m_fields[i]));
    }
    if (insert) {
        kept.sql = QStringLiteral("INSERT INTO %1 ").arg(Quoted(m_strTable));
        if (columns.isEmpty())
            kept.sql += QStringLiteral("DEFAULT VALUES");
        else
            kept.sql +=
                QStringLiteral("(%1) VALUES (%2)")
                    .arg(columns.join(QLatin1Char(',')),
                         QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        kept.sql += connection.Dialect().ReturningRowId();
    } else {
        QStringList assignments;
        for (const QString& column : std::as_const(columns))
            assignments.append(column + QStringLiteral("=?"));
        kept.sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3=?")
                       .arg(Quoted(m_strTable), assignments.join(QLatin1Char(',')),
                            connection.Dialect().RowIdColumn());
    }
    kept.touched = m_touched;
    return kept.sql;
}

void CRecordset::Delete() {
    RequireTable("Delete");
    RequireCurrentRow("Delete");
    CConnection* connection = ActiveConnection();
    connection->Execute(QStringLiteral("DELETE FROM %1 WHERE %2=?")
                            .arg(Quoted(m_strTable), connection->Dialect().RowIdColumn()),
                        {m_rowIds[m_nPos]});
    m_deleted[m_nPos] = true;
    m_bEditing = false;
}
