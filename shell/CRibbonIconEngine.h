#pragma once

#include <QIconEngine>
#include <QString>

// The icon of a ribbon button: draws its image at the size a button asks for the first time it
// is shown, and keeps it in the pixmap cache. Buttons on tabs that are never opened cost
// nothing at start-up.
class CRibbonIconEngine : public QIconEngine {
  public:
    CRibbonIconEngine(int index, const QString& glyph);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

  private:
    int m_nIndex;
    QString m_strGlyph;
};
