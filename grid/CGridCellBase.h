// Abstract base of every grid cell: state flags and the cell's virtual operations.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class CGridCtrl;
class CGridDefaultCell;
class QPainter;
class QWidget;

// Cell state flags.
enum : quint32 {
    GVIS_FOCUSED = 0x01,
    GVIS_SELECTED = 0x02,
    GVIS_DROPHILITED = 0x04,
    GVIS_READONLY = 0x08,
    GVIS_FIXED = 0x10,
    GVIS_FIXEDROW = 0x20,
    GVIS_FIXEDCOL = 0x40,
    GVIS_MODIFIED = 0x80,
};

// Text-drawing flags, the values of the Windows DrawText flags that the dialogs pass as cell
// formats (5 = DT_CENTER | DT_VCENTER). Defined as macros, as the Windows headers do.
#ifndef DT_LEFT
#define DT_TOP 0x00000000u
#define DT_LEFT 0x00000000u
#define DT_CENTER 0x00000001u
#define DT_RIGHT 0x00000002u
#define DT_VCENTER 0x00000004u
#define DT_BOTTOM 0x00000008u
#define DT_WORDBREAK 0x00000010u
#define DT_SINGLELINE 0x00000020u
#define DT_EXPANDTABS 0x00000040u
#define DT_NOCLIP 0x00000100u
#define DT_CALCRECT 0x00000400u
#define DT_NOPREFIX 0x00000800u
#define DT_END_ELLIPSIS 0x00008000u
#endif

class CGridCellBase {
  public:
    CGridCellBase() = default;
    virtual ~CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;

    // Setters
    virtual void SetText(const QString& strText) = 0;
    virtual void SetImage(int nImage) = 0;
    virtual void SetData(qintptr lParam) = 0;
    virtual void SetState(quint32 nState) { m_nState = nState; }
    virtual void SetFormat(quint32 nFormat) = 0;
    virtual void SetTextClr(const QColor& clr) = 0; // an invalid QColor is the default marker
    virtual void SetBackClr(const QColor& clr) = 0;
    virtual void SetFont(const QFont* pFont) = 0; // nullptr clears the cell's own font
    virtual void SetMargin(int nMargin) = 0;      // -1: take the default cell's
    virtual void SetGrid(CGridCtrl* pGrid) = 0;
    virtual void SetCoords(int /*nRow*/, int /*nCol*/) {}

    // Getters. Format, font and margin fall back to the default cell; colours do not (an
    // invalid colour means "the default cell's", resolved when drawing).
    virtual QString GetText() const = 0;
    virtual QString GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual qintptr GetData() const = 0;
    virtual quint32 GetState() const { return m_nState; }
    virtual quint32 GetFormat() const = 0;
    virtual QColor GetTextClr() const = 0;
    virtual QColor GetBackClr() const = 0;
    virtual QFont GetFont() const = 0; // the font description
    virtual QFont GetFontObject() const { return GetFont(); }
    virtual CGridCtrl* GetGrid() const = 0;
    virtual QWidget* GetEditWnd() const = 0;
    virtual int GetMargin() const = 0;
    virtual CGridDefaultCell* GetDefaultCell() const;
    virtual bool IsDefaultFont() const = 0;
    virtual bool IsEditing() const = 0;

    bool IsFocused() const { return GetState() & GVIS_FOCUSED; }
    bool IsFixed() const { return GetState() & GVIS_FIXED; }
    bool IsFixedCol() const { return GetState() & GVIS_FIXEDCOL; }
    bool IsFixedRow() const { return GetState() & GVIS_FIXEDROW; }
    bool IsSelected() const { return GetState() & GVIS_SELECTED; }
    bool IsReadOnly() const { return GetState() & GVIS_READONLY; }
    bool IsModified() const { return GetState() & GVIS_MODIFIED; }
    bool IsDropHighlighted() const { return GetState() & GVIS_DROPHILITED; }

    // Copies text, image, data, state, format, colours, own font and margin (format and
    // margin as the source reports them) and the grid.
    virtual void CopyFrom(const CGridCellBase& cell);
    virtual void Reset();

    // Drawing and measuring
    virtual bool Draw(QPainter* pDC, int nRow, int nCol, QRect rect, bool bEraseBkgnd = true);
    virtual bool GetTextRect(QRect& rect) const; // rect in: cell rectangle; out: text area
    virtual bool GetTipTextRect(QRect& rect) const { return GetTextRect(rect); }
    virtual QSize GetTextExtent(const QString& str) const;
    // GetTextExtent(str).height(), found without measuring the text's width where the format
    // makes the width irrelevant (a single line).
    int GetTextExtentHeight(const QString& str) const;
    virtual QSize GetCellExtent() const;
    virtual bool PrintCell(QPainter* pDC, int nRow, int nCol, QRect rect);

    // Editing: Edit opens the in-place editor on rect (grid viewport coordinates);
    // nChar is the start character (GVK_LBUTTON for a mouse start, see CGridCtrl.h).
    virtual bool Edit(int nRow, int nCol, const QRect& rect, const QPoint& point, int nID,
                      int nChar);
    virtual bool ValidateEdit(const QString& /*str*/) { return true; }
    virtual void EndEdit() {}
    virtual void OnEndEdit() {}

    // Mouse hooks: without effect in these cell classes.
    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(QPoint /*pt*/) {}
    virtual void OnClickDown(QPoint /*pt*/) {}
    virtual void OnRClick(QPoint /*pt*/) {}
    virtual void OnDblClick(QPoint /*pt*/) {}
    virtual Qt::CursorShape OnSetCursor() { return Qt::ArrowCursor; }

  protected:
    int ExtentPadding() const;
    // Draws the text with a DrawText-style format inside rect (shared with the print path).
    static void DrawFormattedText(QPainter* pDC, const QRect& rect, const QString& text,
                                  quint32 nFormat);

    quint32 m_nState = 0;

    friend class CGridCtrl;
};
