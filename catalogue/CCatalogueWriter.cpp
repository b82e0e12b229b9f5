#include "catalogue/CCatalogueWriter.h"

#include "app/CConnection.h"
#include "app/CHarborApp.h"
#include "app/CRecordset.h"
#include "app/SqlText.h"

#include <QSet>

namespace {

void Execute(const QString& sql, const QVariantList& values = {}) {
    theApp.m_pConnection->Execute(sql, values);
}

// Rewrites the codes under oldCode to newCode in the deeper tables of level k and replaces the
// old name by the new one in the full names of the products below.
void RenumberLevel(int k, const QString& newCode, const QString& oldCode, const QString& oldName,
                   const QString& newName) {
    const QString mid = QString::number(2 * k + 1);
    const QString like = LikeStartsWith(oldCode);
    for (int level = k + 1; level <= CCatalogueTree::kLevels; ++level) {
        Execute(QStringLiteral("UPDATE name%1 SET bh=Left(bh, 0) + ? + Mid(bh, %2) WHERE bh LIKE ?")
                    .arg(level)
                    .arg(mid),
                {newCode, like});
    }
    Execute(QStringLiteral("UPDATE property SET code=Left(code, 0) + ? + Mid(code, %1) , "
                           "name=REPLACE(name, ?, ?) WHERE code LIKE ?")
                .arg(mid),
            {newCode, oldName, newName, like});
}

// Moves the properties of one product to its new code and specification.
void RenumberSpec(const QString& newCode, const QString& spec, const QString& oldCode) {
    Execute(QStringLiteral("UPDATE property SET code=Left(code, 0) + ? + Mid(code, 11) , "
                           "spec=Left(spec, 0) + ? WHERE code LIKE ?"),
            {newCode, spec, LikeStartsWith(oldCode)});
}

// A code that no real node has, of the same length: the subtree of a moved node waits there
// until every node of the list has left its old code, so that two nodes can swap codes.
QString ParkingCode(const QString& prefix, int index) {
    return prefix + QLatin1Char('#') + QChar(0x4E00 + index);
}

struct Move {
    QString oldCode, newCode, oldName, newName, spec;
};

// What a save will do: the codes it writes and keeps, the records it rewrites, the moves.
struct Pending {
    QVector<Move> moves;
    QStringList saved, kept;
    QVector<bool> write; // per row that the save reaches: whether it writes its record
};

bool IsLevelRowEmpty(int k, const CatalogueRow& row) {
    return k < CCatalogueTree::kLevels ? row.name.isEmpty() : row.count.isEmpty();
}

Pending Plan(int k, CRecordset& rs, const QString& prefix, const QVector<CatalogueRow>& rows) {
    Pending plan;
    const int n = rs.GetRecordCount();
    for (int i = 0; i < rows.size(); ++i) {
        const CatalogueRow& row = rows.at(i);
        if (i >= n) {
            if (IsLevelRowEmpty(k, row))
                break;
            plan.saved << row.code;
            plan.write << true;
            continue;
        }
        const QString oldCode = rs.GetCollect(QStringLiteral("bh"));
        Move move{oldCode, prefix + row.code, {}, row.name, row.Spec()};
        bool same = move.newCode == oldCode;
        if (k < CCatalogueTree::kLevels) {
            move.oldName = rs.GetCollect(QStringLiteral("mc"));
            same = same && move.oldName == row.name;
        } else {
            same = same && rs.GetCollect(QStringLiteral("count")) == row.count &&
                   rs.GetCollect(QStringLiteral("pack")) == row.pack;
        }
        plan.write << !same;
        if (same) {
            plan.kept << row.code;
        } else {
            plan.saved << row.code;
            plan.moves << move;
        }
        rs.MoveNext();
    }
    for (; !rs.IsEOF(); rs.MoveNext())
        plan.kept << rs.GetCollect(QStringLiteral("bh")).mid(prefix.size());
    return plan;
}

void WriteRow(int k, CRecordset& rs, const QString& prefix, const CatalogueRow& row) {
    rs.PutCollect(QStringLiteral("bh"), prefix + row.code);
    if (k < CCatalogueTree::kLevels) {
        rs.PutCollect(QStringLiteral("mc"), row.name);
    } else {
        rs.PutCollect(QStringLiteral("count"), row.count);
        rs.PutCollect(QStringLiteral("pack"), row.pack);
    }
    rs.Update();
}

void ApplyMoves(int k, const QString& prefix, const QVector<Move>& moves) {
    auto renumber = [k](const QString& to, const QString& from, const Move& move, bool names) {
        if (k < CCatalogueTree::kLevels)
            RenumberLevel(k, to, from, names ? move.oldName : move.newName, move.newName);
        else
            RenumberSpec(to, move.spec, from);
    };
    for (int i = 0; i < moves.size(); ++i) {
        const Move& move = moves.at(i);
        if (move.oldCode != move.newCode)
            renumber(ParkingCode(prefix, i), move.oldCode, move, true);
        else
            renumber(move.newCode, move.oldCode, move, true);
    }
    for (int i = 0; i < moves.size(); ++i) {
        const Move& move = moves.at(i);
        if (move.oldCode != move.newCode)
            renumber(move.newCode, ParkingCode(prefix, i), move, false);
    }
}

CCatalogueWriter::Result Save(int k, const SqlStatement& sql, const QString& prefix,
                              const QVector<CatalogueRow>& rows) {
    CCatalogueWriter::Result result;
    CRecordset rs;
    rs.Open(sql);
    const Pending plan = Plan(k, rs, prefix, rows);
    result.strRefusal = CCatalogueWriter::CheckCodes(plan.saved, plan.kept);
    if (!result.strRefusal.isEmpty())
        return result;
    const int n = rs.GetRecordCount();
    if (n > 0)
        rs.MoveFirst();
    for (int i = 0; i < plan.write.size(); ++i) {
        if (i >= n) {
            rs.AddNew();
            WriteRow(k, rs, prefix, rows.at(i));
            continue;
        }
        if (plan.write.at(i))
            WriteRow(k, rs, prefix, rows.at(i));
        if (i + 1 < n)
            rs.MoveNext();
    }
    rs.Close();
    ApplyMoves(k, prefix, plan.moves);
    result.bChanged = !plan.moves.isEmpty();
    return result;
}

} // namespace

CCatalogueWriter::Result CCatalogueWriter::SaveLevel(int k, const SqlStatement& sql,
                                                     const QString& prefix,
                                                     const QVector<CatalogueRow>& rows) {
    return Save(k, sql, prefix, rows);
}

CCatalogueWriter::Result CCatalogueWriter::SaveSpecs(const SqlStatement& sql, const QString& prefix,
                                                     const QVector<CatalogueRow>& rows) {
    return Save(CCatalogueTree::kLevels, sql, prefix, rows);
}

QString CCatalogueWriter::StoredCode(const SqlStatement& sql, int row) {
    CRecordset rs;
    rs.Open(sql);
    for (int i = 1; i < row && !rs.IsEOF(); ++i)
        rs.MoveNext();
    const QString code = rs.IsEOF() || row < 1 ? QString() : rs.GetCollect(QStringLiteral("bh"));
    rs.Close();
    return code;
}

void CCatalogueWriter::DeleteNode(int k, const CCatalogueTree& path) {
    const QString prefix = path.CodePrefix(k);
    if (k == CCatalogueTree::kLevels) {
        Execute(QStringLiteral("delete from name5 where bh=?"), {prefix});
        Execute(QStringLiteral("delete from property where code=?"), {prefix});
        return;
    }
    Execute(QStringLiteral("delete from name%1 where bh=?").arg(k), {prefix});
    const QString like = LikeStartsWith(prefix);
    for (int level = k + 1; level <= CCatalogueTree::kLevels; ++level)
        Execute(QStringLiteral("delete from name%1 where bh like ?").arg(level), {like});
    Execute(QStringLiteral("delete from property where code like ?"), {like});
}

QString CCatalogueWriter::CheckCodes(const QStringList& savedCodes, const QStringList& keptCodes) {
    for (const QString& code : savedCodes) {
        const bool digits = code.size() == 2 && code.at(0).isDigit() && code.at(1).isDigit();
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
