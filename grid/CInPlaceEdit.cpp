#include "CInPlaceEdit.h"

#include "CGridCellBase.h"
#include "CGridCtrl.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace {

bool SelectsWholeText(int nChar) {
    return nChar == ' ' || IsGridMoveKey(nChar);
}

bool IsArrowOrPage(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
           key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

Qt::Alignment AlignmentOf(quint32 nFormat) {
    if (nFormat & DT_RIGHT)
        return Qt::AlignRight | Qt::AlignVCenter;
    if (nFormat & DT_CENTER)
        return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

// Applies a start character to an editor that shows the cell's text (shared with the list).
void ApplyStartChar(QLineEdit* pEdit, int nFirstChar) {
    if (nFirstChar == GVK_LBUTTON || nFirstChar == GVK_RETURN || nFirstChar == Qt::Key_Enter ||
        nFirstChar == '\r') {
        pEdit->deselect();
        pEdit->end(false);
    } else if (nFirstChar == GVK_BACK || nFirstChar == '\b') {
        pEdit->end(false);
        pEdit->backspace();
    } else if (SelectsWholeText(nFirstChar)) {
        pEdit->selectAll();
    } else if (nFirstChar > 0 && nFirstChar <= 0x10FFFF) {
        pEdit->selectAll();
        const char32_t ch = static_cast<char32_t>(nFirstChar);
        pEdit->insert(QString::fromUcs4(&ch, 1));
    } else {
        pEdit->selectAll();
    }
}

CInPlaceEdit::CInPlaceEdit(CGridCtrl* pGrid, const QRect& rect, int nID, int nRow, int nColumn,
                           const QString& sInitText, int nFirstChar)
    : QLineEdit(pGrid->viewport()), m_pGrid(pGrid), m_nRow(nRow), m_nColumn(nColumn),
      m_sInitText(sInitText), m_bExitOnArrows(nFirstChar != GVK_LBUTTON), m_Rect(rect) {
    setProperty("ctrlId", nID);
    setFrame(false);
    if (const CGridCellBase* pCell = pGrid->GetCell(nRow, nColumn)) {
        setFont(pCell->GetFontObject());
        setAlignment(AlignmentOf(pCell->GetFormat()));
        const int margin = std::max(pCell->GetMargin() - 2, 0);
        setTextMargins(margin, 0, margin, 0);
    } else {
        setFont(pGrid->font());
    }
    setGeometry(rect);
    setText(sInitText);
    connect(this, &QLineEdit::textChanged, this, [this] { WidenToText(); });
    show();
    setFocus(Qt::OtherFocusReason);
    ApplyStartChar(this, nFirstChar);
}

// Widens to the text plus two blanks, never past the grid's right edge.
void CInPlaceEdit::WidenToText() {
    const QFontMetrics fm(font());
    const QMargins tm = textMargins();
    const int needed =
        fm.horizontalAdvance(text() + QLatin1String("  ")) + tm.left() + tm.right() + 4;
    const int limit = std::max(m_Rect.width(), m_pGrid->viewport()->width() - m_Rect.left());
    const int w = std::clamp(needed, m_Rect.width(), limit);
    if (w != width())
        resize(w, height());
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool bCtrl = event->modifiers() & Qt::ControlModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_nLastChar = GVK_RETURN;
        EndEdit();
        return;
    }
    if (key == Qt::Key_Escape) {
        setText(m_sInitText);
        m_nLastChar = GVK_ESCAPE;
        EndEdit();
        return;
    }
    if (IsArrowOrPage(key) && (m_bExitOnArrows || bCtrl)) {
        m_nLastChar = key;
        EndEdit();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool CInPlaceEdit::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) {
            const bool bBack =
                keyEvent->key() == Qt::Key_Backtab || (keyEvent->modifiers() & Qt::ShiftModifier);
            m_nLastChar = bBack ? GVK_BACKTAB : GVK_TAB;
            EndEdit();
            return true;
        }
    } else if (event->type() == QEvent::ShortcutOverride) {
        // Escape and Enter belong to the editor, not to the dialog.
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Escape || keyEvent->key() == Qt::Key_Return ||
            keyEvent->key() == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason) // its own context menu keeps it open
        return;
    if (event->reason() == Qt::ActiveWindowFocusReason) {
        // The window lost activation, or is closing and maybe being destroyed: end a moment
        // later, when the dialog is still whole (if it went, the editor went with it).
        QTimer::singleShot(0, this, [this] {
            if (!hasFocus())
                EndEdit();
        });
        return;
    }
    EndEdit();
}

void CInPlaceEdit::EndEdit() {
    if (m_bAlreadyEnding)
        return;
    m_bAlreadyEnding = true;
    GV_DISPINFO info;
    info.row = m_nRow;
    info.col = m_nColumn;
    info.strText = text();
    info.lastKey = m_nLastChar;
    QPointer<CInPlaceEdit> self(this);
    if (hasFocus())
        m_pGrid->setFocus(Qt::OtherFocusReason);
    hide();
    m_pGrid->OnEndInPlaceEdit(info);
    if (self)
        deleteLater();
}
