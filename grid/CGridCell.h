// The ordinary grid cell: text, data, image, format, colours, font and margin.
#pragma once

#include "CGridCellBase.h"

#include <QPointer>
#include <memory>

class CGridCell : public CGridCellBase {
  public:
    CGridCell() = default;
    ~CGridCell() override;

    void SetText(const QString& strText) override { m_strText = strText; }
    void SetImage(int nImage) override { m_nImage = nImage; }
    void SetData(qintptr lParam) override { m_lParam = lParam; }
    void SetFormat(quint32 nFormat) override { m_nFormat = nFormat; }
    void SetTextClr(const QColor& clr) override { m_crFgClr = clr; }
    void SetBackClr(const QColor& clr) override { m_crBkClr = clr; }
    void SetFont(const QFont* pFont) override;
    void SetMargin(int nMargin) override { m_nMargin = nMargin; }
    void SetGrid(CGridCtrl* pGrid) override { m_pGrid = pGrid; }

    QString GetText() const override { return m_strText; }
    int GetImage() const override { return m_nImage; }
    qintptr GetData() const override { return m_lParam; }
    quint32 GetFormat() const override;
    QColor GetTextClr() const override { return m_crFgClr; }
    QColor GetBackClr() const override { return m_crBkClr; }
    QFont GetFont() const override;
    CGridCtrl* GetGrid() const override { return m_pGrid; }
    QWidget* GetEditWnd() const override;
    int GetMargin() const override;
    bool IsDefaultFont() const override { return !m_pFont; }
    bool IsEditing() const override { return m_bEditing; }

    void Reset() override;
    bool Edit(int nRow, int nCol, const QRect& rect, const QPoint& point, int nID,
              int nChar) override;
    void EndEdit() override;
    void OnEndEdit() override;

  protected:
    void SetEditing(QWidget* pEditWnd);

    QString m_strText;
    qintptr m_lParam = 0;
    int m_nImage = -1;
    quint32 m_nFormat = quint32(-1);
    int m_nMargin = -1;
    QColor m_crFgClr; // invalid: the default cell's
    QColor m_crBkClr;
    std::unique_ptr<QFont> m_pFont; // none: the default cell's
    CGridCtrl* m_pGrid = nullptr;
    QPointer<QWidget> m_pEditWnd;
    bool m_bEditing = false;
};
