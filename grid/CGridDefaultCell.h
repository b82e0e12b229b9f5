// A default cell: supplies format, colours, font and margin to the cells that set none.
#pragma once

#include "CGridCell.h"

class CGridDefaultCell : public CGridCell {
  public:
    CGridDefaultCell();

    // Setting the font also sets the margin (one blank), the default width
    // (" XXXXXXXXXXXX ") and the default height (text height * 3 / 2).
    void SetFont(const QFont* pFont) override;
    void SetFont(const QFont& font) { SetFont(&font); }
    QFont GetFont() const override { return m_Font; }
    quint32 GetFormat() const override { return m_nFormat; }
    int GetMargin() const override { return m_nMargin; }
    CGridDefaultCell* GetDefaultCell() const override { return nullptr; }
    bool IsDefaultFont() const override { return false; }

    int GetWidth() const { return m_Size.width(); }
    int GetHeight() const { return m_Size.height(); }
    void SetWidth(int nWidth) { m_Size.setWidth(nWidth); }
    void SetHeight(int nHeight) { m_Size.setHeight(nHeight); }

  private:
    QFont m_Font;
    QSize m_Size{40, 16};
};
