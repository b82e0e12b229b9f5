#include "PdfFacts.h"

#include <QFile>
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
