#include "export/ExportFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#include "export/CsvWriter.h"
#include "export/XlsxWriter.h"

namespace {

constexpr QFileDevice::Permissions kNewFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
    QFileDevice::ReadOther;

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// Moves the finished file to its name, replacing what is there in one step.
bool Replace(const QString& from, const QString& to, QString* error) {
    std::error_code code;
    std::filesystem::rename(FsPath(from), FsPath(to), code);
    if (code)
        *error = QString::fromStdString(code.message());
    return !code;
}

} // namespace

ExportResult ExportToFile(const ExportTable& table, const QString& path, ExportFormat format,
                          const ExportProgress& progress) {
    const QFileInfo target(path);
    if (target.fileName().isEmpty())
        return {ExportResult::Failed, QStringLiteral("没有文件名")};
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        return {ExportResult::Failed, QStringLiteral("文件夹不存在: %1").arg(folder.path())};
    if (target.isDir())
        return {ExportResult::Failed, QStringLiteral("该名称是一个文件夹")};

    QTemporaryFile temp(folder.filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!temp.open())
        return {ExportResult::Failed,
                QStringLiteral("无法在该文件夹中写入文件: %1").arg(temp.errorString())};
    const QString tempPath = temp.fileName();
    temp.close();

    ExportResult result = format == ExportFormat::Xlsx ? WriteXlsx(table, tempPath, progress)
                                                       : WriteCsv(table, tempPath, progress);
    if (result.status != ExportResult::Written)
        return result; // the temporary file goes with temp
    QFile::setPermissions(tempPath, target.exists() ? target.permissions() : kNewFilePermissions);
    QString error;
    if (!Replace(tempPath, target.absoluteFilePath(), &error))
        return {ExportResult::Failed, error};
    temp.setAutoRemove(false); // it has its name now
    return result;
}
