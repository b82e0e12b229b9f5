#include "GridClipboardText.h"

#include <QRegularExpression>

namespace GridClipboardText {

QString Build(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        text += row.join(QLatin1Char('\t'));
        text += QLatin1String("\r\n");
    }
    return text;
}

QList<QStringList> Parse(const QString& text) {
    QString t = text;
    while (t.endsWith(QChar(0)))
        t.chop(1);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = t.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QList<QStringList> rows;
    rows.reserve(lines.size());
    for (const QString& line : lines)
        rows.append(line.split(QLatin1Char('\t')));
    return rows;
}

} // namespace GridClipboardText
