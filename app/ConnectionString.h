#pragma once

#include <QString>

// The two connection strings of the program and the parts the record layer needs of them.
inline const char* const kDatabasePassword = "quillbrookhaze";

QString LocalConnectionString();
QString LanConnectionString(const QString& dataSource);

// The value of "Data Source=" up to the next ";" (empty when the string has none).
QString DataSourceOf(const QString& connectionString);

// True when the data source names a file on another machine (\\host\share\...).
bool IsNetworkPath(const QString& dataSource);
