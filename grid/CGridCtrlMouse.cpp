// CGridCtrl: the mouse: selection, header clicks, resizing, auto-scroll and title tips.
#include "CGridCtrl.h"

#include "CGridCellBase.h"
#include "CGridDefaultCell.h"
#include "CTitleTip.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <algorithm>

namespace {
constexpr int ResizeTolerance = 3; // pixels on either side of a border

// The entry (column or row) whose far border is within the tolerance of pos, in viewport
// coordinates: the nearest one, on a tie the later one, so that a column squeezed to 1 pixel
// can be caught and widened again. -1 when no border is near.
int BorderNear(const CGridPositionIndex& index, int nFixed, long long scroll, int pos) {
    const long long fixedEnd = index.Start(nFixed);
    int best = -1;
    long long bestDist = ResizeTolerance + 1;
    auto consider = [&](int i, long long edge) {
        const long long dist = edge > pos ? edge - pos : pos - edge;
        if (dist <= ResizeTolerance && dist <= bestDist) {
            best = i;
            bestDist = dist;
        }
    };
    for (int i = 0; i < nFixed && i < index.Count(); ++i)
        consider(i, index.Start(i + 1));
    if (nFixed >= index.Count())
        return best;
    const long long from = std::max<long long>(pos - ResizeTolerance, fixedEnd) + scroll - 1;
    const int first = from < fixedEnd ? nFixed : index.IndexAt(from, nFixed);
    if (first < 0)
        return best;
    for (int i = first; i < index.Count(); ++i) {
        if (index.Start(i) - scroll > pos + ResizeTolerance)
            break;
        const long long edge = index.Start(i + 1) - scroll;
        if (edge >= fixedEnd)
            consider(i, edge);
    }
    return best;
}

} // namespace

void CGridCtrl::SetCursorShape(Qt::CursorShape shape) {
    if (viewport()->cursor().shape() != shape)
        viewport()->setCursor(shape);
}

int CGridCtrl::ColumnBorderAt(int x) const {
    return BorderNear(ColIndex(), m_nFixedCols, ScrollOffsetX(), x);
}

int CGridCtrl::RowBorderAt(int y) const {
    return BorderNear(m_rowIndex, m_nFixedRows, ScrollOffsetY(), y);
}

bool CGridCtrl::MouseOverColumnResizeArea(const QPoint& pt) const {
    return m_bAllowColumnResize && pt.y() >= 0 && pt.y() < GetFixedRowHeight() &&
           ColumnBorderAt(pt.x()) >= 0;
}

bool CGridCtrl::MouseOverRowResizeArea(const QPoint& pt) const {
    return m_bAllowRowResize && pt.x() >= 0 && pt.x() < GetFixedColumnWidth() &&
           RowBorderAt(pt.y()) >= 0;
}

bool CGridCtrl::IsOverFocusCellText(CCellID cell, const QPoint& pt) const {
    QRect rect;
    if (!GetCellRect(cell.row, cell.col, rect))
        return false;
    return GetTextRectInCell(rect, GetCell(cell.row, cell.col)).contains(pt);
}

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    const bool bShift = event->modifiers() & Qt::ShiftModifier;
    const bool bCtrl = event->modifiers() & Qt::ControlModifier;
    HideTitleTip();
    m_hoverTimer.stop();
    setFocus(Qt::MouseFocusReason); // ends an open editor
    m_bIgnoreRelease = false;
    m_LeftClickDownPoint = m_LastMousePoint = pt;
    const CCellID cell = GetCellFromPt(pt);
    m_LeftClickDownCell = cell;

    if (MouseOverColumnResizeArea(pt)) {
        m_MouseMode = MOUSE_SIZING_COL;
        m_nResizeIndex = ColumnBorderAt(pt.x());
        m_nResizeStart = ViewportXOfCol(m_nResizeIndex);
        m_nResizeLine = pt.x();
        SetCursorShape(Qt::SizeHorCursor);
        viewport()->update();
        return;
    }
    if (MouseOverRowResizeArea(pt)) {
        m_MouseMode = MOUSE_SIZING_ROW;
        m_nResizeIndex = RowBorderAt(pt.y());
        m_nResizeStart = ViewportYOfRow(m_nResizeIndex);
        m_nResizeLine = pt.y();
        SetCursorShape(Qt::SizeVerCursor);
        viewport()->update();
        return;
    }
    m_MouseMode = MOUSE_NOTHING;
    if (!IsValid(cell))
        return;
    GetCell(cell.row, cell.col)->OnClickDown(pt);
    if (cell.row < m_nFixedRows || cell.col < m_nFixedCols) {
        if (cell.row < m_nFixedRows && cell.col >= m_nFixedCols)
            OnFixedRowClick(cell);
        else if (cell.col < m_nFixedCols && cell.row >= m_nFixedRows)
            OnFixedColumnClick(cell);
        return;
    }
    // A second click on the focus cell edits it on release.
    if (cell == m_idCurrentCell && !bCtrl && IsCellEditable(cell.row, cell.col) &&
        IsOverFocusCellText(cell, pt)) {
        m_MouseMode = MOUSE_PREPARE_EDIT;
        return;
    }
    if (!bShift || !IsValid(m_SelectionStartCell))
        m_SelectionStartCell = cell;
    m_prevSelection = bCtrl ? m_selection : CGridSelection();
    SendMessageToParent(cell.row, cell.col, GVN_SELCHANGING);
    if (!bCtrl)
        RemoveFromSelection(false);
    SetFocusCell(cell);
    SelectRangeFromAnchor(cell);
    m_autoScrollTimer.start();
    m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
}

void CGridCtrl::OnFixedRowClick(CCellID cell) {
    if (m_bSortOnClick) {
        const bool bAscending = cell.col == m_nSortColumn ? !m_bAscending : true;
        SortTextItems(cell.col, bAscending);
    }
    if (m_bFixedRowSelection && m_bEnableSelection && GetRowCount() > m_nFixedRows) {
        SendMessageToParent(cell.row, cell.col, GVN_SELCHANGING);
        m_prevSelection.Clear();
        m_SelectionStartCell = CCellID(m_nFixedRows, cell.col);
        SetFocusCell(m_nFixedRows, cell.col);
        SelectColumns(CCellID(m_nFixedRows, cell.col));
    }
}

void CGridCtrl::OnFixedColumnClick(CCellID cell) {
    if (m_bFixedColumnSelection && m_bEnableSelection && m_nCols > m_nFixedCols) {
        SendMessageToParent(cell.row, cell.col, GVN_SELCHANGING);
        m_prevSelection.Clear();
        m_SelectionStartCell = CCellID(cell.row, m_nFixedCols);
        SetFocusCell(cell.row, m_nFixedCols);
        SelectRows(CCellID(cell.row, m_nFixedCols));
    }
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    m_LastMousePoint = pt;
    if (!(event->buttons() & Qt::LeftButton)) {
        // Hovering: the resize cursors and the title tip.
        if (MouseOverColumnResizeArea(pt)) {
            m_MouseMode = MOUSE_OVER_COL_DIVIDE;
            SetCursorShape(Qt::SizeHorCursor);
        } else if (MouseOverRowResizeArea(pt)) {
            m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
            SetCursorShape(Qt::SizeVerCursor);
        } else {
            if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_OVER_ROW_DIVIDE)
                m_MouseMode = MOUSE_NOTHING;
            const CCellID cell = GetCellFromPt(pt);
            CGridCellBase* pCell = GetCell(cell.row, cell.col);
            SetCursorShape(pCell ? pCell->OnSetCursor() : Qt::ArrowCursor);
        }
        const CCellID cell = GetCellFromPt(pt);
        if (!(cell == m_hoverCell)) {
            m_hoverCell = cell;
            HideTitleTip();
            if (m_bTitleTips && IsValid(cell))
                m_hoverTimer.start();
            else
                m_hoverTimer.stop();
        }
        return;
    }
    switch (m_MouseMode) {
    case MOUSE_SIZING_COL:
        // The lower bound wins in a viewport too narrow for both.
        m_nResizeLine =
            std::max(m_nResizeStart + MinVisibleSize(),
                     std::min(pt.x(), std::max(viewport()->width() - 2, m_nResizeStart)));
        viewport()->update();
        break;
    case MOUSE_SIZING_ROW:
        m_nResizeLine =
            std::max(m_nResizeStart + MinVisibleSize(),
                     std::min(pt.y(), std::max(viewport()->height() - 2, m_nResizeStart)));
        viewport()->update();
        break;
    case MOUSE_PREPARE_EDIT: {
        // Dragging off the focus cell turns the edit click into a selection.
        const CCellID cell = GetCellFromPt(pt);
        if (IsValid(cell) && !(cell == m_idCurrentCell)) {
            m_SelectionStartCell = m_idCurrentCell;
            m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            m_autoScrollTimer.start();
            mouseMoveEvent(event);
        }
        break;
    }
    case MOUSE_SELECT_ROW:
    case MOUSE_SELECT_CELLS: {
        const QRect area =
            viewport()->rect().adjusted(GetFixedColumnWidth(), GetFixedRowHeight(), 0, 0);
        if (!area.contains(pt))
            break; // the auto-scroll timer extends the selection
        CCellID cell = GetCellFromPt(pt);
        if (IsValid(cell) && !(cell == m_idCurrentCell)) {
            SetFocusCell(cell);
            SelectRangeFromAnchor(cell);
        }
        break;
    }
    default:
        break;
    }
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        const CCellID cell = GetCellFromPt(pt);
        if (!IsValid(cell)) {
            SendMessageToParent(-1, -1, GVN_RCLICK);
            return;
        }
        setFocus(Qt::MouseFocusReason);
        if (GetRowCount() > m_nFixedRows && m_nCols > m_nFixedCols)
            SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
        if (CGridCellBase* pCell = GetCell(cell.row, cell.col))
            pCell->OnRClick(pt);
        SendMessageToParent(cell.row, cell.col, GVN_RCLICK);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_autoScrollTimer.stop();
    const int mode = m_MouseMode;
    m_MouseMode = MOUSE_NOTHING;
    SetCursorShape(Qt::ArrowCursor);
    if (m_bIgnoreRelease) { // the release that follows a double click
        m_bIgnoreRelease = false;
        return;
    }
    if (mode == MOUSE_SIZING_COL || mode == MOUSE_SIZING_ROW) {
        const int size = std::max((mode == MOUSE_SIZING_COL ? pt.x() : pt.y()) - m_nResizeStart,
                                  MinVisibleSize());
        m_nResizeLine = -1;
        if (mode == MOUSE_SIZING_COL)
            SetColumnWidth(m_nResizeIndex, size);
        else
            SetRowHeight(m_nResizeIndex, size);
        m_nResizeIndex = -1;
        return;
    }
    if (mode == MOUSE_PREPARE_EDIT) {
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, pt, GVK_LBUTTON);
        return;
    }
    const CCellID cell = m_LeftClickDownCell;
    if (!IsValid(cell))
        return;
    SendMessageToParent(cell.row, cell.col, GVN_SELCHANGED);
    if (CGridCellBase* pCell = GetCell(cell.row, cell.col))
        pCell->OnClick(pt);
    SendMessageToParent(cell.row, cell.col, GVN_CLICK);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    m_bIgnoreRelease = true;
    m_autoScrollTimer.stop();
    if (MouseOverColumnResizeArea(pt)) {
        AutoSizeColumn(ColumnBorderAt(pt.x()));
        return;
    }
    if (MouseOverRowResizeArea(pt)) {
        AutoSizeRow(RowBorderAt(pt.y()));
        return;
    }
    const CCellID cell = GetCellFromPt(pt);
    if (!IsValid(cell))
        return;
    const bool bFixed = cell.row < m_nFixedRows || cell.col < m_nFixedCols;
    if (!bFixed && IsOverFocusCellText(cell, pt)) {
        if (!(cell == m_idCurrentCell))
            SetFocusCell(cell);
        OnEditCell(cell.row, cell.col, pt, GVK_LBUTTON);
    }
    if (CGridCellBase* pCell = GetCell(cell.row, cell.col))
        pCell->OnDblClick(pt);
    SendMessageToParent(cell.row, cell.col, GVN_DBLCLK);
}

void CGridCtrl::leaveEvent(QEvent* event) {
    m_hoverTimer.stop();
    QAbstractScrollArea::leaveEvent(event);
}

// While the mouse is outside the cell area with the button down, each tick acts as one
// arrow key toward it and extends the selection.
void CGridCtrl::OnAutoScrollTick() {
    if ((m_MouseMode != MOUSE_SELECT_ROW && m_MouseMode != MOUSE_SELECT_CELLS) ||
        !IsValid(m_idCurrentCell)) {
        m_autoScrollTimer.stop();
        return;
    }
    const QPoint pt = m_LastMousePoint;
    CCellID next = m_idCurrentCell;
    if (pt.y() < GetFixedRowHeight())
        next = NextCellForKey(next, GVK_UP, false);
    else if (pt.y() >= viewport()->height())
        next = NextCellForKey(next, GVK_DOWN, false);
    if (pt.x() < GetFixedColumnWidth())
        next = NextCellForKey(next, GVK_LEFT, false);
    else if (pt.x() >= viewport()->width())
        next = NextCellForKey(next, GVK_RIGHT, false);
    if (next == m_idCurrentCell)
        return;
    SetFocusCell(next);
    SelectRangeFromAnchor(next);
    EnsureVisible(next);
}

// ---- Title tips ----------------------------------------------------------------------------

CTitleTip* CGridCtrl::GetTitleTip() const {
    return m_pTitleTip.data();
}

void CGridCtrl::HideTitleTip() {
    if (m_pTitleTip)
        m_pTitleTip->Hide();
}

void CGridCtrl::OnHoverTimer() {
    if (QApplication::mouseButtons() != Qt::NoButton || m_MouseMode >= MOUSE_SELECT_ALL)
        return;
    // Only while the mouse still rests on that cell.
    if (!(GetCellFromPt(viewport()->mapFromGlobal(QCursor::pos())) == m_hoverCell))
        return;
    ShowTitleTipFor(m_hoverCell);
}

void CGridCtrl::ShowTitleTipFor(CCellID cell) {
    CGridCellBase* pCell = GetCell(cell.row, cell.col);
    if (!m_bTitleTips || !pCell || pCell->IsEditing() || pCell->GetText().isEmpty())
        return;
    QRect cellRect;
    GetCellRect(cell.row, cell.col, cellRect);
    QRect textRect = cellRect;
    pCell->GetTipTextRect(textRect);
    const QString text = pCell->GetTipText();
    const QFontMetrics fm(pCell->GetFontObject());
    const bool bSingle = pCell->GetFormat() & DT_SINGLELINE;
    const QString shown =
        bSingle ? QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')) : text;
    const QRect needed = fm.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft, shown);
    if (needed.width() <= textRect.width() && (bSingle || needed.height() <= textRect.height()))
        return; // it fits
    if (!m_pTitleTip)
        m_pTitleTip = new CTitleTip(this);
    const QRect global(viewport()->mapToGlobal(textRect.topLeft()), textRect.size());
    QColor textClr = pCell->GetTextClr();
    if (!textClr.isValid() && pCell->GetDefaultCell())
        textClr = pCell->GetDefaultCell()->GetTextClr();
    m_pTitleTip->Show(global, shown, pCell->GetFontObject(), textClr);
}
