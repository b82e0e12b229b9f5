#include "export/CsvWriter.h"

#include <QFile>

#include "text/NumericText.h"

namespace {

constexpr int kProgressStep = 256;
// Bytes gathered before they go to the file.
constexpr qsizetype kChunk = 1 << 20;

QByteArray CsvLine(const QStringList& fields, const QList<ExportColumn>& columns) {
    QString line;
    for (int col = 0; col < columns.size(); ++col) {
        if (col > 0)
            line += u',';
        const QString& text = fields.value(col);
        line += CsvField(columns[col].kind == ExportKind::Text ? CsvSafeText(text) : text);
    }
    line += QStringLiteral("\r\n");
    return line.toUtf8();
}

} // namespace

QString CsvSafeText(const QString& text) {
    if (text.isEmpty() || IsPlainDecimal(text))
        return text;
    const QChar first = text.front();
    const bool formula = first == u'=' || first == u'+' || first == u'-' || first == u'@' ||
                         first == u'\t' || first == u'\r';
    return formula ? u'\'' + text : text;
}

QString CsvField(const QString& text) {
    const bool quoted =
        text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
    if (!quoted)
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

ExportResult WriteCsv(const ExportTable& table, const QString& path,
                      const ExportProgress& progress) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {ExportResult::Failed, file.errorString()};
    QStringList headers;
    for (const ExportColumn& column : table.columns)
        headers.append(column.header);
    QByteArray chunk("\xEF\xBB\xBF");
    chunk += CsvLine(headers, table.columns);
    const int total = table.RowCount();
    ExportRowCursor cursor(table);
    int row = 0;
    for (const QStringList* texts = cursor.Next(); texts; texts = cursor.Next(), ++row) {
        if (progress && row % kProgressStep == 0 && !progress(row, total))
            return {ExportResult::Cancelled, {}};
        chunk += CsvLine(*texts, table.columns);
        if (chunk.size() >= kChunk) {
            if (file.write(chunk) != chunk.size())
                return {ExportResult::Failed, file.errorString()};
            chunk.clear();
        }
    }
    if (!cursor.Error().isEmpty())
        return {ExportResult::Failed, cursor.Error()};
    if (progress && !progress(total, total))
        return {ExportResult::Cancelled, {}};
    if (file.write(chunk) != chunk.size() || !file.flush())
        return {ExportResult::Failed, file.errorString()};
    file.close();
    if (file.error() != QFileDevice::NoError)
        return {ExportResult::Failed, file.errorString()};
    return {ExportResult::Written, {}};
}
