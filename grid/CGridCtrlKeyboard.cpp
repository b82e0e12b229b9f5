// CGridCtrl: the keyboard: moving the focus cell, selection by key, clipboard keys.
#include "CGridCtrl.h"

#include "CGridCellBase.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

namespace {

bool IsCopyKey(const QKeyEvent* e) {
    return (e->modifiers() & Qt::ControlModifier) &&
           (e->key() == Qt::Key_C || e->key() == Qt::Key_Insert);
}

bool IsCutKey(const QKeyEvent* e) {
    return (e->modifiers() & Qt::ControlModifier) && e->key() == Qt::Key_X;
}

bool IsPasteKey(const QKeyEvent* e) {
    return ((e->modifiers() & Qt::ControlModifier) && e->key() == Qt::Key_V) ||
           ((e->modifiers() & Qt::ShiftModifier) && e->key() == Qt::Key_Insert);
}

bool IsDeleteKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier;
}

bool IsSelectAllKey(const QKeyEvent* e) {
    return (e->modifiers() & Qt::ControlModifier) && e->key() == Qt::Key_A;
}

bool IsAutoSizeKey(const QKeyEvent* e) {
    return (e->modifiers() & Qt::ControlModifier) && (e->modifiers() & Qt::KeypadModifier) &&
           e->key() == Qt::Key_Plus;
}

bool IsMoveKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

} // namespace

int CGridCtrl::NextVisibleRow(int row, int step) const {
    for (int r = row + step; r >= m_nFixedRows && r < GetRowCount(); r += step)
        if (GetRowHeight(r) > 0)
            return r;
    return -1;
}

int CGridCtrl::NextVisibleCol(int col, int step) const {
    for (int c = col + step; c >= m_nFixedCols && c < m_nCols; c += step)
        if (GetColumnWidth(c) > 0)
            return c;
    return -1;
}

// The cell a move key leads to from cell; cell itself when it leads nowhere.
CCellID CGridCtrl::NextCellForKey(CCellID cell, int key, bool bCtrl) const {
    CCellID next = cell;
    auto orStay = [](int index, int stay) { return index >= 0 ? index : stay; };
    switch (key) {
    case GVK_LEFT:
        next.col = orStay(NextVisibleCol(cell.col, -1), cell.col);
        break;
    case GVK_RIGHT:
        next.col = orStay(NextVisibleCol(cell.col, 1), cell.col);
        break;
    case GVK_UP:
        next.row = orStay(NextVisibleRow(cell.row, -1), cell.row);
        break;
    case GVK_DOWN:
        next.row = orStay(NextVisibleRow(cell.row, 1), cell.row);
        break;
    case GVK_PRIOR:
    case GVK_NEXT: {
        const long long page = std::max(viewport()->height() - GetFixedRowHeight(), 1);
        const long long target = RowTop(cell.row) + (key == GVK_NEXT ? page : -page);
        int row = m_rowIndex.IndexAt(target, m_nFixedRows);
        if (row < 0)
            row = target < RowTop(m_nFixedRows) ? m_nFixedRows : GetRowCount() - 1;
        next.row = std::max(m_nFixedRows, std::min(row, GetRowCount() - 1));
        break;
    }
    case GVK_HOME:
        next.col = orStay(NextVisibleCol(m_nFixedCols - 1, 1), cell.col);
        if (bCtrl)
            next.row = orStay(NextVisibleRow(m_nFixedRows - 1, 1), cell.row);
        break;
    case GVK_END:
        next.col = orStay(NextVisibleCol(m_nCols, -1), cell.col);
        if (bCtrl)
            next.row = orStay(NextVisibleRow(GetRowCount(), -1), cell.row);
        break;
    case GVK_TAB: {
        const int col = NextVisibleCol(cell.col, 1);
        if (col >= 0) {
            next.col = col;
        } else {
            const int row = NextVisibleRow(cell.row, 1);
            const int first = NextVisibleCol(m_nFixedCols - 1, 1);
            if (row >= 0 && first >= 0)
                next = CCellID(row, first);
        }
        break;
    }
    case GVK_BACKTAB: {
        const int col = NextVisibleCol(cell.col, -1);
        if (col >= 0) {
            next.col = col;
        } else {
            const int row = NextVisibleRow(cell.row, -1);
            const int last = NextVisibleCol(m_nCols, -1);
            if (row >= 0 && last >= 0)
                next = CCellID(row, last);
        }
        break;
    }
    default:
        break;
    }
    return next;
}

void CGridCtrl::MoveFocusByKey(CCellID next, int key, bool bShift) {
    if (!IsValid(next) || next == m_idCurrentCell)
        return;
    const bool bTab = key == GVK_TAB || key == GVK_BACKTAB;
    if (m_MouseMode == MOUSE_NOTHING) {
        m_prevSelection.Clear();
        RemoveFromSelection(false);
    }
    if (!bShift || bTab)
        m_SelectionStartCell = next;
    SendMessageToParent(next.row, next.col, GVN_SELCHANGING);
    SelectRangeFromAnchor(next);
    SendMessageToParent(next.row, next.col, GVN_SELCHANGED);
    SetFocusCell(next);
    if (key == GVK_PRIOR || key == GVK_NEXT) {
        EnsureScrollBars();
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + (key == GVK_NEXT ? bar->pageStep() : -bar->pageStep()));
    }
    if (!IsCellVisible(next.row, next.col))
        EnsureVisible(next);
}

bool CGridCtrl::HandleClipboardKey(QKeyEvent* event) {
    // Keys that change cells act only where the user has a focus cell to see.
    if ((IsCutKey(event) || IsDeleteKey(event)) && !IsValid(m_idCurrentCell))
        return false;
    if (IsCopyKey(event))
        OnEditCopy();
    else if (IsCutKey(event))
        OnEditCut();
    else if (IsPasteKey(event))
        OnEditPaste();
    else if (IsSelectAllKey(event))
        OnEditSelectAll();
    else if (IsAutoSizeKey(event)) {
        for (int c = 0; c < m_nCols; ++c)
            if (GetColumnWidth(c) > 0)
                AutoSizeColumn(c);
        ResetScrollBars();
    } else if (IsDeleteKey(event)) {
        if (m_bEditable)
            CutSelectedText();
    } else {
        return false;
    }
    return true;
}

bool CGridCtrl::HandleMoveKey(QKeyEvent* event) {
    int key = event->key();
    if (!IsMoveKey(key))
        return false;
    const bool bShift = event->modifiers() & Qt::ShiftModifier;
    if (key == Qt::Key_Tab && bShift)
        key = Qt::Key_Backtab;
    const CCellID next =
        NextCellForKey(m_idCurrentCell, key, event->modifiers() & Qt::ControlModifier);
    MoveFocusByKey(next, key, bShift);
    // Tab is also a typed character: it opens the editor of the cell it led to (or of the last
    // cell, where it leads nowhere), unless it belongs to the dialog's controls.
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !m_bTabToNextControl &&
        !(event->modifiers() & Qt::ControlModifier) && IsValid(m_idCurrentCell))
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(),
                   key == Qt::Key_Tab ? GVK_TAB : GVK_BACKTAB);
    return true;
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    if (HandleClipboardKey(event))
        return;
    if (!IsValid(m_idCurrentCell)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (HandleMoveKey(event))
        return;
    const CCellID cell = m_idCurrentCell;
    const bool bCtrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_F2:
        OnEditCell(cell.row, cell.col, QPoint(), GVK_LBUTTON);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!bCtrl) {
            OnEditCell(cell.row, cell.col, QPoint(), GVK_RETURN);
            return;
        }
        break;
    case Qt::Key_Backspace:
        if (!bCtrl) {
            OnEditCell(cell.row, cell.col, QPoint(), GVK_BACK);
            return;
        }
        break;
    case Qt::Key_Escape:
        break;
    default: {
        const QString text = event->text();
        if (!bCtrl && !text.isEmpty() && text.at(0) >= QLatin1Char(' ') &&
            text.at(0) != QChar(0x7f)) {
            const int ch = static_cast<int>(text.toUcs4().value(0));
            OnEditCell(cell.row, cell.col, QPoint(), ch);
            return;
        }
        break;
    }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CGridCtrl::inputMethodEvent(QInputMethodEvent* event) {
    const QString text = event->commitString();
    if (text.isEmpty() || !IsValid(m_idCurrentCell)) {
        event->ignore();
        return;
    }
    const QList<uint> chars = text.toUcs4();
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(), static_cast<int>(chars[0]));
    if (auto* pEdit = qobject_cast<QLineEdit*>(m_pEditWnd.data()); pEdit && chars.size() > 1)
        pEdit->insert(QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData() + 1),
                                        chars.size() - 1));
    event->accept();
}

// Tab walks through the cells; past the last one it goes to the next control only when the
// grid is told to, otherwise it stays (and keyPressEvent opens the cell's editor).
bool CGridCtrl::focusNextPrevChild(bool next) {
    if (!hasFocus() || !IsValid(m_idCurrentCell))
        return QAbstractScrollArea::focusNextPrevChild(next);
    const CCellID target = NextCellForKey(m_idCurrentCell, next ? GVK_TAB : GVK_BACKTAB, false);
    if (target == m_idCurrentCell && m_bTabToNextControl)
        return QAbstractScrollArea::focusNextPrevChild(next);
    return false; // keyPressEvent moves the focus cell
}

bool CGridCtrl::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The grid's own keys win over the dialog's shortcuts.
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const bool bChangesCells = IsCutKey(keyEvent) || IsDeleteKey(keyEvent);
        if ((bChangesCells && IsValid(m_idCurrentCell)) || IsCopyKey(keyEvent) ||
            IsPasteKey(keyEvent) || IsSelectAllKey(keyEvent) || IsAutoSizeKey(keyEvent)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CGridCtrl::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CGridCtrl::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    HideTitleTip();
    viewport()->update();
}
