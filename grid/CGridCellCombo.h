// A cell edited through a drop-down list.
#pragma once

#include "CGridCell.h"

#include <QStringList>

// List styles of the combo cell.
enum : int { CBS_DROPDOWN = 2, CBS_DROPDOWNLIST = 3 };

class CGridCellCombo : public CGridCell {
  public:
    CGridCellCombo() = default;

    void SetOptions(const QStringList& options) { m_Strings = options; }
    void SetComboOptions(const QStringList& options) { SetOptions(options); }
    const QStringList& GetOptions() const { return m_Strings; }
    void SetStyle(int nStyle) { m_dwStyle = nStyle; }
    int GetStyle() const { return m_dwStyle; }

    void CopyFrom(const CGridCellBase& cell) override;
    bool Edit(int nRow, int nCol, const QRect& rect, const QPoint& point, int nID,
              int nChar) override;
    void EndEdit() override;
    QSize GetCellExtent() const override;
    bool Draw(QPainter* pDC, int nRow, int nCol, QRect rect, bool bEraseBkgnd = true) override;
    bool GetTextRect(QRect& rect) const override;

  private:
    bool ShowsButton(const QRect& rect) const;

    QStringList m_Strings;
    int m_dwStyle = CBS_DROPDOWN;
};
