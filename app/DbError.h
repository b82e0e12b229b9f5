#pragma once

#include <QString>

#include "app/CDbException.h"

class QSqlError;

// The engine's own text of an error.
QString EngineText(const QSqlError& error);

// The exception for an error of the engine, with its kind told from the engine's code: a
// locked database (another workstation writes) or a damaged file are answered differently.
CDbException DbErrorOf(const QSqlError& error, const QString& statement);
