#include "export/XlsxWriter.h"

#include <QFile>
#include <QHash>
#include <cstdio>
#include <utility>
#include <xlsxwriter.h>

namespace {

// Rows between two progress reports.
constexpr int kProgressStep = 256;
// The longest text a cell holds.
constexpr int kMaxCellText = 32767;

// A workbook being written; one left unclosed (cancelled or failed) is freed without writing
// anything. Freeing it does not close the sheet's temporary file of streamed rows: that is
// closed here, or every cancelled export would keep one open until the program ends.
class OpenWorkbook {
  public:
    explicit OpenWorkbook(lxw_workbook* workbook) : m_workbook(workbook) {}
    OpenWorkbook(const OpenWorkbook&) = delete;
    OpenWorkbook& operator=(const OpenWorkbook&) = delete;
    ~OpenWorkbook() {
        if (!m_workbook)
            return;
        if (m_sheet && m_sheet->optimize_tmpfile) {
            std::fclose(m_sheet->optimize_tmpfile);
            m_sheet->optimize_tmpfile = nullptr;
        }
        lxw_workbook_free(m_workbook);
    }
    lxw_workbook* get() const { return m_workbook; }
    explicit operator bool() const { return m_workbook != nullptr; }
    lxw_worksheet* AddSheet(const QByteArray& name) {
        m_sheet = workbook_add_worksheet(m_workbook, name.constData());
        return m_sheet;
    }
    // Writes the file; the workbook is freed whatever the answer.
    lxw_error Close() { return workbook_close(std::exchange(m_workbook, nullptr)); }

  private:
    lxw_workbook* m_workbook;
    lxw_worksheet* m_sheet = nullptr;
};

ExportResult Failure(const QString& error) {
    return {ExportResult::Failed, error};
}

QString LibraryError(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

// The cell formats of one workbook: bold header, date, date and time, a number format per
// count of decimals.
class Formats {
  public:
    explicit Formats(lxw_workbook* workbook) : m_workbook(workbook) {
        m_header = workbook_add_format(workbook);
        format_set_bold(m_header);
        m_date = workbook_add_format(workbook);
        format_set_num_format(m_date, "yyyy-mm-dd");
        m_dateTime = workbook_add_format(workbook);
        format_set_num_format(m_dateTime, "yyyy-mm-dd hh:mm:ss");
    }
    lxw_format* Header() const { return m_header; }
    lxw_format* Date() const { return m_date; }
    lxw_format* DateTime() const { return m_dateTime; }
    lxw_format* Number(int decimals) {
        lxw_format*& format = m_numbers[decimals];
        if (!format) {
            format = workbook_add_format(m_workbook);
            const QByteArray pattern =
                decimals > 0 ? "0." + QByteArray(decimals, '0') : QByteArray("0");
            format_set_num_format(format, pattern.constData());
        }
        return format;
    }

  private:
    lxw_workbook* m_workbook;
    lxw_format* m_header = nullptr;
    lxw_format* m_date = nullptr;
    lxw_format* m_dateTime = nullptr;
    QHash<int, lxw_format*> m_numbers;
};

lxw_datetime ToLxw(const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    return {date.year(), date.month(),  date.day(),
            time.hour(), time.minute(), double(time.second())};
}

lxw_error WriteText(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const QString& text,
                    lxw_format* format = nullptr) {
    const QByteArray utf8 = text.left(kMaxCellText).toUtf8();
    return worksheet_write_string(sheet, row, col, utf8.constData(), format);
}

lxw_error WriteCell(lxw_worksheet* sheet, Formats& formats, lxw_row_t row, lxw_col_t col,
                    const ExportCell& cell) {
    switch (cell.type) {
    case ExportCell::Blank:
        return LXW_NO_ERROR;
    case ExportCell::Text:
        return WriteText(sheet, row, col, cell.text);
    case ExportCell::Number:
        return worksheet_write_number(sheet, row, col, cell.number, formats.Number(cell.decimals));
    case ExportCell::Date:
    case ExportCell::DateTime: {
        lxw_datetime when = ToLxw(cell.when);
        return worksheet_write_datetime(sheet, row, col, &when,
                                        cell.type == ExportCell::Date ? formats.Date()
                                                                      : formats.DateTime());
    }
    }
    return LXW_NO_ERROR;
}

void SetUpSheet(lxw_worksheet* sheet, const ExportTable& table, ExportRowCursor& cursor) {
    const QList<QStringList>& sized = cursor.FirstRows();
    for (int col = 0; col < table.columns.size(); ++col)
        worksheet_set_column(sheet, lxw_col_t(col), lxw_col_t(col),
                             ColumnWidthFor(table.columns[col], sized, col), nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
}

} // namespace

ExportResult WriteXlsx(const ExportTable& table, const QString& path,
                       const ExportProgress& progress) {
    const int total = table.RowCount();
    if (qint64(total) + 1 > qint64(LXW_ROW_MAX))
        return Failure(QStringLiteral("记录超过 %1 行, Excel 工作表放不下, 请导出为 CSV")
                           .arg(LXW_ROW_MAX - 1));
    if (table.columns.size() > LXW_COL_MAX)
        return Failure(QStringLiteral("列数超过 Excel 工作表的上限"));

    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE; // each row goes to disk as soon as the next begins
    const QByteArray fileName = QFile::encodeName(path);
    OpenWorkbook workbook(workbook_new_opt(fileName.constData(), &options));
    if (!workbook)
        return Failure(QStringLiteral("无法创建工作簿"));
    lxw_worksheet* sheet = workbook.AddSheet(SheetName(table.title).toUtf8());
    if (!sheet)
        return Failure(QStringLiteral("无法创建工作表"));
    Formats formats(workbook.get());
    ExportRowCursor cursor(table);
    SetUpSheet(sheet, table, cursor);

    for (int col = 0; col < table.columns.size(); ++col) {
        const lxw_error error =
            WriteText(sheet, 0, lxw_col_t(col), table.columns[col].header, formats.Header());
        if (error != LXW_NO_ERROR)
            return Failure(LibraryError(error));
    }
    int row = 0;
    for (const QStringList* texts = cursor.Next(); texts; texts = cursor.Next(), ++row) {
        if (progress && row % kProgressStep == 0 && !progress(row, total))
            return {ExportResult::Cancelled, {}};
        for (int col = 0; col < table.columns.size(); ++col) {
            const ExportCell cell = CellFor(table.columns[col], texts->value(col));
            const lxw_error error =
                WriteCell(sheet, formats, lxw_row_t(row + 1), lxw_col_t(col), cell);
            if (error != LXW_NO_ERROR)
                return Failure(LibraryError(error));
        }
    }
    if (!cursor.Error().isEmpty())
        return Failure(cursor.Error());
    if (progress && !progress(total, total))
        return {ExportResult::Cancelled, {}};
    const lxw_error error = workbook.Close();
    if (error != LXW_NO_ERROR)
        return Failure(LibraryError(error));
    return {ExportResult::Written, {}};
}
