#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class CConnection;

// Copies of the shop database. A copy is always taken through SQLite's online backup on the
// program's own connection, so it holds one consistent state of the database even while
// other workstations write; a live database file is never copied byte by byte.
//
// Automatic copies go into backup/ beside the database, named by the time they were taken:
// Harbor-2026-12-07-1830.accdb for Harbor.accdb. Of those the newest of each of the last 30
// days that have copies and the newest of each of the last 12 months are kept.

// Called between the steps of a copy with the pages copied so far and all pages.
using BackupProgress = std::function<void(int done, int total)>;

// Copies the database that the connection has open into target, which is replaced when it
// exists. The copy is written under a temporary name beside target and put in place only when
// complete; it is a single file (no -wal beside it). Raises CDbException.
void BackupDatabaseTo(CConnection& connection, const QString& target,
                      const BackupProgress& progress = {});

// The folder of the automatic copies of a database: backup/ beside it.
QString BackupFolderFor(const QString& databasePath);
// "Harbor-2026-12-07-1830.accdb" for the database Harbor.accdb and that time.
QString BackupFileName(const QString& databasePath, const QDateTime& when);
// The time in the name of an automatic copy of the database; invalid for any other name.
QDateTime BackupTimeOf(const QString& fileName, const QString& databasePath);

// The retention rule over the times of the copies there are: the newest copy of each of the
// last `days` days that have copies and of each of the last `months` months that have copies.
// Returns the times to keep, newest first.
QList<QDateTime> BackupsToKeep(const QList<QDateTime>& times, int days = 30, int months = 12);

// Whether start-up takes a copy: there is none yet, the newest is older than a day, or it
// lies in the future (the clock was put back).
bool StartupBackupDue(const QDateTime& newest, const QDateTime& now);

// The time of the newest automatic copy of the database; invalid when there is none.
QDateTime NewestBackup(const QString& databasePath);

// Takes an automatic copy into the backup folder (made when missing) and removes the copies
// the retention rule lets go. Returns the new copy's path. Raises CDbException.
QString TakeAutomaticBackup(CConnection& connection, const QDateTime& now,
                            const BackupProgress& progress = {});

// Removes the automatic copies of the database that the retention rule lets go (files of
// other names are never touched); returns the names removed.
QStringList PruneBackups(const QString& databasePath);

// When a copy was taken: the time in its name, else the file's modification time.
QDateTime CopyTimeOf(const QString& path);

// What a copy holds, found by opening it as a database of its own.
struct BackupFacts {
    QString problem; // why it cannot be restored; empty for a sound shop database
    QDateTime when;  // from its name, else the file's modification time
    int products = 0;
    int documents = 0; // sales-out, sales-return and stock-in documents
    int schemaVersion = 0;
};

// Checks a file that may be restored: it passes PRAGMA integrity_check, is a shop database
// with every table, and is not of a newer version than this program. Opens the file itself
// (read and write, as a copy that is not in use), so pass it a staged copy.
BackupFacts InspectDatabaseFile(const QString& path);

// The same for a copy anywhere, looked at through a temporary copy of it: the file itself is
// left as it is.
BackupFacts InspectBackup(const QString& path);
