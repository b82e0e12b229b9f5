#include "shell/CRibbonIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>

#include "shell/HomePicture.h"

CRibbonIconEngine::CRibbonIconEngine(int index, const QString& glyph)
    : m_nIndex(index), m_strGlyph(glyph) {}

void CRibbonIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                              QIcon::State state) {
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap image = pixmap(rect.size() * dpr, mode, state);
    image.setDevicePixelRatio(dpr);
    painter->drawPixmap(rect, image);
}

QPixmap CRibbonIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    if (size.isEmpty())
        return QPixmap();
    const QString key = QStringLiteral("harbor-ribbon/%1/%2/%3x%4/%5")
                            .arg(m_nIndex)
                            .arg(m_strGlyph)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(int(mode));
    QPixmap image;
    if (QPixmapCache::find(key, &image))
        return image;
    image = PaintRibbonImage(m_nIndex, m_strGlyph, size);
    if (mode == QIcon::Disabled || mode == QIcon::Selected) {
        QStyleOption option;
        option.palette = QApplication::palette();
        image = QApplication::style()->generatedIconPixmap(mode, image, &option);
    }
    Q_UNUSED(state);
    QPixmapCache::insert(key, image);
    return image;
}

QSize CRibbonIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    const int side = qMin(size.width(), size.height());
    return QSize(side, side);
}

QIconEngine* CRibbonIconEngine::clone() const {
    return new CRibbonIconEngine(m_nIndex, m_strGlyph);
}

QString CRibbonIconEngine::key() const {
    return QStringLiteral("CRibbonIconEngine");
}
