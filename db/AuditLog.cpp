#include "db/AuditLog.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <cstdio>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "db/ConnectionString.h"
#include "db/LansetFile.h"

namespace {

// The column that names what a row of each table is about, for the entry's object.
QString ObjectColumn(const QString& table) {
    if (table == QLatin1String("saleout") || table == QLatin1String("salein") ||
        table == QLatin1String("entry"))
        return QStringLiteral("oddnum");
    if (table == QLatin1String("property") || table == QLatin1String("minstock") ||
        table == QLatin1String("printcodedata"))
        return QStringLiteral("code");
    if (table == QLatin1String("customer") || table == QLatin1String("supplier"))
        return QStringLiteral("mc");
    if (table == QLatin1String("employee"))
        return QStringLiteral("employeeid");
    if (table.startsWith(QLatin1String("name")))
        return QStringLiteral("bh");
    if (table == QLatin1String("harbor_operator") || table == QLatin1String("companyinfo") ||
        table == QLatin1String("harbor_setting"))
        return QStringLiteral("name");
    if (table == QLatin1String("harbor_role_permission"))
        return QStringLiteral("role");
    return QString();
}

QJsonObject RowObject(const QString& json) {
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

QString Compact(const QJsonArray& array) {
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QString ValueText(const QJsonValue& value) {
    return value.isDouble() ? QString::number(value.toDouble()) : value.toString();
}

} // namespace

QString AuditEntryHash(const AuditEntry& entry) {
    const QStringList fields = {QString::number(entry.seq),
                                entry.at,
                                entry.op,
                                entry.authorizer,
                                entry.workstation,
                                entry.action,
                                entry.object,
                                entry.before,
                                entry.after,
                                entry.prevhash};
    // Each field with its length first, so no two different entries hash the same text.
    QByteArray text;
    for (const QString& field : fields) {
        const QByteArray bytes = field.toUtf8();
        text += QByteArray::number(bytes.size()) + ':' + bytes + ';';
    }
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

void FillAuditImages(AuditEntry* entry, const QList<StagedRow>& rows) {
    QJsonArray before;
    QJsonArray after;
    QStringList objects;
    QStringList documents; // a document's number names the entry before the stock it moved
    for (const StagedRow& row : rows) {
        const QJsonObject old = RowObject(row.before);
        const QJsonObject now = RowObject(row.after);
        if (!row.before.isEmpty())
            before.append(
                QJsonObject{{QStringLiteral("table"), row.table}, {QStringLiteral("row"), old}});
        if (!row.after.isEmpty())
            after.append(
                QJsonObject{{QStringLiteral("table"), row.table}, {QStringLiteral("row"), now}});
        const QString column = ObjectColumn(row.table);
        const QString object =
            ValueText(now.contains(column) ? now.value(column) : old.value(column));
        QStringList& names = column == QLatin1String("oddnum") ? documents : objects;
        if (!column.isEmpty() && !object.isEmpty() && !names.contains(object))
            names.append(object);
    }
    if (!documents.isEmpty())
        objects = documents;
    entry->before = Compact(before);
    entry->after = Compact(after);
    if (entry->object.isEmpty())
        entry->object = objects.mid(0, 5).join(QLatin1Char(','));
}

AuditHead AppendAuditEntry(CConnection& connection, AuditEntry entry) {
    connection.LockKey(QStringLiteral("harbor_audit"));
    {
        CSqlReader last(
            connection,
            QStringLiteral("SELECT seq, hash FROM harbor_audit ORDER BY seq DESC LIMIT 1"));
        if (last.Next()) {
            entry.seq = last.Text(0).toLongLong() + 1;
            entry.prevhash = last.Text(1);
        } else {
            entry.seq = 1;
            entry.prevhash.clear();
        }
    }
    entry.hash = AuditEntryHash(entry);
    connection.Execute(
        QStringLiteral("INSERT INTO harbor_audit (seq, at, operator, authorizer, workstation, "
                       "action, object, before_rows, after_rows, prevhash, hash) VALUES "
                       "(?,?,?,?,?,?,?,?,?,?,?)"),
        {entry.seq, entry.at, entry.op, entry.authorizer, entry.workstation, entry.action,
         entry.object, entry.before, entry.after, entry.prevhash, entry.hash});
    return {entry.seq, entry.hash};
}

QString AuditHeadFile(const CConnection& connection) {
    if (connection.IsServer() || connection.DatabasePath().isEmpty())
        return QString();
    return connection.DatabasePath() + QStringLiteral(".audit");
}

void WriteAuditHead(const CConnection& connection, const AuditHead& head) {
    const QString path = AuditHeadFile(connection);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return; // the log itself holds; a check later names the head as missing
    file.write(QByteArray::number(head.seq) + ' ' + head.hash.toLatin1() + '\n');
    file.commit();
}

AuditHead ReadAuditHead(CConnection& connection) {
    AuditHead head;
    if (connection.IsServer()) {
        CSqlReader reader(connection, QStringLiteral("SELECT seq, hash FROM harbor_audit_head"));
        if (reader.Next())
            head = {reader.Text(0).toLongLong(), reader.Text(1)};
        return head;
    }
    QFile file(AuditHeadFile(connection));
    if (!file.open(QIODevice::ReadOnly))
        return head;
    const QList<QByteArray> parts = file.readLine(200).trimmed().split(' ');
    if (parts.size() == 2)
        head = {parts[0].toLongLong(), QString::fromLatin1(parts[1])};
    return head;
}

void ResetAuditHead(CConnection& connection) {
    CSqlReader last(connection,
                    QStringLiteral("SELECT seq, hash FROM harbor_audit ORDER BY seq DESC LIMIT 1"));
    AuditHead head;
    if (last.Next())
        head = {last.Text(0).toLongLong(), last.Text(1)};
    if (head.seq == 0 && connection.IsServer())
        return;
    WriteAuditHead(connection, head);
}

AuditCheck VerifyAuditLog(CConnection& connection) {
    AuditCheck check;
    auto fail = [&check](qint64 seq, const QString& reason) {
        check.ok = false;
        check.broken = seq;
        check.reason = reason;
        return check;
    };
    QHash<qint64, QString> hashes;
    {
        CSqlReader reader(
            connection,
            QStringLiteral("SELECT seq, at, operator, authorizer, workstation, action, object, "
                           "before_rows, after_rows, prevhash, hash FROM harbor_audit ORDER BY "
                           "seq, %1")
                .arg(connection.Dialect().RowIdColumn()));
        QString previous;
        while (reader.Next()) {
            AuditEntry entry;
            entry.seq = reader.Text(0).toLongLong();
            entry.at = reader.Text(1);
            entry.op = reader.Text(2);
            entry.authorizer = reader.Text(3);
            entry.workstation = reader.Text(4);
            entry.action = reader.Text(5);
            entry.object = reader.Text(6);
            entry.before = reader.Text(7);
            entry.after = reader.Text(8);
            entry.prevhash = reader.Text(9);
            entry.hash = reader.Text(10);
            const qint64 expected = check.count + 1;
            if (entry.seq > expected)
                return fail(expected, QStringLiteral("第 %1 条不见了").arg(expected));
            if (entry.seq < expected)
                return fail(expected, QStringLiteral("第 %1 条之后多了一条编号为 %2 的条目")
                                          .arg(expected - 1)
                                          .arg(entry.seq));
            if (entry.prevhash != previous)
                return fail(
                    expected,
                    QStringLiteral("第 %1 条与前一条接不上(前面的条目被改动或插入)").arg(expected));
            if (AuditEntryHash(entry) != entry.hash)
                return fail(expected, QStringLiteral("第 %1 条的内容被改动过").arg(expected));
            previous = entry.hash;
            hashes.insert(entry.seq, entry.hash);
            ++check.count;
        }
    }
    const AuditHead head = ReadAuditHead(connection);
    if (head.seq > check.count)
        return fail(
            check.count + 1,
            QStringLiteral("最新的第 %1 至 %2 条被删除了").arg(check.count + 1).arg(head.seq));
    if (head.seq > 0 && hashes.value(head.seq) != head.hash)
        return fail(head.seq, QStringLiteral("第 %1 条与另外保存的最新条目不符").arg(head.seq));
    if (head.seq == 0 && check.count > 0)
        return fail(check.count,
                    QStringLiteral("找不到另外保存的最新条目,最后几条无法确认(%1)")
                        .arg(connection.IsServer() ? QStringLiteral("harbor_audit_head")
                                                   : AuditHeadFile(connection)));
    return check;
}

void OpenCommandDatabase(CConnection& connection, const QString& file, const QString& lansetPath) {
    if (!file.isEmpty()) {
        connection.OpenFile(file);
        return;
    }
    QFile lanset(lansetPath);
    if (!lanset.open(QIODevice::ReadOnly))
        throw CDbException(QStringLiteral("读不到网络设置文件 %1").arg(lansetPath));
    connection.Open(ConnectionStringFromLanset(lanset.readAll()));
}

int AuditVerifyCommand(const QString& file, const QString& lansetPath) {
    try {
        CConnection connection;
        OpenCommandDatabase(connection, file, lansetPath);
        const AuditCheck check = VerifyAuditLog(connection);
        if (!check.ok) {
            std::fprintf(stderr, "%s\n",
                         QStringLiteral("操作日志第 %1 条不对: %2")
                             .arg(check.broken)
                             .arg(check.reason)
                             .toLocal8Bit()
                             .constData());
            return 1;
        }
        std::printf("%s\n", QStringLiteral("操作日志完好,共 %1 条 (%2)")
                                .arg(check.count)
                                .arg(connection.Where())
                                .toLocal8Bit()
                                .constData());
        return 0;
    } catch (const CDbException& error) {
        std::fprintf(stderr, "%s\n", error.Message().toLocal8Bit().constData());
        return 2;
    }
}
