#include "CGridCellCombo.h"

#include "CGridCtrl.h"
#include "CGridDefaultCell.h"
#include "CInPlaceList.h"

#include <QPainter>
#include <QPalette>

void CGridCellCombo::CopyFrom(const CGridCellBase& cell) {
    CGridCell::CopyFrom(cell);
    if (const auto* pCombo = dynamic_cast<const CGridCellCombo*>(&cell)) {
        m_Strings = pCombo->m_Strings;
        m_dwStyle = pCombo->m_dwStyle;
    }
}

bool CGridCellCombo::Edit(int nRow, int nCol, const QRect& rect, const QPoint& /*point*/, int nID,
                          int nChar) {
    if (m_bEditing) {
        if (m_pEditWnd)
            m_pEditWnd->setFocus();
        return true;
    }
    if (!m_pGrid)
        return false;
    m_bEditing = true;
    auto* pList =
        new CInPlaceList(m_pGrid, rect, m_dwStyle, nID, nRow, nCol, m_Strings, GetText(), nChar);
    if (m_bEditing)
        m_pEditWnd = pList;
    return true;
}

void CGridCellCombo::EndEdit() {
    if (auto* pList = qobject_cast<CInPlaceList*>(m_pEditWnd.data()))
        pList->EndEdit();
}

QSize CGridCellCombo::GetCellExtent() const {
    QSize size = CGridCell::GetCellExtent();
    const int sb = m_pGrid ? m_pGrid->GetScrollBarThickness() : 16;
    size.rwidth() += sb;
    size.setHeight(std::max(size.height(), sb));
    return size;
}

bool CGridCellCombo::ShowsButton(const QRect& rect) const {
    const int sb = m_pGrid ? m_pGrid->GetScrollBarThickness() : 16;
    return m_pGrid && m_pGrid->IsEditable() && !IsReadOnly() && !IsEditing() && rect.width() > sb &&
           rect.height() > sb;
}

bool CGridCellCombo::GetTextRect(QRect& rect) const {
    if (ShowsButton(rect))
        rect.setRight(rect.right() - (m_pGrid ? m_pGrid->GetScrollBarThickness() : 16));
    return CGridCell::GetTextRect(rect);
}

bool CGridCellCombo::Draw(QPainter* pDC, int nRow, int nCol, QRect rect, bool bEraseBkgnd) {
    if (!ShowsButton(rect))
        return CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);

    // The whole cell first (background, frame, selection), then the text left of the button.
    const QString text = m_strText;
    m_strText.clear();
    CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
    m_strText = text;

    const int sb = m_pGrid->GetScrollBarThickness();
    const bool lines = m_pGrid->GetGridLines() != GVL_NONE;
    QRect button(rect.right() - sb - (lines ? 1 : 0) + 1, rect.top(), sb,
                 rect.height() - (lines ? 1 : 0));
    const int inset = std::max(0, (button.height() - sb) / 2);
    button.adjust(0, inset, 0, -inset);
    const QPalette pal = m_pGrid->palette();
    pDC->fillRect(button, pal.color(QPalette::Button));
    pDC->setPen(pal.color(QPalette::Light));
    pDC->drawLine(button.topLeft(), button.topRight());
    pDC->drawLine(button.topLeft(), button.bottomLeft());
    pDC->setPen(pal.color(QPalette::Shadow));
    pDC->drawLine(button.topRight(), button.bottomRight());
    pDC->drawLine(button.bottomLeft(), button.bottomRight());
    const QPointF c = QRectF(button).center();
    const qreal w = sb / 4.0;
    const QPointF arrow[3] = {
        {c.x() - w, c.y() - w / 2}, {c.x() + w, c.y() - w / 2}, {c.x(), c.y() + w / 2}};
    pDC->setRenderHint(QPainter::Antialiasing, true);
    pDC->setPen(Qt::NoPen);
    pDC->setBrush(pal.color(QPalette::ButtonText));
    pDC->drawPolygon(arrow, 3);
    pDC->setRenderHint(QPainter::Antialiasing, false);
    pDC->setBrush(Qt::NoBrush);

    QRect textRect = rect;
    GetTextRect(textRect);
    QColor textClr = GetTextClr();
    if (!textClr.isValid() && GetDefaultCell())
        textClr = GetDefaultCell()->GetTextClr();
    if (IsSelected())
        textClr = pal.color(QPalette::Active, QPalette::HighlightedText);
    pDC->setPen(textClr);
    pDC->setFont(GetFontObject());
    DrawFormattedText(pDC, textRect, GetText(), GetFormat());
    return true;
}
