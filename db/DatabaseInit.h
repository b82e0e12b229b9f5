#pragma once

#include <QString>

// Creates an empty shop database at path from the schema. Refuses to touch an existing file.
// Raises CDbException on failure (the half-made file is removed).
void CreateEmptyDatabase(const QString& path);

// The init commands of the executable: messages to the terminal, exit code.
int CreateEmptyDatabaseCommand(const QString& path);
int WriteInitialLanset(const QString& path);

// The schema's statements, in order.
QStringList SchemaStatements();
