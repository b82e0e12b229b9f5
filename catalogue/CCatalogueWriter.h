#pragma once

#include "catalogue/CCatalogueTree.h"

#include <QString>
#include <QVector>

// Writes the coding window's lists back to the catalogue tables. Each row of a list stands for
// the record it was loaded from: a save rewrites exactly that record, after reading it again; a
// row whose record was changed or removed meanwhile (another window, another workstation)
// refuses the whole save. Rows without a record are new. A node whose code or name changes
// takes its subtree and its products' properties along, and the full names and initials of
// those products are built again from their levels' names.
// Every function that reads or writes raises CDbException on a database error; run it inside
// RunDbRead or RunDbAction.
class CCatalogueWriter {
  public:
    // A stored node or specification that a save gives a new code or a new name (or count and
    // pack), with its whole subtree.
    struct Move {
        QString oldCode, newCode; // full codes
        QString newName;          // levels 1 to 4
        QString spec;             // level 5: the new count + pack
    };

    // What a save of one list will do, worked out from its rows and the records of its
    // statement (in the statement's order).
    struct Plan {
        QString strRefusal;   // why nothing may be written; empty when the save may run
        bool bStale = false;  // refused because a row's record changed or vanished
        QVector<int> rewrite; // per row: index of the record it rewrites, -1 for none
        QVector<bool> add;    // per row: a new record is added for it
        QVector<Move> moves;  // rewritten records whose code, name or specification change
        int nBlankRow = -1;   // the first added row left empty (0-based), where adding stops

        int Writes() const;
    };

    struct Result {
        QString strRefusal;    // why nothing was written; empty when the save ran
        bool bStale = false;   // a row's record changed or vanished: the list must be read again
        bool bChanged = false; // an existing record was rewritten
        int nWritten = 0;      // records added or rewritten
        int nBlankRow = -1;    // the first added row left empty (0-based)
    };

    // Works out the save of list k (1 to 5) whose nodes share the code prefix. Pure: records
    // are the list statement's rows with bh and mc (or count and pack).
    static Plan PlanSave(int k, const QString& prefix, const QVector<CatalogueListRow>& rows,
                         const QVector<CatalogueRow>& records);
    // The same, reading the records of the list's statement.
    static Plan PlanSave(int k, const SqlStatement& sql, const QString& prefix,
                         const QVector<CatalogueListRow>& rows);

    // Saves list k (1 to 5) whose statement is sql and whose nodes share the code prefix.
    static Result Save(int k, const SqlStatement& sql, const QString& prefix,
                       const QVector<CatalogueListRow>& rows);

    // Deletes the record a row of list k was loaded from, its subtree and its products'
    // properties. False, with nothing written, when that record is no longer stored as it was.
    static bool DeleteRecord(int k, const CatalogueRow& loaded);

    // How many stored document lines (sales-out, sales-return, stock-in) use the code, or for a
    // node of levels 1 to 4 (a code shorter than ten digits) any product code under it.
    static int DocumentLines(const QString& code);
    // How many products under the code (or the product itself) have properties: labels may
    // have been printed for them.
    static int LabelledProducts(const QString& code);

    // The full name of a product built from the stored names of the levels on its code's path;
    // empty when the path hangs under a skipped level.
    static QString StoredFullName(const QString& code);
    // Builds again the full name and its initials of every product under the code prefix.
    static void RebuildProductNames(const QString& prefix);

    // The message for a code that is malformed or used twice among the codes that a save
    // would leave in one list; empty when they are all fine. A code is two ASCII digits 01-99:
    // what a barcode scanner sends.
    static QString CheckCodes(const QStringList& savedCodes, const QStringList& keptCodes);
    // The message for a row that describes its node: "一级商品名称\"开关\"(编号01)".
    static QString RowTitle(int k, const CatalogueRow& row);
};
