// CGridCtrl: drawing, scroll ranges, wheel and window-level events.
#include "CGridCtrl.h"

#include "CGridCellBase.h"
#include "CGridDefaultCell.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

int CGridCtrl::GetScrollBarThickness() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

// Shows a scroll bar only when the rows (or columns) do not fit, with the excess as its range.
void CGridCtrl::ResetScrollBars() {
    m_bScrollBarsDirty = false;
    const QSize area = maximumViewportSize();
    const int sb = GetScrollBarThickness();
    const long long totalH = GetVirtualHeight();
    const long long totalW = GetVirtualWidth();
    const Qt::ScrollBarPolicy vPolicy = verticalScrollBarPolicy();
    const Qt::ScrollBarPolicy hPolicy = horizontalScrollBarPolicy();

    bool needV = vPolicy == Qt::ScrollBarAsNeeded && totalH > area.height();
    bool needH = hPolicy == Qt::ScrollBarAsNeeded && totalW > area.width();
    if (needV && !needH && hPolicy == Qt::ScrollBarAsNeeded)
        needH = totalW > area.width() - sb;
    if (needH && !needV && vPolicy == Qt::ScrollBarAsNeeded)
        needV = totalH > area.height() - sb;
    const int viewH = std::max(0, area.height() - (needH ? sb : 0));
    const int viewW = std::max(0, area.width() - (needV ? sb : 0));

    auto setBar = [](QScrollBar* bar, long long excess, int page, int step) {
        const int maximum = static_cast<int>(std::clamp(excess, 0LL, (long long)INT_MAX));
        bar->setRange(0, maximum);
        bar->setPageStep(std::max(page, 1));
        bar->setSingleStep(std::max(step, 1));
    };
    setBar(verticalScrollBar(), vPolicy == Qt::ScrollBarAlwaysOff ? 0 : totalH - viewH,
           viewH - GetFixedRowHeight(), GetDefCellHeight());
    setBar(horizontalScrollBar(), hPolicy == Qt::ScrollBarAlwaysOff ? 0 : totalW - viewW,
           viewW - GetFixedColumnWidth(), GetDefCellWidth());
}

void CGridCtrl::EnsureScrollBars() const {
    if (m_bScrollBarsDirty)
        const_cast<CGridCtrl*>(this)->ResetScrollBars();
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ResetScrollBars();
}

void CGridCtrl::scrollContentsBy(int /*dx*/, int /*dy*/) {
    // An open editor would stay where the cell was. Inside a paint the parent is not told yet.
    if (m_pEditWnd) {
        if (m_bPainting)
            QTimer::singleShot(0, this, [this] { EndEditing(); });
        else
            EndEditing();
    }
    HideTitleTip();
    viewport()->update();
}

void CGridCtrl::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const bool horizontal =
        qAbs(delta.x()) > qAbs(delta.y()) || (event->modifiers() & Qt::ShiftModifier);
    const int notches = (horizontal ? (delta.x() ? delta.x() : delta.y()) : delta.y());
    EnsureScrollBars();
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    const int lines = m_nRowsPerWheelNotch > 0 ? m_nRowsPerWheelNotch : 3;
    const int pixels =
        static_cast<int>(static_cast<long long>(notches) * lines * bar->singleStep() / 120);
    if (pixels == 0) {
        event->ignore();
        return;
    }
    bar->setValue(bar->value() - pixels);
    event->accept();
}

void CGridCtrl::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        RefreshDefaultColours(m_lastPalette);
        m_lastPalette = palette();
        viewport()->update();
    } else if (event->type() == QEvent::FontChange) {
        const QFont f = font();
        for (bool fixedRow : {false, true})
            for (bool fixedCol : {false, true})
                GetDefaultCell(fixedRow, fixedCol)->SetFont(f);
        ResetScrollBars();
        viewport()->update();
    } else if (event->type() == QEvent::StyleChange) {
        ResetScrollBars();
    }
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave)
        m_hoverTimer.stop();
    return QAbstractScrollArea::viewportEvent(event);
}

// ---- Painting ------------------------------------------------------------------------------

void CGridCtrl::paintEvent(QPaintEvent* /*event*/) {
    m_bPainting = true;
    EnsureScrollBars();
    m_bPainting = false;
    QPainter painter(viewport());
    DrawBackground(painter);
    if (GetRowCount() == 0 || m_nCols == 0)
        return;

    const int fixedH = GetFixedRowHeight();
    const int fixedW = GetFixedColumnWidth();
    const QRect all = viewport()->rect();
    const CCellRange visible = GetVisibleNonFixedCellRange();
    const int lastFixedRow = m_nFixedRows - 1;
    const int lastFixedCol = m_nFixedCols - 1;

    // Scrolled cells first, then the fixed cells over their edges.
    if (visible.IsValid()) {
        DrawBlock(painter, all.adjusted(fixedW, fixedH, 0, 0), visible.GetMinRow(),
                  visible.GetMaxRow(), visible.GetMinCol(), visible.GetMaxCol());
    }
    const CCellID topLeft = GetTopleftNonFixedCell();
    if (m_nFixedRows > 0 && topLeft.col >= 0)
        DrawBlock(painter, all.adjusted(fixedW, 0, 0, 0), 0, lastFixedRow, topLeft.col,
                  visible.IsValid() ? visible.GetMaxCol() : m_nCols - 1);
    if (m_nFixedCols > 0 && topLeft.row >= 0)
        DrawBlock(painter, all.adjusted(0, fixedH, 0, 0), topLeft.row,
                  visible.IsValid() ? visible.GetMaxRow() : GetRowCount() - 1, 0, lastFixedCol);
    if (m_nFixedRows > 0 && m_nFixedCols > 0)
        DrawBlock(painter, all, 0, lastFixedRow, 0, lastFixedCol);

    DrawResizeLine(painter);
}

void CGridCtrl::DrawBackground(QPainter& painter) {
    const QRect all = viewport()->rect();
    painter.fillRect(all, m_crGridBkColour);
    const int fixedH = GetFixedRowHeight();
    const int fixedW = GetFixedColumnWidth();
    const int right =
        static_cast<int>(std::min<long long>(GetVirtualWidth() - ScrollOffsetX() + 0, all.width()));
    const int bottom =
        static_cast<int>(std::min<long long>(GetVirtualHeight() - ScrollOffsetY(), all.height()));
    const int cellsRight = std::max(right, std::min(fixedW, all.width()));
    const int cellsBottom = std::max(bottom, std::min(fixedH, all.height()));
    painter.fillRect(QRect(fixedW, fixedH, cellsRight - fixedW, cellsBottom - fixedH),
                     m_cellDefault->GetBackClr());
    painter.fillRect(QRect(0, 0, cellsRight, fixedH), m_cellFixedRowDef->GetBackClr());
    painter.fillRect(QRect(0, fixedH, fixedW, cellsBottom - fixedH),
                     m_cellFixedColDef->GetBackClr());
}

void CGridCtrl::DrawBlock(QPainter& painter, const QRect& clip, int minRow, int maxRow, int minCol,
                          int maxCol) {
    if (minRow < 0 || minCol < 0 || minRow > maxRow || minCol > maxCol || clip.isEmpty())
        return;
    painter.save();
    painter.setClipRect(clip);
    for (int r = minRow; r <= maxRow; ++r) {
        const int h = GetRowHeight(r);
        if (h <= 0)
            continue;
        const int y = ViewportYOfRow(r);
        if (y >= clip.bottom() + 1)
            break;
        for (int c = minCol; c <= maxCol; ++c) {
            const int w = GetColumnWidth(c);
            if (w <= 0)
                continue;
            const int x = ViewportXOfCol(c);
            if (x >= clip.right() + 1)
                break;
            CGridCellBase* pCell = GetCell(r, c);
            const quint32 state = pCell->GetState() & ~GVIS_SELECTED;
            pCell->SetState(IsCellSelected(r, c) ? state | GVIS_SELECTED : state);
            pCell->Draw(&painter, r, c, QRect(x, y, w, h));
        }
    }
    DrawGridLines(painter, minRow, maxRow, minCol, maxCol);
    painter.restore();
}

void CGridCtrl::DrawGridLines(QPainter& painter, int minRow, int maxRow, int minCol, int maxCol) {
    if (m_nGridLines == GVL_NONE)
        return;
    painter.setPen(QPen(m_crGridLineColour, 1, Qt::SolidLine));
    const int left = ViewportXOfCol(minCol);
    const int right = ViewportXOfCol(maxCol) + GetColumnWidth(maxCol) - 1;
    const int top = ViewportYOfRow(minRow);
    const int bottom = ViewportYOfRow(maxRow) + GetRowHeight(maxRow) - 1;
    if (m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH) {
        for (int r = minRow; r <= maxRow; ++r) {
            const int h = GetRowHeight(r);
            if (h > 0) {
                const int y = ViewportYOfRow(r) + h - 1;
                painter.drawLine(left, y, right, y);
            }
        }
    }
    if (m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH) {
        for (int c = minCol; c <= maxCol; ++c) {
            const int w = GetColumnWidth(c);
            if (w > 0) {
                const int x = ViewportXOfCol(c) + w - 1;
                painter.drawLine(x, top, x, bottom);
            }
        }
    }
}

// The 2-pixel line that follows the mouse while a column or row is resized.
void CGridCtrl::DrawResizeLine(QPainter& painter) {
    if (m_nResizeLine < 0)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (m_MouseMode == MOUSE_SIZING_COL)
        painter.fillRect(QRect(m_nResizeLine, 0, 2, viewport()->height()), Qt::white);
    else if (m_MouseMode == MOUSE_SIZING_ROW)
        painter.fillRect(QRect(0, m_nResizeLine, viewport()->width(), 2), Qt::white);
    painter.restore();
}
