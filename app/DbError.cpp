#include "app/DbError.h"

#include <QSqlError>

QString EngineText(const QSqlError& error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

CDbException DbErrorOf(const QSqlError& error, const QString& statement) {
    // SQLite's primary result codes: 5 busy, 6 locked, 11 corrupt. A file that is no SQLite
    // database at all (26) is simply not ours, as an Access file of the old program would be.
    const int code = error.nativeErrorCode().toInt();
    CDbException::Kind kind = CDbException::Kind::Engine;
    if (code == 5 || code == 6)
        kind = CDbException::Kind::Busy;
    else if (code == 11)
        kind = CDbException::Kind::Damaged;
    return CDbException(EngineText(error), statement, kind);
}
