// CGridCtrl: virtual mode, where the rows below the fixed ones come from a row source.
#include "CGridCtrl.h"

#include "CGridCell.h"
#include "CGridDefaultCell.h"

#include <QScrollBar>

void CGridCtrl::SetRowSource(std::shared_ptr<CGridRowSource> source, int nRowHeight) {
    if (!source) {
        ClearRowSource();
        return;
    }
    if (m_pEditWnd)
        EndEditing();
    // The stored rows below the fixed ones give way to the source's.
    if (!GetVirtualMode() && GetRowCount() > m_nFixedRows)
        SetRowCount(m_nFixedRows);
    ClearSelection();
    m_nSortColumn = -1;
    m_rowCache.SetSource(std::move(source));
    SetVirtualRowCount(m_rowCache.Source()->RowCount(),
                       nRowHeight >= 0 ? nRowHeight : GetDefCellHeight());
    verticalScrollBar()->setValue(0);
}

void CGridCtrl::ClearRowSource() {
    if (!GetVirtualMode())
        return;
    ClearSelection();
    m_rowCache.SetSource(nullptr);
    SetVirtualRowCount(0, 0);
}

void CGridCtrl::ReloadRowSource() {
    if (!GetVirtualMode())
        return;
    ClearSelection();
    m_rowCache.Reset();
    SetVirtualRowCount(m_rowCache.Source()->RowCount(), m_rowIndex.TailSize());
}

void CGridCtrl::SetVirtualRowCount(int nRows, int nHeight) {
    m_nVirtualRows = std::max(nRows, 0);
    m_rowIndex.SetUniformTail(m_nVirtualRows, nHeight);
    AfterSizeChange();
}

bool CGridCtrl::IsVirtualRow(int nRow) const {
    return nRow >= static_cast<int>(m_rows.size()) && nRow < GetRowCount();
}

void CGridCtrl::SetColumnFormat(int nCol, quint32 nFormat) {
    if (nCol < 0 || nCol >= m_nCols)
        return;
    if (static_cast<int>(m_arVirtualFormats.size()) <= nCol)
        m_arVirtualFormats.resize(nCol + 1, quint32(-1));
    m_arVirtualFormats[nCol] = nFormat;
    viewport()->update();
}

// The one cell that stands for the cell of a source's row: its text from the row cache, its
// format from the column, its state from the grid.
CGridCellBase* CGridCtrl::VirtualCell(int nRow, int nCol) const {
    if (!m_pVirtualCell) {
        auto* self = const_cast<CGridCtrl*>(this);
        self->m_pVirtualCell = std::make_unique<CGridCell>();
    }
    CGridCell* pCell = m_pVirtualCell.get();
    pCell->Reset();
    pCell->SetGrid(const_cast<CGridCtrl*>(this));
    const QStringList* texts = m_rowCache.Row(nRow - static_cast<int>(m_rows.size()));
    if (texts && nCol < texts->size())
        pCell->SetText(texts->at(nCol));
    if (nCol < static_cast<int>(m_arVirtualFormats.size()))
        pCell->SetFormat(m_arVirtualFormats[nCol]);
    quint32 state = GVIS_READONLY;
    if (nCol < m_nFixedCols)
        state |= GVIS_FIXED | GVIS_FIXEDCOL;
    if (m_idCurrentCell == CCellID(nRow, nCol))
        state |= GVIS_FOCUSED;
    pCell->SetState(state);
    pCell->SetCoords(nRow, nCol);
    return pCell;
}
