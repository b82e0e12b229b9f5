// Cell coordinates and rectangular cell ranges of the grid control.
#pragma once

#include <algorithm>

// One cell: row and column count from 0 and include the fixed rows and columns.
class CCellID {
  public:
    int row = -1;
    int col = -1;

    constexpr CCellID() = default;
    constexpr CCellID(int nRow, int nCol) : row(nRow), col(nCol) {}

    constexpr bool IsValid() const { return row >= 0 && col >= 0; }
    constexpr bool operator==(const CCellID&) const = default;
};

// A rectangle of cells, both corners included; (-1, -1, -1, -1) is "no range".
class CCellRange {
  public:
    constexpr CCellRange() = default;
    constexpr CCellRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol)
        : m_nMinRow(nMinRow), m_nMinCol(nMinCol), m_nMaxRow(nMaxRow), m_nMaxCol(nMaxCol) {}

    constexpr bool IsValid() const {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 &&
               m_nMinRow <= m_nMaxRow && m_nMinCol <= m_nMaxCol;
    }
    constexpr bool InRange(int row, int col) const {
        return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
    }
    constexpr bool InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }
    constexpr int Count() const {
        return IsValid() ? (m_nMaxRow - m_nMinRow + 1) * (m_nMaxCol - m_nMinCol + 1) : 0;
    }
    constexpr CCellID GetTopLeft() const { return CCellID(m_nMinRow, m_nMinCol); }
    constexpr CCellRange Intersect(const CCellRange& rhs) const {
        return CCellRange(std::max(m_nMinRow, rhs.m_nMinRow), std::max(m_nMinCol, rhs.m_nMinCol),
                          std::min(m_nMaxRow, rhs.m_nMaxRow), std::min(m_nMaxCol, rhs.m_nMaxCol));
    }

    constexpr int GetMinRow() const { return m_nMinRow; }
    constexpr int GetMinCol() const { return m_nMinCol; }
    constexpr int GetMaxRow() const { return m_nMaxRow; }
    constexpr int GetMaxCol() const { return m_nMaxCol; }
    constexpr int GetRowSpan() const { return m_nMaxRow - m_nMinRow + 1; }
    constexpr int GetColSpan() const { return m_nMaxCol - m_nMinCol + 1; }

    constexpr bool operator==(const CCellRange&) const = default;

  private:
    int m_nMinRow = -1;
    int m_nMinCol = -1;
    int m_nMaxRow = -1;
    int m_nMaxCol = -1;
};
