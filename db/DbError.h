#pragma once

#include <QString>

#include "db/CDbException.h"

class QSqlError;

// The engine's own text of an error.
QString EngineText(const QSqlError& error);

// The exception for an error of the engine, with its kind told from the engine's code: a
// locked database (another workstation writes) or a damaged file are answered differently.
CDbException DbErrorOf(const QSqlError& error, const QString& statement);
// Why a connection to the database server on host could not be made, as a Chinese sentence
// with the next step, followed by the engine's own text as details: refused, timed out, unknown
// host, wrong password, no such database, not let in, a server too old or too new.
QString ServerConnectProblem(const QString& host, const QString& engineText);

// The same for an error of the database server (PostgreSQL's SQLSTATE codes): a connection
// that broke is Disconnected, a lock that could not be had Busy.
CDbException ServerErrorOf(const QSqlError& error, const QString& statement);
