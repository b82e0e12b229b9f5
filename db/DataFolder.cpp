#include "db/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "db/CDbException.h"
#include "db/DatabaseInit.h"
#include "db/LansetFile.h"
#include "db/ProgramFolder.h"

namespace {

QString UserDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// The system's own folders hold installed programs: the shop's files never go there, also
// not when the administrator (who may write anywhere) runs the program.
bool IsSystemFolder(const QString& folder) {
    const QString path = QFileInfo(folder).canonicalFilePath();
    return path.startsWith(QLatin1String("/usr/")) || path == QLatin1String("/bin") ||
           path == QLatin1String("/sbin");
}

bool WritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable() && !IsSystemFolder(folder);
}

} // namespace

QString ChooseDataFolder(const QString& programFolder, const QString& userFolder) {
    // A shop set up beside the program stays there, also where this user cannot write (a LAN
    // workstation whose administrator keeps the program folder).
    if (QFileInfo::exists(QDir(programFolder).filePath(QStringLiteral("Lanset.ini"))))
        return programFolder;
    return WritableFolder(programFolder) ? programFolder : userFolder;
}

QString DataFolder() {
    // A portable copy finds its files beside the program, as it always did.
    return ChooseDataFolder(ProgramFolder(), UserDataFolder());
}

bool IsPortableCopy() {
    return DataFolder() == ProgramFolder();
}

DataFolderSetup PrepareDataFolder(const QString& folder) {
    DataFolderSetup setup;
    const QDir dir(folder);
    const QString shown = QDir::toNativeSeparators(folder);
    if (!QDir().mkpath(folder)) {
        return {false, false, QStringLiteral("不能建立数据文件夹 %1").arg(shown)};
    }
    const QString lanset = dir.filePath(QStringLiteral("Lanset.ini"));
    if (!QFileInfo::exists(lanset)) {
        const QString database = dir.filePath(QStringLiteral("Harbor.accdb"));
        try {
            if (!QFileInfo::exists(database))
                CreateEmptyDatabase(database);
        } catch (const CDbException& error) {
            return {false, false, error.Message()};
        }
        QString error;
        if (!WriteLansetFile(lanset, FormatLanset(0, 0), &error))
            return {false, false,
                    QStringLiteral("不能写入 %1: %2").arg(QDir::toNativeSeparators(lanset), error)};
        setup.madeShop = true;
        setup.message = QStringLiteral("已在 %1 建立空的商店数据库 Harbor.accdb 和网络设置 "
                                       "Lanset.ini。")
                            .arg(shown);
    }
    QDir::setCurrent(folder);
    return setup;
}

void EnterDataFolder() {
    if (!IsPortableCopy())
        QDir::setCurrent(DataFolder());
}
