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

CDbException ServerErrorOf(const QSqlError& error, const QString& statement) {
    const QString state = error.nativeErrorCode().trimmed();
    const QString text = EngineText(error);
    CDbException::Kind kind = CDbException::Kind::Engine;
    // 08: connection exceptions; 57P01-57P03: the server shut down or is starting.
    // Without a code, libpq's own words tell that the socket is gone.
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
        (state.isEmpty() && (text.contains(QLatin1String("server closed the connection")) ||
                             text.contains(QLatin1String("no connection to the server")) ||
                             text.contains(QLatin1String("terminating connection")) ||
                             text.contains(QLatin1String("connection to server")))))
        kind = CDbException::Kind::Disconnected;
    else if (state == QLatin1String("55P03") || state == QLatin1String("40P01") ||
             state == QLatin1String("40001"))
        kind = CDbException::Kind::Busy;
    return CDbException(text, statement, kind);
}
