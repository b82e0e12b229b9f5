#include "CGridCell.h"

#include "CGridCtrl.h"
#include "CGridDefaultCell.h"
#include "CInPlaceEdit.h"

CGridCell::~CGridCell() {
    // An open editor must not call back into a freed cell.
    if (m_pEditWnd)
        m_pEditWnd->deleteLater();
}

void CGridCell::SetFont(const QFont* pFont) {
    if (pFont)
        m_pFont = std::make_unique<QFont>(*pFont);
    else
        m_pFont.reset();
}

quint32 CGridCell::GetFormat() const {
    if (m_nFormat == quint32(-1)) {
        const CGridDefaultCell* pDefaultCell = GetDefaultCell();
        return pDefaultCell ? pDefaultCell->GetFormat() : 0;
    }
    return m_nFormat;
}

QFont CGridCell::GetFont() const {
    if (m_pFont)
        return *m_pFont;
    if (const CGridDefaultCell* pDefaultCell = GetDefaultCell())
        return pDefaultCell->GetFont();
    return m_pGrid ? m_pGrid->font() : QFont();
}

int CGridCell::GetMargin() const {
    if (m_nMargin < 0) {
        const CGridDefaultCell* pDefaultCell = GetDefaultCell();
        return pDefaultCell ? pDefaultCell->GetMargin() : 3;
    }
    return m_nMargin;
}

QWidget* CGridCell::GetEditWnd() const {
    return m_pEditWnd.data();
}

void CGridCell::Reset() {
    CGridCellBase::Reset();
    m_bEditing = false;
    m_pEditWnd = nullptr;
}

void CGridCell::SetEditing(QWidget* pEditWnd) {
    m_bEditing = pEditWnd != nullptr;
    m_pEditWnd = pEditWnd;
}

bool CGridCell::Edit(int nRow, int nCol, const QRect& rect, const QPoint& /*point*/, int nID,
                     int nChar) {
    if (m_bEditing) {
        if (m_pEditWnd)
            m_pEditWnd->setFocus();
        return true;
    }
    if (!m_pGrid)
        return false;
    m_bEditing = true;
    // The editor frees itself when it closes.
    auto* pEdit = new CInPlaceEdit(m_pGrid, rect, nID, nRow, nCol, GetText(), nChar);
    if (m_bEditing) // a start character can end the edit at once
        m_pEditWnd = pEdit;
    return true;
}

void CGridCell::EndEdit() {
    if (auto* pEdit = qobject_cast<CInPlaceEdit*>(m_pEditWnd.data()))
        pEdit->EndEdit();
}

void CGridCell::OnEndEdit() {
    m_bEditing = false;
    m_pEditWnd = nullptr;
}
