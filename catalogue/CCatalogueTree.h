#pragma once

#include <QString>
#include <QVector>

#include "app/SqlText.h"

// One row of a catalogue list: a node of levels 1 to 4 (name) or a specification (count, pack).
struct CatalogueRow {
    QString bh;    // the stored code, 2k digits for a node of level k
    QString code;  // the level's own two digits, as the list shows them
    QString name;  // mc of a node of levels 1 to 4
    QString count; // a specification's quantity
    QString pack;  // a specification's pack unit

    QString Spec() const { return count + pack; } // 10个/箱
};

// The path through the five-level product catalogue that the coding window and the product
// picker remember (level codes and names, click by click), and the statements that fill their
// lists from it. Indices 1 to 5 are the levels; index 0 is unused.
//
// The Read functions raise CDbException on a database error; run them inside RunDbRead or
// RunDbAction.
class CCatalogueTree {
  public:
    static constexpr int kLevels = 5;

    QString m_strCode[kLevels + 1]; // level code of the node chosen at each level
    QString m_strName[kLevels];     // its name (levels 1 to 4)

    // Forgets the whole path.
    void Clear();
    // Remembers the node chosen at level k (1 to 4) and forgets levels k+1 to 5.
    void SelectNode(int k, const QString& code, const QString& name);
    // Turns the empty codes of levels 2 to 4 into "00" (a specification hanging higher up);
    // the names of those levels become empty.
    void FillSkippedLevels();

    // Codes 1 to k joined.
    QString CodePrefix(int k) const;
    // Codes of the levels above k joined: the prefix of every node of list k.
    QString ParentPrefix(int k) const { return CodePrefix(k - 1); }
    // Whether a new row may be added to list k: its parent is chosen (for level 5, any node).
    bool HasParent(int k) const;

    // Full product name: the names of levels 1 to 4 joined by "-"; empty when the names
    // present leave a gap (name 3 without name 2) or there is no name 1.
    QString FullName() const;
    // Full product code: codes 1 to 5 joined.
    QString FullCode() const { return CodePrefix(kLevels); }

    // The statement of list k: every level-1 node (k = 1), or the children of the chosen node
    // of level k-1 (k = 2 to 4), in code order.
    SqlStatement LevelSql(int k) const;
    // The statement of the specifications hanging directly under the chosen node of level k
    // (1 to 4), the deeper codes taken as "00"; k = 4 also serves a path completed with "00".
    SqlStatement SpecsSql(int k) const;

    // Whether every chosen node above level k is stored (a skipped level "00" has none), so that
    // list k may be saved under it. Raises CDbException.
    bool IsParentStored(int k) const;

    // Rows of list k (1 to 4) under the current path; the code shows bh without the parent prefix.
    QVector<CatalogueRow> ReadLevel(int k) const;
    // Specifications directly under the chosen node of level k (1 to 4); code = last two digits.
    QVector<CatalogueRow> ReadSpecs(int k) const;

    // Rows of an open statement of list k (1 to 5).
    static QVector<CatalogueRow> ReadRows(const SqlStatement& sql, int k);
    // The code of a new row appended as row r of a list: "01" ... "09", "10" ...
    static QString NewLevelCode(int r);
};
