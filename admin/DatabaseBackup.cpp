#include "admin/DatabaseBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <sqlite3.h>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/DatabaseInit.h"
#include "db/SchemaUpgrade.h"
#include "db/SqliteFile.h"

namespace {

// Pages copied per step: small enough to keep the window painting between steps.
constexpr int kPagesPerStep = 512;
// Writes of other workstations make the copy start over; after this many fresh starts the
// rest is copied in one step, which holds the read lock until done.
constexpr int kMaxRestarts = 5;
// How long a step waits for a lock before the copy fails (in steps of kBusySleepMs).
constexpr int kBusyRetries = 250;
constexpr int kBusySleepMs = 20;

const char* const kTimeFormat = "yyyy-MM-dd-HHmm";

QString SqliteText(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

sqlite3* SourceHandle(CConnection& connection) {
    const QVariant handle = connection.DriverHandle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw CDbException(QStringLiteral("只有本机数据库可以由本程序备份"));
    sqlite3* db = *static_cast<sqlite3* const*>(handle.constData());
    if (!db)
        throw CDbException(QStringLiteral("没有数据库连接"));
    return db;
}

// Puts a finished file in place of target (replacing it in one step).
void MoveInPlace(const QString& from, const QString& target) {
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(from).constData(),
                            QFile::encodeName(target).constData(), error);
    if (error) {
        QFile::remove(from);
        throw CDbException(QStringLiteral("备份文件 %1 不能写入: %2")
                               .arg(QDir::toNativeSeparators(target),
                                    QString::fromLocal8Bit(error.message().c_str())));
    }
}

void CopyPages(sqlite3* source, sqlite3* dest, const BackupProgress& progress) {
    sqlite3_backup* backup = sqlite3_backup_init(dest, "main", source, "main");
    if (!backup)
        throw CDbException(QStringLiteral("备份不能开始: %1").arg(SqliteText(dest)));
    int restarts = 0;
    int busy = 0;
    int lastRemaining = -1;
    int rc = SQLITE_OK;
    while (true) {
        rc = sqlite3_backup_step(backup, restarts > kMaxRestarts ? -1 : kPagesPerStep);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (++busy > kBusyRetries)
                break;
            sqlite3_sleep(kBusySleepMs);
            continue;
        }
        if (rc != SQLITE_OK)
            break;
        busy = 0;
        const int remaining = sqlite3_backup_remaining(backup);
        const int total = sqlite3_backup_pagecount(backup);
        if (lastRemaining >= 0 && remaining > lastRemaining)
            ++restarts; // another workstation wrote: the copy started over
        lastRemaining = remaining;
        if (progress)
            progress(total - remaining, total);
    }
    const int finish = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE || finish != SQLITE_OK)
        throw CDbException(
            QStringLiteral("备份没有完成: %1")
                .arg(rc == SQLITE_BUSY || rc == SQLITE_LOCKED
                         ? QStringLiteral("数据库一直被另一台电脑锁住")
                         : SqliteText(dest)),
            QString(), rc == SQLITE_BUSY ? CDbException::Kind::Busy : CDbException::Kind::Engine);
}

// The tables that the statements create.
QStringList TablesOf(const QStringList& statements) {
    static const QRegularExpression create(QStringLiteral("^CREATE TABLE (\\w+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QStringList tables;
    for (const QString& statement : statements) {
        const QRegularExpressionMatch match = create.match(statement);
        if (match.hasMatch())
            tables.append(match.captured(1));
    }
    return tables;
}

// The time stamp in a copy's file name, whatever the database was called.
QDateTime StampInName(const QString& fileName) {
    static const QRegularExpression stamp(
        QStringLiteral("-(\\d{4}-\\d\\d-\\d\\d-\\d{4})(\\.[^.]*)?$"));
    const QRegularExpressionMatch match = stamp.match(fileName);
    return match.hasMatch()
               ? QDateTime::fromString(match.captured(1), QString::fromLatin1(kTimeFormat))
               : QDateTime();
}

// Reads the facts of an opened copy; the first problem found ends the reading.
void ReadFacts(const SqliteFile& db, BackupFacts* facts) {
    QString problem;
    QStringList verdict;
    if (!db.Run("PRAGMA integrity_check", &verdict, &problem)) {
        facts->problem = QStringLiteral("不是完好的数据库文件: %1").arg(problem);
        return;
    }
    if (verdict != QStringList{QStringLiteral("ok")}) {
        facts->problem =
            QStringLiteral("数据库文件已损坏: %1").arg(verdict.mid(0, 3).join(QLatin1Char(' ')));
        return;
    }
    QStringList names;
    if (!db.Run("SELECT name FROM sqlite_master WHERE type='table'", &names, &problem)) {
        facts->problem = problem;
        return;
    }
    QStringList version;
    if (!names.contains(QStringLiteral("harbor_schema")) ||
        !db.Run("SELECT version FROM harbor_schema", &version, &problem) || version.isEmpty()) {
        facts->problem = QStringLiteral("不是本系统的数据库(没有版本记录)");
        return;
    }
    facts->schemaVersion = version.first().toInt();
    if (facts->schemaVersion > CurrentSchemaVersion()) {
        facts->problem = QStringLiteral("数据库的版本 %1 比本程序新(本程序为版本 %2)")
                             .arg(facts->schemaVersion)
                             .arg(CurrentSchemaVersion());
        return;
    }
    // Only the tables of the first version must be there: the open adds the later ones.
    for (const QString& table : TablesOf(SchemaStatements())) {
        if (!names.contains(table, Qt::CaseInsensitive)) {
            facts->problem = QStringLiteral("不是本系统的数据库(缺少表 %1)").arg(table);
            return;
        }
    }
    QStringList counts;
    if (!db.Run("SELECT COUNT(*) FROM property UNION ALL "
                "SELECT (SELECT COUNT(DISTINCT oddnum) FROM saleout) + "
                "(SELECT COUNT(DISTINCT oddnum) FROM salein) + "
                "(SELECT COUNT(DISTINCT oddnum) FROM entry)",
                &counts, &problem) ||
        counts.size() != 2) {
        facts->problem = QStringLiteral("不是本系统的数据库: %1").arg(problem);
        return;
    }
    facts->products = counts.at(0).toInt();
    facts->documents = counts.at(1).toInt();
}

} // namespace

void BackupDatabaseTo(CConnection& connection, const QString& target,
                      const BackupProgress& progress) {
    sqlite3* source = SourceHandle(connection);
    if (QFileInfo(target).absoluteFilePath() ==
        QFileInfo(connection.DatabasePath()).absoluteFilePath())
        throw CDbException(QStringLiteral("备份不能写在数据库文件本身上"));
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    {
        SqliteFile dest(partial, SqliteFile::Mode::Create);
        if (!dest.Opened()) {
            const QString problem = dest.Error();
            dest.Close();
            QFile::remove(partial);
            throw CDbException(QStringLiteral("备份文件 %1 不能建立: %2")
                                   .arg(QDir::toNativeSeparators(target), problem));
        }
        try {
            CopyPages(source, dest.Handle(), progress);
            // The copy stands alone: no write-ahead log beside it.
            QStringList mode;
            QString problem;
            if (!dest.Run("PRAGMA journal_mode=DELETE", &mode, &problem))
                throw CDbException(QStringLiteral("备份没有完成: %1").arg(problem));
        } catch (...) {
            dest.Close();
            QFile::remove(partial);
            throw;
        }
    }
    MoveInPlace(partial, target);
}

QString BackupFolderFor(const QString& databasePath) {
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backup"));
}

QString BackupFileName(const QString& databasePath, const QDateTime& when) {
    const QFileInfo info(databasePath);
    QString name = info.completeBaseName() + QLatin1Char('-') +
                   when.toString(QString::fromLatin1(kTimeFormat));
    if (!info.suffix().isEmpty())
        name += QLatin1Char('.') + info.suffix();
    return name;
}

QDateTime BackupTimeOf(const QString& fileName, const QString& databasePath) {
    const QFileInfo info(databasePath);
    const QString prefix = info.completeBaseName() + QLatin1Char('-');
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const int stampLength = int(qstrlen(kTimeFormat)); // "2026-12-07-1830" as the format
    if (fileName.size() != prefix.size() + stampLength + suffix.size() ||
        !fileName.startsWith(prefix) || !fileName.endsWith(suffix))
        return QDateTime();
    const QString stamp = fileName.mid(prefix.size(), stampLength);
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d-\\d{4}$"));
    if (!shape.match(stamp).hasMatch())
        return QDateTime();
    return QDateTime::fromString(stamp, QString::fromLatin1(kTimeFormat));
}

QList<QDateTime> BackupsToKeep(const QList<QDateTime>& times, int days, int months) {
    QList<QDateTime> sorted;
    for (const QDateTime& time : times) {
        if (time.isValid())
            sorted.append(time);
    }
    std::sort(sorted.begin(), sorted.end(), std::greater<QDateTime>());
    QSet<QDate> daysSeen;
    QSet<int> monthsSeen;
    QList<QDateTime> keep;
    for (const QDateTime& time : sorted) {
        const QDate day = time.date();
        const int month = day.year() * 12 + day.month() - 1;
        bool kept = false;
        if (!daysSeen.contains(day) && daysSeen.size() < days) {
            daysSeen.insert(day);
            kept = true;
        }
        if (!monthsSeen.contains(month) && monthsSeen.size() < months) {
            monthsSeen.insert(month);
            kept = true;
        }
        if (kept)
            keep.append(time);
    }
    return keep;
}

bool StartupBackupDue(const QDateTime& newest, const QDateTime& now) {
    if (!newest.isValid() || newest > now)
        return true;
    return newest.secsTo(now) > 24 * 60 * 60;
}

namespace {

// The automatic copies in the backup folder, by file name.
QList<QPair<QString, QDateTime>> AutomaticCopies(const QString& databasePath) {
    QList<QPair<QString, QDateTime>> copies;
    const QDir folder(BackupFolderFor(databasePath));
    for (const QString& name : folder.entryList(QDir::Files)) {
        const QDateTime time = BackupTimeOf(name, databasePath);
        if (time.isValid())
            copies.append({name, time});
    }
    return copies;
}

} // namespace

QDateTime NewestBackup(const QString& databasePath) {
    QDateTime newest;
    for (const auto& copy : AutomaticCopies(databasePath)) {
        if (!newest.isValid() || copy.second > newest)
            newest = copy.second;
    }
    return newest;
}

QStringList PruneBackups(const QString& databasePath) {
    const QList<QPair<QString, QDateTime>> copies = AutomaticCopies(databasePath);
    QList<QDateTime> times;
    for (const auto& copy : copies)
        times.append(copy.second);
    const QList<QDateTime> keep = BackupsToKeep(times);
    QDir folder(BackupFolderFor(databasePath));
    QStringList removed;
    for (const auto& copy : copies) {
        if (!keep.contains(copy.second) && folder.remove(copy.first))
            removed.append(copy.first);
    }
    return removed;
}

QString TakeAutomaticBackup(CConnection& connection, const QDateTime& now,
                            const BackupProgress& progress) {
    const QString database = connection.DatabasePath();
    const QString folder = BackupFolderFor(database);
    if (!QDir().mkpath(folder))
        throw CDbException(
            QStringLiteral("备份文件夹 %1 不能建立").arg(QDir::toNativeSeparators(folder)));
    const QString target = QDir(folder).filePath(BackupFileName(database, now));
    BackupDatabaseTo(connection, target, progress);
    PruneBackups(database);
    return target;
}

BackupFacts InspectDatabaseFile(const QString& path) {
    BackupFacts facts;
    const QFileInfo info(path);
    facts.when = info.lastModified();
    if (!info.isFile()) {
        facts.problem = QStringLiteral("找不到文件");
        return facts;
    }
    SqliteFile db(path, SqliteFile::Mode::ReadWrite);
    if (!db.Opened()) {
        facts.problem = QStringLiteral("不能打开: %1").arg(db.Error());
        return facts;
    }
    ReadFacts(db, &facts);
    return facts;
}

BackupFacts InspectBackup(const QString& path) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("inspect.db"));
    if (!dir.isValid() || !QFile::copy(path, copy)) {
        BackupFacts facts;
        facts.problem =
            QFileInfo(path).isFile() ? QStringLiteral("不能读取") : QStringLiteral("找不到文件");
        return facts;
    }
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    BackupFacts facts = InspectDatabaseFile(copy);
    facts.when = CopyTimeOf(path);
    return facts;
}

QDateTime CopyTimeOf(const QString& path) {
    const QDateTime named = StampInName(QFileInfo(path).fileName());
    return named.isValid() ? named : QFileInfo(path).lastModified();
}
