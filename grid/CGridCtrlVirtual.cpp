// CGridCtrl: virtual mode, where the rows below the fixed ones come from a row source.
#include "CGridCtrl.h"

#include "CGridCell.h"
#include "CGridCellCombo.h"
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
    ForgetVirtualTexts();
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
    ForgetVirtualTexts();
    m_rowCache.SetSource(nullptr);
    SetVirtualRowCount(0, 0);
}

void CGridCtrl::ReloadRowSource() {
    if (!GetVirtualMode())
        return;
    ClearSelection();
    ForgetVirtualTexts();
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

void CGridCtrl::SetColumnEditable(int nCol, const QStringList& options) {
    if (nCol < m_nFixedCols || nCol >= m_nCols)
        return;
    m_virtualEditColumns.insert(nCol, options);
    viewport()->update();
}

bool CGridCtrl::SetVirtualText(int nRow, int nCol, const QString& str) {
    if (!IsVirtualRow(nRow) || !IsVirtualEditColumn(nCol))
        return false;
    m_virtualTexts.insert({nRow, nCol}, str);
    if (m_pVirtualEditCell && m_idVirtualEdit == CCellID(nRow, nCol))
        m_pVirtualEditCell->SetText(str);
    m_bModified = true;
    RedrawCell(nRow, nCol);
    return true;
}

void CGridCtrl::ForgetVirtualTexts() {
    m_virtualTexts.clear();
    EndVirtualEdit();
    ++m_nVirtualReads;
}

CGridCellBase* CGridCtrl::BeginVirtualEdit(int nRow, int nCol) {
    const CGridCellBase* shared = VirtualCell(nRow, nCol);
    // The cell before stays until the next edit: a caller up the stack may still hold it.
    m_pRetiredEditCell = std::move(m_pVirtualEditCell);
    if (dynamic_cast<const CGridCellCombo*>(shared))
        m_pVirtualEditCell = std::make_unique<CGridCellCombo>();
    else
        m_pVirtualEditCell = std::make_unique<CGridCell>();
    m_pVirtualEditCell->CopyFrom(*shared);
    m_pVirtualEditCell->SetGrid(this);
    m_pVirtualEditCell->SetState(shared->GetState());
    m_pVirtualEditCell->SetCoords(nRow, nCol);
    m_idVirtualEdit = CCellID(nRow, nCol);
    return m_pVirtualEditCell.get();
}

// The one cell that stands for the cell of a source's row: its text from what the user set or
// else the row cache, its format from the column, its state from the grid. A column with a drop
// list has a combo cell of its own.
CGridCellBase* CGridCtrl::VirtualCell(int nRow, int nCol) const {
    auto* self = const_cast<CGridCtrl*>(this);
    const auto editor = m_virtualEditColumns.constFind(nCol);
    const bool editable = editor != m_virtualEditColumns.constEnd();
    CGridCell* pCell = nullptr;
    if (editable && !editor->isEmpty()) {
        if (!m_pVirtualComboCell)
            self->m_pVirtualComboCell = std::make_unique<CGridCellCombo>();
        m_pVirtualComboCell->Reset();
        m_pVirtualComboCell->SetOptions(*editor);
        m_pVirtualComboCell->SetStyle(CBS_DROPDOWNLIST);
        pCell = m_pVirtualComboCell.get();
    } else {
        if (!m_pVirtualCell)
            self->m_pVirtualCell = std::make_unique<CGridCell>();
        m_pVirtualCell->Reset();
        pCell = m_pVirtualCell.get();
    }
    pCell->SetGrid(self);
    const auto set = editable ? m_virtualTexts.constFind({nRow, nCol}) : m_virtualTexts.constEnd();
    if (set != m_virtualTexts.constEnd()) {
        pCell->SetText(*set);
    } else {
        const QStringList* texts = m_rowCache.Row(nRow - static_cast<int>(m_rows.size()));
        if (texts && nCol < texts->size())
            pCell->SetText(texts->at(nCol));
    }
    if (nCol < static_cast<int>(m_arVirtualFormats.size()))
        pCell->SetFormat(m_arVirtualFormats[nCol]);
    quint32 state = editable ? 0u : quint32(GVIS_READONLY);
    if (nCol < m_nFixedCols)
        state |= GVIS_FIXED | GVIS_FIXEDCOL;
    if (m_idCurrentCell == CCellID(nRow, nCol))
        state |= GVIS_FOCUSED;
    pCell->SetState(state);
    pCell->SetCoords(nRow, nCol);
    return pCell;
}
