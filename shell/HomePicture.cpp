#include "shell/HomePicture.h"

#include <QHash>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <future>
#include <vector>

#include "shell/CRibbonIconEngine.h"
#include "ui/FontSetup.h"

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

// Blends a thin line along the cubic curve p0 c1 c2 p3 (its x growing from the left edge to
// the right one) straight into the picture: for each pixel column the line covers thickness
// pixels around the curve, the partly covered pixels at its two edges in proportion.
void DrawStaffLine(QImage& image, const QPointF (&curve)[4], const QColor& colour,
                   qreal thickness) {
    const int width = image.width();
    std::vector<qreal> top(width, -1.0), bottom(width, -1.0);
    const int steps = width * 4;
    for (int i = 0; i <= steps; ++i) {
        const qreal t = qreal(i) / steps, u = 1 - t;
        const QPointF at = u * u * u * curve[0] + 3 * u * u * t * curve[1] +
                           3 * u * t * t * curve[2] + t * t * t * curve[3];
        const int x = std::clamp(int(at.x()), 0, width - 1);
        top[x] = top[x] < 0 ? at.y() : std::min(top[x], at.y());
        bottom[x] = std::max(bottom[x], at.y());
    }
    const qreal alpha = colour.alphaF();
    const QRgb ink = colour.rgb();
    const int height = image.height();
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int x = 0; x < width; ++x) {
        if (top[x] < 0)
            continue;
        const qreal y0 = top[x] - thickness / 2, y1 = bottom[x] + thickness / 2;
        for (int y = std::max(0, int(std::floor(y0))); y < std::min(height, int(std::ceil(y1)));
             ++y) {
            const qreal cover = std::min<qreal>(y + 1, y1) - std::max<qreal>(y, y0);
            const qreal a = alpha * std::clamp<qreal>(cover, 0, 1);
            QRgb* pixel = reinterpret_cast<QRgb*>(bits + y * stride) + x;
            const auto mix = [a](int under, int over) {
                return int(under + (over - under) * a + 0.5);
            };
            *pixel = qRgb(mix(qRed(*pixel), qRed(ink)), mix(qGreen(*pixel), qGreen(ink)),
                          mix(qBlue(*pixel), qBlue(ink)));
        }
    }
}

// Draws on a QImage only, so that it can run on a worker thread.
QImage PaintHomePicture() {
    QImage picture(1101, 566, QImage::Format_RGB32);
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
    p.end();
    // A staff of five lines waving across the sky, with notes on it.
    for (int line = 0; line < 5; ++line) {
        const qreal y = line * 12;
        const QPointF wave[4] = {{0, 250 + y}, {300, 150 + y}, {700, 380 + y}, {1101, 240 + y}};
        DrawStaffLine(picture, wave, QColor(255, 255, 255, 170), 2);
    }
    p.begin(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 70, 140);
    DrawNote(p, {180, 250}, 60, ink, false);
    DrawNote(p, {330, 225}, 70, ink, true);
    DrawNote(p, {610, 300}, 64, QColor(70, 100, 170), false);
    DrawNote(p, {760, 300}, 74, ink, true);
    DrawNote(p, {980, 250}, 58, QColor(70, 100, 170), false);
    DrawHeart(p, {540, 170}, 90);
    p.end();
    return picture;
}

std::future<QImage>& PendingPicture() {
    static std::future<QImage> pending;
    return pending;
}

} // namespace

void StartHomePicture() {
    std::future<QImage>& pending = PendingPicture();
    if (!pending.valid())
        pending = std::async(std::launch::async, PaintHomePicture);
}

const QPixmap& HomePicture() {
    static const QPixmap picture = [] {
        std::future<QImage>& pending = PendingPicture();
        return QPixmap::fromImage(pending.valid() ? pending.get() : PaintHomePicture());
    }();
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
    QFont font(UiFontFamily());
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
