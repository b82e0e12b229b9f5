#include "documents/CDocumentStore.h"

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CRecordset.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "db/RowLocks.h"
#include "db/SqlText.h"
#include "documents/CostLedger.h"
#include "documents/DeletedDocuments.h"
#include "documents/Oddnum.h"
#include "documents/ProductFacts.h"
#include "documents/ReturnOrigins.h"
#include "text/Cents.h"

namespace {

constexpr int kNameIndex = 0; // mc, the first line column of every document table

} // namespace

QStringList CDocumentStore::StoredTexts(const QStringList& texts) {
    QStringList stored;
    for (const QString& text : texts)
        stored.append(RepairText(text.isNull() ? QString("") : text));
    return stored;
}

QVector<StoredRow> CDocumentStore::ReadOpen(CRecordset& rs, const QString& oddnum,
                                            QString* invoiceDate) const {
    rs.Open(m_table.SelectSql(), {oddnum});
    QVector<StoredRow> rows;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        StoredRow row;
        for (const QString& column : m_table.lineColumns)
            row.line.append(rs.GetCollect(column));
        for (const QString& column : m_table.headerColumns)
            row.header.append(rs.GetCollect(column));
        if (invoiceDate && m_table.keepsInvoiceDate && invoiceDate->isEmpty())
            *invoiceDate = rs.GetCollect(QStringLiteral("invoicedate"));
        rows.append(row);
    }
    ReadFacts(oddnum, rows);
    if (m_table.kind == DocumentKind::SaleIn)
        AttachReturnOrigins(oddnum, rows);
    return rows;
}

void CDocumentStore::ReadFacts(const QString& oddnum, QVector<StoredRow>& rows) const {
    const QStringList keyColumns = LineKeyColumns();
    QVector<LineFacts> facts;
    CSqlReader reader(QStringLiteral("SELECT %1,product,remark FROM docline WHERE tbl=? AND "
                                     "oddnum=?")
                          .arg(keyColumns.join(QLatin1Char(','))),
                      {m_table.table, oddnum});
    while (reader.Next()) {
        LineFacts fact;
        for (int i = 0; i < keyColumns.size(); ++i)
            fact.key.append(reader.Text(i));
        fact.product = reader.Text(int(keyColumns.size()));
        fact.remark = reader.Text(int(keyColumns.size()) + 1);
        facts.append(fact);
    }
    for (int k : AttachLineFacts(m_table, rows, facts)) {
        const QStringList& line = rows[k].line;
        ProductFacts product;
        const QString code = line.value(m_table.codeIndex);
        if (ReadProduct(code, &product) &&
            (product.name.isEmpty() || product.name == line.value(kNameIndex)))
            rows[k].product = code;
    }
}

void CDocumentStore::WriteFacts(const QString& oddnum, const QVector<StoredRow>& rows) const {
    CConnection& connection = *Db();
    connection.Execute(QStringLiteral("DELETE FROM docline WHERE tbl=? AND oddnum=?"),
                       {m_table.table, oddnum});
    const QStringList keyColumns = LineKeyColumns();
    const QString insert = QStringLiteral("INSERT INTO docline (tbl,oddnum,%1,product,remark) "
                                          "VALUES (?,?,%2?,?)")
                               .arg(keyColumns.join(QLatin1Char(',')),
                                    QStringLiteral("?,").repeated(keyColumns.size()));
    for (const StoredRow& row : rows) {
        QVariantList values = {m_table.table, oddnum};
        for (const QString& text : StoredTexts(LineKey(m_table, row.line)))
            values.append(text);
        values << row.product << row.remark;
        connection.Execute(insert, values);
    }
}

QString CDocumentStore::Move(const QVector<StockMove>& moves, DocumentWrite& write) const {
    QStringList unmoved;
    const QString refusal = MoveStock(moves, &unmoved);
    if (!refusal.isEmpty())
        write.result = DocumentWrite::Result::Refused;
    write.notice = UnmovedStockNotice(unmoved);
    return refusal;
}

QVector<StoredRow> CDocumentStore::ReadRows(const QString& oddnum, QString* invoiceDate) const {
    CRecordset rs;
    QVector<StoredRow> rows = ReadOpen(rs, oddnum, invoiceDate);
    rs.Close();
    return rows;
}

int CDocumentStore::StoredRowCount(const QString& oddnum) const {
    return int(ReadRows(oddnum).size());
}

QString CDocumentStore::FirstSaveNumber(const QString& oddnum, QWidget* parent,
                                        const QDate& date) const {
    const QDate day = date.isValid() ? date : OddnumDate(oddnum);
    LockFirstSave(m_table.table, OddnumPrefix(day));
    if (OddnumDate(oddnum) == day && StoredRowCount(oddnum) == 0)
        return oddnum;
    return NewOddnum(m_table.table, day, parent);
}

int CDocumentStore::MismatchedLine(const QVector<ScreenLine>& lines) const {
    const int code = m_table.codeIndex;
    for (int i = 0; i < lines.size(); ++i) {
        const ScreenLine& line = lines[i];
        // A line that still holds the product it was saved with needs no look-up.
        if (line.origin && line.origin->value(kNameIndex) == line.texts.value(kNameIndex) &&
            line.origin->value(code) == line.texts.value(code))
            continue;
        ProductFacts product;
        if (!ReadProduct(line.texts.value(code), &product))
            return i;
        if (!product.name.isEmpty() && product.name != line.texts.value(kNameIndex))
            return i;
    }
    return -1;
}

void CDocumentStore::PutLine(CRecordset& rs, const QStringList& texts) const {
    for (int i = 0; i < m_table.lineColumns.size(); ++i)
        rs.PutCollect(m_table.lineColumns[i], texts.value(i));
}

void CDocumentStore::WriteHeader(const QString& oddnum, const QStringList& header,
                                 const QString& invoiceDate) const {
    QVariantList values = m_table.HeaderValues(header, invoiceDate);
    values.append(oddnum);
    Db()->Execute(m_table.HeaderUpdateSql(), values);
}

DocumentWrite CDocumentStore::Save(const QString& oddnum, const QStringList& header,
                                   const QVector<ScreenLine>& lines,
                                   const std::optional<QStringList>& remembered) const {
    DocumentWrite write;
    CRecordset rs;
    QString invoiceDate;
    const QVector<StoredRow> stored = ReadOpen(rs, oddnum, &invoiceDate);
    const SavePlan plan = PlanSave(m_table, stored, header, lines, remembered);
    if (!plan.conflicts.isEmpty()) {
        write.result = DocumentWrite::Result::Conflict;
        write.message = plan.conflicts.join(QLatin1Char('\n'));
        return write;
    }
    // Refused before anything is written: the caller's transaction commits what was done.
    write.message = LinksProblem(oddnum, stored, plan, lines);
    if (!write.message.isEmpty()) {
        write.result = DocumentWrite::Result::Refused;
        return write;
    }
    write.message = Move(plan.moves, write);
    if (!write.message.isEmpty())
        return write;
    rs.MoveFirst();
    for (int k = 0; k < stored.size(); ++k, rs.MoveNext()) {
        const int line = int(plan.storedRowOf.indexOf(k));
        if (line >= 0 && StoredTexts(lines[line].texts) != stored[k].line) {
            PutLine(rs, lines[line].texts);
            rs.Update();
        }
    }
    for (int i = 0; i < lines.size(); ++i) {
        if (plan.storedRowOf[i] >= 0)
            continue;
        rs.AddNew();
        rs.PutCollect(QStringLiteral("oddnum"), oddnum);
        for (int h = 0; h < m_table.headerColumns.size(); ++h)
            rs.PutCollect(m_table.headerColumns[h], plan.header.value(h));
        PutLine(rs, lines[i].texts);
        rs.Update();
    }
    rs.Close();
    WriteHeader(oddnum, plan.header, invoiceDate);
    QVector<StoredRow> written;
    for (int i = 0; i < lines.size(); ++i)
        written.append({lines[i].texts, {}, plan.products[i], lines[i].remark, std::nullopt});
    WriteFacts(oddnum, written);
    WriteLinks(oddnum, stored, plan, lines);
    RecordDocumentCosts(m_table, oddnum);
    write.header = StoredTexts(plan.header);
    return write;
}

// The lines of a return know the sale lines they came from, within what was sold; a sale's
// lines keep the returns taken from them. The refusal, or the empty text.
QString CDocumentStore::LinksProblem(const QString& oddnum, const QVector<StoredRow>& stored,
                                     const SavePlan& plan, const QVector<ScreenLine>& lines) const {
    if (m_table.kind == DocumentKind::SaleIn)
        return ReturnOriginsProblem(oddnum, stored, lines);
    if (m_table.kind == DocumentKind::SaleOut)
        return SaleLinesProblem(oddnum, stored, plan.storedRowOf, lines);
    return QString();
}

void CDocumentStore::WriteLinks(const QString& oddnum, const QVector<StoredRow>& stored,
                                const SavePlan& plan, const QVector<ScreenLine>& lines) const {
    if (m_table.kind == DocumentKind::SaleIn)
        SaveReturnOrigins(oddnum, lines);
    else if (m_table.kind == DocumentKind::SaleOut)
        FollowSaleLines(oddnum, stored, plan.storedRowOf, lines);
}

DocumentWrite CDocumentStore::DeleteLine(const QString& oddnum, const QStringList& origin,
                                         const std::optional<QStringList>& remembered) const {
    DocumentWrite write;
    CRecordset rs;
    QString invoiceDate;
    const QVector<StoredRow> stored = ReadOpen(rs, oddnum, &invoiceDate);
    const LineDeletePlan plan = PlanLineDelete(m_table, stored, origin, remembered);
    if (!plan.conflicts.isEmpty()) {
        write.result = DocumentWrite::Result::Conflict;
        write.message = plan.conflicts.join(QLatin1Char('\n'));
        return write;
    }
    write.message = Move(plan.moves, write);
    if (!write.message.isEmpty())
        return write;
    rs.MoveFirst();
    for (int k = 0; k < plan.storedRow; ++k)
        rs.MoveNext();
    rs.Delete();
    rs.Close();
    QVector<StoredRow> remaining = stored;
    remaining.remove(plan.storedRow);
    WriteFacts(oddnum, remaining);
    if (m_table.kind == DocumentKind::SaleIn)
        WriteReturnOrigins(oddnum, remaining);
    RecordDocumentCosts(m_table, oddnum);
    if (stored.size() > 1) {
        WriteHeader(oddnum, plan.header, invoiceDate);
        write.header = plan.header;
    }
    return write;
}

DocumentWrite CDocumentStore::DeleteDocument(const QString& oddnum, bool giveStockBack) const {
    DocumentWrite write;
    const QVector<StoredRow> stored = ReadRows(oddnum);
    write.message = Move(PlanDocumentDelete(m_table, stored, giveStockBack), write);
    if (!write.message.isEmpty())
        return write;
    KeepDeletedDocument(m_table, oddnum, giveStockBack);
    if (m_table.kind == DocumentKind::SaleIn)
        KeepReturnOrigins(oddnum);
    write.rows = Db()->Execute(m_table.DeleteSql(), {oddnum});
    WriteFacts(oddnum, {});
    RecordDocumentCosts(m_table, oddnum,
                        giveStockBack ? CostRemoval::Forget : CostRemoval::KeepGoods);
    return write;
}

DocumentWrite CDocumentStore::RestoreDocument(const DeletedDocument& kept) const {
    DocumentWrite write;
    write.result = DocumentWrite::Result::Refused;
    // As a first save does: no other save of this table and date in between.
    LockFirstSave(m_table.table, OddnumPrefix(OddnumDate(kept.oddnum)));
    if (StoredRowCount(kept.oddnum) > 0) {
        write.message = QStringLiteral("单号%1已有另一张单据在使用,不能恢复。").arg(kept.oddnum);
        return write;
    }
    if (m_table.kind == DocumentKind::SaleIn) {
        write.message = RestoreProblem(kept.oddnum, kept.id);
        if (!write.message.isEmpty())
            return write;
    }
    if (!MarkRestored(kept.id)) {
        write.message = QStringLiteral("单号%1已经恢复过了。").arg(kept.oddnum);
        return write;
    }
    write.result = DocumentWrite::Result::Written;
    PutBackRows(m_table, kept);
    if (m_table.kind == DocumentKind::SaleIn)
        RestoreReturnOrigins(kept.oddnum, kept.id);
    const QVector<StoredRow> stored = ReadRows(kept.oddnum);
    write.rows = int(stored.size());
    if (kept.stockGivenBack) {
        // The rows are back already: a refused move must take them away again with everything
        // else this restore wrote, so it ends the transaction as an error does.
        const QString refusal = Move(PlanDocumentRestore(m_table, stored), write);
        if (!refusal.isEmpty())
            throw CDbException(refusal);
    }
    RecordDocumentCosts(m_table, kept.oddnum);
    if (!stored.isEmpty())
        write.header = stored.first().header;
    return write;
}
