#include "db/ShopFileHeader.h"

#include <QDateTime>
#include <QFile>
#include <QtEndian>

namespace {

constexpr int kHeaderSize = kSqliteHeaderSize;
constexpr int kLogHeaderSize = 32;
constexpr int kFrameHeaderSize = 24;
constexpr qint64 kApplicationIdOffset = 68;

quint32 Big32(const QByteArray& bytes, int offset) {
    return qFromBigEndian<quint32>(bytes.constData() + offset);
}

// The application id of the newest page 1 in the committed frames of a log; found tells
// whether there was one. Frames of an older round of the log (other salts) and those after the
// last commit are not part of it, as SQLite itself reads it.
quint32 NewestLoggedId(QFile& log, quint32 pageSize, const QByteArray& header, bool* found) {
    const quint32 salt1 = Big32(header, 16);
    const quint32 salt2 = Big32(header, 20);
    *found = false;
    quint32 committed = 0;
    quint32 pending = 0;
    bool pendingFound = false;
    for (qint64 frame = kLogHeaderSize; frame + kFrameHeaderSize + pageSize <= log.size();
         frame += kFrameHeaderSize + pageSize) {
        if (!log.seek(frame))
            break;
        const QByteArray head = log.read(kFrameHeaderSize);
        if (head.size() != kFrameHeaderSize || Big32(head, 8) != salt1 || Big32(head, 12) != salt2)
            break;
        if (Big32(head, 0) == 1) {
            if (!log.seek(frame + kFrameHeaderSize + kApplicationIdOffset))
                break;
            const QByteArray id = log.read(4);
            if (id.size() != 4)
                break;
            pending = Big32(id, 0);
            pendingFound = true;
        }
        if (Big32(head, 4) != 0 && pendingFound) { // a commit frame
            committed = pending;
            *found = true;
        }
    }
    return committed;
}

} // namespace

SqliteHeader SqliteHeaderOf(const QByteArray& bytes) {
    SqliteHeader header;
    if (bytes.size() < kHeaderSize || !bytes.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return header;
    const quint16 size = qFromBigEndian<quint16>(bytes.constData() + 16);
    header.pageSize = size == 1 ? 65536u : size;
    header.applicationId = Big32(bytes, int(kApplicationIdOffset));
    header.valid = header.pageSize >= 512;
    return header;
}

SqliteHeader ReadSqliteHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SqliteHeader();
    return SqliteHeaderOf(file.read(kHeaderSize));
}

LogOwner OwnerOfLog(const QString& databasePath) {
    QFile log(databasePath + QStringLiteral("-wal"));
    if (!log.open(QIODevice::ReadOnly))
        return LogOwner::Unknown;
    const QByteArray header = log.read(kLogHeaderSize);
    const quint32 magic = header.size() == kLogHeaderSize ? Big32(header, 0) : 0;
    if ((magic & 0xFFFFFFFEu) != 0x377F0682u)
        return LogOwner::Unknown; // SQLite ignores a log without its mark
    const quint32 pageSize = Big32(header, 8);
    if (pageSize < 512 || pageSize > 65536)
        return LogOwner::Unknown;
    bool found = false;
    const quint32 logged = NewestLoggedId(log, pageSize, header, &found);
    if (!found)
        return LogOwner::Unknown;
    const SqliteHeader file = ReadSqliteHeader(databasePath);
    // Beside what is no database, or one of another page size, no log is the file's own.
    if (!file.valid || file.pageSize != pageSize)
        return LogOwner::Foreign;
    // A file that got its id in the log only has none on disk yet.
    if (file.applicationId == logged || file.applicationId == 0)
        return LogOwner::Same;
    return LogOwner::Foreign;
}

QStringList SetLogAside(const QString& databasePath) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QStringList moved;
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QString from = databasePath + suffix;
        if (!QFile::exists(from))
            continue;
        QString to = QStringLiteral("%1%2.不属于本文件-%3").arg(databasePath, suffix, stamp);
        for (int n = 2; QFile::exists(to); ++n)
            to = QStringLiteral("%1%2.不属于本文件-%3-%4").arg(databasePath, suffix, stamp).arg(n);
        if (!QFile::rename(from, to))
            return QStringList();
        moved.append(to);
    }
    return moved;
}
