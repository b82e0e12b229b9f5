#include "CInPlaceList.h"

#include "CGridCellBase.h"
#include "CGridCellCombo.h"
#include "CGridCtrl.h"
#include "CInPlaceEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <algorithm>

namespace {

bool IsMoveKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
           key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

bool IsTabKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
}

} // namespace

// ---- CComboEdit ----------------------------------------------------------------------------

CComboEdit::CComboEdit(CInPlaceList* pList) : QLineEdit(pList), m_pList(pList) {
    setProperty("ctrlId", 1001);
    setFrame(false);
}

void CComboEdit::keyPressEvent(QKeyEvent* event) {
    if (!m_pList->HandleEndKey(event))
        QLineEdit::keyPressEvent(event);
}

bool CComboEdit::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && IsTabKey(static_cast<QKeyEvent*>(event)))
        return m_pList->HandleEndKey(static_cast<QKeyEvent*>(event));
    return QLineEdit::event(event);
}

void CComboEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    m_pList->OnFocusLost(event->reason());
}

// ---- CInPlaceList --------------------------------------------------------------------------

CInPlaceList::CInPlaceList(CGridCtrl* pGrid, const QRect& rect, int nStyle, int nID, int nRow,
                           int nColumn, const QStringList& Items, const QString& sInitText,
                           int nFirstChar)
    : QComboBox(pGrid->viewport()), m_pGrid(pGrid), m_nRow(nRow), m_nColumn(nColumn),
      m_nStyle(nStyle == CBS_DROPDOWNLIST ? CBS_DROPDOWNLIST : CBS_DROPDOWN),
      m_sInitText(sInitText) {
    setProperty("ctrlId", nID);
    if (m_nStyle == CBS_DROPDOWN) {
        setEditable(true);
        setLineEdit(new CComboEdit(this));
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr);
    }
    const CGridCellBase* pCell = pGrid->GetCell(nRow, nColumn);
    setFont(pCell ? pCell->GetFontObject() : pGrid->font());
    addItems(Items);
    setMaxVisibleItems(VisibleItems);

    // The drop-down is as wide as the widest option.
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& item : Items)
        widest = std::max(widest, fm.horizontalAdvance(item));
    view()->setMinimumWidth(widest + pGrid->GetScrollBarThickness() + 4 * fm.averageCharWidth());
    // After the drop-down's own filters exist, so this one sees the keys first.
    view()->installEventFilter(this);
    if (QWidget* popup = view()->parentWidget())
        popup->installEventFilter(this);

    setGeometry(rect);
    const int index = findText(sInitText);
    setCurrentIndex(index);
    if (index < 0 && isEditable())
        lineEdit()->setText(sInitText);
    show();
    setFocus(Qt::OtherFocusReason);
    if (isEditable())
        ApplyStartChar(lineEdit(), nFirstChar);
    showPopup();
}

bool CInPlaceList::HandleEndKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_nLastChar = GVK_RETURN;
    } else if (IsTabKey(event)) {
        const bool bBack = key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        m_nLastChar = bBack ? GVK_BACKTAB : GVK_TAB;
    } else if (key == Qt::Key_Escape) {
        const int index = findText(m_sInitText);
        setCurrentIndex(index);
        if (isEditable())
            lineEdit()->setText(m_sInitText);
        m_nLastChar = GVK_ESCAPE;
    } else if (IsMoveKey(key) && (event->modifiers() & Qt::ControlModifier)) {
        m_nLastChar = key;
    } else {
        return false;
    }
    EndEdit();
    return true;
}

void CInPlaceList::keyPressEvent(QKeyEvent* event) {
    if (!HandleEndKey(event))
        QComboBox::keyPressEvent(event);
}

bool CInPlaceList::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && IsTabKey(static_cast<QKeyEvent*>(event)))
        return HandleEndKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::ShortcutOverride) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Escape || keyEvent->key() == Qt::Key_Return ||
            keyEvent->key() == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QComboBox::event(event);
}

bool CInPlaceList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !m_bAlreadyEnding &&
        (watched == view() || watched == view()->parentWidget())) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        const bool bTakesChoice = key == Qt::Key_Return || key == Qt::Key_Enter ||
                                  IsTabKey(keyEvent) ||
                                  (IsMoveKey(key) && (keyEvent->modifiers() & Qt::ControlModifier));
        if (bTakesChoice) {
            const QModelIndex index = view()->currentIndex();
            if (index.isValid())
                setCurrentIndex(index.row());
        }
        if (HandleEndKey(keyEvent))
            return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void CInPlaceList::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    OnFocusLost(event->reason());
}

// Ends editing once the focus has left the list, its edit part and its drop-down. When the
// window loses activation (it may be closing and being destroyed) that waits a moment.
void CInPlaceList::OnFocusLost(Qt::FocusReason reason) {
    if (m_bAlreadyEnding || reason == Qt::PopupFocusReason)
        return;
    if (reason == Qt::ActiveWindowFocusReason) {
        QTimer::singleShot(0, this, [this] { OnFocusLost(Qt::OtherFocusReason); });
        return;
    }
    QWidget* pFocus = QApplication::focusWidget();
    if (pFocus && (pFocus == this || isAncestorOf(pFocus) || pFocus == view() ||
                   view()->isAncestorOf(pFocus)))
        return;
    if (view()->isVisible())
        return; // the drop-down is open
    EndEdit();
}

void CInPlaceList::EndEdit() {
    if (m_bAlreadyEnding)
        return;
    m_bAlreadyEnding = true;
    GV_DISPINFO info;
    info.row = m_nRow;
    info.col = m_nColumn;
    // A pick-only list with nothing picked keeps the cell's text.
    info.strText = (isEditable() || currentIndex() >= 0) ? currentText() : m_sInitText;
    info.lastKey = m_nLastChar;
    QPointer<CInPlaceList> self(this);
    // With the drop-down open the focus is in it; closing it gives the focus back to the list.
    const bool bHadFocus =
        hasFocus() || (lineEdit() && lineEdit()->hasFocus()) || view()->isVisible();
    if (view()->isVisible())
        hidePopup();
    if (bHadFocus)
        m_pGrid->setFocus(Qt::OtherFocusReason);
    hide();
    m_pGrid->OnEndInPlaceEdit(info);
    if (self)
        deleteLater();
}
