#include "documents/CDocumentStore.h"

#include "app/CConnection.h"
#include "app/CHarborApp.h"
#include "app/CRecordset.h"
#include "app/RowLocks.h"
#include "app/SqlText.h"
#include "documents/Cents.h"
#include "documents/CostLedger.h"
#include "documents/Oddnum.h"

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
    return rows;
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

QString CDocumentStore::FirstSaveNumber(const QString& oddnum, QWidget* parent) const {
    LockFirstSave(m_table.table, oddnum);
    if (StoredRowCount(oddnum) == 0)
        return oddnum;
    return NewOddnum(m_table.table, OddnumDate(oddnum), parent);
}

void CDocumentStore::PutLine(CRecordset& rs, const QStringList& texts) const {
    for (int i = 0; i < m_table.lineColumns.size(); ++i)
        rs.PutCollect(m_table.lineColumns[i], texts.value(i));
}

void CDocumentStore::WriteHeader(const QString& oddnum, const QStringList& header,
                                 const QString& invoiceDate) const {
    QVariantList values = m_table.HeaderValues(header, invoiceDate);
    values.append(oddnum);
    theApp.m_pConnection->Execute(m_table.HeaderUpdateSql(), values);
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
    write.message = MoveStock(plan.moves);
    if (!write.message.isEmpty()) {
        write.result = DocumentWrite::Result::Refused;
        return write;
    }
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
    RecordDocumentCosts(m_table, oddnum);
    write.header = StoredTexts(plan.header);
    return write;
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
    write.message = MoveStock(plan.moves);
    if (!write.message.isEmpty()) {
        write.result = DocumentWrite::Result::Refused;
        return write;
    }
    rs.MoveFirst();
    for (int k = 0; k < plan.storedRow; ++k)
        rs.MoveNext();
    rs.Delete();
    rs.Close();
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
    write.message = MoveStock(PlanDocumentDelete(m_table, stored, giveStockBack));
    if (!write.message.isEmpty()) {
        write.result = DocumentWrite::Result::Refused;
        return write;
    }
    write.rows = theApp.m_pConnection->Execute(m_table.DeleteSql(), {oddnum});
    RecordDocumentCosts(m_table, oddnum,
                        giveStockBack ? CostRemoval::Forget : CostRemoval::KeepGoods);
    return write;
}
