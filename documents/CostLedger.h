#pragma once

#include <QMap>
#include <QString>

class CConnection;
struct DocumentTable;

// The cost of goods, kept beside the document tables (cost_move, cost_product). Each document
// holds one movement per product: what it moves the stock by and its amount, placed after
// every movement before it when the product first appears on it. A sales line records its
// cost per unit when its product first appears on the document, from the moving average of
// that moment, and keeps it: a later stock-in, or the delete or edit of an earlier one,
// changes the average for the movements after it, never the cost an old sale recorded.

// What a document's removal does to its movements: Forget takes them out of the averages
// (the document was entered by mistake); KeepGoods leaves them in place (an old record is
// removed, the goods stay as they were), no longer tied to the number.
enum class CostRemoval { Forget, KeepGoods };

// Brings the movements of a document in line with its stored rows, after a save, a line
// delete or the delete of the whole document, inside the same transaction, and walks the
// averages of every product it touched again. Raises CDbException on a database error.
void RecordDocumentCosts(const DocumentTable& table, const QString& oddnum,
                         CostRemoval removal = CostRemoval::Forget);

// The kind of movement of a posted stock count in cost_move.
QString StockCountDoctable();

// The movements of a posted stock count: per product the quantity it corrected the stock by
// (counted less book). They move the quantity only and keep the average; each records the
// average of its moment as its cost per unit, so its cost is the value of the difference.
void RecordStockCountCosts(const QString& oddnum, const QMap<QString, double>& moves);

// Builds every movement again from the stored documents, as the schema upgrade does for an
// older shop file (used after documents were written without the program's windows); the
// posted stock counts follow, in the order of their numbers.
void RebuildCostLedger(CConnection& connection);
