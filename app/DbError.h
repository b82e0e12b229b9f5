#pragma once

#include <QString>

#include "app/CDbException.h"

class QSqlError;

// The engine's own text of an error.
QString EngineText(const QSqlError& error);

// The exception for an error of the engine, with its kind told from the engine's code: a
// locked database (another workstation writes) or a damaged file are answered differently.
CDbException DbErrorOf(const QSqlError& error, const QString& statement);
// The same for an error of the database server (PostgreSQL's SQLSTATE codes): a connection
// that broke is Disconnected, a lock that could not be had Busy.
CDbException ServerErrorOf(const QSqlError& error, const QString& statement);
