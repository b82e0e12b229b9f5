#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include "documents/DocumentPlan.h"

// Returns taken from a sale (按原单退货): which sales-out line each return line came from
// (table harbor_return_origin), and the limit that no sale line is returned beyond what was
// sold. The writes run inside the document's own transaction (CDocumentStore); the sale
// numbers involved are locked first (LockSaleReturns), so two windows or workstations returning
// the same sale at the same moment are checked one after the other.

// A line of a sale as a return can take it.
struct ReturnableLine {
    QStringList line; // the sale row's texts (DocumentTable::SaleOut columns)
    SaleLineRef ref;
    qint64 sold = 0;     // hundredths of the quantity sold
    qint64 returned = 0; // hundredths returned by the stored returns (but the one excepted)
};

// A stored sale with its lines; no lines when the number has none.
struct ReturnableSale {
    QString oddnum;
    QString customer;
    QVector<ReturnableLine> lines;
};

// The sale's lines with what is returned of each by the stored returns other than
// exceptReturn (the return on screen, whose own lines the window counts).
ReturnableSale ReadReturnableSale(const QString& saleOddnum, const QString& exceptReturn);

// How much of one sale line a return holds, as a plan sees it.
struct ReturnUse {
    SaleLineRef ref;
    qint64 quantity = 0;
    int line = -1; // the first screen line (0-based) that takes it
    QString name;  // its product's name
};

// The quantities per sale line of the lines (or stored rows) that came from a sale.
QVector<ReturnUse> ReturnUses(const QVector<ScreenLine>& lines);
QVector<ReturnUse> ReturnUses(const QVector<StoredRow>& rows);

// Pure: why the return cannot take what it holds now, or the empty text. A sale line may be
// returned up to what was sold (soldBy, by SaleLineKey) less what the other returns hold
// (othersBy); a line whose quantity does not grow against what the return held before
// (before) passes, so a return of a sale deleted since can still be saved as it was.
QString ReturnLimitProblem(const QVector<ReturnUse>& now, const QVector<ReturnUse>& before,
                           const QHash<QString, qint64>& soldBy,
                           const QHash<QString, qint64>& othersBy);
// The text a sale line is found by in the hashes above.
QString SaleLineKey(const SaleLineRef& ref);

// Inside a transaction. Gives every stored row of the return the sale line it came from.
void AttachReturnOrigins(const QString& retOddnum, QVector<StoredRow>& rows);
// Before a save of the return writes anything: the limit, checked under the lock of the sales
// its lines came from; the refusal, or the empty text.
QString ReturnOriginsProblem(const QString& retOddnum, const QVector<StoredRow>& stored,
                             const QVector<ScreenLine>& lines);
// The link rows of the return written for the lines saved.
void SaveReturnOrigins(const QString& retOddnum, const QVector<ScreenLine>& lines);
// The link rows of the return rewritten for the rows that remain (after a line delete).
void WriteReturnOrigins(const QString& retOddnum, const QVector<StoredRow>& rows);
// A deleted return: its link rows are kept under the id of its harbor_deleted row.
void KeepReturnOrigins(const QString& retOddnum);
// Before a deleted return is put back: whether the sales still allow its kept link rows; the
// refusal, or the empty text. RestoreReturnOrigins then lets them stand again.
QString RestoreProblem(const QString& retOddnum, const QString& keptId);
void RestoreReturnOrigins(const QString& retOddnum, const QString& keptId);
// Before a sale is saved again: refused when a line with returns changes its product or falls
// below what is returned of it. FollowSaleLines then moves the link rows to the lines' new
// texts.
QString SaleLinesProblem(const QString& saleOddnum, const QVector<StoredRow>& stored,
                         const QVector<int>& storedRowOf, const QVector<ScreenLine>& lines);
void FollowSaleLines(const QString& saleOddnum, const QVector<StoredRow>& stored,
                     const QVector<int>& storedRowOf, const QVector<ScreenLine>& lines);

// One line of a stored return taken from a sale, for the query windows.
struct ReturnLink {
    QString retOddnum;
    QString saleOddnum;
    QString date;           // of the return (ReturnsOfSale) or of the sale (OriginsOfReturn)
    bool saleStored = true; // false when the sale has been deleted since
    QStringList line;       // the return line as LineKey holds it (LineKeyColumns)
};
// The stored return lines taken from the sale.
QVector<ReturnLink> ReturnsOfSale(const QString& saleOddnum);
// The lines of the return that were taken from a sale, with that sale.
QVector<ReturnLink> OriginsOfReturn(const QString& retOddnum);
