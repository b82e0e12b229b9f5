// The Lanset.ini and connection-string parsers share their files with functions that reach the
// user's data folder and the keyring. The fuzz target exercises only the parsers; these
// definitions let it link without the rest of the program and fail loudly if ever reached.
#include <QString>
#include <cstdlib>

#include "db/DataFolder.h"
#include "db/ServerSecret.h"

QString DataFolder() {
    std::abort();
}

QString ReadServerSecret(QString*) {
    std::abort();
}

void WriteServerSecret(const QString&) {
    std::abort();
}
