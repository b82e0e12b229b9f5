#include "CGridCellBase.h"

#include "CGridCtrl.h"
#include "CGridDefaultCell.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace {

// No cell can show more characters than this; longer texts are cut before measuring.
constexpr int MaxDrawnChars = 4096;

QString PrepareText(const QString& text, quint32 nFormat) {
    QString t = text.size() > MaxDrawnChars ? text.left(MaxDrawnChars) : text;
    if (nFormat & DT_SINGLELINE) {
        t.replace(QLatin1String("\r\n"), QLatin1String(" "));
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    } else {
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    if (!(nFormat & DT_EXPANDTABS))
        t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return t;
}

} // namespace

CGridDefaultCell* CGridCellBase::GetDefaultCell() const {
    CGridCtrl* pGrid = GetGrid();
    return pGrid ? pGrid->GetDefaultCell(IsFixedRow(), IsFixedCol()) : nullptr;
}

void CGridCellBase::CopyFrom(const CGridCellBase& cell) {
    if (&cell == this)
        return;
    SetGrid(cell.GetGrid());
    SetText(cell.GetText());
    SetImage(cell.GetImage());
    SetData(cell.GetData());
    SetState(cell.GetState());
    SetFormat(cell.GetFormat());
    SetTextClr(cell.GetTextClr());
    SetBackClr(cell.GetBackClr());
    if (cell.IsDefaultFont()) {
        SetFont(nullptr);
    } else {
        const QFont font = cell.GetFont();
        SetFont(&font);
    }
    SetMargin(cell.GetMargin());
}

void CGridCellBase::Reset() {
    SetText(QString());
    SetImage(-1);
    SetData(0);
    SetState(0);
    SetFormat(quint32(-1));
    SetTextClr(QColor());
    SetBackClr(QColor());
    SetFont(nullptr);
    SetMargin(-1);
}

void CGridCellBase::DrawFormattedText(QPainter* pDC, const QRect& rect, const QString& text,
                                      quint32 nFormat) {
    if (rect.width() <= 0 || rect.height() <= 0 || text.isEmpty())
        return;
    QString t = PrepareText(text, nFormat);
    int flags = 0;
    if (nFormat & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (nFormat & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    // DT_VCENTER centres the text block, with or without DT_SINGLELINE (header cells use 5).
    if (nFormat & DT_VCENTER)
        flags |= Qt::AlignVCenter;
    else if ((nFormat & DT_BOTTOM) && (nFormat & DT_SINGLELINE))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (nFormat & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    const bool bWrap = (nFormat & DT_WORDBREAK) && !(nFormat & DT_SINGLELINE);
    if (bWrap)
        flags |= Qt::TextWordWrap;
    else if (nFormat & DT_END_ELLIPSIS) {
        const QFontMetrics fm = pDC->fontMetrics();
        QStringList lines = t.split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = fm.elidedText(line, Qt::ElideRight, rect.width());
        t = lines.join(QLatin1Char('\n'));
    }
    pDC->save();
    pDC->setClipRect(rect, Qt::IntersectClip);
    pDC->drawText(rect, flags, t);
    pDC->restore();
}

bool CGridCellBase::Draw(QPainter* pDC, int nRow, int nCol, QRect rect, bool bEraseBkgnd) {
    CGridCtrl* pGrid = GetGrid();
    if (!pGrid || !pDC || rect.width() <= 0 || rect.height() <= 0)
        return false;
    CGridDefaultCell* pDefaultCell = GetDefaultCell();
    if (!pDefaultCell)
        return false;

    const QPalette pal = pGrid->palette();
    QColor textClr = GetTextClr().isValid() ? GetTextClr() : pDefaultCell->GetTextClr();
    QColor bkClr = GetBackClr().isValid() ? GetBackClr() : pDefaultCell->GetBackClr();
    if (!textClr.isValid())
        textClr = pal.color(QPalette::WindowText);

    // rect is the whole cell; its last column and row of pixels carry the grid lines.
    if (IsSelected()) {
        pDC->fillRect(rect, pal.color(QPalette::Active, QPalette::Highlight));
        textClr = pal.color(QPalette::Active, QPalette::HighlightedText);
    } else if (bEraseBkgnd && bkClr.isValid()) {
        pDC->fillRect(rect, bkClr);
    }

    QRect inner = rect;
    if (IsFocused() && pGrid->GetFrameFocusCell()) {
        const QRect frame(rect.left(), rect.top(),
                          rect.width() - (pGrid->GetGridLines() != GVL_NONE ? 2 : 1),
                          rect.height() - (pGrid->GetGridLines() != GVL_NONE ? 2 : 1));
        pDC->setPen(QPen(textClr, 1));
        pDC->setBrush(Qt::NoBrush);
        pDC->drawRect(frame);
    }

    if (IsFixed() && pGrid->GetGridLines() != GVL_NONE) {
        const CCellID focus = pGrid->GetFocusCell();
        const bool bHiliteFixed = pGrid->GetTrackFocusCell() && pGrid->IsValid(focus) &&
                                  (focus.row == nRow || focus.col == nCol);
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Shadow);
        const QColor topLeft = bHiliteFixed ? pGrid->GetShadowColor() : light;
        const QColor bottomRight = bHiliteFixed ? light : dark;
        const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
        pDC->setPen(QPen(topLeft, 1));
        pDC->drawLine(l, t, r, t);
        pDC->drawLine(l, t, l, b);
        pDC->setPen(QPen(bottomRight, 1));
        pDC->drawLine(r, t, r, b);
        pDC->drawLine(l, b, r, b);
        inner.adjust(1, 1, -1, -1);
    }

    const int nMargin = GetMargin();
    inner.adjust(nMargin, nMargin, -nMargin, -nMargin);

    pDC->setFont(GetFontObject());

    // Sort mark in row 0 of the sort column.
    if (nRow == 0 && nCol == pGrid->GetSortColumn() && inner.width() > 0) {
        const int nOffset = 2;
        int size = pDC->fontMetrics().height() - nOffset * 2;
        if (size >= rect.height())
            size = rect.height() - nOffset * 2;
        size = std::max(size / 2 * 2, 4);
        const int top = (GetFormat() & DT_VCENTER) ? (rect.top() + rect.bottom() - size) / 2
                                                   : rect.bottom() - nOffset - size;
        const int left = inner.right() - size;
        const QColor light = pal.color(QPalette::Light);
        const QColor shadow = pGrid->GetShadowColor();
        pDC->setRenderHint(QPainter::Antialiasing, true);
        if (pGrid->GetSortAscending()) {
            const QPointF apex(left + size / 2.0, top), bl(left, top + size),
                br(left + size, top + size);
            pDC->setPen(QPen(shadow, 1));
            pDC->drawLine(bl, apex);
            pDC->setPen(QPen(light, 1));
            pDC->drawLine(apex, br);
            pDC->drawLine(br, bl);
        } else {
            const QPointF tl(left, top), tr(left + size, top), apex(left + size / 2.0, top + size);
            pDC->setPen(QPen(shadow, 1));
            pDC->drawLine(tl, tr);
            pDC->drawLine(tl, apex);
            pDC->setPen(QPen(light, 1));
            pDC->drawLine(tr, apex);
        }
        pDC->setRenderHint(QPainter::Antialiasing, false);
        inner.setRight(inner.right() - size - nOffset);
    }

    if (!IsEditing()) {
        pDC->setPen(textClr);
        DrawFormattedText(pDC, inner, GetText(), GetFormat());
    }
    return true;
}

bool CGridCellBase::GetTextRect(QRect& rect) const {
    int nMargin = GetMargin();
    if (nMargin < 0)
        nMargin = 0;
    if (IsFixed())
        rect.adjust(1, 1, -1, -1);
    rect.adjust(nMargin, nMargin, -nMargin, -nMargin);
    return true;
}

QSize CGridCellBase::GetTextExtent(const QString& str) const {
    CGridDefaultCell* pDefaultCell = GetDefaultCell();
    if (str.isEmpty()) {
        if (pDefaultCell)
            return QSize(pDefaultCell->GetWidth(), pDefaultCell->GetHeight());
        return QSize(40, 16);
    }
    const QFontMetrics fm(GetFontObject());
    const quint32 nFormat = GetFormat();
    const QString t = PrepareText(str, nFormat);
    QSize size;
    if (nFormat & DT_SINGLELINE) {
        size = QSize(fm.horizontalAdvance(t), fm.height());
    } else {
        const QRect br = fm.boundingRect(QRect(0, 0, 1 << 20, 1 << 20),
                                         (nFormat & DT_EXPANDTABS) ? Qt::TextExpandTabs : 0, t);
        size = QSize(br.width(), std::max(br.height(), fm.height()));
    }
    const int extra = ExtentPadding();
    return size + QSize(extra, extra);
}

int CGridCellBase::GetTextExtentHeight(const QString& str) const {
    if (str.isEmpty() || !(GetFormat() & DT_SINGLELINE))
        return GetTextExtent(str).height();
    return QFontMetrics(GetFontObject()).height() + ExtentPadding();
}

// Margins on both sides, the 3D edge of a fixed cell and one pixel for the grid line.
int CGridCellBase::ExtentPadding() const {
    const int nMargin = std::max(GetMargin(), 0);
    return 2 * nMargin + (IsFixed() ? 2 : 0) + 1;
}

QSize CGridCellBase::GetCellExtent() const {
    QSize size = GetTextExtent(GetText());
    CGridCtrl* pGrid = GetGrid();
    // Room for the sort mark in a header.
    if (pGrid && IsFixedRow() && !GetText().isEmpty())
        size.rwidth() += QFontMetrics(GetFontObject()).height();
    return size;
}

bool CGridCellBase::PrintCell(QPainter* pDC, int /*nRow*/, int /*nCol*/, QRect rect) {
    if (!pDC)
        return false;
    const int nMargin = std::max(GetMargin(), 0);
    rect.adjust(nMargin, 0, -nMargin, 0);
    pDC->setFont(GetFontObject());
    DrawFormattedText(pDC, rect, GetText(), GetFormat());
    return true;
}

bool CGridCellBase::Edit(int, int, const QRect&, const QPoint&, int, int) {
    return false;
}
