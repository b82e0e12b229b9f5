#include "export/ExportDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

#include "text/HarborClock.h"
#include "ui/HarborMessageBox.h"
#include "export/ExportFile.h"

namespace {

// Lists this long show their progress and can be cancelled.
constexpr int kProgressFrom = 2000;

// The program's settings, where the look of the window is kept too.
QSettings ProgramSettings() {
    return QSettings(QStringLiteral("应用程序向导生成的本地应用程序"), QStringLiteral("Harbor"));
}

QString LastFolder() {
    const QString folder = ProgramSettings().value(QStringLiteral("ExportFolder")).toString();
    if (!folder.isEmpty() && QDir(folder).exists())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void RememberFolder(const QString& path) {
    ProgramSettings().setValue(QStringLiteral("ExportFolder"), QFileInfo(path).absolutePath());
}

ExportFormat FilterFormat(const QString& filter) {
    return filter == FormatFilter(ExportFormat::Csv) ? ExportFormat::Csv : ExportFormat::Xlsx;
}

QString WithSuffix(const QString& path, ExportFormat format) {
    const QString suffix = FormatSuffix(format);
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0
               ? path
               : path + u'.' + suffix;
}

// The file the user chose, with its format; empty when the dialog was cancelled or the user
// would not replace an existing file.
QString AskPath(QWidget* parent, const ExportTable& table, ExportFormat* format) {
    QFileDialog dialog(parent, QStringLiteral("导出到文件"), LastFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // asked below, as every message is
    dialog.setNameFilters({FormatFilter(ExportFormat::Xlsx), FormatFilter(ExportFormat::Csv)});
    dialog.selectNameFilter(FormatFilter(*format));
    dialog.setDefaultSuffix(FormatSuffix(*format));
    dialog.selectFile(ProposedFileName(table.title, HarborToday(), *format));
    // Another format chosen in the dialog changes the suffix of the proposed name.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const ExportFormat chosen = FilterFormat(f);
        dialog.setDefaultSuffix(FormatSuffix(chosen));
        const QString current = QFileInfo(dialog.selectedFiles().value(0)).fileName();
        if (!current.isEmpty())
            dialog.selectFile(QFileInfo(current).completeBaseName() + u'.' + FormatSuffix(chosen));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    *format =
        FormatForPath(dialog.selectedFiles().first(), FilterFormat(dialog.selectedNameFilter()));
    const QString path = WithSuffix(dialog.selectedFiles().first(), *format);
    if (QFileInfo::exists(path) &&
        HarborMessageBox(
            parent,
            QStringLiteral("文件\"%1\"已存在,要替换它吗?").arg(QDir::toNativeSeparators(path)),
            MsgIcon::Question, MsgButtons::YesNo) != IDYES)
        return {};
    return path;
}

std::unique_ptr<QProgressDialog> MakeProgress(QWidget* parent, int rows) {
    if (rows < kProgressFrom)
        return nullptr;
    auto progress = std::make_unique<QProgressDialog>(
        QStringLiteral("正在导出 %1 条记录...").arg(rows), QStringLiteral("取消"), 0, rows, parent);
    progress->setWindowTitle(QString::fromUtf8(kAppTitle));
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    progress->show();
    return progress;
}

} // namespace

QString FormatFilter(ExportFormat format) {
    return format == ExportFormat::Csv ? QStringLiteral("CSV 文件 (*.csv)")
                                       : QStringLiteral("Excel 工作簿 (*.xlsx)");
}

ExportFormat FormatForPath(const QString& path, ExportFormat filterFormat) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return ExportFormat::Csv;
    if (suffix == QLatin1String("xlsx"))
        return ExportFormat::Xlsx;
    return filterFormat;
}

bool ExportWithDialogs(QWidget* parent, const ExportTable& table, ExportFormat format) {
    if (table.RowCount() == 0) {
        HarborMessageBox(parent, QStringLiteral("表格中没有可导出的记录"));
        return false;
    }
    const QString path = AskPath(parent, table, &format);
    if (path.isEmpty())
        return false;
    RememberFolder(path);
    const int rows = table.RowCount();
    std::unique_ptr<QProgressDialog> progress = MakeProgress(parent, rows);
    const ExportResult result = ExportToFile(table, path, format, [&progress](int done, int total) {
        if (!progress)
            return true;
        if (done == total)
            progress->setLabelText(QStringLiteral("正在保存文件..."));
        progress->setValue(done);
        return !progress->wasCanceled();
    });
    progress.reset();
    switch (result.status) {
    case ExportResult::Written:
        HarborMessageBox(
            parent,
            QStringLiteral("%1 条记录已导出到:\n%2").arg(rows).arg(QDir::toNativeSeparators(path)),
            MsgIcon::Information);
        return true;
    case ExportResult::Cancelled:
        return false;
    case ExportResult::Failed:
        break;
    }
    HarborMessageBox(parent,
                     QStringLiteral("导出失败,文件没有写入:\n%1\n%2")
                         .arg(QDir::toNativeSeparators(path), result.error),
                     MsgIcon::Stop);
    return false;
}
