#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

#include "documents/DocumentPlan.h"

class CGridCtrl;

// What a document window remembers of one line beyond the texts it shows.
struct LineMemory {
    // The texts of the stored row the line stands for, as last saved or read; none for a line
    // that was never saved.
    std::optional<QStringList> origin;
    // The price before a tax option was applied (sales-out lines).
    QString untaxedPrice;
    // A return line taken from a sale: the sale line. Its price, discount and tax option are
    // the sale's, and only its quantity changes.
    std::optional<SaleLineRef> sale;
};

// The memories of the lines of a document table. Each line carries a key in the data of its
// number cell, so its memory moves with it when lines above it are deleted.
class CLineMemory {
  public:
    explicit CLineMemory(CGridCtrl* grid = nullptr) : m_pGrid(grid) {}
    void SetGrid(CGridCtrl* grid) { m_pGrid = grid; }

    // Gives the line a fresh, empty memory.
    LineMemory& Attach(int row);
    // The memory of a line (a fresh one for a line that has none yet).
    LineMemory& Of(int row);
    const LineMemory* Find(int row) const;
    // The line whose memory holds this origin, or -1.
    int RowWithOrigin(const QStringList& origin) const;
    void Clear();

  private:
    CGridCtrl* m_pGrid = nullptr;
    QHash<qintptr, LineMemory> m_lines;
    qintptr m_nextKey = 1;
};
