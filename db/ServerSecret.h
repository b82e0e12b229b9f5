#pragma once

#include <QString>

// The server password this shop chose, kept on this computer where other users cannot read
// it: in the desktop keyring (QtKeychain) when one runs, otherwise in a file only the user
// may read (0600), whose permissions are checked at each read.

// True when a keyring can be asked (a session bus, and HARBOR_NO_KEYRING not set).
bool KeyringAvailable();
// The fallback file, beside the user's settings file of the program.
QString ServerSecretFile();
// The password kept ("" when none). A fallback file readable by others is made 0600 again
// and warning tells so.
QString ReadServerSecret(QString* warning = nullptr);
// Keeps the password ("" removes it).
void WriteServerSecret(const QString& password);
