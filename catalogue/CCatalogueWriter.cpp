#include "catalogue/CCatalogueWriter.h"

#include "db/CConnection.h"
#include "db/CRecordset.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "db/SqlText.h"
#include "text/InputText.h"
#include "text/PinyinInitials.h"
#include "text/TableRowMatch.h"

#include <QHash>
#include <QSet>

namespace {

constexpr int kSpecLevel = CCatalogueTree::kLevels;

const char* const kLevelFields[] = {"", "一级商品名称", "二级商品名称", "三级商品名称",
                                    "四级商品名称"};

void Execute(const QString& sql, const QVariantList& values = {}) {
    Db()->Execute(sql, values);
}

// Rewrites the codes under oldCode to newCode in the tables below level k.
void RenumberLevel(int k, const QString& newCode, const QString& oldCode) {
    const QString mid = QString::number(2 * k + 1);
    const QString like = LikeStartsWith(oldCode);
    for (int level = k + 1; level <= CCatalogueTree::kLevels; ++level) {
        Execute(QStringLiteral("UPDATE name%1 SET bh=Left(bh, 0) + ? + Mid(bh, %2) WHERE bh LIKE ?")
                    .arg(level)
                    .arg(mid),
                {newCode, like});
    }
    Execute(QStringLiteral("UPDATE property SET code=Left(code, 0) + ? + Mid(code, %1) WHERE code "
                           "LIKE ?")
                .arg(mid),
            {newCode, like});
    Execute(QStringLiteral("UPDATE minstock SET code=Left(code, 0) + ? + Mid(code, %1) WHERE code "
                           "LIKE ?")
                .arg(mid),
            {newCode, like});
    // Stored document lines keep standing for their products under the new codes.
    Execute(QStringLiteral("UPDATE docline SET product=Left(product, 0) + ? + Mid(product, %1) "
                           "WHERE product LIKE ?")
                .arg(mid),
            {newCode, like});
}

// Moves the properties of one product to its new code and specification.
void RenumberSpec(const QString& newCode, const QString& spec, const QString& oldCode) {
    Execute(QStringLiteral("UPDATE property SET code=Left(code, 0) + ? + Mid(code, 11) , "
                           "spec=Left(spec, 0) + ? WHERE code LIKE ?"),
            {newCode, spec, LikeStartsWith(oldCode)});
    Execute(QStringLiteral("UPDATE minstock SET code=Left(code, 0) + ? + Mid(code, 11) WHERE code "
                           "LIKE ?"),
            {newCode, LikeStartsWith(oldCode)});
    Execute(QStringLiteral("UPDATE docline SET product=Left(product, 0) + ? + Mid(product, 11) "
                           "WHERE product LIKE ?"),
            {newCode, LikeStartsWith(oldCode)});
}

// A code that no real node has, of the same length: the subtree of a moved node waits there
// until every node of the list has left its old code, so that two nodes can swap codes.
QString ParkingCode(const QString& prefix, int index) {
    return prefix + QLatin1Char('#') + QChar(0x4E00 + index);
}

void ApplyMoves(int k, const QString& prefix, const QVector<CCatalogueWriter::Move>& moves) {
    auto renumber = [k](const QString& to, const QString& from, const QString& spec) {
        if (k < kSpecLevel)
            RenumberLevel(k, to, from);
        else
            RenumberSpec(to, spec, from);
    };
    for (int i = 0; i < moves.size(); ++i) {
        const CCatalogueWriter::Move& move = moves.at(i);
        if (move.oldCode != move.newCode)
            renumber(ParkingCode(prefix, i), move.oldCode, move.spec);
        else if (k == kSpecLevel)
            renumber(move.newCode, move.oldCode, move.spec); // a new count or pack
    }
    for (int i = 0; i < moves.size(); ++i) {
        const CCatalogueWriter::Move& move = moves.at(i);
        if (move.oldCode != move.newCode)
            renumber(move.newCode, ParkingCode(prefix, i), move.spec);
    }
}

bool IsBlankRow(int k, const CatalogueRow& row) {
    return k < kSpecLevel ? row.name.isEmpty() : row.count.isEmpty();
}

// What a row to be written must hold: a name (level 5: a count) that can be stored.
QString RowProblem(int k, const CatalogueRow& row) {
    if (k < kSpecLevel)
        return NameProblem(QString::fromUtf8(kLevelFields[k]), row.name);
    QString problem = NameProblem(QStringLiteral("数量"), row.count);
    if (problem.isEmpty() && !row.pack.isEmpty())
        problem = NameProblem(QStringLiteral("包装"), row.pack);
    return problem;
}

bool SameContent(int k, const CatalogueRow& a, const CatalogueRow& b) {
    if (k < kSpecLevel)
        return a.name == b.name;
    return a.count == b.count && a.pack == b.pack;
}

CatalogueRow ReadRecord(int k, const CRecordset& rs) {
    CatalogueRow row;
    row.bh = rs.GetCollect(QStringLiteral("bh"));
    row.code = row.bh.right(2);
    if (k < kSpecLevel) {
        row.name = rs.GetCollect(QStringLiteral("mc"));
    } else {
        row.count = rs.GetCollect(QStringLiteral("count"));
        row.pack = rs.GetCollect(QStringLiteral("pack"));
    }
    return row;
}

void WriteRow(int k, CRecordset& rs, const QString& prefix, const CatalogueRow& row) {
    rs.PutCollect(QStringLiteral("bh"), prefix + row.code);
    if (k < kSpecLevel) {
        rs.PutCollect(QStringLiteral("mc"), row.name);
    } else {
        rs.PutCollect(QStringLiteral("count"), row.count);
        rs.PutCollect(QStringLiteral("pack"), row.pack);
    }
    rs.Update();
}

void MoveTo(CRecordset& rs, int index) {
    rs.MoveFirst();
    for (int i = 0; i < index; ++i)
        rs.MoveNext();
}

// Names of the stored nodes by code, read once per code while a save runs.
class LevelNames {
  public:
    // The name of the node at the level of bh (2, 4, 6 or 8 digits); none when no node has it.
    std::optional<QString> Name(const QString& bh) {
        auto it = m_names.find(bh);
        if (it != m_names.end())
            return *it;
        const int level = int(bh.size() / 2);
        CSqlReader reader(QStringLiteral("SELECT mc FROM name%1 WHERE bh=?").arg(level), {bh});
        std::optional<QString> name;
        if (reader.Next())
            name = reader.Text(0);
        m_names.insert(bh, name);
        return name;
    }

    // The full name of the product with this code; empty when a level on its path is missing.
    QString FullName(const QString& code) {
        const QStringList codes = LevelCodes(code);
        QStringList names;
        QString bh;
        for (const QString& levelCode : codes) {
            bh += levelCode;
            if (levelCode == QLatin1String("00") && names.size() > 0) {
                names << QString();
                continue;
            }
            const std::optional<QString> name = Name(bh);
            if (!name)
                return QString();
            names << *name;
        }
        return ProductFullName(names);
    }

  private:
    QHash<QString, std::optional<QString>> m_names;
};

} // namespace

int CCatalogueWriter::Plan::Writes() const {
    int writes = 0;
    for (int i = 0; i < rewrite.size(); ++i)
        writes += (rewrite.at(i) >= 0 || add.at(i)) ? 1 : 0;
    return writes;
}

QString CCatalogueWriter::RowTitle(int k, const CatalogueRow& row) {
    if (k < kSpecLevel)
        return QStringLiteral("%1\"%2\"(编号%3)")
            .arg(QString::fromUtf8(kLevelFields[k]), row.name, row.bh.right(2));
    return QStringLiteral("规格\"%1\"(编号%2)").arg(row.Spec(), row.bh.right(2));
}

CCatalogueWriter::Plan CCatalogueWriter::PlanSave(int k, const QString& prefix,
                                                  const QVector<CatalogueListRow>& rows,
                                                  const QVector<CatalogueRow>& records) {
    Plan plan;
    plan.rewrite.fill(-1, rows.size());
    plan.add.fill(false, rows.size());

    std::vector<TableRow> tableRows;
    for (const CatalogueListRow& row : rows)
        tableRows.push_back(
            {{}, row.loaded ? std::optional<QStringList>(row.loaded->Values(k)) : std::nullopt});
    QList<QStringList> recordValues;
    for (const CatalogueRow& record : records)
        recordValues.append(record.Values(k));
    const std::vector<int> matches = MatchRowsToRecords(tableRows, recordValues);
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).loaded && matches[i] < 0) {
            plan.bStale = true;
            plan.strRefusal =
                QStringLiteral("%1已在其他窗口或其他电脑上修改或删除,本次保存没有写入任何数据。"
                               "列表已重新读取,请核对后再修改保存。")
                    .arg(RowTitle(k, *rows.at(i).loaded));
            return plan;
        }
    }

    QStringList saved, kept;
    QVector<bool> taken(records.size(), false);
    for (int i = 0; i < rows.size(); ++i) {
        const CatalogueListRow& row = rows.at(i);
        const QString newCode = prefix + row.shown.code;
        if (!row.loaded) {
            // Adding stops at the first added row left empty; the rows after it stay unsaved.
            if (plan.nBlankRow >= 0)
                continue;
            if (IsBlankRow(k, row.shown)) {
                plan.nBlankRow = i;
                continue;
            }
            plan.strRefusal = RowProblem(k, row.shown);
            if (!plan.strRefusal.isEmpty())
                return plan;
            saved << row.shown.code;
            plan.add[i] = true;
            continue;
        }
        taken[matches[i]] = true;
        if (newCode == row.loaded->bh && SameContent(k, row.shown, *row.loaded)) {
            kept << row.shown.code;
            continue;
        }
        plan.strRefusal = RowProblem(k, row.shown);
        if (!plan.strRefusal.isEmpty())
            return plan;
        saved << row.shown.code;
        plan.rewrite[i] = matches[i];
        plan.moves << Move{row.loaded->bh, newCode, row.shown.name, row.shown.Spec()};
    }
    // Records that no row stands for (added elsewhere since the list was read) keep their codes.
    for (int r = 0; r < records.size(); ++r) {
        if (!taken.at(r))
            kept << records.at(r).bh.mid(prefix.size());
    }
    plan.strRefusal = CheckCodes(saved, kept);
    return plan;
}

CCatalogueWriter::Plan CCatalogueWriter::PlanSave(int k, const SqlStatement& sql,
                                                  const QString& prefix,
                                                  const QVector<CatalogueListRow>& rows) {
    QVector<CatalogueRow> records;
    CRecordset rs;
    rs.Open(sql);
    for (; !rs.IsEOF(); rs.MoveNext())
        records.append(ReadRecord(k, rs));
    rs.Close();
    return PlanSave(k, prefix, rows, records);
}

CCatalogueWriter::Result CCatalogueWriter::Save(int k, const SqlStatement& sql,
                                                const QString& prefix,
                                                const QVector<CatalogueListRow>& rows) {
    CRecordset rs;
    rs.Open(sql);
    QVector<CatalogueRow> records;
    for (; !rs.IsEOF(); rs.MoveNext())
        records.append(ReadRecord(k, rs));
    const Plan plan = PlanSave(k, prefix, rows, records);

    Result result;
    result.strRefusal = plan.strRefusal;
    result.bStale = plan.bStale;
    result.nBlankRow = plan.nBlankRow;
    if (!plan.strRefusal.isEmpty())
        return result;
    for (int i = 0; i < rows.size(); ++i) {
        if (plan.rewrite.at(i) < 0)
            continue;
        MoveTo(rs, plan.rewrite.at(i));
        WriteRow(k, rs, prefix, rows.at(i).shown);
    }
    for (int i = 0; i < rows.size(); ++i) {
        if (!plan.add.at(i))
            continue;
        rs.AddNew();
        WriteRow(k, rs, prefix, rows.at(i).shown);
    }
    rs.Close();
    ApplyMoves(k, prefix, plan.moves);
    if (k < kSpecLevel) {
        for (const Move& move : plan.moves)
            RebuildProductNames(move.newCode);
    }
    result.bChanged = !plan.moves.isEmpty();
    result.nWritten = plan.Writes();
    return result;
}

bool CCatalogueWriter::DeleteRecord(int k, const CatalogueRow& loaded) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM name%1 WHERE bh=?").arg(k), {loaded.bh});
    int left = 0;
    bool found = false;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (!found && ReadRecord(k, rs).Values(k) == loaded.Values(k)) {
            rs.Delete();
            found = true;
        } else {
            ++left;
        }
    }
    rs.Close();
    if (!found)
        return false;
    if (left > 0)
        return true; // another node of the same code keeps the subtree
    if (k == kSpecLevel) {
        Execute(QStringLiteral("delete from property where code=?"), {loaded.bh});
        Execute(QStringLiteral("delete from minstock where code=?"), {loaded.bh});
        // Its document lines no longer stand for any product: a product made later under the
        // same code is another one.
        Execute(QStringLiteral("UPDATE docline SET product='' WHERE product=?"), {loaded.bh});
        return true;
    }
    const QString like = LikeStartsWith(loaded.bh);
    for (int level = k + 1; level <= CCatalogueTree::kLevels; ++level)
        Execute(QStringLiteral("delete from name%1 where bh like ?").arg(level), {like});
    Execute(QStringLiteral("delete from property where code like ?"), {like});
    Execute(QStringLiteral("delete from minstock where code like ?"), {like});
    Execute(QStringLiteral("UPDATE docline SET product='' WHERE product like ?"), {like});
    return true;
}

int CCatalogueWriter::DocumentLines(const QString& code) {
    int lines = 0;
    for (const char* sql : {"SELECT count(*) FROM saleout WHERE code LIKE ?",
                            "SELECT count(*) FROM salein WHERE code LIKE ?",
                            "SELECT count(*) FROM entry WHERE code LIKE ?"})
        lines += SqlScalar(QString::fromUtf8(sql), {LikeStartsWith(code)}).toInt();
    return lines;
}

int CCatalogueWriter::LabelledProducts(const QString& code) {
    return SqlScalar(QStringLiteral("SELECT count(*) FROM property WHERE code LIKE ?"),
                     {LikeStartsWith(code)})
        .toInt();
}

QString CCatalogueWriter::StoredFullName(const QString& code) {
    LevelNames names;
    return names.FullName(code);
}

void CCatalogueWriter::RebuildProductNames(const QString& prefix) {
    LevelNames names;
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM property WHERE code LIKE ?"), {LikeStartsWith(prefix)});
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const QString name = names.FullName(rs.GetCollect(QStringLiteral("code")));
        if (name.isEmpty())
            continue; // a product under a missing or skipped level keeps the name it has
        const QString initials = GetPinyinInitials(name);
        if (name == rs.GetCollect(QStringLiteral("name")) &&
            initials == rs.GetCollect(QStringLiteral("longpinyin")))
            continue;
        rs.PutCollect(QStringLiteral("name"), name);
        rs.PutCollect(QStringLiteral("longpinyin"), initials);
        rs.Update();
    }
    rs.Close();
}

QString CCatalogueWriter::CheckCodes(const QStringList& savedCodes, const QStringList& keptCodes) {
    auto isAsciiDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    for (const QString& code : savedCodes) {
        const bool digits =
            code.size() == 2 && isAsciiDigit(code.at(0)) && isAsciiDigit(code.at(1));
        if (!digits || code == QLatin1String("00"))
            return QStringLiteral("编号\"%1\"无效,编号应为01至99的两位数字,请重新输入!").arg(code);
    }
    QSet<QString> seen;
    for (const QString& code : savedCodes + keptCodes) {
        if (seen.contains(code))
            return QStringLiteral("编号%1与同级的其他商品重复,请改用其他编号后再保存!").arg(code);
        seen.insert(code);
    }
    return QString();
}
