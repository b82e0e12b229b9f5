#include "app/HomePicture.h"

#include <QHash>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "app/CRibbonIconEngine.h"

namespace {

void DrawCloud(QPainter& p, QPointF at, qreal scale) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    const QPointF parts[] = {{0, 0}, {38, -18}, {80, -6}, {112, 6}, {52, 12}};
    const qreal radii[] = {30, 38, 34, 24, 30};
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(at + parts[i] * scale, radii[i] * scale, radii[i] * scale * 0.8);
}

void DrawNote(QPainter& p, QPointF at, qreal size, const QColor& colour, bool twin) {
    p.setPen(QPen(colour, size * 0.09));
    p.setBrush(colour);
    p.save();
    p.translate(at);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), size * 0.22, size * 0.15);
    p.restore();
    p.drawLine(at + QPointF(size * 0.2, -size * 0.05), at + QPointF(size * 0.2, -size * 0.9));
    if (twin) {
        const QPointF second = at + QPointF(size * 0.6, -size * 0.12);
        p.save();
        p.translate(second);
        p.rotate(-20);
        p.drawEllipse(QPointF(0, 0), size * 0.22, size * 0.15);
        p.restore();
        p.drawLine(second + QPointF(size * 0.2, -size * 0.05),
                   second + QPointF(size * 0.2, -size * 1.02));
        p.setPen(QPen(colour, size * 0.14));
        p.drawLine(at + QPointF(size * 0.2, -size * 0.9),
                   second + QPointF(size * 0.2, -size * 1.02));
    } else {
        QPainterPath flag;
        flag.moveTo(at + QPointF(size * 0.2, -size * 0.9));
        flag.cubicTo(at + QPointF(size * 0.5, -size * 0.7), at + QPointF(size * 0.55, -size * 0.55),
                     at + QPointF(size * 0.42, -size * 0.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(flag);
    }
}

void DrawHeart(QPainter& p, QPointF centre, qreal size) {
    QPainterPath heart;
    heart.moveTo(centre + QPointF(0, size * 0.35));
    heart.cubicTo(centre + QPointF(-size * 0.9, -size * 0.25),
                  centre + QPointF(-size * 0.45, -size * 0.95), centre + QPointF(0, -size * 0.45));
    heart.cubicTo(centre + QPointF(size * 0.45, -size * 0.95),
                  centre + QPointF(size * 0.9, -size * 0.25), centre + QPointF(0, size * 0.35));
    QRadialGradient fill(centre + QPointF(-size * 0.2, -size * 0.4), size);
    fill.setColorAt(0, QColor(255, 150, 170));
    fill.setColorAt(1, QColor(220, 40, 80));
    p.setPen(QPen(QColor(255, 255, 255, 200), 3));
    p.setBrush(fill);
    p.drawPath(heart);
}

QPixmap PaintHomePicture() {
    QPixmap picture(1101, 566);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 566);
    sky.setColorAt(0, QColor(120, 185, 240));
    sky.setColorAt(0.7, QColor(190, 225, 250));
    sky.setColorAt(1, QColor(235, 246, 255));
    p.fillRect(picture.rect(), sky);
    DrawCloud(p, {140, 110}, 1.2);
    DrawCloud(p, {720, 80}, 0.9);
    DrawCloud(p, {900, 420}, 1.4);
    DrawCloud(p, {260, 470}, 1.0);
    // A staff of five lines waving across the sky, with notes on it. Each line is two thin
    // strokes a pixel apart: the same look as one wide stroke at a fraction of the cost.
    QPen staff(QColor(255, 255, 255, 170), 1);
    staff.setCosmetic(true);
    p.setPen(staff);
    p.setBrush(Qt::NoBrush);
    for (int line = 0; line < 10; ++line) {
        const qreal y = line / 2 * 12 + (line % 2) - 0.5;
        QPainterPath wave;
        wave.moveTo(0, 250 + y);
        wave.cubicTo(300, 150 + y, 700, 380 + y, 1101, 240 + y);
        p.drawPath(wave);
    }
    const QColor ink(40, 70, 140);
    DrawNote(p, {180, 250}, 60, ink, false);
    DrawNote(p, {330, 225}, 70, ink, true);
    DrawNote(p, {610, 300}, 64, QColor(70, 100, 170), false);
    DrawNote(p, {760, 300}, 74, ink, true);
    DrawNote(p, {980, 250}, 58, QColor(70, 100, 170), false);
    DrawHeart(p, {540, 170}, 90);
    return picture;
}

} // namespace

const QPixmap& HomePicture() {
    static const QPixmap picture = PaintHomePicture();
    return picture;
}

QPixmap PaintRibbonImage(int index, const QString& glyph, const QSize& pixels) {
    static const QColor colours[] = {QColor(46, 117, 182), QColor(84, 130, 53),
                                     QColor(191, 104, 26), QColor(150, 60, 150),
                                     QColor(190, 55, 55),  QColor(30, 140, 150)};
    const QColor base = colours[index % 6];
    QPixmap image(pixels);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(pixels.width() / 32.0, pixels.height() / 32.0); // drawn on a 32 by 32 grid
    QLinearGradient fill(0, 0, 0, 32);
    fill.setColorAt(0, base.lighter(150));
    fill.setColorAt(1, base);
    p.setPen(QPen(base.darker(130), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QFont font(QStringLiteral("微软雅黑"));
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 32, 31), Qt::AlignCenter, glyph);
    return image;
}

QPixmap RibbonImage(int index, const QString& glyph) {
    static QHash<QString, QPixmap> drawn;
    const QString key = QStringLiteral("%1/%2").arg(index).arg(glyph);
    auto it = drawn.find(key);
    if (it == drawn.end()) {
        QPixmap image = PaintRibbonImage(index, glyph, QSize(64, 64));
        image.setDevicePixelRatio(2.0);
        it = drawn.insert(key, image);
    }
    return it.value();
}

QIcon RibbonIcon(int index, const QString& glyph) {
    return QIcon(new CRibbonIconEngine(index, glyph));
}
