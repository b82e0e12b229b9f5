#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <optional>

#include "documents/StockChange.h"

// How a write of a trading document is planned, without touching the database: from the rows
// stored under the document's number (as read inside the transaction) and the lines on screen
// with the stored row each came from, to the rows to rewrite and add and the stock to move.
// A screen line knows its stored row by the texts that row held when the line was last saved
// or loaded, never by its position; rows holding equal texts are interchangeable.

enum class DocumentKind { SaleOut, SaleIn, Entry };

// What the program keeps of one document table.
struct DocumentTable {
    DocumentKind kind = DocumentKind::SaleOut;
    QString table;             // saleout, salein or entry
    QStringList headerColumns; // the header the document window writes on every row
    QStringList lineColumns;   // the texts of one line
    int codeIndex = 0;         // in lineColumns
    int countIndex = 0;
    int amountIndex = 0;
    int amountHeader = 0;   // in headerColumns: the amount due (receivable, money)
    int receiptHeader = -1; // the amount received, -1 for none
    int stateHeader = 0;
    int stockSign = -1; // a stored line moves its product's stock by stockSign x quantity
    bool keepsInvoiceDate = false;

    static const DocumentTable& SaleOut();
    static const DocumentTable& SaleIn();
    static const DocumentTable& Entry();
    static const DocumentTable& Of(DocumentKind kind);

    // "SELECT * FROM saleout WHERE oddnum=?"
    QString SelectSql() const;
    // Every header column, the number copies and (sales-out) the invoice date, for all rows of
    // one number: the values are HeaderValues() followed by the number.
    QString HeaderUpdateSql() const;
    // "delete from saleout where oddnum=?"
    QString DeleteSql() const;
    // The values of HeaderUpdateSql without the number: the header, the number copies of the
    // amounts, and the invoice date where the table keeps one.
    QVariantList HeaderValues(const QStringList& header, const QString& invoiceDate) const;
};

// The line of a sales-out document a return line was taken from: the sale's number and the
// line's key (LineKeyText of its stored texts).
struct SaleLineRef {
    QString oddnum;
    QString key;
    bool operator==(const SaleLineRef& other) const = default;
};

// One line on screen: its texts in lineColumns order and, for a line that was saved or loaded,
// the texts of the stored row it stands for.
struct ScreenLine {
    QStringList texts;
    std::optional<QStringList> origin;
    QString remark; // the tax option, kept beside the line where the table keeps none
    std::optional<SaleLineRef> sale; // a return line taken from a sale
};

// One stored row: its line texts and its header texts, and what the program keeps beside it
// (table docline): the product the line was recorded against, by that product's code today
// (empty when the product no longer exists), and the tax option the table does not keep.
struct StoredRow {
    QStringList line;
    QStringList header;
    QString product;
    QString remark;
    std::optional<SaleLineRef> sale; // a return row taken from a sale (harbor_return_origin)
};

// What docline keeps of one stored line.
struct LineFacts {
    QStringList key; // LineKey of the line
    QString product;
    QString remark;
};

// The texts that find a line's facts: mc, shortname, code, spec, price, count, discount and
// total (empty where the table has no such column).
QStringList LineKey(const DocumentTable& table, const QStringList& line);
QStringList LineKeyColumns(); // the docline columns of LineKey, in its order
// LineKey of stored texts as one text (a JSON list), as harbor_return_origin keeps a line.
QString LineKeyText(const DocumentTable& table, const QStringList& line);

// Gives every stored row the facts of the first facts row not yet taken with its key; returns
// the rows (indexes) for which none was left.
QVector<int> AttachLineFacts(const DocumentTable& table, QVector<StoredRow>& rows,
                             const QVector<LineFacts>& facts);

struct SavePlan {
    QVector<int> storedRowOf; // per screen line: the stored row it rewrites, -1 for a new row
    // Per screen line: the product it stands for after the save, the stored row's own while
    // the line keeps its code and name, otherwise the product of the line's code.
    QStringList products;
    QVector<StockMove> moves;
    qint64 amountCents = 0; // the sum of the line amounts after the save
    // The one set of header figures every row carries after the save: the window's header with
    // the amount due as the sum of the lines and the amount received as the state says.
    QStringList header;
    // Why the screen no longer stands for what is stored (another window changed or removed
    // rows, or the header); the save must not go on.
    QStringList conflicts;
};

// Plans the save of the lines with the window's header over the stored rows. remembered is
// the header the window last wrote or read (none before the first save); a stored row whose
// header differs, a line whose stored row is gone, and a stored row that no line stands for
// are conflicts.
SavePlan PlanSave(const DocumentTable& table, const QVector<StoredRow>& stored,
                  const QStringList& header, const QVector<ScreenLine>& lines,
                  const std::optional<QStringList>& remembered);

struct LineDeletePlan {
    int storedRow = -1; // the row to remove
    QVector<StockMove> moves;
    QStringList header; // the header every remaining row carries afterwards
    QStringList conflicts;
};

// Plans the removal of the stored row a line came from: its stock goes back, and the header
// amounts follow the remaining stored rows (amount due = their sum; received as the state
// says: all of it when settled, 0 when open, otherwise as stored).
LineDeletePlan PlanLineDelete(const DocumentTable& table, const QVector<StoredRow>& stored,
                              const QStringList& origin,
                              const std::optional<QStringList>& remembered);

// The stock moves of removing a whole document: none when its stock stays as it is, otherwise
// every stored line's effect undone on the product it was recorded against.
QVector<StockMove> PlanDocumentDelete(const DocumentTable& table, const QVector<StoredRow>& stored,
                                      bool giveStockBack);
// A deleted document put back whose stock had been given back: its lines move stock again as
// they did when it was saved.
QVector<StockMove> PlanDocumentRestore(const DocumentTable& table,
                                       const QVector<StoredRow>& stored);

// The amount received that goes with a state: the amount due when settled (结清), "0" when
// open (未结), otherwise the amount received as it is.
QString ReceiptForSaleState(const QString& state, const QString& receivable,
                            const QString& receipt);
