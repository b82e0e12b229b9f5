#pragma once

#include "catalogue/CCatalogueTree.h"

#include <QString>
#include <QVector>

// Writes the coding window's lists back to the catalogue tables. Rows of a list stand for the
// records of its statement by position: row i rewrites the i-th record, rows beyond the records
// are new. A node whose code or name changes takes its subtree and its products' properties
// along. Every function raises CDbException on a database error; run it inside RunDbAction.
class CCatalogueWriter {
  public:
    struct Result {
        QString strRefusal;    // why nothing was written; empty when the save ran
        bool bChanged = false; // an existing record was rewritten
    };

    // Saves list k (1 to 4) whose statement is sql and whose nodes share the code prefix.
    static Result SaveLevel(int k, const SqlStatement& sql, const QString& prefix,
                            const QVector<CatalogueRow>& rows);
    // Saves the specifications of the level-5 list under the full level 1-4 prefix.
    static Result SaveSpecs(const SqlStatement& sql, const QString& prefix,
                            const QVector<CatalogueRow>& rows);
    // The stored code of the row-th record (from 1) of a list's statement; empty when the list
    // has fewer records, that is for a row that was never saved.
    static QString StoredCode(const SqlStatement& sql, int row);
    // Deletes the chosen node of level k of the path, its subtree and its products' properties.
    static void DeleteNode(int k, const CCatalogueTree& path);

    // The message for a code that is malformed or used twice among the codes that a save
    // would leave in one list; empty when they are all fine.
    static QString CheckCodes(const QStringList& savedCodes, const QStringList& keptCodes);
};
