#include "catalogue/CCatalogueTree.h"

#include "db/CRecordset.h"
#include "db/CSqlReader.h"
#include "db/SqlText.h"

#include <QStringList>

namespace {

// "SELECT * FROM <table> WHERE bh LIKE '<prefix><tail>' ORDER BY bh", the prefix matching itself.
SqlStatement LikeStatement(const QString& table, const QString& prefix, const QString& tail) {
    return {QStringLiteral("SELECT * FROM %1 WHERE bh LIKE ? ORDER BY bh").arg(table),
            {LikeEscape(prefix) + tail}};
}

} // namespace

void CCatalogueTree::Clear() {
    for (QString& code : m_strCode)
        code.clear();
    for (QString& name : m_strName)
        name.clear();
}

void CCatalogueTree::SelectNode(int k, const QString& code, const QString& name) {
    m_strCode[k] = code;
    if (k < kLevels)
        m_strName[k] = name;
    for (int level = k + 1; level <= kLevels; ++level) {
        m_strCode[level].clear();
        if (level < kLevels)
            m_strName[level].clear();
    }
}

void CCatalogueTree::FillSkippedLevels() {
    for (int level = 2; level <= 4; ++level) {
        if (m_strCode[level].isEmpty()) {
            m_strCode[level] = QStringLiteral("00");
            m_strName[level].clear();
        }
    }
}

QString CCatalogueTree::CodePrefix(int k) const {
    QString prefix;
    for (int level = 1; level <= k && level <= kLevels; ++level)
        prefix += m_strCode[level];
    return prefix;
}

bool CCatalogueTree::HasParent(int k) const {
    if (k <= 1)
        return true;
    if (k < kLevels)
        return !m_strCode[k - 1].isEmpty();
    for (int level = 1; level < kLevels; ++level) {
        if (!m_strCode[level].isEmpty())
            return true;
    }
    return false;
}

QString CCatalogueTree::FullName() const {
    QStringList names;
    for (int level = 1; level < kLevels; ++level)
        names << m_strName[level];
    return ProductFullName(names);
}

bool CCatalogueTree::HangsUnderSkippedLevel(int k) const {
    bool skipped = false;
    for (int level = 2; level < k && level < kLevels; ++level) {
        if (m_strCode[level] == QLatin1String("00"))
            skipped = true;
        else if (skipped && !m_strCode[level].isEmpty())
            return true;
    }
    return skipped && k < kLevels;
}

QStringList CatalogueRow::Values(int k) const {
    if (k < CCatalogueTree::kLevels)
        return {bh, name};
    return {bh, count, pack};
}

QString ProductFullName(const QStringList& levelNames) {
    QStringList names;
    bool gap = false;
    for (const QString& name : levelNames) {
        if (name.isEmpty())
            gap = true;
        else if (gap)
            return QString();
        else
            names << name;
    }
    return names.join(QLatin1Char('-'));
}

QStringList LevelCodes(const QString& bh) {
    QStringList codes;
    for (int level = 0; level < CCatalogueTree::kLevels - 1 && 2 * level + 2 <= bh.size(); ++level)
        codes << bh.mid(2 * level, 2);
    return codes;
}

SqlStatement CCatalogueTree::LevelSql(int k) const {
    if (k <= 1)
        return {QStringLiteral("SELECT * FROM name1 ORDER BY bh"), {}};
    return LikeStatement(QStringLiteral("name%1").arg(k), ParentPrefix(k), QStringLiteral("__"));
}

SqlStatement CCatalogueTree::SpecsSql(int k) const {
    const QString skipped = QStringLiteral("00").repeated(qMax(0, 4 - k));
    return LikeStatement(QStringLiteral("name5"), CodePrefix(qMin(k, 4)),
                         skipped + QStringLiteral("__"));
}

bool CCatalogueTree::IsParentStored(int k) const {
    for (int level = 1; level < k && level < kLevels; ++level) {
        if (m_strCode[level] == QLatin1String("00"))
            continue;
        CRecordset rs;
        rs.Open(QStringLiteral("SELECT bh FROM name%1 WHERE bh=?").arg(level), {CodePrefix(level)});
        if (rs.IsEOF())
            return false;
    }
    return true;
}

QVector<CatalogueRow> CCatalogueTree::ReadLevel(int k) const {
    return ReadRows(LevelSql(k), k);
}

QVector<CatalogueRow> CCatalogueTree::ReadSpecs(int k) const {
    return ReadRows(SpecsSql(k), kLevels);
}

// A forward read with the columns found once: the lists are filled straight from it.
QVector<CatalogueRow> CCatalogueTree::ReadRows(const SqlStatement& sql, int k) {
    QVector<CatalogueRow> rows;
    CSqlReader reader(sql);
    const int bh = reader.Column(QStringLiteral("bh"));
    const bool spec = k >= kLevels;
    const int mc = spec ? -1 : reader.Column(QStringLiteral("mc"));
    const int count = spec ? reader.Column(QStringLiteral("count")) : -1;
    const int pack = spec ? reader.Column(QStringLiteral("pack")) : -1;
    while (reader.Next()) {
        CatalogueRow row;
        row.bh = reader.Text(bh);
        if (!spec) {
            row.name = reader.Text(mc);
            row.code = row.bh.mid(2 * (k - 1));
        } else {
            row.count = reader.Text(count);
            row.pack = reader.Text(pack);
            row.code = row.bh.right(2);
        }
        rows.append(row);
    }
    return rows;
}

QString CCatalogueTree::NewLevelCode(int r) {
    return r <= 9 ? QStringLiteral("0%1").arg(r) : QString::number(r);
}
