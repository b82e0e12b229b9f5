#include "CGridCtrl.h"

#include "CGridCell.h"
#include "CGridCellCombo.h"
#include "CGridDefaultCell.h"
#include "CTitleTip.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>

CGridCtrl::CGridCtrl(QWidget* parent) : QAbstractScrollArea(parent) {
    Init();
}

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols, QWidget* parent)
    : QAbstractScrollArea(parent) {
    Init();
    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl() {
    // The editor and the tip must not call back into a half-destroyed grid.
    if (m_pEditWnd)
        delete m_pEditWnd.data();
    if (m_pTitleTip)
        delete m_pTitleTip.data();
}

void CGridCtrl::Init() {
    m_cellDefault = std::make_unique<CGridDefaultCell>();
    m_cellFixedRowDef = std::make_unique<CGridDefaultCell>();
    m_cellFixedColDef = std::make_unique<CGridDefaultCell>();
    m_cellFixedRowColDef = std::make_unique<CGridDefaultCell>();
    const QPalette pal = palette();
    const QFont msgFont = QApplication::font();
    for (CGridDefaultCell* pCell : {m_cellDefault.get(), m_cellFixedRowDef.get(),
                                    m_cellFixedColDef.get(), m_cellFixedRowColDef.get()}) {
        pCell->SetGrid(this);
        pCell->SetFont(msgFont);
        pCell->SetTextClr(pal.color(QPalette::WindowText));
        pCell->SetBackClr(pal.color(QPalette::Button));
    }
    m_cellDefault->SetBackClr(pal.color(QPalette::Base));
    m_cellDefault->SetTextClr(pal.color(QPalette::Text));
    m_crShadow = pal.color(QPalette::Dark);
    m_crGridBkColour = pal.color(QPalette::Button);
    m_lastPalette = pal;

    m_nRowsPerWheelNotch = QApplication::wheelScrollLines();
    m_autoScrollTimer.setInterval(25);
    connect(&m_autoScrollTimer, &QTimer::timeout, this, &CGridCtrl::OnAutoScrollTick);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(QApplication::doubleClickInterval());
    connect(&m_hoverTimer, &QTimer::timeout, this, &CGridCtrl::OnHoverTimer);

    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

bool CGridCtrl::Create(const QRect& rect, QWidget* parent, int nID) {
    if (parent && parentWidget() != parent)
        setParent(parent);
    m_nID = nID;
    setGeometry(rect);
    show();
    ResetScrollBars();
    return true;
}

// ---- Cells ------------------------------------------------------------------------------

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int nRow, int nCol) {
    std::unique_ptr<CGridCellBase> pCell =
        m_cellFactory ? m_cellFactory() : std::make_unique<CGridCell>();
    if (!pCell)
        pCell = std::make_unique<CGridCell>();
    SetupCell(pCell.get(), nRow, nCol);
    return pCell;
}

void CGridCtrl::SetupCell(CGridCellBase* pCell, int nRow, int nCol) {
    pCell->SetGrid(this);
    pCell->SetCoords(nRow, nCol);
    quint32 state = pCell->GetState() & ~(GVIS_FIXED | GVIS_FIXEDROW | GVIS_FIXEDCOL);
    if (nRow < m_nFixedRows)
        state |= GVIS_FIXED | GVIS_FIXEDROW;
    if (nCol < m_nFixedCols)
        state |= GVIS_FIXED | GVIS_FIXEDCOL;
    pCell->SetState(state);
}

void CGridCtrl::SetDefaultCellType(CGridCellFactory factory) {
    m_cellFactory = std::move(factory);
}

bool CGridCtrl::IsValid(int nRow, int nCol) const {
    return nRow >= 0 && nRow < GetRowCount() && nCol >= 0 && nCol < m_nCols;
}

bool CGridCtrl::IsValid(const CCellRange& range) const {
    return range.IsValid() && range.GetMaxRow() < GetRowCount() && range.GetMaxCol() < m_nCols;
}

int CGridCtrl::StoredColumn(int nCol) const {
    return (nCol >= 0 && nCol < static_cast<int>(m_arColOrder.size())) ? m_arColOrder[nCol] : nCol;
}

CGridCellBase* CGridCtrl::GetCell(int nRow, int nCol) const {
    if (!IsValid(nRow, nCol))
        return nullptr;
    if (IsVirtualRow(nRow)) {
        if (m_pVirtualEditCell && m_idVirtualEdit == CCellID(nRow, nCol))
            return m_pVirtualEditCell.get();
        return VirtualCell(nRow, nCol);
    }
    return m_rows[nRow]->cells[StoredColumn(nCol)].get();
}

bool CGridCtrl::SetCellType(int nRow, int nCol, const CGridCellFactory& factory) {
    CGridCellBase* pOld = GetCell(nRow, nCol);
    if (!pOld || !factory || IsVirtualRow(nRow))
        return false;
    std::unique_ptr<CGridCellBase> pNew = factory();
    if (!pNew)
        return false;
    if (pOld->IsEditing()) {
        EndEditing();
        pOld = GetCell(nRow, nCol); // an end-edit handler may have changed the rows
        if (!pOld)
            return false;
    }
    pNew->CopyFrom(*pOld);
    SetupCell(pNew.get(), nRow, nCol);
    m_rows[nRow]->cells[StoredColumn(nCol)] = std::move(pNew);
    RedrawCell(nRow, nCol);
    return true;
}

// ---- Counts and sizes ---------------------------------------------------------------------

void CGridCtrl::AfterSizeChange() {
    InvalidateScrollBars();
    viewport()->update();
}

bool CGridCtrl::SetRowCount(int nRows) {
    if (nRows < 0)
        return false;
    if (GetVirtualMode())
        ClearRowSource();
    if (nRows < GetRowCount() && m_idEditCell.row >= nRows)
        EndEditing(); // before counting: an end-edit handler may change the rows
    const int old = GetRowCount();
    if (nRows == old)
        return true;
    if (nRows < old) {
        m_rows.resize(nRows);
        m_rowIndex.Resize(nRows, 0);
        if (m_idCurrentCell.row >= nRows)
            m_idCurrentCell = CCellID();
        if (m_SelectionStartCell.row >= nRows)
            m_SelectionStartCell = CCellID();
        m_selection.ClipTo(nRows, m_nCols);
        m_prevSelection.Clear();
        m_nFixedRows = std::min(m_nFixedRows, nRows);
    } else {
        m_rows.reserve(nRows);
        for (int r = old; r < nRows; ++r) {
            auto row = std::make_unique<Row>();
            row->cells.resize(m_nCols);
            for (int c = 0; c < m_nCols; ++c)
                row->cells[StoredColumn(c)] = CreateCell(r, c);
            m_rows.push_back(std::move(row));
        }
        m_rowIndex.Resize(nRows, GetDefCellHeight());
    }
    AfterSizeChange();
    return true;
}

bool CGridCtrl::SetColumnCount(int nCols) {
    if (nCols < 0)
        return false;
    if (nCols < m_nCols && m_idEditCell.col >= nCols)
        EndEditing(); // before counting: an end-edit handler may change the columns
    const int old = m_nCols;
    if (nCols == old)
        return true;
    if (nCols < old) {
        // Drop the stored columns of the removed logical ones and renumber the rest.
        std::vector<int> removed(m_arColOrder.begin() + nCols, m_arColOrder.end());
        std::sort(removed.rbegin(), removed.rend());
        for (auto& row : m_rows)
            for (int stored : removed)
                row->cells.erase(row->cells.begin() + stored);
        for (int stored : removed)
            m_arColWidths.erase(m_arColWidths.begin() + stored);
        m_arColOrder.resize(nCols);
        for (int& stored : m_arColOrder)
            stored -= static_cast<int>(
                std::count_if(removed.begin(), removed.end(), [&](int r) { return r < stored; }));
        m_nCols = nCols;
        if (m_idCurrentCell.col >= nCols)
            m_idCurrentCell = CCellID();
        if (m_SelectionStartCell.col >= nCols)
            m_SelectionStartCell = CCellID();
        m_selection.ClipTo(GetRowCount(), nCols);
        if (static_cast<int>(m_arVirtualFormats.size()) > nCols)
            m_arVirtualFormats.resize(nCols);
        m_prevSelection.Clear();
        m_nFixedCols = std::min(m_nFixedCols, nCols);
    } else {
        for (int c = old; c < nCols; ++c) {
            m_arColOrder.push_back(c);
            m_arColWidths.push_back(GetDefCellWidth());
        }
        m_nCols = nCols;
        for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
            for (int c = old; c < nCols; ++c)
                m_rows[r]->cells.push_back(CreateCell(r, c));
    }
    InvalidateColPositions();
    AfterSizeChange();
    return true;
}

void CGridCtrl::UpdateFixedStates() {
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
        for (int c = 0; c < m_nCols; ++c)
            SetupCell(GetCell(r, c), r, c);
}

bool CGridCtrl::SetFixedRowCount(int nFixedRows) {
    if (nFixedRows < 0)
        return false;
    if (GetVirtualMode() && nFixedRows != m_nFixedRows)
        ClearRowSource();
    if (nFixedRows > GetRowCount())
        SetRowCount(nFixedRows);
    const int old = m_nFixedRows;
    m_nFixedRows = nFixedRows;
    for (int r = std::min(old, nFixedRows); r < std::max(old, nFixedRows); ++r)
        for (int c = 0; c < m_nCols; ++c)
            SetupCell(GetCell(r, c), r, c);
    if (m_idCurrentCell.row >= 0 && m_idCurrentCell.row < nFixedRows)
        SetFocusCell(-1, -1);
    AfterSizeChange();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int nFixedCols) {
    if (nFixedCols < 0)
        return false;
    if (nFixedCols > m_nCols)
        SetColumnCount(nFixedCols);
    const int old = m_nFixedCols;
    m_nFixedCols = nFixedCols;
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
        for (int c = std::min(old, nFixedCols); c < std::max(old, nFixedCols); ++c)
            SetupCell(GetCell(r, c), r, c);
    if (m_idCurrentCell.col >= 0 && m_idCurrentCell.col < nFixedCols)
        SetFocusCell(-1, -1);
    AfterSizeChange();
    return true;
}

int CGridCtrl::GetRowHeight(int nRow) const {
    return (nRow >= 0 && nRow < GetRowCount()) ? m_rowIndex.Size(nRow) : -1;
}

int CGridCtrl::GetColumnWidth(int nCol) const {
    return (nCol >= 0 && nCol < m_nCols) ? m_arColWidths[StoredColumn(nCol)] : -1;
}

bool CGridCtrl::SetRowHeight(int nRow, int height) {
    if (nRow < 0 || nRow >= GetRowCount() || height < 0)
        return false;
    m_rowIndex.SetSize(nRow, height);
    AfterSizeChange();
    return true;
}

bool CGridCtrl::SetColumnWidth(int nCol, int width) {
    if (nCol < 0 || nCol >= m_nCols || width < 0)
        return false;
    m_arColWidths[StoredColumn(nCol)] = width;
    InvalidateColPositions();
    AfterSizeChange();
    return true;
}

const CGridPositionIndex& CGridCtrl::ColIndex() const {
    if (m_bColIndexDirty) {
        std::vector<int> widths(m_nCols);
        for (int c = 0; c < m_nCols; ++c)
            widths[c] = m_arColWidths[StoredColumn(c)];
        m_colIndex.Assign(widths);
        m_bColIndexDirty = false;
    }
    return m_colIndex;
}

long long CGridCtrl::RowTop(int nRow) const {
    return m_rowIndex.Start(nRow);
}
long long CGridCtrl::ColLeft(int nCol) const {
    return ColIndex().Start(nCol);
}
int CGridCtrl::GetFixedRowHeight() const {
    return static_cast<int>(RowTop(m_nFixedRows));
}
int CGridCtrl::GetFixedColumnWidth() const {
    return static_cast<int>(ColLeft(m_nFixedCols));
}
long long CGridCtrl::GetVirtualHeight() const {
    return m_rowIndex.Total();
}
long long CGridCtrl::GetVirtualWidth() const {
    return ColIndex().Total();
}
int CGridCtrl::GetDefCellHeight() const {
    return m_cellDefault->GetHeight();
}
int CGridCtrl::GetDefCellWidth() const {
    return m_cellDefault->GetWidth();
}
void CGridCtrl::SetDefCellHeight(int height) {
    m_cellDefault->SetHeight(std::max(height, 0));
}
void CGridCtrl::SetDefCellWidth(int width) {
    m_cellDefault->SetWidth(std::max(width, 0));
}
int CGridCtrl::GetDefCellMargin() const {
    return m_cellDefault->GetMargin();
}

bool CGridCtrl::SetColumnOrder(const std::vector<int>& order) {
    if (static_cast<int>(order.size()) != m_nCols)
        return false;
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int c = 0; c < m_nCols; ++c)
        if (sorted[c] != c)
            return false;
    m_arColOrder = order;
    InvalidateColPositions();
    AfterSizeChange();
    return true;
}

bool CGridCtrl::AutoSizeColumn(int nCol) {
    if (nCol < 0 || nCol >= m_nCols)
        return false;
    int width = 0;
    auto widen = [&](int r) { width = std::max(width, GetCell(r, nCol)->GetCellExtent().width()); };
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
        widen(r);
    if (GetVirtualMode()) { // the source's rows in view
        const CCellRange shown = GetVisibleNonFixedCellRange();
        for (int r = shown.GetMinRow(); shown.IsValid() && r <= shown.GetMaxRow(); ++r)
            widen(r);
    }
    return SetColumnWidth(nCol, std::max(width, MinVisibleSize()));
}

bool CGridCtrl::AutoSizeRow(int nRow) {
    if (nRow < 0 || nRow >= GetRowCount())
        return false;
    int height = 0;
    for (int c = 0; c < m_nCols; ++c)
        height = std::max(height, GetCell(nRow, c)->GetCellExtent().height());
    return SetRowHeight(nRow, std::max(height, MinVisibleSize()));
}

void CGridCtrl::AutoSizeColumns() {
    for (int c = 0; c < m_nCols; ++c)
        AutoSizeColumn(c);
}

void CGridCtrl::AutoSizeRows() {
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
        AutoSizeRow(r);
}

void CGridCtrl::AutoSize() {
    AutoSizeColumns();
    AutoSizeRows();
}

void CGridCtrl::ExpandColumnsToFit() {
    const int nonFixed = m_nCols - m_nFixedCols;
    if (nonFixed <= 0)
        return;
    const long long spare = viewport()->width() - GetVirtualWidth();
    if (spare <= 0)
        return;
    const int each = static_cast<int>(spare / nonFixed);
    int rest = static_cast<int>(spare % nonFixed);
    for (int c = m_nFixedCols; c < m_nCols; ++c)
        m_arColWidths[StoredColumn(c)] += each + (rest-- > 0 ? 1 : 0);
    InvalidateColPositions();
    AfterSizeChange();
}

// ---- Rows and columns ----------------------------------------------------------------------

int CGridCtrl::InsertRow(const QString& strHeading, int nRow) {
    return InsertRow(strHeading, nRow, -1);
}

// A height below 0 fits the row to its heading's text.
int CGridCtrl::InsertRow(const QString& strHeading, int nRow, int nHeight) {
    if (m_pEditWnd)
        EndEditing(); // before counting: an end-edit handler may change the rows
    if (GetVirtualMode())
        ClearRowSource();
    const int count = GetRowCount();
    if (nRow < 0 || nRow > count)
        nRow = count;
    auto row = std::make_unique<Row>();
    row->cells.resize(m_nCols);
    for (int c = 0; c < m_nCols; ++c)
        row->cells[StoredColumn(c)] = CreateCell(nRow, c);
    m_rows.insert(m_rows.begin() + nRow, std::move(row));

    int height = nHeight >= 0 ? nHeight : GetDefCellHeight();
    if (m_nCols > 0 && !strHeading.isEmpty()) {
        CGridCellBase* pFirst = GetCell(nRow, 0);
        pFirst->SetText(strHeading);
        if (nHeight < 0)
            height = pFirst->GetTextExtentHeight(strHeading);
    }
    m_rowIndex.Insert(nRow, height);

    if (nRow < count) { // rows below move down by one
        if (nRow < m_nFixedRows) {
            ++m_nFixedRows;
            UpdateFixedStates();
        }
        auto shift = [nRow](CCellID& id) {
            if (id.row >= nRow)
                ++id.row;
        };
        shift(m_idCurrentCell);
        shift(m_SelectionStartCell);
        m_selection.InsertRow(nRow);
        m_prevSelection.Clear();
    }
    m_bModified = true;
    AfterSizeChange();
    return nRow;
}

int CGridCtrl::AppendRow(const QString& strHeading) {
    return InsertRow(strHeading, -1, -1);
}

int CGridCtrl::AppendRow(const QString& strHeading, int nHeight) {
    return InsertRow(strHeading, -1, std::max(nHeight, 0));
}

int CGridCtrl::InsertColumn(const QString& strHeading, quint32 nFormat, int nColumn) {
    if (m_pEditWnd)
        EndEditing(); // before counting: an end-edit handler may change the columns
    if (nColumn < 0 || nColumn > m_nCols)
        nColumn = m_nCols;
    if (nColumn < m_nCols) // the selected positions are about to hold other cells
        RemoveFromSelection(false);
    const int stored = m_nCols; // the new column is stored last
    m_arColWidths.push_back(GetDefCellWidth());
    m_arColOrder.insert(m_arColOrder.begin() + nColumn, stored);
    ++m_nCols;
    if (nColumn < m_nFixedCols)
        ++m_nFixedCols;
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
        m_rows[r]->cells.push_back(CreateCell(r, nColumn));
    if (nColumn < static_cast<int>(m_arVirtualFormats.size()))
        m_arVirtualFormats.insert(m_arVirtualFormats.begin() + nColumn, nFormat);
    if (nColumn < m_nCols - 1) {
        UpdateFixedStates();
        m_prevSelection.Clear();
        if (m_idCurrentCell.col >= nColumn)
            ++m_idCurrentCell.col;
        m_SelectionStartCell = CCellID();
    }
    if (GetRowCount() > 0) {
        CGridCellBase* pCell = GetCell(0, nColumn);
        pCell->SetText(strHeading);
        pCell->SetFormat(nFormat);
    }
    InvalidateColPositions();
    AfterSizeChange();
    return nColumn;
}

bool CGridCtrl::DeleteRow(int nRow) {
    if (nRow < 0 || nRow >= GetRowCount())
        return false;
    if (m_pEditWnd)
        EndEditing();
    if (nRow < 0 || nRow >= GetRowCount() || IsVirtualRow(nRow)) // or an end-edit handler
        return false;                                            // may have removed it
    m_rows.erase(m_rows.begin() + nRow);
    m_rowIndex.Erase(nRow);
    if (nRow < m_nFixedRows) {
        --m_nFixedRows;
        UpdateFixedStates();
    }
    if (m_idCurrentCell.row == nRow)
        m_idCurrentCell = CCellID();
    else if (m_idCurrentCell.row > nRow)
        --m_idCurrentCell.row;
    if (m_SelectionStartCell.row == nRow)
        m_SelectionStartCell = CCellID();
    else if (m_SelectionStartCell.row > nRow)
        --m_SelectionStartCell.row;
    m_selection.RemoveRow(nRow);
    m_prevSelection.Clear();
    m_nSortColumn = -1;
    m_bModified = true;
    AfterSizeChange();
    return true;
}

bool CGridCtrl::DeleteColumn(int nColumn) {
    if (m_pEditWnd)
        EndEditing(); // before checking: an end-edit handler may change the columns
    if (nColumn < 0 || nColumn >= m_nCols)
        return false;
    const int stored = StoredColumn(nColumn);
    for (auto& row : m_rows)
        row->cells.erase(row->cells.begin() + stored);
    m_arColWidths.erase(m_arColWidths.begin() + stored);
    m_arColOrder.erase(m_arColOrder.begin() + nColumn);
    if (nColumn < static_cast<int>(m_arVirtualFormats.size()))
        m_arVirtualFormats.erase(m_arVirtualFormats.begin() + nColumn);
    for (int& s : m_arColOrder)
        if (s > stored)
            --s;
    --m_nCols;
    if (nColumn < m_nFixedCols)
        --m_nFixedCols;
    UpdateFixedStates();
    if (m_idCurrentCell.col == nColumn)
        m_idCurrentCell = CCellID();
    else if (m_idCurrentCell.col > nColumn)
        --m_idCurrentCell.col;
    m_SelectionStartCell = CCellID();
    m_selection.Clear();
    m_prevSelection.Clear();
    if (m_nSortColumn == nColumn)
        m_nSortColumn = -1;
    else if (m_nSortColumn > nColumn)
        --m_nSortColumn;
    InvalidateColPositions();
    AfterSizeChange();
    return true;
}

bool CGridCtrl::DeleteNonFixedRows() {
    if (m_pEditWnd)
        EndEditing();
    if (GetVirtualMode()) {
        ClearRowSource();
        m_nSortColumn = -1;
        m_bModified = true;
        return true;
    }
    const int fixed = m_nFixedRows;
    const int count = GetRowCount();
    if (count > fixed) {
        SetRowCount(fixed); // frees the rows from the last down to the first non-fixed one
        m_nSortColumn = -1;
        m_bModified = true;
    }
    return true;
}

bool CGridCtrl::DeleteAllItems() {
    if (m_pEditWnd)
        EndEditing();
    m_rowCache.SetSource(nullptr);
    m_nVirtualRows = 0;
    m_rows.clear();
    m_rowIndex.Clear();
    m_arVirtualFormats.clear();
    m_arColWidths.clear();
    m_arColOrder.clear();
    m_nCols = m_nFixedRows = m_nFixedCols = 0;
    m_idCurrentCell = m_SelectionStartCell = CCellID();
    m_selection.Clear();
    m_prevSelection.Clear();
    m_nSortColumn = -1;
    InvalidateColPositions();
    AfterSizeChange();
    return true;
}
