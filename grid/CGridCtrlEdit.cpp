// CGridCtrl: in-place editing and the clipboard.
#include "CGridCtrl.h"

#include "CGridCellBase.h"
#include "CInPlaceEdit.h"
#include "CInPlaceList.h"
#include "GridClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
constexpr int InPlaceEditId = 8;

} // namespace

void CGridCtrl::OnEditCell(int nRow, int nCol, QPoint point, int nChar) {
    HideTitleTip();
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (!pCell || !m_bEditable || pCell->IsReadOnly() || IsCellFixed(nRow, nCol))
        return;
    if (m_pEditWnd && !(m_idEditCell == CCellID(nRow, nCol)))
        EndEditing();
    EnsureVisible(nRow, nCol);
    if (!IsCellVisible(nRow, nCol))
        return;
    if (SendMessageToParent(nRow, nCol, GVN_BEGINLABELEDIT) < 0)
        return;
    pCell = GetCell(nRow, nCol); // the handler may have changed the rows
    if (!pCell || pCell->IsReadOnly())
        return;
    if (IsVirtualRow(nRow))
        pCell = BeginVirtualEdit(nRow, nCol);
    QRect rect = GetCellRect(nRow, nCol);
    if (m_nGridLines != GVL_NONE)
        rect.adjust(0, 0, -1, -1); // keep the grid lines visible around the editor
    m_idEditCell = CCellID(nRow, nCol);
    pCell->Edit(nRow, nCol, rect, point, InPlaceEditId, nChar);
    m_pEditWnd = pCell->GetEditWnd();
    if (!m_pEditWnd) {
        m_idEditCell = CCellID();
        EndVirtualEdit();
    }
    RedrawCell(nRow, nCol);
}

QWidget* CGridCtrl::GetEditWnd() const {
    return m_pEditWnd.data();
}

void CGridCtrl::EndEditing() {
    QWidget* pWnd = m_pEditWnd.data();
    if (auto* pEdit = qobject_cast<CInPlaceEdit*>(pWnd))
        pEdit->EndEdit();
    else if (auto* pList = qobject_cast<CInPlaceList*>(pWnd))
        pList->EndEdit();
}

void CGridCtrl::OnEndInPlaceEdit(const GV_DISPINFO& info) {
    m_pEditWnd = nullptr;
    m_idEditCell = CCellID();
    CGridCellBase* pCell = GetCell(info.row, info.col);
    if (!pCell)
        return;
    const QString oldText = pCell->GetText();
    const quint32 oldState = pCell->GetState();
    const bool bChanged = info.strText != oldText;
    bool bValid = true;
    if (bChanged) {
        SetCellText(info.row, info.col, info.strText);
        bValid = pCell->ValidateEdit(info.strText);
    }
    const int reads = m_nVirtualReads;
    const int answer = SendMessageToParent(info.row, info.col, GVN_ENDLABELEDIT);
    // The handler may have rebuilt the rows: only touch the cell if it is still there.
    if (!IsSameEditedCell(info.row, info.col, pCell, reads))
        return;
    if (bChanged && (answer < 0 || !bValid))
        RestoreEditedText(pCell, info.row, info.col, oldText, oldState);
    pCell->OnEndEdit();
    if (IsVirtualRow(info.row))
        EndVirtualEdit();
    RedrawCell(info.row, info.col);
    ContinueEditingWithKey(info.lastKey);
}

// Tab and the move keys that ended an edit act on the grid and open the editor of the cell
// they lead to; at the grid's edge that is the same cell again. Only Tab past the last cell of
// a grid that tabs to the next control leaves the grid.
void CGridCtrl::ContinueEditingWithKey(int lastKey) {
    if (!IsGridMoveKey(lastKey) || !IsValid(m_idCurrentCell))
        return;
    const CCellID before = m_idCurrentCell;
    const CCellID next = NextCellForKey(before, lastKey, false);
    const bool bTab = lastKey == GVK_TAB || lastKey == GVK_BACKTAB;
    if (bTab && next == before && m_bTabToNextControl) {
        QAbstractScrollArea::focusNextPrevChild(lastKey == GVK_TAB);
        return;
    }
    MoveFocusByKey(next, lastKey, false);
    if (IsValid(m_idCurrentCell))
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(), lastKey);
}

// ---- Clipboard ----------------------------------------------------------------------------

QString CGridCtrl::CopyTextFromGrid() const {
    const CCellRange range = GetSelectedRange();
    if (!IsValid(range))
        return QString();
    QList<QStringList> rows;
    for (int r = range.GetMinRow(); r <= range.GetMaxRow(); ++r) {
        QStringList cells;
        for (int c = range.GetMinCol(); c <= range.GetMaxCol(); ++c)
            cells.append(IsCellSelected(r, c) ? GetCellText(r, c) : QString());
        rows.append(cells);
    }
    return GridClipboardText::Build(rows);
}

bool CGridCtrl::PasteTextToGrid(CCellID cell, const QString& text) {
    if (!IsValid(cell) || !m_bEditable)
        return false;
    const QList<QStringList> rows = GridClipboardText::Parse(text);
    for (int i = 0; i < rows.size() && cell.row + i < GetRowCount(); ++i) {
        const QStringList& cells = rows[i];
        for (int j = 0; j < cells.size() && cell.col + j < m_nCols; ++j) {
            const int r = cell.row + i, c = cell.col + j;
            if (IsCellEditable(r, c) && GetCellText(r, c) != cells[j])
                SetCellTextByUser(r, c, cells[j]);
        }
    }
    return true;
}

bool CGridCtrl::SetCellTextByUser(int nRow, int nCol, const QString& text) {
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (!pCell)
        return false;
    const QString oldText = pCell->GetText();
    const quint32 oldState = pCell->GetState();
    SetCellText(nRow, nCol, text);
    const bool bValid = pCell->ValidateEdit(text);
    const int reads = m_nVirtualReads;
    const int answer = SendMessageToParent(nRow, nCol, GVN_ENDLABELEDIT);
    // The handler may have rebuilt the rows: only touch the cell if it is still there.
    if (!IsSameEditedCell(nRow, nCol, pCell, reads))
        return false;
    if (answer < 0 || !bValid) {
        RestoreEditedText(pCell, nRow, nCol, oldText, oldState);
        RedrawCell(nRow, nCol);
        return false;
    }
    return true;
}

bool CGridCtrl::IsSameEditedCell(int nRow, int nCol, const CGridCellBase* pCell,
                                 int nReadsBefore) const {
    // A source's rows share one cell object: the rows given anew are what tells.
    if (IsVirtualRow(nRow) && nReadsBefore != m_nVirtualReads)
        return false;
    return GetCell(nRow, nCol) == pCell;
}

void CGridCtrl::RestoreEditedText(CGridCellBase* pCell, int nRow, int nCol, const QString& oldText,
                                  quint32 oldState) {
    if (IsVirtualRow(nRow)) {
        SetVirtualText(nRow, nCol, oldText);
        pCell->SetText(oldText);
        return;
    }
    pCell->SetText(oldText);
    pCell->SetState((pCell->GetState() & ~GVIS_MODIFIED) | (oldState & GVIS_MODIFIED));
}

void CGridCtrl::OnEditCopy() {
    const QString text = CopyTextFromGrid();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void CGridCtrl::OnEditCut() {
    if (!m_bEditable)
        return;
    OnEditCopy();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste() {
    if (!m_bEditable)
        return;
    const QMimeData* pData = QGuiApplication::clipboard()->mimeData();
    if (!pData || !pData->hasText())
        return;
    CCellID cell = m_idCurrentCell;
    if (!IsValid(cell))
        cell = GetSelectedRange().GetTopLeft();
    PasteTextToGrid(cell, pData->text());
}

void CGridCtrl::OnEditSelectAll() {
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GVN_SELCHANGING);
    SelectAllCells();
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GVN_SELCHANGED);
}

void CGridCtrl::CutSelectedText() {
    if (!m_bEditable)
        return;
    const QList<CCellRange> ranges = m_selection.Ranges();
    for (const CCellRange& range : ranges)
        for (int r = range.GetMinRow(); r <= range.GetMaxRow(); ++r)
            for (int c = range.GetMinCol(); c <= range.GetMaxCol(); ++c)
                if (IsCellEditable(r, c) && !GetCellText(r, c).isEmpty())
                    SetCellTextByUser(r, c, QString());
}
