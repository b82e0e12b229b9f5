#pragma once

#include "db/Db.h"
#include <QDateTime>
#include <QString>

class QStatusBar;
class QWidget;

// The backup commands of the 文件 menu and the automatic copies at start-up and exit, on the
// program's connection (Db()): a local database through SQLite's online
// backup, the server's (LAN mode) with pg_dump. Of the server only the host, the computer
// that runs it, takes automatic copies; 备份数据库 and 恢复数据库 work from every workstation.

// 备份数据库: a copy now, to a file the user chooses (the backup folder is proposed).
void OnBackupDatabase(QWidget* parent);
// 恢复数据库: the user chooses a copy, sees its date and contents and confirms; the open
// windows are closed, the current database is kept as a copy and the chosen one replaces it.
void OnRestoreDatabase(QWidget* parent);

// Copies the database to target with the messages of 备份数据库; true when written.
bool BackupNow(QWidget* parent, const QString& target);
// Restores the copy with the messages and questions of 恢复数据库; true when restored.
bool RestoreFrom(QWidget* parent, const QString& copyPath);

// Start-up: an automatic copy when the newest is older than a day (or there is none), with a
// progress line in the status bar. Returns the copy's path, empty when none was taken.
QString RunStartupBackup(QStatusBar* bar, const QDateTime& now = QDateTime::currentDateTime());
// Exit: an automatic copy; a failure is told in a message box.
QString RunExitBackup(const QDateTime& now = QDateTime::currentDateTime());

// True while a copy is being taken (the commands above wait for it).
bool BackupRunning();
