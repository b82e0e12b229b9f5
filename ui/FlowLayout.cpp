#include "ui/FlowLayout.h"

#include <QHBoxLayout>
#include <QWidget>
#include <algorithm>

QList<QRect> FlowPlaces(const QList<QSize>& sizes, int width, int spacing, int vertical) {
    QList<QRect> places;
    int rowStart = 0; // index of the first item of the current row
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    auto closeRow = [&](int end) {
        for (int i = rowStart; i < end; ++i) {
            if (!places[i].isEmpty())
                places[i].moveTop(y + (rowHeight - places[i].height()) / 2);
        }
    };
    for (int i = 0; i < sizes.size(); ++i) {
        const QSize size = sizes[i];
        if (size.isEmpty()) { // a hidden item takes no room
            places.append(QRect(x, 0, 0, 0));
            continue;
        }
        if (i > rowStart && x + size.width() > width) {
            closeRow(i);
            y += rowHeight + vertical;
            x = 0;
            rowHeight = 0;
            rowStart = i;
        }
        places.append(QRect(QPoint(x, 0), size));
        x += size.width() + spacing;
        rowHeight = std::max(rowHeight, size.height());
    }
    closeRow(int(sizes.size()));
    return places;
}

FlowLayout::FlowLayout(QWidget* parent) : QLayout(parent) {
    setSpacing(6);
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
    m_items.append(item);
    invalidate();
}

QLayoutItem* FlowLayout::takeAt(int index) {
    if (index < 0 || index >= m_items.size())
        return nullptr;
    invalidate();
    return m_items.takeAt(index);
}

int FlowLayout::VerticalSpacing() const {
    return spacing();
}

// Hidden widgets take no room.
QList<QSize> FlowLayout::ItemSizes() const {
    QList<QSize> sizes;
    for (QLayoutItem* item : m_items)
        sizes.append(item->isEmpty() ? QSize(0, 0)
                                     : item->sizeHint().expandedTo(item->minimumSize()));
    return sizes;
}

int FlowLayout::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    const QList<QRect> places = FlowPlaces(ItemSizes(), width - margins.left() - margins.right(),
                                           spacing(), VerticalSpacing());
    int bottom = 0;
    for (const QRect& place : places)
        bottom = std::max(bottom, place.bottom() + 1);
    return bottom + margins.top() + margins.bottom();
}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QSize& item : ItemSizes())
        size = size.expandedTo(item);
    const QMargins margins = contentsMargins();
    return size.grownBy(margins);
}

QSize FlowLayout::sizeHint() const {
    int width = 0;
    int height = 0;
    for (const QSize& item : ItemSizes()) {
        width += item.width() + (width > 0 ? spacing() : 0);
        height = std::max(height, item.height());
    }
    return QSize(width, height).grownBy(contentsMargins());
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect inside = rect.marginsRemoved(contentsMargins());
    const QList<QRect> places =
        FlowPlaces(ItemSizes(), inside.width(), spacing(), VerticalSpacing());
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i]->setGeometry(places[i].translated(inside.topLeft()));
}

QWidget* KeepTogether(QWidget* parent, const QList<QWidget*>& widgets) {
    auto* together = new QWidget(parent);
    auto* row = new QHBoxLayout(together);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    return together;
}
