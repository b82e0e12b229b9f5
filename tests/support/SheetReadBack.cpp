#include "SheetReadBack.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include "grid/CGridCtrl.h"

namespace {

QList<QByteArray> RunReader(const QString& path, QString* error) {
    const QString script = QFINDTESTDATA("read_sheet.py");
    if (script.isEmpty()) {
        *error = QStringLiteral("read_sheet.py not found");
        return {};
    }
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {script, path});
    if (!python.waitForFinished(-1) || python.exitCode() != 0) {
        *error = QString::fromUtf8(python.readAllStandardError());
        return {};
    }
    return python.readAllStandardOutput().split('\n');
}

SheetCell CellOf(const QJsonArray& cell) {
    return {cell.at(0).toString(), cell.at(1).toString(), cell.at(2).toString()};
}

void ReadXlsxLines(const QList<QByteArray>& lines, SheetReadBack* back) {
    const QJsonObject facts = QJsonDocument::fromJson(lines.first()).object();
    for (const QJsonValue& name : facts.value("sheets").toArray())
        back->sheets.append(name.toString());
    back->freeze = facts.value("freeze").toString();
    for (const QJsonValue& width : facts.value("widths").toArray())
        back->widths.append(width.isNull() ? -1.0 : width.toDouble());
    for (const QJsonValue& bold : facts.value("bold").toArray())
        back->headerBold.append(bold.toBool());
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        QList<SheetCell> row;
        for (const QJsonValue& cell : QJsonDocument::fromJson(lines[i]).array())
            row.append(CellOf(cell.toArray()));
        back->cells.append(row);
    }
}

void ReadCsvLines(const QList<QByteArray>& lines, SheetReadBack* back) {
    back->bom = QJsonDocument::fromJson(lines.first()).object().value("bom").toBool();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        QStringList record;
        for (const QJsonValue& field : QJsonDocument::fromJson(lines[i]).array())
            record.append(field.toString());
        back->records.append(record);
    }
}

int Decimals(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    return point < 0 ? 0 : int(text.size() - point - 1);
}

QString Where(int row, int col) {
    return QStringLiteral("row %1, column %2: ").arg(row).arg(col);
}

QString CompareCell(const SheetCell& cell, const QString& shown, char kind) {
    if (shown.isEmpty())
        return cell.type.isEmpty() ? QString()
                                   : QStringLiteral("expected empty, got %1").arg(cell.value);
    static const QRegularExpression plainNumber(QStringLiteral("^-?[0-9]+(\\.[0-9]*)?$"));
    if ((kind == 'n' || kind == 'i') && plainNumber.match(shown).hasMatch()) {
        const int decimals = qMax(kind == 'n' ? 2 : 0, Decimals(shown));
        const QString format =
            decimals > 0 ? QStringLiteral("0.") + QString(decimals, u'0') : QStringLiteral("0");
        if (cell.type != "n" || cell.value.toDouble() != shown.toDouble() || cell.format != format)
            return QStringLiteral("expected number %1 as %2, got %3 %4 as %5")
                .arg(shown, format, cell.type, cell.value, cell.format);
        return {};
    }
    if (kind == 'd') {
        const bool withTime = shown.size() > 10;
        const QString iso = withTime ? QString(shown).replace(u' ', u'T') : shown + "T00:00:00";
        const QString format = withTime ? "yyyy-mm-dd hh:mm:ss" : "yyyy-mm-dd";
        if (cell.type != "d" || cell.value != iso || cell.format != format)
            return QStringLiteral("expected date %1, got %2 %3 as %4")
                .arg(shown, cell.type, cell.value, cell.format);
        return {};
    }
    if (cell.type != "s" || cell.value != shown)
        return QStringLiteral("expected text \"%1\", got %2 \"%3\"")
            .arg(shown, cell.type, cell.value);
    return {};
}

} // namespace

SheetReadBack ReadSheetBack(const QString& path) {
    SheetReadBack back;
    const QList<QByteArray> lines = RunReader(path, &back.error);
    if (lines.isEmpty() || lines.first().isEmpty()) {
        if (back.error.isEmpty())
            back.error = QStringLiteral("the reader printed nothing");
        return back;
    }
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        ReadCsvLines(lines, &back);
    else
        ReadXlsxLines(lines, &back);
    back.ok = true;
    return back;
}

QString CompareSheetWithGrid(const SheetReadBack& sheet, const CGridCtrl& grid, int firstCol,
                             const QHash<QString, char>& kinds) {
    if (!sheet.ok)
        return sheet.error;
    const int columns = grid.GetColumnCount() - firstCol;
    if (sheet.cells.size() != grid.GetRowCount())
        return QStringLiteral("%1 rows in the sheet, %2 in the grid")
            .arg(sheet.cells.size())
            .arg(grid.GetRowCount());
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        const QList<SheetCell>& cells = sheet.cells[row];
        if (cells.size() != columns)
            return Where(row, 0) +
                   QStringLiteral("%1 cells, expected %2").arg(cells.size()).arg(columns);
        for (int col = 0; col < columns; ++col) {
            const QString shown = grid.GetCellText(row, firstCol + col);
            const char kind =
                row == 0 ? 's' : kinds.value(grid.GetCellText(0, firstCol + col), 's');
            const QString difference = CompareCell(cells[col], shown, kind);
            if (!difference.isEmpty())
                return Where(row, col) + difference;
        }
    }
    return {};
}

QString CompareCsvWithGrid(const SheetReadBack& csv, const CGridCtrl& grid, int firstCol) {
    if (!csv.ok)
        return csv.error;
    if (!csv.bom)
        return QStringLiteral("no byte order mark");
    if (csv.records.size() != grid.GetRowCount())
        return QStringLiteral("%1 records, %2 grid rows")
            .arg(csv.records.size())
            .arg(grid.GetRowCount());
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        QStringList shown;
        for (int col = firstCol; col < grid.GetColumnCount(); ++col)
            shown.append(grid.GetCellText(row, col));
        if (csv.records[row] != shown)
            return Where(row, 0) + QStringLiteral("expected %1, got %2")
                                       .arg(shown.join(u'|'), csv.records[row].join(u'|'));
    }
    return {};
}
