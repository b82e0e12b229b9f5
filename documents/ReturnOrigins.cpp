#include "documents/ReturnOrigins.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "db/RowLocks.h"
#include "documents/CDocumentStore.h"
#include "text/Cents.h"

namespace {

const QString kLive; // keptid of the link rows of a return that stands

CConnection& Connection() {
    return *Db();
}

// The line texts of the stored rows of a sale, and its customer.
QVector<QStringList> ReadSaleRows(const QString& saleOddnum, QString* customer = nullptr) {
    const DocumentTable& table = DocumentTable::SaleOut();
    QVector<QStringList> rows;
    CSqlReader reader(table.SelectSql(), {saleOddnum});
    QVector<int> columns;
    for (const QString& column : table.lineColumns)
        columns.append(reader.Column(column));
    const int customerColumn = reader.Column(QStringLiteral("customer"));
    while (reader.Next()) {
        QStringList line;
        for (const int column : std::as_const(columns))
            line.append(reader.Text(column));
        if (customer && rows.isEmpty())
            *customer = reader.Text(customerColumn);
        rows.append(line);
    }
    return rows;
}

QHash<QString, qint64> SoldBy(const QString& saleOddnum) {
    QHash<QString, qint64> sold;
    const DocumentTable& table = DocumentTable::SaleOut();
    for (const QStringList& line : ReadSaleRows(saleOddnum))
        sold[SaleLineKey({saleOddnum, LineKeyText(table, line)})] +=
            CentsOf(line.value(table.countIndex));
    return sold;
}

// What the stored returns that stand hold of each line of the sale, but the excepted return.
QHash<QString, qint64> ReturnedBy(const QString& saleOddnum, const QString& exceptReturn) {
    QHash<QString, qint64> returned;
    CSqlReader reader(QStringLiteral("SELECT saleline, qty FROM harbor_return_origin WHERE "
                                     "saleoddnum=? AND keptid=? AND retoddnum<>?"),
                      {saleOddnum, kLive, exceptReturn});
    while (reader.Next())
        returned[SaleLineKey({saleOddnum, reader.Text(0)})] += CentsOf(reader.Text(1));
    return returned;
}

QStringList SaleNumbers(const QVector<ReturnUse>& uses) {
    QStringList numbers;
    for (const ReturnUse& use : uses)
        numbers.append(use.ref.oddnum);
    numbers.removeDuplicates();
    return numbers;
}

// The limit of the uses against the stored sales and the other returns, under the sales' locks.
QString CheckUses(const QString& retOddnum, const QVector<ReturnUse>& now,
                  const QVector<ReturnUse>& before) {
    const QStringList sales = SaleNumbers(now);
    LockSaleReturns(sales);
    QHash<QString, qint64> sold;
    QHash<QString, qint64> others;
    for (const QString& sale : sales) {
        sold.insert(SoldBy(sale));
        others.insert(ReturnedBy(sale, retOddnum));
    }
    return ReturnLimitProblem(now, before, sold, others);
}

void InsertLink(const QString& retOddnum, const QString& retLine, const SaleLineRef& ref,
                const QString& quantity) {
    Connection().Execute(QStringLiteral("INSERT INTO harbor_return_origin (retoddnum, retline, "
                                        "saleoddnum, saleline, qty, keptid) VALUES (?,?,?,?,?,?)"),
                         {retOddnum, retLine, ref.oddnum, ref.key, quantity, kLive});
}

void DeleteLiveLinks(const QString& retOddnum) {
    Connection().Execute(
        QStringLiteral("DELETE FROM harbor_return_origin WHERE retoddnum=? AND keptid=?"),
        {retOddnum, kLive});
}

QStringList KeyTexts(const QString& keyText) {
    QStringList texts;
    for (const QJsonValue& value : QJsonDocument::fromJson(keyText.toUtf8()).array())
        texts.append(value.toString());
    return texts;
}

QString DocumentDate(const QString& table, const QString& oddnum) {
    CSqlReader reader(QStringLiteral("SELECT mydate FROM %1 WHERE oddnum=?").arg(table), {oddnum});
    return reader.Next() ? reader.Text(0) : QString();
}

void AddUse(QVector<ReturnUse>& uses, const SaleLineRef& ref, qint64 quantity, int line,
            const QString& name) {
    for (ReturnUse& use : uses) {
        if (use.ref == ref) {
            use.quantity += quantity;
            return;
        }
    }
    uses.append({ref, quantity, line, name});
}

// The link rows that stand whose column holds the number, by document and in stored order.
QVector<ReturnLink> ReadLinks(const QString& column, const QString& oddnum) {
    QVector<ReturnLink> links;
    CSqlReader reader(QStringLiteral("SELECT retoddnum, saleoddnum, retline FROM "
                                     "harbor_return_origin WHERE %1=? AND keptid=? ORDER BY "
                                     "retoddnum, saleoddnum, %2")
                          .arg(column, Connection().Dialect().RowIdColumn()),
                      {oddnum, kLive});
    while (reader.Next())
        links.append({reader.Text(0), reader.Text(1), QString(), true, KeyTexts(reader.Text(2))});
    return links;
}

} // namespace

QString SaleLineKey(const SaleLineRef& ref) {
    return ref.oddnum + QLatin1Char('\n') + ref.key;
}

ReturnableSale ReadReturnableSale(const QString& saleOddnum, const QString& exceptReturn) {
    ReturnableSale sale;
    sale.oddnum = saleOddnum;
    const DocumentTable& table = DocumentTable::SaleOut();
    const QHash<QString, qint64> returned = ReturnedBy(saleOddnum, exceptReturn);
    // Rows holding equal texts are one line to return from: their quantities add up.
    for (const QStringList& line : ReadSaleRows(saleOddnum, &sale.customer)) {
        const SaleLineRef ref{saleOddnum, LineKeyText(table, line)};
        const qint64 count = CentsOf(line.value(table.countIndex));
        auto same = std::find_if(sale.lines.begin(), sale.lines.end(),
                                 [&](const ReturnableLine& taken) { return taken.ref == ref; });
        if (same != sale.lines.end()) {
            same->sold += count;
            continue;
        }
        sale.lines.append({line, ref, count, returned.value(SaleLineKey(ref))});
    }
    return sale;
}

QVector<ReturnUse> ReturnUses(const QVector<ScreenLine>& lines) {
    const DocumentTable& table = DocumentTable::SaleIn();
    QVector<ReturnUse> uses;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].sale)
            AddUse(uses, *lines[i].sale, CentsOf(lines[i].texts.value(table.countIndex)), i,
                   lines[i].texts.value(0));
    }
    return uses;
}

QVector<ReturnUse> ReturnUses(const QVector<StoredRow>& rows) {
    QVector<ScreenLine> lines;
    for (const StoredRow& row : rows)
        lines.append({row.line, std::nullopt, row.remark, row.sale});
    return ReturnUses(lines);
}

QString ReturnLimitProblem(const QVector<ReturnUse>& now, const QVector<ReturnUse>& before,
                           const QHash<QString, qint64>& soldBy,
                           const QHash<QString, qint64>& othersBy) {
    QHash<QString, qint64> held;
    for (const ReturnUse& use : before)
        held[SaleLineKey(use.ref)] += use.quantity;
    for (const ReturnUse& use : now) {
        const QString key = SaleLineKey(use.ref);
        if (use.quantity <= held.value(key))
            continue;
        const QString line = QStringLiteral("第%1行的商品<%2>").arg(use.line + 1).arg(use.name);
        if (!soldBy.contains(key))
            return line +
                   QStringLiteral("在原销售单%1中已不存在,不能按原单退货").arg(use.ref.oddnum);
        const qint64 others = othersBy.value(key);
        if (use.quantity > soldBy.value(key) - others)
            return line +
                   QStringLiteral("超出原销售单%1的可退数量:售出%2,其他退货单已退%3,本单退%4")
                       .arg(use.ref.oddnum, CentsText(soldBy.value(key)), CentsText(others),
                            CentsText(use.quantity));
    }
    return QString();
}

void AttachReturnOrigins(const QString& retOddnum, QVector<StoredRow>& rows) {
    struct Link {
        QString retLine;
        SaleLineRef ref;
        bool taken = false;
    };
    QVector<Link> links;
    CSqlReader reader(QStringLiteral("SELECT retline, saleoddnum, saleline FROM "
                                     "harbor_return_origin WHERE retoddnum=? AND keptid=?"),
                      {retOddnum, kLive});
    while (reader.Next())
        links.append({reader.Text(0), {reader.Text(1), reader.Text(2)}});
    if (links.isEmpty())
        return;
    const DocumentTable& table = DocumentTable::SaleIn();
    for (StoredRow& row : rows) {
        const QString key = LineKeyText(table, row.line);
        for (Link& link : links) {
            if (!link.taken && link.retLine == key) {
                link.taken = true;
                row.sale = link.ref;
                break;
            }
        }
    }
}

QString ReturnOriginsProblem(const QString& retOddnum, const QVector<StoredRow>& stored,
                             const QVector<ScreenLine>& lines) {
    const QVector<ReturnUse> now = ReturnUses(lines);
    return now.isEmpty() ? QString() : CheckUses(retOddnum, now, ReturnUses(stored));
}

void SaveReturnOrigins(const QString& retOddnum, const QVector<ScreenLine>& lines) {
    QVector<StoredRow> written;
    for (const ScreenLine& line : lines)
        written.append({CDocumentStore::StoredTexts(line.texts), {}, {}, {}, line.sale});
    WriteReturnOrigins(retOddnum, written);
}

void WriteReturnOrigins(const QString& retOddnum, const QVector<StoredRow>& rows) {
    DeleteLiveLinks(retOddnum);
    const DocumentTable& table = DocumentTable::SaleIn();
    for (const StoredRow& row : rows) {
        if (row.sale)
            InsertLink(retOddnum, LineKeyText(table, row.line), *row.sale,
                       row.line.value(table.countIndex));
    }
}

void KeepReturnOrigins(const QString& retOddnum) {
    QString keptId;
    {
        CSqlReader reader(
            QStringLiteral("SELECT max(%1) FROM harbor_deleted WHERE tbl=? AND oddnum=?")
                .arg(Connection().Dialect().RowIdColumn()),
            {DocumentTable::SaleIn().table, retOddnum});
        if (reader.Next())
            keptId = reader.Text(0);
    }
    if (keptId.isEmpty()) // nothing was kept of it: its links go with it
        DeleteLiveLinks(retOddnum);
    else
        Connection().Execute(QStringLiteral("UPDATE harbor_return_origin SET keptid=? WHERE "
                                            "retoddnum=? AND keptid=?"),
                             {keptId, retOddnum, kLive});
}

QString RestoreProblem(const QString& retOddnum, const QString& keptId) {
    QVector<ReturnUse> uses;
    {
        CSqlReader reader(QStringLiteral("SELECT retline, saleoddnum, saleline, qty FROM "
                                         "harbor_return_origin WHERE retoddnum=? AND keptid=?"),
                          {retOddnum, keptId});
        for (int line = 0; reader.Next(); ++line)
            AddUse(uses, {reader.Text(1), reader.Text(2)}, CentsOf(reader.Text(3)), line,
                   KeyTexts(reader.Text(0)).value(0));
    }
    if (uses.isEmpty())
        return QString();
    const QString problem = CheckUses(retOddnum, uses, {});
    return problem.isEmpty() ? QString()
                             : QStringLiteral("退货单%1不能恢复:").arg(retOddnum) + problem;
}

void RestoreReturnOrigins(const QString& retOddnum, const QString& keptId) {
    Connection().Execute(
        QStringLiteral("UPDATE harbor_return_origin SET keptid=? WHERE retoddnum=? AND keptid=?"),
        {kLive, retOddnum, keptId});
}

QString SaleLinesProblem(const QString& saleOddnum, const QVector<StoredRow>& stored,
                         const QVector<int>& storedRowOf, const QVector<ScreenLine>& lines) {
    {
        CSqlReader any(QStringLiteral("SELECT count(*) FROM harbor_return_origin WHERE "
                                      "saleoddnum=? AND keptid=?"),
                       {saleOddnum, kLive});
        if (!any.Next() || any.Text(0) == QLatin1String("0"))
            return QString();
    }
    LockSaleReturns({saleOddnum});
    const DocumentTable& table = DocumentTable::SaleOut();
    const QHash<QString, qint64> returned = ReturnedBy(saleOddnum, QString());
    for (int i = 0; i < lines.size(); ++i) {
        const int k = storedRowOf.value(i, -1);
        if (k < 0)
            continue;
        const QStringList& before = stored[k].line;
        const QStringList after = CDocumentStore::StoredTexts(lines[i].texts);
        const qint64 back = returned.value(SaleLineKey({saleOddnum, LineKeyText(table, before)}));
        const QString line = QStringLiteral("第%1行的商品<%2>").arg(i + 1).arg(before.value(0));
        if (back > 0 && (after.value(0) != before.value(0) ||
                         after.value(table.codeIndex) != before.value(table.codeIndex)))
            return line + QStringLiteral("已有退货,不能更换商品");
        if (back > CentsOf(after.value(table.countIndex)))
            return line + QStringLiteral("已退货%1,数量不能少于已退的数量").arg(CentsText(back));
    }
    return QString();
}

void FollowSaleLines(const QString& saleOddnum, const QVector<StoredRow>& stored,
                     const QVector<int>& storedRowOf, const QVector<ScreenLine>& lines) {
    const DocumentTable& table = DocumentTable::SaleOut();
    QVector<QPair<QString, QString>> moves; // old key, new key
    for (int i = 0; i < lines.size(); ++i) {
        const int k = storedRowOf.value(i, -1);
        if (k < 0)
            continue;
        const QString oldKey = LineKeyText(table, stored[k].line);
        const QString newKey = LineKeyText(table, CDocumentStore::StoredTexts(lines[i].texts));
        if (newKey != oldKey)
            moves.append({oldKey, newKey});
    }
    // Through a mark of its own first, so that two lines that swap their texts stay apart.
    const QString update = QStringLiteral(
        "UPDATE harbor_return_origin SET saleline=? WHERE saleoddnum=? AND saleline=?");
    for (int m = 0; m < moves.size(); ++m)
        Connection().Execute(update, {QStringLiteral("\x1f%1").arg(m), saleOddnum, moves[m].first});
    for (int m = 0; m < moves.size(); ++m)
        Connection().Execute(update,
                             {moves[m].second, saleOddnum, QStringLiteral("\x1f%1").arg(m)});
}

QVector<ReturnLink> ReturnsOfSale(const QString& saleOddnum) {
    QVector<ReturnLink> links = ReadLinks(QStringLiteral("saleoddnum"), saleOddnum);
    QHash<QString, QString> dates;
    for (ReturnLink& link : links) {
        if (!dates.contains(link.retOddnum))
            dates.insert(link.retOddnum, DocumentDate(QStringLiteral("salein"), link.retOddnum));
        link.date = dates.value(link.retOddnum);
    }
    return links;
}

QVector<ReturnLink> OriginsOfReturn(const QString& retOddnum) {
    QVector<ReturnLink> links = ReadLinks(QStringLiteral("retoddnum"), retOddnum);
    QHash<QString, bool> stored;
    for (ReturnLink& link : links) {
        if (!stored.contains(link.saleOddnum))
            stored.insert(link.saleOddnum, !ReadSaleRows(link.saleOddnum).isEmpty());
        link.saleStored = stored.value(link.saleOddnum);
        if (link.saleStored)
            link.date = DocumentDate(QStringLiteral("saleout"), link.saleOddnum);
    }
    return links;
}
