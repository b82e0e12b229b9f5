// CGridCtrl: the table control of every dialog.
//
// A scroll area that paints its cells itself. Rows and columns count from 0 and include the
// fixed header rows and columns. Indices outside the grid do nothing and report failure.
//
// NOTIFICATIONS TO THE PARENT
// ---------------------------
// Each notification is a Qt signal carrying the row, the column and a
// result object that the handler may set (a direct, synchronous call, so the grid reads the
// answer as soon as the signal returns):
//
//   code  signal          when                                        answer
//   -2    click           left click on a cell (after the release)     -
//   -3    doubleClick     double click on a cell                       -
//   -5    rightClick      right click; row and col -1 outside cells    -
//   -100  selChanging     focus or selection about to change           -
//   -101  selChanged      focus or selection changed                   -
//   -105  beginEdit       in-place editing about to begin              negative: no editor
//   -106  endEdit         in-place editing ended (new text in cell)    negative: old text back
//   -109  beginDrag       a drag is starting                           -
//
// Besides, every notification is also sent through gridNotify(code, row, col, result).
// Connect in one line; the slot may take (row, col) or (row, col, result):
//
//   connect(m_grid, &CGridCtrl::endEdit, this, &CSaleOutDlg::OnGridEndEdit);
//   void CSaleOutDlg::OnGridEndEdit(int row, int col, CGridResult* result);  // result->nResult =
//   -1 vetoes
//
// With several grids in one dialog, tell them apart by connecting each separately or with
// qobject_cast<CGridCtrl*>(sender())->GetDlgCtrlID().
#pragma once

#include "CCellRange.h"
#include "CGridCellBase.h"
#include "CGridPositionIndex.h"
#include "CGridRowCache.h"
#include "CGridSelection.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QHash>
#include <QPalette>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class CGridCell;
class CGridCellCombo;
class CGridDefaultCell;
class CTitleTip;
class QMimeData;

// Notification codes, as the dialogs know them.
enum : int {
    GVN_CLICK = -2,
    GVN_DBLCLK = -3,
    GVN_RCLICK = -5,
    GVN_SELCHANGING = -100,
    GVN_SELCHANGED = -101,
    GVN_BEGINLABELEDIT = -105,
    GVN_ENDLABELEDIT = -106,
    GVN_BEGINDRAG = -109,
};

// Grid line modes.
enum : int { GVL_NONE = 0, GVL_HORZ = 1, GVL_VERT = 2, GVL_BOTH = 3 };

// Start "characters" of an edit and the last key of an end-edit record. Typed characters are
// their Unicode code points; keys use Qt key codes (all above the Unicode range).
enum : int {
    GVK_LBUTTON = 1, // editing started with the mouse
    GVK_RETURN = Qt::Key_Return,
    GVK_TAB = Qt::Key_Tab,
    GVK_BACKTAB = Qt::Key_Backtab, // Shift+Tab
    GVK_ESCAPE = Qt::Key_Escape,
    GVK_BACK = Qt::Key_Backspace,
    GVK_PRIOR = Qt::Key_PageUp,
    GVK_NEXT = Qt::Key_PageDown,
    GVK_END = Qt::Key_End,
    GVK_HOME = Qt::Key_Home,
    GVK_LEFT = Qt::Key_Left,
    GVK_UP = Qt::Key_Up,
    GVK_RIGHT = Qt::Key_Right,
    GVK_DOWN = Qt::Key_Down,
};

// Tab, Shift+Tab and the move keys: they end an edit and carry on into the next cell.
inline bool IsGridMoveKey(int key) {
    switch (key) {
    case GVK_TAB:
    case GVK_BACKTAB:
    case GVK_PRIOR:
    case GVK_NEXT:
    case GVK_END:
    case GVK_HOME:
    case GVK_LEFT:
    case GVK_UP:
    case GVK_RIGHT:
    case GVK_DOWN:
        return true;
    default:
        return false;
    }
}

// Answer of a notification handler; 0 unless the handler sets it.
struct CGridResult {
    int nResult = 0;
    void Cancel() { nResult = -1; }
};

// The end-edit record the in-place editors send to the grid.
struct GV_DISPINFO {
    int row = -1;
    int col = -1;
    quint32 mask = 5;
    QString strText;
    int lastKey = 0; // 0, GVK_TAB, GVK_BACKTAB, GVK_RETURN, GVK_ESCAPE or a move key
};

// Makes a fresh cell; the grid's cell factory and SetCellType use it.
using CGridCellFactory = std::function<std::unique_ptr<CGridCellBase>()>;

class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    CGridCtrl(int nRows, int nCols, int nFixedRows = 0, int nFixedCols = 0,
              QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // Places the grid at rect inside parent with the control id (100, 101, ...) and shows it.
    bool Create(const QRect& rect, QWidget* parent, int nID = 100);
    int GetDlgCtrlID() const { return m_nID; }
    void SetDlgCtrlID(int nID) { m_nID = nID; }

    // ---- Counts and sizes --------------------------------------------------------------
    int GetRowCount() const { return static_cast<int>(m_rows.size()) + m_nVirtualRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    bool SetRowCount(int nRows = 10);
    bool SetColumnCount(int nCols = 10);
    bool SetFixedRowCount(int nFixedRows = 1);
    bool SetFixedColumnCount(int nFixedCols = 1);

    int GetRowHeight(int nRow) const;
    int GetColumnWidth(int nCol) const;
    bool SetRowHeight(int nRow, int height);
    bool SetColumnWidth(int nCol, int width);
    int GetFixedRowHeight() const;   // total height of the fixed rows
    int GetFixedColumnWidth() const; // total width of the fixed columns
    long long GetVirtualHeight() const;
    long long GetVirtualWidth() const;
    int GetDefCellHeight() const;
    int GetDefCellWidth() const;
    void SetDefCellHeight(int height);
    void SetDefCellWidth(int width);
    int GetDefCellMargin() const;

    bool AutoSizeColumn(int nCol);
    bool AutoSizeRow(int nRow);
    void AutoSizeColumns(); // every column to fit its text
    void AutoSizeRows();
    void AutoSize();
    void ExpandColumnsToFit(); // widens the non-fixed columns to fill the client width

    // Column order: logical column -> stored column (width lookups go through it).
    const std::vector<int>& GetColumnOrder() const { return m_arColOrder; }
    bool SetColumnOrder(const std::vector<int>& order);

    // ---- Rows, columns, cells ---------------------------------------------------------
    int InsertRow(const QString& strHeading, int nRow = -1); // -1: at the end; returns the index
    int AppendRow(const QString& strHeading = QString());
    // A row of the given height, for lists whose rows all have one height: the heading's text is
    // not measured for a height that would be replaced at once.
    int InsertRow(const QString& strHeading, int nRow, int nHeight);
    int AppendRow(const QString& strHeading, int nHeight);
    int InsertColumn(const QString& strHeading,
                     quint32 nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int nColumn = -1);
    bool DeleteRow(int nRow);
    bool DeleteColumn(int nColumn);
    bool DeleteNonFixedRows();
    bool DeleteAllItems();

    CGridCellBase* GetCell(int nRow, int nCol) const;
    bool IsValid(int nRow, int nCol) const;
    bool IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const CCellRange& range) const;

    // The factory for new cells (CGridCell unless changed).
    void SetDefaultCellType(CGridCellFactory factory);
    // Replaces the cell by a new one of the given class, keeping its contents.
    bool SetCellType(int nRow, int nCol, const CGridCellFactory& factory);
    template <class T> bool SetCellType(int nRow, int nCol) {
        return SetCellType(nRow, nCol, [] { return std::unique_ptr<CGridCellBase>(new T); });
    }

    bool SetCellText(int nRow, int nCol, const QString& str);
    QString GetCellText(int nRow, int nCol) const;
    bool SetCellFormat(int nRow, int nCol, quint32 nFormat);
    quint32 GetCellFormat(int nRow, int nCol) const;
    bool SetCellTextColor(int nRow, int nCol, const QColor& clr = QColor());
    QColor GetCellTextColor(int nRow, int nCol) const; // invalid: the default
    bool SetCellBackColor(int nRow, int nCol, const QColor& clr = QColor());
    QColor GetCellBackColor(int nRow, int nCol) const;
    bool SetCellFont(int nRow, int nCol, const QFont& font);
    QFont GetCellFont(int nRow, int nCol) const;
    bool SetCellData(int nRow, int nCol, qintptr lParam);
    qintptr GetCellData(int nRow, int nCol) const;
    bool SetCellImage(int nRow, int nCol, int nImage);
    int GetCellImage(int nRow, int nCol) const;
    bool SetCellState(int nRow, int nCol, quint32 nState);
    quint32 GetCellState(int nRow, int nCol) const;
    bool SetCellReadOnly(int nRow, int nCol, bool bReadOnly = true); // state bit 0x08
    bool IsCellEditable(int nRow, int nCol) const;
    bool IsCellFixed(int nRow, int nCol) const;
    bool IsCellSelected(int nRow, int nCol) const;
    bool IsCellVisible(int nRow, int nCol) const; // fully inside the client area
    bool SetComboOptions(int nRow, int nCol, const QStringList& options); // on a combo cell

    // ---- Grid flags (set by the dialogs right after creation) --------------------------
    // The set-up every dialog gives its grids: no selection, no sort column, list mode,
    // no fixed column selection, no focus-cell tracking, white background.
    void SetUpForDialog();
    void SetEditable(bool bEditable = true) { m_bEditable = bEditable; }
    bool IsEditable() const { return m_bEditable; }
    void SetListMode(bool bEnableListMode = true);
    bool GetListMode() const { return m_bListMode; }
    void EnableSelection(bool bEnable = true);
    bool IsSelectable() const { return m_bEnableSelection; }
    void SetSingleRowSelection(bool bSing = true) { m_bSingleRowSelection = bSing; }
    bool GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void SetSingleColSelection(bool bSing = true) { m_bSingleColSelection = bSing; }
    bool GetSingleColSelection() const { return m_bSingleColSelection; }
    void SetFixedRowSelection(bool bSelect = true) { m_bFixedRowSelection = bSelect; }
    bool GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetFixedColumnSelection(bool bSelect = true) { m_bFixedColumnSelection = bSelect; }
    bool GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetTrackFocusCell(bool bTrack = true);
    bool GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetFrameFocusCell(bool bFrame = true);
    bool GetFrameFocusCell() const { return m_bFrameFocus; }
    void SetHeaderSort(bool bSortOnClick = true) { m_bSortOnClick = bSortOnClick; }
    bool GetHeaderSort() const { return m_bSortOnClick; }
    void EnableTitleTips(bool bEnable = true) { m_bTitleTips = bEnable; }
    bool GetTitleTips() const { return m_bTitleTips; }
    void SetGridLines(int nWhichLines = GVL_BOTH);
    int GetGridLines() const { return m_nGridLines; }
    void SetRowResize(bool bResize = true) { m_bAllowRowResize = bResize; }
    bool GetRowResize() const { return m_bAllowRowResize; }
    void SetColumnResize(bool bResize = true) { m_bAllowColumnResize = bResize; }
    bool GetColumnResize() const { return m_bAllowColumnResize; }
    void EnableHiddenColUnhide(bool bEnable = true) { m_bHiddenColUnhide = bEnable; } // hiding
    void EnableDragAndDrop(bool bAllow = true) { m_bAllowDragAndDrop = bAllow; }
    void SetTabToNextControl(bool bTab = true) { m_bTabToNextControl = bTab; }
    bool GetTabToNextControl() const { return m_bTabToNextControl; }
    bool GetVirtualMode() const { return m_rowCache.Source() != nullptr; }
    void SetModified(bool bModified = true) { m_bModified = bModified; }
    bool GetModified() const { return m_bModified; }

    // ---- Virtual mode -------------------------------------------------------------------
    // The rows below the fixed ones come from source, asked for as they are painted, copied or
    // read; the grid stores no cell for them. They are read-only, all of one height (-1: the
    // default cell height), and their cells take the column's format. The fixed rows stay as
    // they are; the focus cell and the selection are cleared. GetCell on such a row gives a
    // cell that lasts until the next GetCell; setting its text or colours changes nothing.
    void SetRowSource(std::shared_ptr<CGridRowSource> source, int nRowHeight = -1);
    // Back to stored rows, with no row below the fixed ones.
    void ClearRowSource();
    std::shared_ptr<CGridRowSource> GetRowSource() const { return m_rowCache.Source(); }
    // Reads the rows from the source again (after a failure too), with its current count.
    void ReloadRowSource();
    bool IsVirtualRow(int nRow) const;
    // The format of the cells of the source's rows in a column.
    void SetColumnFormat(int nCol, quint32 nFormat);
    // A column of the source's rows that the user may change in an editable grid: in a text
    // box, or from a drop list when options are given. What the user sets (or SetCellText
    // sets) shows over the source's text until the rows are read again (SetRowSource,
    // ReloadRowSource); the owner stores it in its end-edit handler.
    void SetColumnEditable(int nCol, const QStringList& options = {});

    // ---- Colours and default cells -----------------------------------------------------
    void SetGridBkColor(const QColor& clr);
    QColor GetGridBkColor() const { return m_crGridBkColour; }
    void SetGridLineColor(const QColor& clr);
    QColor GetGridLineColor() const { return m_crGridLineColour; }
    void SetTextColor(const QColor& clr); // ordinary cells' default text colour
    QColor GetTextColor() const;
    void SetTextBkColor(const QColor& clr); // ordinary cells' default background
    QColor GetTextBkColor() const;
    void SetFixedTextColor(const QColor& clr); // fixed cells' default text colour
    QColor GetFixedTextColor() const;
    void SetFixedBkColor(const QColor& clr); // fixed cells' default background
    QColor GetFixedBkColor() const;
    QColor GetShadowColor() const { return m_crShadow; }
    // The default cell for ordinary cells (false, false), fixed rows, fixed columns or both.
    CGridDefaultCell* GetDefaultCell(bool bFixedRow, bool bFixedCol) const;

    // ---- Focus, selection, sort ---------------------------------------------------------
    CCellID GetFocusCell() const { return m_idCurrentCell; }
    CCellID SetFocusCell(int nRow, int nCol); // returns the previous focus cell
    CCellID SetFocusCell(CCellID cell);
    void ClearSelection(); // empties the selection and clears the focus cell
    void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol,
                          bool bForceRepaint = false, bool bSelectCells = true);
    void SetSelectedRange(const CCellRange& range, bool bForceRepaint = false);
    CCellRange GetSelectedRange() const; // bounding range of the selected cells
    int GetSelectedCount() const;
    CCellRange GetCellRange() const; // every cell
    void SelectAllCells();
    void SelectRows(CCellID currentCell, bool bForceRedraw = false, bool bSelectCells = true);
    void SelectColumns(CCellID currentCell, bool bForceRedraw = false, bool bSelectCells = true);

    int GetSortColumn() const { return m_nSortColumn; }
    void SetSortColumn(int nCol);
    bool GetSortAscending() const { return m_bAscending; }
    void SetSortAscending(bool bAscending) { m_bAscending = bAscending; }
    bool SortTextItems(int nCol, bool bAscending); // sorts the non-fixed rows by text

    // ---- Geometry, scrolling, redrawing --------------------------------------------------
    bool GetCellRect(int nRow, int nCol, QRect& rect) const; // viewport coordinates
    QRect GetCellRect(int nRow, int nCol) const;
    CCellID GetCellFromPt(const QPoint& point, bool bAllowFixedCellCheck = true) const;
    CCellID GetTopleftNonFixedCell() const;
    CCellRange GetVisibleNonFixedCellRange() const;
    void EnsureVisible(int nRow, int nCol);
    void EnsureVisible(CCellID cell) { EnsureVisible(cell.row, cell.col); }
    void Refresh();
    bool RedrawCell(int nRow, int nCol);
    bool RedrawRow(int nRow);
    bool RedrawColumn(int nCol);
    int GetWheelScrollLines() const { return m_nRowsPerWheelNotch; }

    // ---- Clipboard --------------------------------------------------------------------
    // Copy: the selected range, cells joined by a tab, every row ended by "\r\n".
    QString CopyTextFromGrid() const;
    // Puts text the user pasted, cut or deleted into a cell and tells the parent as the end of an
    // edit (-106); a veto gives the old text back. False when the text did not stay.
    bool SetCellTextByUser(int nRow, int nCol, const QString& text);
    bool PasteTextToGrid(CCellID cell, const QString& text); // stops at the grid's edges
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditSelectAll();
    void CutSelectedText(); // clears the text of the selected, editable cells

    // ---- In-place editing ---------------------------------------------------------------
    // Starts editing the cell; nChar is a GVK_ value or a typed character.
    void OnEditCell(int nRow, int nCol, QPoint point, int nChar);
    void EditCell(int nRow, int nCol, int nChar = GVK_LBUTTON) {
        OnEditCell(nRow, nCol, {}, nChar);
    }
    void EndEditing();           // closes an open editor, keeping its text
    QWidget* GetEditWnd() const; // the open in-place editor, if any
    // Called by the in-place editors when they close (the end-edit record).
    void OnEndInPlaceEdit(const GV_DISPINFO& info);
    CTitleTip* GetTitleTip() const;
    // True while a title tip waits for the mouse to rest on a cell.
    bool IsHoverPending() const { return m_hoverTimer.isActive(); }
    // True while a drag beyond the edge keeps scrolling.
    bool IsAutoScrolling() const { return m_autoScrollTimer.isActive(); }

    // Sends a notification to the parent and returns its answer.
    int SendMessageToParent(int nRow, int nCol, int nMessage);

  signals:
    void gridNotify(int code, int row, int col, CGridResult* result);
    void click(int row, int col, CGridResult* result);
    void doubleClick(int row, int col, CGridResult* result);
    void rightClick(int row, int col, CGridResult* result);
    void selChanging(int row, int col, CGridResult* result);
    void selChanged(int row, int col, CGridResult* result);
    void beginEdit(int row, int col, CGridResult* result);
    void endEdit(int row, int col, CGridResult* result);
    void beginDrag(int row, int col, CGridResult* result);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  public:
    // Drawing helpers used by the cells.
    QRect GetTextRectInCell(const QRect& cellRect, const CGridCellBase* pCell) const;
    int GetScrollBarThickness() const;

  private:
    struct Row {
        std::vector<std::unique_ptr<CGridCellBase>> cells; // by stored column
    };
    enum MouseMode {
        MOUSE_NOTHING = 0,
        MOUSE_SELECT_ALL = 1,
        MOUSE_SELECT_COL = 2,
        MOUSE_SELECT_ROW = 3,
        MOUSE_SELECT_CELLS = 4,
        MOUSE_SCROLLING_CELLS = 5,
        MOUSE_OVER_ROW_DIVIDE = 6,
        MOUSE_SIZING_ROW = 7,
        MOUSE_OVER_COL_DIVIDE = 8,
        MOUSE_SIZING_COL = 9,
        MOUSE_PREPARE_EDIT = 10,
        MOUSE_PREPARE_DRAG = 11,
        MOUSE_DRAGGING = 12
    };

    void Init();
    CGridCellBase* VirtualCell(int nRow, int nCol) const;
    bool IsVirtualEditColumn(int nCol) const { return m_virtualEditColumns.contains(nCol); }
    // A text given to an editable cell of a source's row, or taken back.
    bool SetVirtualText(int nRow, int nCol, const QString& str);
    void ForgetVirtualTexts();
    // The cell of a source's row being edited has an object of its own while its editor is open
    // (the shared cell changes with every cell painted).
    CGridCellBase* BeginVirtualEdit(int nRow, int nCol);
    void EndVirtualEdit() { m_idVirtualEdit = CCellID(); }
    // After an end-edit handler: whether the cell it was told about is still the same one (the
    // handler may have removed the row or given the grid new rows).
    bool IsSameEditedCell(int nRow, int nCol, const CGridCellBase* pCell, int nReadsBefore) const;
    // Gives an edited cell its text back after a refused edit.
    void RestoreEditedText(CGridCellBase* pCell, int nRow, int nCol, const QString& oldText,
                           quint32 oldState);
    CGridCellBase* StoredCell(int nRow, int nCol) const;
    void SetVirtualRowCount(int nRows, int nHeight);
    std::unique_ptr<CGridCellBase> CreateCell(int nRow, int nCol);
    void SetupCell(CGridCellBase* pCell, int nRow, int nCol);
    void ResetScrollBars();
    // Sizes or counts changed: the scroll ranges are recomputed once, before the next paint or
    // the next read of the scroll position, instead of after every change.
    void InvalidateScrollBars() { m_bScrollBarsDirty = true; }
    void EnsureScrollBars() const;
    void UpdateFixedStates();
    void InvalidateColPositions() { m_bColIndexDirty = true; }
    const CGridPositionIndex& ColIndex() const;
    void AfterSizeChange();
    void SelectRangeFromAnchor(CCellID cell);
    bool IsOverFocusCellText(CCellID cell, const QPoint& pt) const;
    int ColumnBorderAt(int x) const; // column whose right border is near x, or -1
    int RowBorderAt(int y) const;
    void DrawBackground(QPainter& painter);
    void DrawBlock(QPainter& painter, const QRect& clip, int minRow, int maxRow, int minCol,
                   int maxCol);
    void DrawGridLines(QPainter& painter, int minRow, int maxRow, int minCol, int maxCol);
    void DrawResizeLine(QPainter& painter);
    void RefreshDefaultColours(const QPalette& oldPalette);
    bool HandleClipboardKey(QKeyEvent* event);
    bool HandleMoveKey(QKeyEvent* event);
    void ContinueEditingWithKey(int lastKey);
    CCellID NextCellForKey(CCellID cell, int key, bool bCtrl) const;
    int NextVisibleRow(int row, int step) const;
    int NextVisibleCol(int col, int step) const;
    long long RowTop(int nRow) const; // position in the whole virtual grid
    long long ColLeft(int nCol) const;
    int RowAtVirtualY(long long y) const; // binary search over the prefix sums
    int ColAtVirtualX(long long x) const;
    long long ScrollOffsetY() const; // virtual y of the first non-fixed row shown at the top
    long long ScrollOffsetX() const;
    int ViewportYOfRow(int nRow) const;
    int ViewportXOfCol(int nCol) const;
    int StoredColumn(int nCol) const;
    void RemoveFromSelection(bool bRedraw);
    void MoveFocusByKey(CCellID next, int key, bool bShift);
    void ScrollToRow(int nRow);
    void ScrollToCol(int nCol);
    bool MouseOverRowResizeArea(const QPoint& pt) const;
    bool MouseOverColumnResizeArea(const QPoint& pt) const;
    void OnFixedRowClick(CCellID cell);
    void OnFixedColumnClick(CCellID cell);
    void ShowTitleTipFor(CCellID cell);
    void HideTitleTip();
    void OnHoverTimer();
    void OnAutoScrollTick();
    void SetCursorShape(Qt::CursorShape shape);
    int MinVisibleSize() const { return m_bHiddenColUnhide ? 0 : 1; }

    int m_nID = 100;
    std::vector<std::unique_ptr<Row>> m_rows;
    int m_nCols = 0;
    int m_nFixedRows = 0;
    int m_nFixedCols = 0;
    std::vector<int> m_arColWidths; // by stored column
    std::vector<int> m_arColOrder;  // logical -> stored

    // Row heights and column widths (logical order) with their prefix sums.
    CGridPositionIndex m_rowIndex;
    mutable CGridPositionIndex m_colIndex;
    mutable bool m_bColIndexDirty = true;
    mutable bool m_bScrollBarsDirty = false;
    bool m_bPainting = false;

    std::unique_ptr<CGridDefaultCell> m_cellDefault, m_cellFixedRowDef, m_cellFixedColDef,
        m_cellFixedRowColDef;
    CGridCellFactory m_cellFactory;

    // Virtual mode: the rows below the stored (fixed) ones, the few of them read, the one cell
    // that stands for any of their cells, and the formats of their columns.
    int m_nVirtualRows = 0;
    mutable CGridRowCache m_rowCache;
    std::unique_ptr<CGridCell> m_pVirtualCell;
    std::unique_ptr<CGridCellCombo> m_pVirtualComboCell; // for the columns with a drop list
    std::vector<quint32> m_arVirtualFormats;             // by logical column
    QHash<int, QStringList> m_virtualEditColumns;        // logical column -> drop list options
    QHash<QPair<int, int>, QString> m_virtualTexts;      // (row, column) -> what the user set
    int m_nVirtualReads = 0; // counts the times the source's rows were given anew
    std::unique_ptr<CGridCell> m_pVirtualEditCell, m_pRetiredEditCell;
    CCellID m_idVirtualEdit;

    CCellID m_idCurrentCell;
    CCellID m_SelectionStartCell; // the anchor
    CGridSelection m_selection;
    int m_nSortColumn = -1;
    bool m_bAscending = true;

    QColor m_crGridLineColour{192, 192, 192};
    QColor m_crGridBkColour;
    QColor m_crShadow;
    int m_nGridLines = GVL_BOTH;

    bool m_bEditable = true;
    bool m_bListMode = false;
    bool m_bEnableSelection = true;
    bool m_bSingleRowSelection = false;
    bool m_bSingleColSelection = false;
    bool m_bFixedRowSelection = true;
    bool m_bFixedColumnSelection = true;
    bool m_bTrackFocusCell = true;
    bool m_bFrameFocus = true;
    bool m_bSortOnClick = false;
    bool m_bTitleTips = true;
    bool m_bModified = false;
    bool m_bAllowRowResize = true;
    bool m_bAllowColumnResize = true;
    bool m_bHiddenColUnhide = false;
    bool m_bAllowDragAndDrop = false;
    bool m_bTabToNextControl = false;

    // Mouse state
    int m_MouseMode = MOUSE_NOTHING;
    CCellID m_LeftClickDownCell;
    QPoint m_LeftClickDownPoint;
    QPoint m_LastMousePoint;
    CGridSelection m_prevSelection; // kept by a Ctrl+click
    int m_nResizeIndex = -1;        // row or column being resized
    int m_nResizeStart = 0;         // viewport position of its start edge
    int m_nResizeLine = -1;         // where the resize line is drawn
    bool m_bIgnoreRelease = false;
    QTimer m_autoScrollTimer;
    int m_nRowsPerWheelNotch = 3;

    // Editing and title tips
    QPointer<QWidget> m_pEditWnd;
    CCellID m_idEditCell;
    bool m_bInEndEdit = false;
    QPointer<CTitleTip> m_pTitleTip;
    QTimer m_hoverTimer;
    QPalette m_lastPalette;
    CCellID m_hoverCell;
};
