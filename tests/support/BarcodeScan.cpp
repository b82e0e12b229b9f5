#include "BarcodeScan.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <optional>

namespace {

// Runs a tool to its end; its standard output, or nothing when it failed.
std::optional<QString> Run(const QString& program, const QStringList& arguments,
                           QList<int> okCodes = {0}) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(-1) ||
        process.exitStatus() != QProcess::NormalExit || !okCodes.contains(process.exitCode())) {
        qWarning().noquote() << program << "failed:" << process.readAllStandardError();
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QList<QStringList> ScanPdfBarcodes(const QString& pdfPath) {
    QTemporaryDir pages;
    if (!Run("pdftoppm", {"-r", "300", "-gray", "-png", pdfPath, pages.filePath("page")}))
        return {};
    QList<QStringList> codes;
    const QStringList files = QDir(pages.path()).entryList({"page*.png"}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        // zbarimg exits with 4 when a page has no barcode at all.
        const std::optional<QString> out = Run(
            "zbarimg", {"--quiet", "--raw", "-Sdisable", "-Scode128.enable", pages.filePath(file)},
            {0, 4});
        if (!out)
            return {};
        codes.append(out->split('\n', Qt::SkipEmptyParts));
    }
    return codes;
}
