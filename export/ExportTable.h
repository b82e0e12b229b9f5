#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// A list as it leaves the program for a spreadsheet: the header texts, what each column holds,
// and the texts of the rows exactly as the window shows them.

// What a column holds. The window that shows the list says so; a value's look never decides
// (a product code of ten digits is text, not a number).
enum class ExportKind {
    Text,   // written as text, leading zeros kept
    Number, // a plain decimal number; anything else in the column stays text
    Date,   // "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss"; anything else stays text
};

// One line of a window's kind table: the column with this header holds this kind. decimals is
// the fewest decimals a number shows; a text written with more keeps its own.
struct ExportColumnKind {
    QString header;
    ExportKind kind = ExportKind::Text;
    int decimals = 2;
};
using ExportKinds = QList<ExportColumnKind>;

struct ExportColumn {
    QString header;
    ExportKind kind = ExportKind::Text;
    int decimals = 2;
};

// The rows of a list too long to hold, read a block at a time while the file is written.
// read appends the rows [first, first + count) to rows (fewer when the list ends sooner); false
// when they cannot be read, with error saying why.
struct ExportRowStream {
    int count = 0;
    std::function<bool(int first, int count, QList<QStringList>& rows, QString& error)> read;
};

struct ExportTable {
    QString title; // names the sheet and the proposed file
    QList<ExportColumn> columns;
    QList<QStringList> rows; // one text per column
    ExportRowStream stream;  // when it has a reader, the rows come from it and rows stays empty

    bool IsStreamed() const { return bool(stream.read); }
    int RowCount() const { return IsStreamed() ? stream.count : int(rows.size()); }
};

// Walks the rows of a table, held or streamed, holding one block of a streamed table at a time.
class ExportRowCursor {
  public:
    static constexpr int kBlockRows = 1000;

    explicit ExportRowCursor(const ExportTable& table) : m_table(table) {}
    // The next row; null after the last, or when a block cannot be read (Error says why).
    const QStringList* Next();
    // The rows of the first block (of a held table, every row), for sizing the columns.
    const QList<QStringList>& FirstRows();
    QString Error() const { return m_strError; }

  private:
    bool ReadBlock(int first);

    const ExportTable& m_table;
    QList<QStringList> m_block;
    int m_nBlockFirst = -1;
    int m_nNext = 0;
    QString m_strError;
};

enum class ExportFormat { Xlsx, Csv };

// Called as rows are written: rows done so far and all rows. Returning false cancels the export.
using ExportProgress = std::function<bool(int done, int total)>;

struct ExportResult {
    enum Status { Written, Cancelled, Failed };
    Status status = Failed;
    QString error; // what went wrong, for the user, when Failed
};

// The column for a header from a window's kind table; a header not in the table is text.
ExportColumn ColumnFor(const QString& header, const ExportKinds& kinds);

// A cell as it goes into a workbook.
struct ExportCell {
    enum Type { Blank, Text, Number, Date, DateTime };
    Type type = Blank;
    QString text;      // Text
    double number = 0; // Number
    int decimals = 0;  // Number: decimals to show
    QDateTime when;    // Date, DateTime
};

// What the text of a cell becomes in a column of the given kind. Empty text is blank; text that
// does not fit the kind stays text.
ExportCell CellFor(const ExportColumn& column, const QString& text);

// The width of a text in spreadsheet column units: a full-width (Chinese) character counts 2.
int DisplayWidth(const QString& text);

// The width a column needs for its header and every text (the widest, a little margin, capped);
// of a streamed table, the texts of its first block.
double ColumnWidthFor(const ExportTable& table, int column);
double ColumnWidthFor(const ExportColumn& kind, const QList<QStringList>& rows, int column);

// A sheet name from a title: no characters a workbook refuses, at most 31 characters.
QString SheetName(const QString& title);

// "title_yyyy-MM-dd.xlsx" (or .csv), with characters that a file name cannot hold replaced.
QString ProposedFileName(const QString& title, const QDate& date, ExportFormat format);

// "xlsx" or "csv".
QString FormatSuffix(ExportFormat format);
