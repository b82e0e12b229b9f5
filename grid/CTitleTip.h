// Shows the whole text of a cell too narrow for it while the mouse rests on it.
#pragma once

#include <QWidget>

class CTitleTip : public QWidget {
    Q_OBJECT

  public:
    explicit CTitleTip(QWidget* pParentWnd);

    // Shows text over rectTitle (global coordinates of the cell's text area); the tip hides
    // again when the mouse leaves hoverRect (global).
    void Show(const QRect& rectTitle, const QString& strTitle, const QFont& font,
              const QColor& crText = QColor(), const QColor& crBack = QColor());
    void Hide();
    QString GetText() const { return m_strText; }
    QRect GetHoverRect() const { return m_rectHover; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void Forward(QEvent* event);

    QWidget* m_pParentWnd;
    QString m_strText;
    QRect m_rectHover;
    QColor m_crText;
    QColor m_crBack;
};
