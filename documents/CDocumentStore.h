#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "documents/DocumentPlan.h"

class CRecordset;
struct DeletedDocument;

// What a write of a document came to.
struct DocumentWrite {
    enum class Result {
        Written,  // everything landed
        Refused,  // nothing written: message says why (a stock that cannot move)
        Conflict, // nothing written: the stored document is no longer the one on screen
    };
    Result result = Result::Written;
    QString message;
    // Written: the lines whose product no longer exists, so that their stock did not move
    // (UnmovedStockNotice); empty when every move landed.
    QString notice;
    // Written: the header every row of the document carries now; empty when none remain.
    QStringList header;
    int rows = 0; // rows removed by a document delete
};

// Reads and writes the rows of one document table (saleout, salein or entry) and moves the
// stock they stand for. Every write reads the stored rows inside the caller's transaction,
// plans with DocumentPlan, moves the stock through MoveStock, then writes the rows and one
// header UPDATE for the whole document. Raises CDbException on a database error; callers run
// each method in one transaction (RunDbAction) and roll back on anything but Written.
class QWidget;

class CDocumentStore {
  public:
    explicit CDocumentStore(const DocumentTable& table) : m_table(table) {}

    const DocumentTable& Table() const { return m_table; }

    // The stored rows of a number in the table's order, each with what docline keeps of it (a
    // row that has no docline row, written by an older program, stands for the product under
    // its code when that product carries its name); invoiceDate gets the first invoice date
    // found on them (sales-out only).
    QVector<StoredRow> ReadRows(const QString& oddnum, QString* invoiceDate = nullptr) const;
    int StoredRowCount(const QString& oddnum) const;

    // The number a document's first save stores under: the one drawn, or, when another window
    // or workstation has saved under it since, the next free number of the same date (empty
    // when the date has none left; NewOddnum has told the user). Serialised per table and date
    // until the save's transaction ends, so two workstations never store under one number.
    // The queries find documents by the day in their number: given the document's own date
    // (a stock-in's delivery date moved after 新增一单), a number of another day is drawn
    // again for that date.
    QString FirstSaveNumber(const QString& oddnum, QWidget* parent,
                            const QDate& date = QDate()) const;

    // Writes the lines under the number: stored rows the lines came from are rewritten where
    // they changed, new lines are added, stock moves by the difference between what was stored
    // and what is written, and every row gets the header. The amount due in the header becomes
    // the sum of the line amounts, the amount received follows the state.
    DocumentWrite Save(const QString& oddnum, const QStringList& header,
                       const QVector<ScreenLine>& lines,
                       const std::optional<QStringList>& remembered) const;

    // Removes the stored row a line came from, gives its stock back and puts the amounts of
    // the remaining rows on all of them.
    DocumentWrite DeleteLine(const QString& oddnum, const QStringList& origin,
                             const std::optional<QStringList>& remembered) const;

    // Removes every row of the document; with giveStockBack the stock its lines moved is moved
    // back, otherwise the stock stays as it is.
    // The document's rows are kept (DeletedDocuments) so that it can be seen and restored.
    DocumentWrite DeleteDocument(const QString& oddnum, bool giveStockBack) const;

    // Puts a deleted document back, exactly as it was stored, its stock moved again when its
    // delete had given it back. Refused when its number is in use again, or when it was
    // restored already; a stock that cannot move raises CDbException with the reason, so that
    // the caller's transaction takes back the rows put back.
    DocumentWrite RestoreDocument(const DeletedDocument& kept) const;

    // The first line (0-based) that does not hold the product it was stored with and whose
    // code has no product, or a product of another name; -1 when all agree. Reads property.
    int MismatchedLine(const QVector<ScreenLine>& lines) const;

    // A text as the database keeps it (see RepairText), so a line's memory of its stored row
    // compares equal with what is read back.
    static QStringList StoredTexts(const QStringList& texts);

  private:
    QVector<StoredRow> ReadOpen(CRecordset& rs, const QString& oddnum, QString* invoiceDate) const;
    void PutLine(CRecordset& rs, const QStringList& texts) const;
    void ReadFacts(const QString& oddnum, QVector<StoredRow>& rows) const;
    void WriteFacts(const QString& oddnum, const QVector<StoredRow>& rows) const;
    QString Move(const QVector<StockMove>& moves, DocumentWrite& write) const;
    QString LinksProblem(const QString& oddnum, const QVector<StoredRow>& stored,
                         const SavePlan& plan, const QVector<ScreenLine>& lines) const;
    void WriteLinks(const QString& oddnum, const QVector<StoredRow>& stored, const SavePlan& plan,
                    const QVector<ScreenLine>& lines) const;
    void WriteHeader(const QString& oddnum, const QStringList& header,
                     const QString& invoiceDate) const;

    DocumentTable m_table;
};
