// The selected cells of a grid as a few rectangles, so that selecting a million rows costs
// no more than selecting one.
#pragma once

#include "CCellRange.h"

#include <QList>

class CGridSelection {
  public:
    bool IsEmpty() const { return m_ranges.isEmpty(); }
    void Clear() { m_ranges.clear(); }
    void Add(const CCellRange& range); // invalid ranges are left out
    bool Contains(int row, int col) const;
    // Cells selected, each counted once however many rectangles hold it.
    long long Count() const;
    CCellRange Bounds() const; // invalid when empty
    const QList<CCellRange>& Ranges() const { return m_ranges; }

    // A row was inserted before row: the rows from it on move down, the new one is not selected.
    void InsertRow(int row);
    void RemoveRow(int row); // rows below it move up
    void ClipTo(int rows, int cols);

  private:
    QList<CCellRange> m_ranges;
};
