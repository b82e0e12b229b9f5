#include "db/ProgramFolder.h"

#include <QCoreApplication>

namespace {

QString& Override() {
    static QString folder;
    return folder;
}

QString FromEnvironment() {
    static const QString folder = qEnvironmentVariable("HARBOR_PROGRAM_DIR");
    return folder;
}

} // namespace

QString ProgramFolder() {
    if (!Override().isEmpty())
        return Override();
    const QString named = FromEnvironment();
    return named.isEmpty() ? QCoreApplication::applicationDirPath() : named;
}

void SetProgramFolder(const QString& folder) {
    Override() = folder;
}
