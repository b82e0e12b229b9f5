// CGridCtrl: cell contents, grid flags, colours, default cells, sorting and notifications.
#include "CGridCtrl.h"

#include "CGridCell.h"
#include "CGridCellCombo.h"
#include "CGridDefaultCell.h"

#include <QApplication>
#include <algorithm>

bool CGridCtrl::SetCellText(int nRow, int nCol, const QString& str) {
    if (IsVirtualRow(nRow))
        return SetVirtualText(nRow, nCol, str);
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    pCell->SetText(str);
    pCell->SetState(pCell->GetState() | GVIS_MODIFIED);
    m_bModified = true;
    if (nCol == m_nSortColumn)
        SetSortColumn(-1);
    RedrawCell(nRow, nCol);
    return true;
}

// The cell of a stored row; the cells of a row source's rows take no changes.
CGridCellBase* CGridCtrl::StoredCell(int nRow, int nCol) const {
    return IsVirtualRow(nRow) ? nullptr : GetCell(nRow, nCol);
}

QString CGridCtrl::GetCellText(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->GetText() : QString();
}

bool CGridCtrl::SetCellFormat(int nRow, int nCol, quint32 nFormat) {
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    pCell->SetFormat(nFormat);
    RedrawCell(nRow, nCol);
    return true;
}

quint32 CGridCtrl::GetCellFormat(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->GetFormat() : 0;
}

bool CGridCtrl::SetCellTextColor(int nRow, int nCol, const QColor& clr) {
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    pCell->SetTextClr(clr);
    RedrawCell(nRow, nCol);
    return true;
}

QColor CGridCtrl::GetCellTextColor(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->GetTextClr() : QColor();
}

bool CGridCtrl::SetCellBackColor(int nRow, int nCol, const QColor& clr) {
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    pCell->SetBackClr(clr);
    RedrawCell(nRow, nCol);
    return true;
}

QColor CGridCtrl::GetCellBackColor(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->GetBackClr() : QColor();
}

bool CGridCtrl::SetCellFont(int nRow, int nCol, const QFont& font) {
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    pCell->SetFont(&font);
    RedrawCell(nRow, nCol);
    return true;
}

QFont CGridCtrl::GetCellFont(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->GetFont() : QFont();
}

bool CGridCtrl::SetCellData(int nRow, int nCol, qintptr lParam) {
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    pCell->SetData(lParam);
    return true;
}

qintptr CGridCtrl::GetCellData(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->GetData() : 0;
}

bool CGridCtrl::SetCellImage(int nRow, int nCol, int nImage) {
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    pCell->SetImage(nImage);
    RedrawCell(nRow, nCol);
    return true;
}

int CGridCtrl::GetCellImage(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->GetImage() : -1;
}

bool CGridCtrl::SetCellState(int nRow, int nCol, quint32 nState) {
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    // Selection and focus bits follow the grid's own selection and focus cell.
    const quint32 kept = pCell->GetState() & (GVIS_SELECTED | GVIS_FOCUSED);
    pCell->SetState((nState & ~(GVIS_SELECTED | GVIS_FOCUSED)) | kept);
    RedrawCell(nRow, nCol);
    return true;
}

quint32 CGridCtrl::GetCellState(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    if (!pCell)
        return 0;
    return (pCell->GetState() & ~GVIS_SELECTED) |
           (IsCellSelected(nRow, nCol) ? quint32(GVIS_SELECTED) : 0u);
}

bool CGridCtrl::SetCellReadOnly(int nRow, int nCol, bool bReadOnly) {
    CGridCellBase* pCell = StoredCell(nRow, nCol);
    if (!pCell)
        return false;
    const quint32 state = pCell->GetState();
    pCell->SetState(bReadOnly ? (state | GVIS_READONLY) : (state & ~GVIS_READONLY));
    RedrawCell(nRow, nCol);
    return true;
}

bool CGridCtrl::IsCellEditable(int nRow, int nCol) const {
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell && m_bEditable && !pCell->IsReadOnly();
}

bool CGridCtrl::IsCellFixed(int nRow, int nCol) const {
    return IsValid(nRow, nCol) && (nRow < m_nFixedRows || nCol < m_nFixedCols);
}

bool CGridCtrl::IsCellSelected(int nRow, int nCol) const {
    return m_bEnableSelection && IsValid(nRow, nCol) && m_selection.Contains(nRow, nCol);
}

bool CGridCtrl::SetComboOptions(int nRow, int nCol, const QStringList& options) {
    auto* pCombo = dynamic_cast<CGridCellCombo*>(GetCell(nRow, nCol));
    if (!pCombo)
        return false;
    pCombo->SetComboOptions(options);
    return true;
}

// ---- Flags --------------------------------------------------------------------------------

void CGridCtrl::SetListMode(bool bEnableListMode) {
    m_bListMode = bEnableListMode;
    ClearSelection();
}

void CGridCtrl::EnableSelection(bool bEnable) {
    ClearSelection();
    m_bEnableSelection = bEnable;
}

void CGridCtrl::SetTrackFocusCell(bool bTrack) {
    m_bTrackFocusCell = bTrack;
    viewport()->update();
}

void CGridCtrl::SetFrameFocusCell(bool bFrame) {
    m_bFrameFocus = bFrame;
    viewport()->update();
}

void CGridCtrl::SetGridLines(int nWhichLines) {
    m_nGridLines = std::clamp(nWhichLines, int(GVL_NONE), int(GVL_BOTH));
    viewport()->update();
}

// ---- Colours and default cells -------------------------------------------------------------

void CGridCtrl::SetUpForDialog() {
    ClearSelection();
    SetSortColumn(-1);
    SetListMode(true);
    SetFixedColumnSelection(false);
    SetTrackFocusCell(false);
    SetGridBkColor(QColor(255, 255, 255));
}

void CGridCtrl::SetGridBkColor(const QColor& clr) {
    m_crGridBkColour = clr;
    viewport()->update();
}

void CGridCtrl::SetGridLineColor(const QColor& clr) {
    m_crGridLineColour = clr;
    viewport()->update();
}

void CGridCtrl::SetTextColor(const QColor& clr) {
    m_cellDefault->SetTextClr(clr);
    viewport()->update();
}

QColor CGridCtrl::GetTextColor() const {
    return m_cellDefault->GetTextClr();
}

void CGridCtrl::SetTextBkColor(const QColor& clr) {
    m_cellDefault->SetBackClr(clr);
    viewport()->update();
}

QColor CGridCtrl::GetTextBkColor() const {
    return m_cellDefault->GetBackClr();
}

void CGridCtrl::SetFixedTextColor(const QColor& clr) {
    m_cellFixedRowDef->SetTextClr(clr);
    m_cellFixedColDef->SetTextClr(clr);
    m_cellFixedRowColDef->SetTextClr(clr);
    viewport()->update();
}

QColor CGridCtrl::GetFixedTextColor() const {
    return m_cellFixedRowDef->GetTextClr();
}

void CGridCtrl::SetFixedBkColor(const QColor& clr) {
    m_cellFixedRowDef->SetBackClr(clr);
    m_cellFixedColDef->SetBackClr(clr);
    m_cellFixedRowColDef->SetBackClr(clr);
    viewport()->update();
}

QColor CGridCtrl::GetFixedBkColor() const {
    return m_cellFixedRowDef->GetBackClr();
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool bFixedRow, bool bFixedCol) const {
    if (bFixedRow && bFixedCol)
        return m_cellFixedRowColDef.get();
    if (bFixedRow)
        return m_cellFixedRowDef.get();
    if (bFixedCol)
        return m_cellFixedColDef.get();
    return m_cellDefault.get();
}

// Base colours that still equal the old system colours follow the new ones.
void CGridCtrl::RefreshDefaultColours(const QPalette& oldPalette) {
    const QPalette pal = palette();
    auto follow = [](CGridDefaultCell* pCell, QColor oldText, QColor oldBack, QColor newText,
                     QColor newBack) {
        if (pCell->GetTextClr() == oldText)
            pCell->SetTextClr(newText);
        if (pCell->GetBackClr() == oldBack)
            pCell->SetBackClr(newBack);
    };
    follow(m_cellDefault.get(), oldPalette.color(QPalette::Text), oldPalette.color(QPalette::Base),
           pal.color(QPalette::Text), pal.color(QPalette::Base));
    for (CGridDefaultCell* pCell :
         {m_cellFixedRowDef.get(), m_cellFixedColDef.get(), m_cellFixedRowColDef.get()})
        follow(pCell, oldPalette.color(QPalette::WindowText), oldPalette.color(QPalette::Button),
               pal.color(QPalette::WindowText), pal.color(QPalette::Button));
    if (m_crGridBkColour == oldPalette.color(QPalette::Dark))
        m_crGridBkColour = pal.color(QPalette::Dark);
    m_crShadow = pal.color(QPalette::Dark);
}

// ---- Sorting -------------------------------------------------------------------------------

void CGridCtrl::SetSortColumn(int nCol) {
    m_nSortColumn = (nCol >= 0 && nCol < m_nCols) ? nCol : -1;
    viewport()->update(); // the old and the new header
}

bool CGridCtrl::SortTextItems(int nCol, bool bAscending) {
    if (m_pEditWnd)
        EndEditing(); // before checking: an end-edit handler may change the columns
    if (nCol < 0 || nCol >= m_nCols || GetVirtualMode()) // the source gives the order
        return false;
    // The selection and the focus cell are positions that are about to hold other rows.
    RemoveFromSelection(false);
    SetFocusCell(-1, -1);
    const int first = m_nFixedRows;
    if (GetRowCount() - first > 1) {
        const int stored = StoredColumn(nCol);
        // Heights travel with their rows.
        std::vector<std::pair<std::unique_ptr<Row>, int>> rows;
        rows.reserve(GetRowCount() - first);
        for (int r = first; r < GetRowCount(); ++r)
            rows.emplace_back(std::move(m_rows[r]), m_rowIndex.Size(r));
        std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
            const int cmp = QString::localeAwareCompare(a.first->cells[stored]->GetText(),
                                                        b.first->cells[stored]->GetText());
            return bAscending ? cmp < 0 : cmp > 0;
        });
        for (int r = first; r < GetRowCount(); ++r) {
            m_rows[r] = std::move(rows[r - first].first);
            m_rowIndex.SetSize(r, rows[r - first].second);
            for (int c = 0; c < m_nCols; ++c)
                SetupCell(GetCell(r, c), r, c);
        }
    }
    m_nSortColumn = nCol;
    m_bAscending = bAscending;
    AfterSizeChange();
    return true;
}

// ---- Notifications -------------------------------------------------------------------------

int CGridCtrl::SendMessageToParent(int nRow, int nCol, int nMessage) {
    CGridResult result;
    switch (nMessage) {
    case GVN_CLICK:
        emit click(nRow, nCol, &result);
        break;
    case GVN_DBLCLK:
        emit doubleClick(nRow, nCol, &result);
        break;
    case GVN_RCLICK:
        emit rightClick(nRow, nCol, &result);
        break;
    case GVN_SELCHANGING:
        emit selChanging(nRow, nCol, &result);
        break;
    case GVN_SELCHANGED:
        emit selChanged(nRow, nCol, &result);
        break;
    case GVN_BEGINLABELEDIT:
        emit beginEdit(nRow, nCol, &result);
        break;
    case GVN_ENDLABELEDIT:
        emit endEdit(nRow, nCol, &result);
        break;
    case GVN_BEGINDRAG:
        emit beginDrag(nRow, nCol, &result);
        break;
    default:
        break;
    }
    emit gridNotify(nMessage, nRow, nCol, &result);
    return result.nResult;
}
