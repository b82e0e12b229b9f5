#include "db/SqliteFile.h"

#include <QFile>
#include <sqlite3.h>

SqliteFile::SqliteFile(const QString& path, Mode mode) {
    const int flags =
        mode == Mode::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READWRITE;
    m_bOpened =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_pDb, flags, nullptr) == SQLITE_OK;
}

SqliteFile::~SqliteFile() {
    Close();
}

QString SqliteFile::Error() const {
    return m_pDb ? QString::fromUtf8(sqlite3_errmsg(m_pDb)) : QStringLiteral("内存不足");
}

void SqliteFile::Close() {
    if (m_pDb)
        sqlite3_close(m_pDb);
    m_pDb = nullptr;
    m_bOpened = false;
}

void SqliteFile::SetBusyTimeout(int milliseconds) {
    if (m_pDb)
        sqlite3_busy_timeout(m_pDb, milliseconds);
}

bool SqliteFile::Run(const char* sql, QStringList* values, QString* problem) const {
    if (!m_bOpened) {
        *problem = Error();
        return false;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_pDb, sql, -1, &statement, nullptr) != SQLITE_OK) {
        *problem = Error();
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (!values)
            continue;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        values->append(text ? QString::fromUtf8(text) : QString());
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        *problem = Error();
        return false;
    }
    return true;
}
