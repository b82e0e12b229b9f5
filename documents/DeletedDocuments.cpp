#include "documents/DeletedDocuments.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "db/OperatorSession.h"
#include "text/HarborClock.h"
#include "documents/DocumentPlan.h"

namespace {

QString RowIdColumn() {
    return Db()->Dialect().RowIdColumn();
}

// Every row the statement reads, in stored order, without the engine's own row id.
KeptRows ReadKept(const QString& sql, const QVariantList& values) {
    KeptRows kept;
    CSqlReader reader(sql, values);
    QVector<int> taken;
    bool first = true;
    while (reader.Next()) {
        if (first) {
            for (int i = 0; i < reader.ColumnCount(); ++i) {
                if (reader.ColumnName(i) == RowIdColumn())
                    continue;
                taken.append(i);
                kept.columns.append(reader.ColumnName(i));
            }
            first = false;
        }
        QVariantList row;
        for (const int i : std::as_const(taken))
            row.append(reader.Value(i));
        kept.rows.append(row);
    }
    return kept;
}

QJsonValue JsonOf(const QVariant& value) {
    if (value.isNull())
        return QJsonValue(QJsonValue::Null);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return QJsonValue(value.toDouble());
    default:
        return QJsonValue(value.toString());
    }
}

QVariant VariantOf(const QJsonValue& value) {
    if (value.isNull() || value.isUndefined())
        return QVariant();
    if (value.isDouble())
        return QVariant(value.toDouble());
    return QVariant(value.toString());
}

void Insert(const QString& table, const KeptRows& kept) {
    QStringList quoted;
    for (const QString& column : kept.columns)
        quoted.append(QLatin1Char('"') + column + QLatin1Char('"'));
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, quoted.join(QLatin1Char(',')),
                 QStringList(kept.columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    for (const QVariantList& row : kept.rows)
        Db()->Execute(sql, row);
}

QString Now() {
    return HarborNow().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

QString KeptRowsText(const KeptRows& rows) {
    QJsonArray list;
    for (const QVariantList& row : rows.rows) {
        QJsonArray values;
        for (const QVariant& value : row)
            values.append(JsonOf(value));
        list.append(values);
    }
    QJsonObject object;
    object.insert(QStringLiteral("columns"), QJsonArray::fromStringList(rows.columns));
    object.insert(QStringLiteral("rows"), list);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

KeptRows KeptRowsFromText(const QString& text) {
    KeptRows kept;
    const QJsonObject object = QJsonDocument::fromJson(text.toUtf8()).object();
    for (const QJsonValue& column : object.value(QStringLiteral("columns")).toArray())
        kept.columns.append(column.toString());
    for (const QJsonValue& row : object.value(QStringLiteral("rows")).toArray()) {
        const QJsonArray values = row.toArray();
        if (values.size() != kept.columns.size())
            return KeptRows(); // not a record this program wrote
        QVariantList list;
        for (const QJsonValue& value : values)
            list.append(VariantOf(value));
        kept.rows.append(list);
    }
    return kept;
}

void KeepDeletedDocument(const DocumentTable& table, const QString& oddnum, bool stockGivenBack) {
    const KeptRows rows = ReadKept(table.SelectSql(), {oddnum});
    if (rows.rows.isEmpty())
        return;
    const KeptRows facts =
        ReadKept(QStringLiteral("SELECT * FROM docline WHERE tbl=? AND oddnum=? ORDER BY %1")
                     .arg(RowIdColumn()),
                 {table.table, oddnum});
    const QVariantList& first = rows.rows.first();
    const QString party = table.headerColumns.value(0);
    const QString money = table.headerColumns.value(table.amountHeader);
    QStringList costIds;
    for (CSqlReader moves(QStringLiteral("SELECT %1 FROM cost_move WHERE doctable=? AND oddnum=?")
                              .arg(RowIdColumn()),
                          {table.table, oddnum});
         moves.Next();)
        costIds.append(moves.Text(0));
    Db()->Execute(
        QStringLiteral("INSERT INTO harbor_deleted (tbl, oddnum, party, money, deletedat, "
                       "deletedby, workstation, stockback, rowsjson, doclinejson, costids) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
        {table.table, oddnum, first.value(rows.columns.indexOf(party)).toString(),
         first.value(rows.columns.indexOf(money)).toString(), Now(),
         OperatorSession::Instance().Operator().name, QSysInfo::machineHostName(),
         stockGivenBack ? 1 : 0, KeptRowsText(rows), KeptRowsText(facts),
         stockGivenBack ? QString() : costIds.join(QLatin1Char(','))});
}

QVector<DeletedDocument> ListDeletedDocuments(const DocumentTable& table) {
    QVector<DeletedDocument> list;
    CSqlReader reader(
        QStringLiteral("SELECT %1, oddnum, party, money, deletedat, deletedby, "
                       "workstation, stockback, restoredat, restoredby, rowsjson FROM "
                       "harbor_deleted WHERE tbl=? ORDER BY deletedat DESC, %1 DESC")
            .arg(RowIdColumn()),
        {table.table});
    while (reader.Next()) {
        DeletedDocument document;
        document.id = reader.Text(0);
        document.oddnum = reader.Text(1);
        document.party = reader.Text(2);
        document.money = reader.Text(3);
        document.deletedAt = reader.Text(4);
        document.deletedBy = reader.Text(5);
        document.workstation = reader.Text(6);
        document.stockGivenBack = reader.Value(7).toInt() != 0;
        document.restoredAt = reader.Text(8);
        document.restoredBy = reader.Text(9);
        document.rows = KeptRowsFromText(reader.Text(10));
        list.append(document);
    }
    return list;
}

bool MarkRestored(const QString& id) {
    return Db()->Execute(
               QStringLiteral("UPDATE harbor_deleted SET restoredat=?, restoredby=? WHERE %1=? "
                              "AND restoredat IS NULL")
                   .arg(RowIdColumn()),
               {Now(), OperatorSession::Instance().Operator().name, id.toLongLong()}) == 1;
}

void PutBackRows(const DocumentTable& table, const DeletedDocument& kept) {
    KeptRows rows;
    KeptRows facts;
    QString costIds;
    {
        CSqlReader reader(
            QStringLiteral("SELECT rowsjson, doclinejson, costids FROM harbor_deleted WHERE %1=?")
                .arg(RowIdColumn()),
            {kept.id.toLongLong()});
        if (!reader.Next())
            return;
        rows = KeptRowsFromText(reader.Text(0));
        facts = KeptRowsFromText(reader.Text(1));
        costIds = reader.Text(2);
    }
    Insert(table.table, rows);
    Insert(QStringLiteral("docline"), facts);
    // The goods never moved back: their movements, left in place without a number, are the
    // document's again (those a rebuild of the ledger dropped meanwhile are made afresh).
    for (const QString& costId : costIds.split(QLatin1Char(','), Qt::SkipEmptyParts))
        Db()->Execute(
            QStringLiteral("UPDATE cost_move SET oddnum=? WHERE %1=? AND oddnum='' AND doctable=?")
                .arg(RowIdColumn()),
            {kept.oddnum, costId.toLongLong(), table.table});
}
