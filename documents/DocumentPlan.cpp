#include "documents/DocumentPlan.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "documents/SaleLineMath.h"
#include "text/Cents.h"

namespace {

DocumentTable MakeSaleTable(DocumentKind kind) {
    const bool out = kind == DocumentKind::SaleOut;
    DocumentTable table;
    table.kind = kind;
    table.table = out ? QStringLiteral("saleout") : QStringLiteral("salein");
    table.headerColumns = {QStringLiteral("customer"),   QStringLiteral("mydate"),
                           QStringLiteral("receivable"), QStringLiteral("receipt"),
                           QStringLiteral("state"),      QStringLiteral("employeename"),
                           QStringLiteral("employeeid")};
    table.lineColumns = {QStringLiteral("mc"),       QStringLiteral("shortname"),
                         QStringLiteral("code"),     QStringLiteral("spec"),
                         QStringLiteral("price"),    QStringLiteral("count"),
                         QStringLiteral("discount"), QStringLiteral("total")};
    if (out)
        table.lineColumns << QStringLiteral("pcs") << QStringLiteral("remarks");
    table.codeIndex = 2;
    table.countIndex = 5;
    table.amountIndex = 7;
    table.amountHeader = 2;
    table.receiptHeader = 3;
    table.stateHeader = 4;
    table.stockSign = out ? -1 : 1;
    table.keepsInvoiceDate = out;
    return table;
}

DocumentTable MakeEntryTable() {
    DocumentTable table;
    table.kind = DocumentKind::Entry;
    table.table = QStringLiteral("entry");
    table.headerColumns = {QStringLiteral("supplier"), QStringLiteral("mydate"),
                           QStringLiteral("money"), QStringLiteral("state")};
    table.lineColumns = {QStringLiteral("mc"),    QStringLiteral("shortname"),
                         QStringLiteral("code"),  QStringLiteral("spec"),
                         QStringLiteral("price"), QStringLiteral("count"),
                         QStringLiteral("total")};
    table.codeIndex = 2;
    table.countIndex = 5;
    table.amountIndex = 6;
    table.amountHeader = 2;
    table.receiptHeader = -1;
    table.stateHeader = 3;
    table.stockSign = 1;
    return table;
}

QString LineName(int index) {
    return QStringLiteral("第%1行").arg(index + 1);
}

// The stock effect of a stored or planned line (index 0-based) on the product it stands for.
StockMove LineEffect(const DocumentTable& table, const QStringList& line, const QString& product,
                     int index, int sign = 1) {
    return {product, sign * table.stockSign * CentsOf(line.value(table.countIndex)),
            LineName(index) + QStringLiteral("的商品<%1>").arg(line.value(0))};
}

// A stored row whose header is not the one the window knows means another window wrote it.
QStringList HeaderConflicts(const QVector<StoredRow>& stored,
                            const std::optional<QStringList>& remembered) {
    if (!remembered)
        return {};
    for (const StoredRow& row : stored) {
        if (row.header != *remembered)
            return {QStringLiteral("单据的金额或状态已被其他窗口修改")};
    }
    return {};
}

// The first stored row not yet taken whose line texts are the origin, or -1.
int FindStoredRow(const QVector<StoredRow>& stored, const QVector<bool>& taken,
                  const QStringList& origin) {
    for (int k = 0; k < stored.size(); ++k) {
        if (!taken[k] && stored[k].line == origin)
            return k;
    }
    return -1;
}

} // namespace

QStringList LineKeyColumns() {
    return {QStringLiteral("mc"),       QStringLiteral("shortname"), QStringLiteral("code"),
            QStringLiteral("spec"),     QStringLiteral("price"),     QStringLiteral("qty"),
            QStringLiteral("discount"), QStringLiteral("total")};
}

QStringList LineKey(const DocumentTable& table, const QStringList& line) {
    QStringList key;
    for (QString column : LineKeyColumns()) {
        if (column == QLatin1String("qty"))
            column = QStringLiteral("count");
        const qsizetype index = table.lineColumns.indexOf(column);
        key.append(index < 0 ? QString() : line.value(index));
    }
    return key;
}

QString LineKeyText(const DocumentTable& table, const QStringList& line) {
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(LineKey(table, line)))
                                 .toJson(QJsonDocument::Compact));
}

QVector<int> AttachLineFacts(const DocumentTable& table, QVector<StoredRow>& rows,
                             const QVector<LineFacts>& facts) {
    QVector<bool> taken(facts.size(), false);
    QVector<int> without;
    for (int k = 0; k < rows.size(); ++k) {
        const QStringList key = LineKey(table, rows[k].line);
        int found = -1;
        for (int f = 0; f < facts.size() && found < 0; ++f) {
            if (!taken[f] && facts[f].key == key)
                found = f;
        }
        if (found < 0) {
            without.append(k);
            continue;
        }
        taken[found] = true;
        rows[k].product = facts[found].product;
        rows[k].remark = facts[found].remark;
    }
    return without;
}

const DocumentTable& DocumentTable::SaleOut() {
    static const DocumentTable table = MakeSaleTable(DocumentKind::SaleOut);
    return table;
}

const DocumentTable& DocumentTable::SaleIn() {
    static const DocumentTable table = MakeSaleTable(DocumentKind::SaleIn);
    return table;
}

const DocumentTable& DocumentTable::Entry() {
    static const DocumentTable table = MakeEntryTable();
    return table;
}

const DocumentTable& DocumentTable::Of(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::SaleOut:
        return SaleOut();
    case DocumentKind::SaleIn:
        return SaleIn();
    case DocumentKind::Entry:
        break;
    }
    return Entry();
}

QString DocumentTable::SelectSql() const {
    return QStringLiteral("SELECT * FROM %1 WHERE oddnum=?").arg(table);
}

QString DocumentTable::HeaderUpdateSql() const {
    QStringList assignments;
    for (const QString& column : headerColumns)
        assignments.append(column + QStringLiteral("=?"));
    if (kind == DocumentKind::Entry)
        assignments.append(QStringLiteral("fmoney=?"));
    else
        assignments << QStringLiteral("freceivable=?") << QStringLiteral("freceipt=?");
    if (keepsInvoiceDate)
        assignments.append(QStringLiteral("invoicedate=?"));
    return QStringLiteral("UPDATE %1 SET %2 WHERE oddnum=?")
        .arg(table, assignments.join(QLatin1Char(',')));
}

QString DocumentTable::DeleteSql() const {
    return QStringLiteral("delete from %1 where oddnum=?").arg(table);
}

QVariantList DocumentTable::HeaderValues(const QStringList& header,
                                         const QString& invoiceDate) const {
    QVariantList values;
    for (int i = 0; i < headerColumns.size(); ++i)
        values.append(header.value(i));
    values.append(NumberColumnText(header.value(amountHeader)));
    if (receiptHeader >= 0)
        values.append(NumberColumnText(header.value(receiptHeader)));
    if (keepsInvoiceDate)
        values.append(invoiceDate);
    return values;
}

SavePlan PlanSave(const DocumentTable& table, const QVector<StoredRow>& stored,
                  const QStringList& header, const QVector<ScreenLine>& lines,
                  const std::optional<QStringList>& remembered) {
    SavePlan plan;
    plan.conflicts = HeaderConflicts(stored, remembered);
    QVector<bool> taken(stored.size(), false);
    for (int i = 0; i < lines.size(); ++i) {
        const ScreenLine& line = lines[i];
        int k = -1;
        if (line.origin) {
            k = FindStoredRow(stored, taken, *line.origin);
            if (k < 0) {
                plan.conflicts.append(LineName(i) + QStringLiteral("保存过的记录已不在数据库中"));
                plan.storedRowOf.append(-1);
                plan.products.append(QString());
                continue;
            }
            taken[k] = true;
            plan.moves.append(LineEffect(table, stored[k].line, stored[k].product, i, -1));
        }
        // A line keeps the product it was stored with until its code or name changes.
        const QString code = line.texts.value(table.codeIndex);
        const bool same = k >= 0 && stored[k].line.value(table.codeIndex) == code &&
                          stored[k].line.value(0) == line.texts.value(0);
        const QString product = same ? stored[k].product : code;
        plan.storedRowOf.append(k);
        plan.products.append(product);
        plan.moves.append(LineEffect(table, line.texts, product, i));
        plan.amountCents += CentsOf(line.texts.value(table.amountIndex));
    }
    for (int k = 0; k < stored.size(); ++k) {
        if (!taken[k])
            plan.conflicts.append(QStringLiteral("数据库中有本单的其他记录(商品%1)")
                                      .arg(stored[k].line.value(table.codeIndex)));
    }
    plan.moves = MergeStockMoves(plan.moves);
    plan.header = header;
    const QString amount = CentsText(plan.amountCents);
    plan.header[table.amountHeader] = amount;
    if (table.receiptHeader >= 0)
        plan.header[table.receiptHeader] = ReceiptForSaleState(
            header.value(table.stateHeader), amount, header.value(table.receiptHeader));
    return plan;
}

LineDeletePlan PlanLineDelete(const DocumentTable& table, const QVector<StoredRow>& stored,
                              const QStringList& origin,
                              const std::optional<QStringList>& remembered) {
    LineDeletePlan plan;
    plan.conflicts = HeaderConflicts(stored, remembered);
    plan.storedRow = FindStoredRow(stored, QVector<bool>(stored.size(), false), origin);
    if (plan.storedRow < 0) {
        plan.conflicts.append(QStringLiteral("要删除的记录已不在数据库中"));
        return plan;
    }
    const StoredRow& row = stored[plan.storedRow];
    plan.moves = {LineEffect(table, row.line, row.product, plan.storedRow, -1)};
    qint64 remaining = 0;
    for (int k = 0; k < stored.size(); ++k) {
        if (k != plan.storedRow)
            remaining += CentsOf(stored[k].line.value(table.amountIndex));
    }
    plan.header = stored[plan.storedRow].header;
    const QString amount = CentsText(remaining);
    plan.header[table.amountHeader] = amount;
    if (table.receiptHeader >= 0)
        plan.header[table.receiptHeader] = ReceiptForSaleState(
            plan.header.value(table.stateHeader), amount, plan.header.value(table.receiptHeader));
    return plan;
}

QVector<StockMove> PlanDocumentDelete(const DocumentTable& table, const QVector<StoredRow>& stored,
                                      bool giveStockBack) {
    QVector<StockMove> moves;
    if (!giveStockBack)
        return moves;
    for (int k = 0; k < stored.size(); ++k)
        moves.append(LineEffect(table, stored[k].line, stored[k].product, k, -1));
    return MergeStockMoves(moves);
}

QVector<StockMove> PlanDocumentRestore(const DocumentTable& table,
                                       const QVector<StoredRow>& stored) {
    QVector<StockMove> moves;
    for (int k = 0; k < stored.size(); ++k)
        moves.append(LineEffect(table, stored[k].line, stored[k].product, k, 1));
    return MergeStockMoves(moves);
}

QString ReceiptForSaleState(const QString& state, const QString& receivable,
                            const QString& receipt) {
    if (state == QStringLiteral("结清"))
        return receivable;
    if (state == QStringLiteral("未结"))
        return QStringLiteral("0");
    return receipt;
}
