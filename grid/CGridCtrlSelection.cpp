// CGridCtrl: focus cell, selection, cell geometry and scrolling to a cell.
#include "CGridCtrl.h"

#include "CGridCellBase.h"

#include <QScrollBar>
#include <algorithm>
#include <climits>

// ---- Focus and selection -------------------------------------------------------------------

CCellID CGridCtrl::SetFocusCell(int nRow, int nCol) {
    return SetFocusCell(CCellID(nRow, nCol));
}

CCellID CGridCtrl::SetFocusCell(CCellID cell) {
    const CCellID prev = m_idCurrentCell;
    if (!IsValid(cell))
        cell = CCellID();
    if (cell == prev)
        return prev;
    // A source's row is not read for its focus mark: its cells take it from the focus cell.
    if (CGridCellBase* pOld = StoredCell(prev.row, prev.col))
        pOld->SetState(pOld->GetState() & ~GVIS_FOCUSED);
    m_idCurrentCell = cell;
    if (CGridCellBase* pNew = StoredCell(cell.row, cell.col))
        pNew->SetState(pNew->GetState() | GVIS_FOCUSED);
    viewport()->update(); // the cells and, when tracked, the fixed cells of row and column
    return prev;
}

void CGridCtrl::RemoveFromSelection(bool bRedraw) {
    m_selection.Clear();
    if (bRedraw)
        viewport()->update();
}

void CGridCtrl::ClearSelection() {
    RemoveFromSelection(true);
    m_prevSelection.Clear();
    m_SelectionStartCell = CCellID();
    SetFocusCell(-1, -1);
}

void CGridCtrl::SetSelectedRange(const CCellRange& range, bool bForceRepaint) {
    SetSelectedRange(range.GetMinRow(), range.GetMinCol(), range.GetMaxRow(), range.GetMaxCol(),
                     bForceRepaint);
}

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol,
                                 bool /*bForceRepaint*/, bool bSelectCells) {
    if (!m_bEnableSelection || !bSelectCells)
        return;
    CGridSelection wanted = m_prevSelection; // cells kept by a Ctrl+click
    wanted.Add(CCellRange(nMinRow, nMinCol, nMaxRow, nMaxCol).Intersect(GetCellRange()));
    m_selection = wanted;
    viewport()->update();
}

CCellRange CGridCtrl::GetSelectedRange() const {
    return m_selection.Bounds();
}

int CGridCtrl::GetSelectedCount() const {
    return static_cast<int>(std::min<long long>(m_selection.Count(), INT_MAX));
}

CCellRange CGridCtrl::GetCellRange() const {
    return CCellRange(0, 0, GetRowCount() - 1, m_nCols - 1);
}

void CGridCtrl::SelectAllCells() {
    if (!m_bEnableSelection || m_bSingleRowSelection || m_bSingleColSelection)
        return;
    m_prevSelection.Clear();
    SetSelectedRange(m_nFixedRows, m_nFixedCols, GetRowCount() - 1, m_nCols - 1);
}

void CGridCtrl::SelectRows(CCellID currentCell, bool bForceRedraw, bool bSelectCells) {
    if (!IsValid(currentCell) || currentCell.row < m_nFixedRows)
        return;
    if (m_bSingleRowSelection || !IsValid(m_SelectionStartCell))
        m_SelectionStartCell = currentCell;
    const int first = std::max(m_SelectionStartCell.row, m_nFixedRows);
    SetSelectedRange(std::min(first, currentCell.row), m_nFixedCols,
                     std::max(first, currentCell.row), m_nCols - 1, bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectColumns(CCellID currentCell, bool bForceRedraw, bool bSelectCells) {
    if (!IsValid(currentCell) || currentCell.col < m_nFixedCols)
        return;
    if (m_bSingleColSelection || !IsValid(m_SelectionStartCell))
        m_SelectionStartCell = currentCell;
    const int first = std::max(m_SelectionStartCell.col, m_nFixedCols);
    SetSelectedRange(m_nFixedRows, std::min(first, currentCell.col), GetRowCount() - 1,
                     std::max(first, currentCell.col), bForceRedraw, bSelectCells);
}

// Selects from the anchor to cell: whole rows in list mode, else the block of cells.
void CGridCtrl::SelectRangeFromAnchor(CCellID cell) {
    if (!IsValid(cell))
        return;
    if (m_bListMode) {
        SelectRows(cell);
        return;
    }
    if (!IsValid(m_SelectionStartCell))
        m_SelectionStartCell = cell;
    const CCellID anchor = m_SelectionStartCell;
    int minRow = std::min(anchor.row, cell.row), maxRow = std::max(anchor.row, cell.row);
    int minCol = std::min(anchor.col, cell.col), maxCol = std::max(anchor.col, cell.col);
    if (m_bSingleRowSelection)
        minRow = maxRow = cell.row;
    if (m_bSingleColSelection)
        minCol = maxCol = cell.col;
    SetSelectedRange(std::max(minRow, m_nFixedRows), std::max(minCol, m_nFixedCols), maxRow,
                     maxCol);
}

// ---- Geometry ------------------------------------------------------------------------------

long long CGridCtrl::ScrollOffsetY() const {
    EnsureScrollBars();
    return verticalScrollBar()->value();
}
long long CGridCtrl::ScrollOffsetX() const {
    EnsureScrollBars();
    return horizontalScrollBar()->value();
}

int CGridCtrl::ViewportYOfRow(int nRow) const {
    const long long top = RowTop(nRow);
    return static_cast<int>(nRow < m_nFixedRows ? top : top - ScrollOffsetY());
}

int CGridCtrl::ViewportXOfCol(int nCol) const {
    const long long left = ColLeft(nCol);
    return static_cast<int>(nCol < m_nFixedCols ? left : left - ScrollOffsetX());
}

int CGridCtrl::RowAtVirtualY(long long y) const {
    return m_rowIndex.IndexAt(y);
}
int CGridCtrl::ColAtVirtualX(long long x) const {
    return ColIndex().IndexAt(x);
}

bool CGridCtrl::GetCellRect(int nRow, int nCol, QRect& rect) const {
    if (!IsValid(nRow, nCol))
        return false;
    rect =
        QRect(ViewportXOfCol(nCol), ViewportYOfRow(nRow), GetColumnWidth(nCol), GetRowHeight(nRow));
    return true;
}

QRect CGridCtrl::GetCellRect(int nRow, int nCol) const {
    QRect rect;
    GetCellRect(nRow, nCol, rect);
    return rect;
}

QRect CGridCtrl::GetTextRectInCell(const QRect& cellRect, const CGridCellBase* pCell) const {
    QRect rect = cellRect;
    if (pCell)
        pCell->GetTextRect(rect);
    return rect;
}

CCellID CGridCtrl::GetCellFromPt(const QPoint& point, bool bAllowFixedCellCheck) const {
    const int fixedH = GetFixedRowHeight();
    const int fixedW = GetFixedColumnWidth();
    int row = -1, col = -1;
    if (point.y() >= 0) {
        row = point.y() < fixedH ? m_rowIndex.IndexAt(point.y())
                                 : m_rowIndex.IndexAt(point.y() + ScrollOffsetY(), m_nFixedRows);
    }
    if (point.x() >= 0) {
        col = point.x() < fixedW ? ColIndex().IndexAt(point.x())
                                 : ColIndex().IndexAt(point.x() + ScrollOffsetX(), m_nFixedCols);
    }
    if (row < 0 || col < 0)
        return CCellID();
    if (!bAllowFixedCellCheck && (row < m_nFixedRows || col < m_nFixedCols))
        return CCellID();
    return CCellID(row, col);
}

CCellID CGridCtrl::GetTopleftNonFixedCell() const {
    const int row = m_rowIndex.IndexAt(GetFixedRowHeight() + ScrollOffsetY(), m_nFixedRows);
    const int col = ColIndex().IndexAt(GetFixedColumnWidth() + ScrollOffsetX(), m_nFixedCols);
    return CCellID(row, col);
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange() const {
    const CCellID topLeft = GetTopleftNonFixedCell();
    if (!topLeft.IsValid())
        return CCellRange();
    int bottom = m_rowIndex.IndexAt(ScrollOffsetY() + viewport()->height() - 1, m_nFixedRows);
    if (bottom < 0)
        bottom = GetRowCount() - 1;
    int right = ColIndex().IndexAt(ScrollOffsetX() + viewport()->width() - 1, m_nFixedCols);
    if (right < 0)
        right = m_nCols - 1;
    return CCellRange(topLeft.row, topLeft.col, bottom, right);
}

bool CGridCtrl::IsCellVisible(int nRow, int nCol) const {
    QRect rect;
    if (!GetCellRect(nRow, nCol, rect))
        return false;
    const int minY = nRow < m_nFixedRows ? 0 : GetFixedRowHeight();
    const int minX = nCol < m_nFixedCols ? 0 : GetFixedColumnWidth();
    return rect.top() >= minY && rect.left() >= minX &&
           rect.top() + rect.height() <= viewport()->height() &&
           rect.left() + rect.width() <= viewport()->width();
}

// ---- Scrolling to a cell -------------------------------------------------------------------

void CGridCtrl::ScrollToRow(int nRow) {
    if (nRow < m_nFixedRows || nRow >= GetRowCount())
        return;
    const long long top = RowTop(nRow) - GetFixedRowHeight(); // scroll offset showing it first
    const long long bottom = RowTop(nRow + 1) - viewport()->height(); // offset showing it last
    long long value = ScrollOffsetY();
    if (value > top)
        value = top;
    else if (value < bottom)
        value = std::min(bottom, top);
    verticalScrollBar()->setValue(static_cast<int>(value));
}

void CGridCtrl::ScrollToCol(int nCol) {
    if (nCol < m_nFixedCols || nCol >= m_nCols)
        return;
    const long long left = ColLeft(nCol) - GetFixedColumnWidth();
    const long long right = ColLeft(nCol + 1) - viewport()->width();
    long long value = ScrollOffsetX();
    if (value > left)
        value = left;
    else if (value < right)
        value = std::min(right, left);
    horizontalScrollBar()->setValue(static_cast<int>(value));
}

void CGridCtrl::EnsureVisible(int nRow, int nCol) {
    if (!IsValid(nRow, nCol))
        return;
    EnsureScrollBars();
    ScrollToRow(nRow);
    ScrollToCol(nCol);
}

void CGridCtrl::Refresh() {
    viewport()->update();
}

bool CGridCtrl::RedrawCell(int nRow, int nCol) {
    if (m_bScrollBarsDirty) // the whole window is to be drawn anyway
        return IsValid(nRow, nCol);
    QRect rect;
    if (!GetCellRect(nRow, nCol, rect))
        return false;
    if (rect.intersects(viewport()->rect()))
        viewport()->update(rect);
    return true;
}

bool CGridCtrl::RedrawRow(int nRow) {
    if (nRow < 0 || nRow >= GetRowCount())
        return false;
    if (m_bScrollBarsDirty)
        return true;
    viewport()->update(QRect(0, ViewportYOfRow(nRow), viewport()->width(), GetRowHeight(nRow)));
    return true;
}

bool CGridCtrl::RedrawColumn(int nCol) {
    if (nCol < 0 || nCol >= m_nCols)
        return false;
    if (m_bScrollBarsDirty)
        return true;
    viewport()->update(QRect(ViewportXOfCol(nCol), 0, GetColumnWidth(nCol), viewport()->height()));
    return true;
}
