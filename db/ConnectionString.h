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

// The host of a network data source: "\\\\192.168.1.20\\Harbor\\Harbor.accdb" gives
// "192.168.1.20" (empty when there is none).
QString HostOfDataSource(const QString& dataSource);

// The password of the server's role: the program's database password unless the shop chose
// another at setup, which this workstation then keeps in the keyring or a file only the user
// can read (accounts/ServerSecret.h; never in Lanset.ini nor the settings file).
QString ServerPassword();
// A password an older version kept in the settings file goes to that place (at each start);
// returns a warning for the user when the file holding it was readable by others.
QString MoveServerPasswordOutOfSettings();
void SetServerPassword(const QString& password); // empty: back to the program's own
