#include "PdfFacts.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

PdfFacts ReadPdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(file.readAll());
    PdfFacts facts;
    facts.pages = int(text.count(QRegularExpression("/Type\\s*/Page[^s]")));
    const QRegularExpressionMatch box =
        QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)").match(text);
    if (box.hasMatch())
        facts.size = QSizeF(box.captured(1).toDouble(), box.captured(2).toDouble());
    return facts;
}

QString PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0)
        return QString();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}
