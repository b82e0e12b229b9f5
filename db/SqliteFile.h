#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

// An SQLite file opened on a handle of its own, beside the program's connection: the copies
// that backups write and restores read, and the lock test before a database is replaced.
// Closed when the object goes.
class SqliteFile {
  public:
    enum class Mode { ReadWrite, Create };
    SqliteFile(const QString& path, Mode mode);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    bool Opened() const { return m_bOpened; }
    sqlite3* Handle() const { return m_pDb; }
    // The engine's text of the last error.
    QString Error() const;
    void Close();
    // How long a statement waits for another connection's lock (ms).
    void SetBusyTimeout(int milliseconds);

    // Runs a statement; the first column of every row goes into values (when given). False,
    // with the engine's text in problem, on failure.
    bool Run(const char* sql, QStringList* values, QString* problem) const;

  private:
    sqlite3* m_pDb = nullptr;
    bool m_bOpened = false;
};
