#include "admin/DatabaseRestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/SqliteFile.h"

namespace {

const char* const kUnchanged = "数据库没有改变。";

RestoreResult Outcome(RestoreResult::Outcome outcome, const QString& message) {
    RestoreResult result;
    result.outcome = outcome;
    result.message = message;
    return result;
}

bool Rename(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData(),
                            error);
    return !error;
}

void RemoveLogs(const QString& database) {
    QFile::remove(database + QStringLiteral("-wal"));
    QFile::remove(database + QStringLiteral("-shm"));
    QFile::remove(database + QStringLiteral("-journal"));
}

// Takes the database out of write-ahead logging and locks it. Both fail while any other
// connection has the file open, even one that only reads or sits idle.
bool LockAlone(SqliteFile& live, QString* problem) {
    if (!live.Opened()) {
        *problem = live.Error();
        return false;
    }
    live.SetBusyTimeout(2000);
    QStringList mode;
    if (!live.Run("PRAGMA journal_mode=DELETE", &mode, problem))
        return false;
    if (mode != QStringList{QStringLiteral("delete")}) {
        *problem = QStringLiteral("日志模式仍为 %1").arg(mode.join(QLatin1Char(' ')));
        return false;
    }
    return live.Run("BEGIN EXCLUSIVE", nullptr, problem);
}

} // namespace

RestoreResult RestoreDatabase(CConnection& connection, const QString& copyPath,
                              const RestoreConfirm& confirm, const QDateTime& now) {
    const QString database = connection.DatabasePath();
    if (!connection.IsOpen() || database.isEmpty())
        return Outcome(RestoreResult::Refused, QStringLiteral("没有打开的本机数据库可以恢复"));
    if (QFileInfo(copyPath).absoluteFilePath() == QFileInfo(database).absoluteFilePath())
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("所选的文件就是正在使用的数据库。") + kUnchanged);

    // 1. The copy is staged beside the database, on the same disk, and checked there.
    const QString staged = database + QStringLiteral(".restoring");
    QFile::remove(staged);
    RemoveLogs(staged);
    if (!QFile::copy(copyPath, staged)) {
        QFile::remove(staged);
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("不能读取文件 %1。").arg(QDir::toNativeSeparators(copyPath)) +
                           kUnchanged);
    }
    QFile::setPermissions(staged, QFile::ReadOwner | QFile::WriteOwner);
    BackupFacts facts = InspectDatabaseFile(staged);
    RemoveLogs(staged);
    if (facts.problem.isEmpty())
        facts.when = CopyTimeOf(copyPath);
    if (!facts.problem.isEmpty()) {
        QFile::remove(staged);
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("文件 %1 不能用来恢复:\n%2\n")
                               .arg(QDir::toNativeSeparators(copyPath), facts.problem) +
                           kUnchanged);
    }

    // 2.
    if (confirm && !confirm(facts)) {
        QFile::remove(staged);
        return Outcome(RestoreResult::Cancelled, QString());
    }

    // 3. The database as it is now, kept first.
    RestoreResult result;
    try {
        const QString folder = BackupFolderFor(database);
        QDir().mkpath(folder);
        result.safetyCopy = QDir(folder).filePath(BackupFileName(database, now));
        // Never over a copy there is, least of all the one being restored.
        const QFileInfo named(result.safetyCopy);
        for (int n = 2; QFileInfo::exists(result.safetyCopy); ++n)
            result.safetyCopy = named.dir().filePath(QStringLiteral("%1-%2.%3")
                                                         .arg(named.completeBaseName())
                                                         .arg(n)
                                                         .arg(named.suffix()));
        BackupDatabaseTo(connection, result.safetyCopy);
    } catch (const CDbException& error) {
        QFile::remove(staged);
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("恢复前不能先备份当前的数据库: %1\n").arg(error.Message()) +
                           kUnchanged);
    }

    // 4.
    connection.Close();
    SqliteFile live(database, SqliteFile::Mode::ReadWrite);
    QString problem;
    if (!LockAlone(live, &problem)) {
        live.Close();
        QFile::remove(staged);
        connection.OpenFile(database);
        return Outcome(
            RestoreResult::Refused,
            QStringLiteral("数据库正被另一台电脑(或本程序的另一个窗口)使用,现在不能恢复。"
                           "请先在其他电脑上退出本程序,再恢复。\n(%1)\n")
                    .arg(problem) +
                kUnchanged);
    }

    // 5. Replaced while the lock keeps everyone else out.
    const QString replaced = database + QStringLiteral(".replaced");
    QFile::remove(replaced);
    const bool moved = Rename(database, replaced);
    const bool placed = moved && Rename(staged, database);
    live.Run("COMMIT", nullptr, &problem);
    live.Close();
    if (!placed) {
        if (moved)
            Rename(replaced, database);
        QFile::remove(staged);
        connection.OpenFile(database);
        return Outcome(RestoreResult::Refused,
                       QStringLiteral("数据库文件不能替换(文件夹不能写入?)。") + kUnchanged);
    }
    RemoveLogs(database);
    try {
        connection.OpenFile(database);
    } catch (const CDbException& error) {
        QFile::remove(database);
        RemoveLogs(database);
        Rename(replaced, database);
        connection.OpenFile(database);
        result.outcome = RestoreResult::Failed;
        result.message =
            QStringLiteral("恢复的数据库不能打开: %1\n原来的数据库已放回。").arg(error.Message());
        return result;
    }
    QFile::remove(replaced);
    result.outcome = RestoreResult::Restored;
    result.message = QStringLiteral("数据库已恢复为 %1 的备份。\n恢复前的数据库已另存为 %2")
                         .arg(facts.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                              QDir::toNativeSeparators(result.safetyCopy));
    return result;
}
