#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "db/SqlText.h"

// One row of a catalogue list: a node of levels 1 to 4 (name) or a specification (count, pack).
struct CatalogueRow {
    QString bh;    // the stored code, 2k digits for a node of level k
    QString code;  // the level's own two digits, as the list shows them
    QString name;  // mc of a node of levels 1 to 4
    QString count; // a specification's quantity
    QString pack;  // a specification's pack unit

    QString Spec() const { return count + pack; } // 10个/箱
    // What tells the record of list k apart: bh with mc (levels 1 to 4) or count and pack.
    QStringList Values(int k) const;
};

// A row of a coding-window list: what it shows, and the record it was loaded from (none for a
// row added and not saved yet). A save or delete acts on exactly that record.
struct CatalogueListRow {
    CatalogueRow shown; // code: the level's two digits as the row shows them; bh unused
    std::optional<CatalogueRow> loaded;
};

// Full product name from the names of levels 1 to 4 on the product's path (empty for a skipped
// level): the names joined by "-"; empty when a name follows a skipped level or name 1 is
// missing, for such a path names no product that can be reached.
//   ProductFullName({"灯具", "灯泡", "", ""}) == "灯具-灯泡"
QString ProductFullName(const QStringList& levelNames);

// The level codes 1 to 4 of a product code or node code: "0103000001" -> 01, 03, 00, 00.
QStringList LevelCodes(const QString& bh);

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
    // Whether a node of list k would hang under a skipped level: a "00" code on the path above
    // it, followed by a chosen node (levels 3 and 4 always; level 5 when a real code follows).
    bool HangsUnderSkippedLevel(int k) const;

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
