#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the first bytes of a shop file and of the write-ahead log beside it tell, read straight
// from disk and not through SQLite (whose view mixes the two): which shop the file is, and
// whether the log was written for it. The shop's own id is kept in SQLite's application id of
// the file header; every write of the program puts that header into the log as well.

constexpr int kSqliteHeaderSize = 100;

struct SqliteHeader {
    bool valid = false;        // begins as an SQLite database does
    quint32 pageSize = 0;      // bytes
    quint32 applicationId = 0; // the shop's own id; 0 for a file never given one
};

// The header of the first 100 bytes of a file.
SqliteHeader SqliteHeaderOf(const QByteArray& bytes);
// The header of the file at the path (not valid when it cannot be read).
SqliteHeader ReadSqliteHeader(const QString& path);

enum class LogOwner {
    Unknown, // no log, an empty one, or one that holds no committed file header
    Same,    // its newest committed file header names the file's shop
    Foreign, // written for another file: applied, it would mix two databases
};

// Whose is the log beside the database (path + "-wal")?
LogOwner OwnerOfLog(const QString& databasePath);

// Moves the log and the shared-memory file beside the database to names of their own, never
// deleting them; returns the new names (empty when a move failed).
QStringList SetLogAside(const QString& databasePath);
