#include "documents/CSaleDocStore.h"

#include "app/RowLocks.h"
#include "app/CConnection.h"
#include "app/CHarborApp.h"
#include "app/CRecordset.h"
#include "app/SqlText.h"
#include "documents/NumericText.h"
#include "documents/SaleLineMath.h"

namespace {

struct StockMove {
    QString code;
    float delta;
};

} // namespace

QString CSaleDocStore::Refusal(const SaleDocHeader& header, const QVector<SaleDocLine>& lines,
                               const QString& receiptName) {
    if (header.customer.isEmpty())
        return QStringLiteral("请先选择客户");
    if (header.state.isEmpty())
        return QStringLiteral("请先选择收款状态");
    if (lines.isEmpty())
        return QStringLiteral("请先完整填写表格");
    for (const SaleDocLine& line : lines) {
        if (line.count.isEmpty())
            return QStringLiteral("请先填写数量");
    }
    for (int i = 0; i < lines.size(); ++i) {
        if (!IsPlainDecimal(lines[i].count))
            return QStringLiteral("第%1行的数量\"%2\"不是数字,请改正")
                .arg(i + 1)
                .arg(lines[i].count);
    }
    if (!header.receipt.isEmpty() && !IsPlainDecimal(header.receipt))
        return QStringLiteral("%1\"%2\"不是数字,请改正").arg(receiptName, header.receipt);
    return QString();
}

QStringList CSaleDocStore::CustomersByInitials(const QString& initials) {
    QStringList names;
    CRecordset rs;
    // Typed initials match only themselves: their own % and _ are no wildcards.
    rs.Open(QStringLiteral("SELECT mc FROM customer WHERE pinyin LIKE ?"), {LikeContains(initials)});
    for (; !rs.IsEOF(); rs.MoveNext())
        names.append(rs.GetCollect(QStringLiteral("mc")));
    rs.Close();
    return names;
}

QString CSaleDocStore::EmployeeName(const QString& employeeId, bool* found) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM employee WHERE employeeid=?"), {employeeId});
    *found = !rs.IsEOF();
    const QString name = *found ? rs.GetCollect(QStringLiteral("name")) : QString();
    rs.Close();
    return name;
}

SqlStatement CSaleDocStore::SelectDocumentSql(const QString& oddnum) const {
    if (m_kind.table == QLatin1String("salein"))
        return {QStringLiteral("SELECT * FROM salein WHERE oddnum=?"), {oddnum}};
    return {QStringLiteral("SELECT * FROM saleout WHERE oddnum=?"), {oddnum}};
}

int CSaleDocStore::StoredRowCount(const QString& oddnum) const {
    LockFirstSave(m_kind.table, oddnum);
    CRecordset rs;
    rs.Open(SelectDocumentSql(oddnum));
    const int count = rs.GetRecordCount();
    rs.Close();
    return count;
}

void CSaleDocStore::PutRow(CRecordset& rs, const SaleDocHeader& header,
                           const SaleDocLine& line) const {
    rs.PutCollect(QStringLiteral("oddnum"), header.oddnum);
    rs.PutCollect(QStringLiteral("customer"), header.customer);
    rs.PutCollect(QStringLiteral("mydate"), header.mydate);
    rs.PutCollect(QStringLiteral("receivable"), header.receivable);
    rs.PutCollect(QStringLiteral("receipt"), header.receipt);
    rs.PutCollect(QStringLiteral("state"), header.state);
    rs.PutCollect(QStringLiteral("employeename"), header.employeeName);
    rs.PutCollect(QStringLiteral("employeeid"), header.employeeId);
    rs.PutCollect(QStringLiteral("mc"), line.name);
    rs.PutCollect(QStringLiteral("shortname"), line.shortName);
    rs.PutCollect(QStringLiteral("code"), line.code);
    rs.PutCollect(QStringLiteral("spec"), line.spec);
    rs.PutCollect(QStringLiteral("price"), line.price);
    rs.PutCollect(QStringLiteral("count"), line.count);
    rs.PutCollect(QStringLiteral("discount"), line.discount);
    rs.PutCollect(QStringLiteral("total"), line.amount);
    if (m_kind.storesPcsRemarks) {
        rs.PutCollect(QStringLiteral("pcs"), line.pcs);
        rs.PutCollect(QStringLiteral("remarks"), line.remark);
    }
}

void CSaleDocStore::Save(const SaleDocHeader& header, const QVector<SaleDocLine>& lines) const {
    const float sign = m_kind.stockSign;
    QVector<StockMove> moves;
    CRecordset rs;
    rs.Open(SelectDocumentSql(header.oddnum));
    const int stored = rs.GetRecordCount();
    for (int j = 0; j < lines.size(); ++j) {
        const SaleDocLine& line = lines[j];
        const float quantity = TextToFloat(line.count);
        if (j < stored) {
            const QString storedCode = rs.GetCollect(QStringLiteral("code"));
            const float storedQuantity = TextToFloat(rs.GetCollect(QStringLiteral("count")));
            if (storedCode == line.code) {
                moves.append({line.code, sign * (quantity - storedQuantity)});
            } else { // the product was replaced by a right click
                moves.append({storedCode, -sign * storedQuantity});
                moves.append({line.code, sign * quantity});
            }
            PutRow(rs, header, line);
            rs.Update();
            rs.MoveNext();
        } else {
            rs.AddNew();
            PutRow(rs, header, line);
            rs.Update();
            moves.append({line.code, sign * quantity});
        }
    }
    rs.Close();
    QStringList codes;
    for (const StockMove& move : moves)
        codes.append(move.code);
    LockProducts(codes);
    for (const StockMove& move : moves) {
        if (move.delta != 0.0f)
            ChangeStock(move.code, move.delta);
    }
    SetNumberColumns(header.oddnum, header.receivable, header.receipt);
}

void CSaleDocStore::SetNumberColumns(const QString& oddnum, const QString& receivable,
                                     const QString& receipt) const {
    const QVariantList numbers = {NumberColumnText(receivable), NumberColumnText(receipt), oddnum};
    if (m_kind.table == QLatin1String("salein"))
        theApp.m_pConnection->Execute(
            QStringLiteral("update salein set freceivable=?,freceipt=? where oddnum=?"), numbers);
    else
        theApp.m_pConnection->Execute(
            QStringLiteral("update saleout set freceivable=?,freceipt=? where oddnum=?"), numbers);
}

void CSaleDocStore::ChangeStock(const QString& code, float delta) const {
    LockProducts({code});
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT total FROM property WHERE code=?"), {code});
    if (!rs.IsEOF()) {
        rs.PutCollect(QStringLiteral("total"),
                      StockAfter(rs.GetCollect(QStringLiteral("total")), delta));
        rs.Update();
    }
    rs.Close();
}

bool CSaleDocStore::DeleteStoredLine(const QString& oddnum, int index, const QString& receivable,
                                     const QString& receipt) const {
    CRecordset rs;
    rs.Open(SelectDocumentSql(oddnum));
    if (index < 0 || index >= rs.GetRecordCount()) {
        rs.Close();
        return false;
    }
    for (int i = 0; i < index; ++i)
        rs.MoveNext();
    const QString code = rs.GetCollect(QStringLiteral("code"));
    const float quantity = TextToFloat(rs.GetCollect(QStringLiteral("count")));
    rs.Delete();
    rs.Close();
    if (m_kind.updatesStoredAmountsOnDelete) {
        rs.Open(SelectDocumentSql(oddnum));
        if (!rs.IsEOF()) {
            rs.PutCollect(QStringLiteral("receivable"), receivable);
            rs.PutCollect(QStringLiteral("receipt"), receipt);
            rs.Update();
        }
        rs.Close();
        // The accounts add up the number columns: they follow the new amounts too.
        SetNumberColumns(oddnum, receivable, receipt);
    }
    ChangeStock(code, -m_kind.stockSign * quantity);
    return true;
}
