#include "Screenshot.h"

#include <QDir>
#include <QWidget>

QImage Snapshot(QWidget* window, const QString& name) {
    const QImage picture = window->grab().toImage();
    const QString folder = qEnvironmentVariable("HARBOR_SHOT_DIR");
    if (!folder.isEmpty())
        picture.save(QDir(folder).filePath(name + QStringLiteral(".png")));
    return picture;
}

namespace {

// The part's rectangle in the window, or an empty one when an edge on the way cuts it.
QRect WholeArea(QWidget* window, QWidget* part) {
    QRect area(QPoint(0, 0), part->size());
    for (QWidget* widget = part; widget != window; widget = widget->parentWidget()) {
        if (!widget->parentWidget())
            return {}; // not inside the window at all
        area.translate(widget->pos());
        if (!widget->parentWidget()->rect().contains(area))
            return {};
    }
    return area;
}

bool HasTwoColours(const QImage& image) {
    if (image.isNull())
        return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

} // namespace

bool ShowsWhole(QWidget* window, QWidget* part) {
    if (!window || !part || !part->isVisible())
        return false;
    const QRect area = WholeArea(window, part);
    return !area.isEmpty() && HasTwoColours(window->grab(area).toImage());
}
