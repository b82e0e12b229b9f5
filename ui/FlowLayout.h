#pragma once

#include <QLayout>
#include <QList>
#include <QRect>
#include <QSize>

// Where a row of items of the given sizes stands in a width: left to right, spacing apart, each
// row as high as its highest item (smaller ones centred in it); an item that would pass the
// right edge starts the next row, vertical apart. An item wider than the width stands alone.
QList<QRect> FlowPlaces(const QList<QSize>& sizes, int width, int spacing, int vertical);

// A layout that keeps its items in one row while the width allows and wraps them onto further
// rows when it does not: a header of boxes keeps its order on a small screen and nothing in it
// is cut. Each item has its size hint (at least its minimum size).
class FlowLayout : public QLayout {
  public:
    explicit FlowLayout(QWidget* parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem* itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

  private:
    QList<QSize> ItemSizes() const;
    int VerticalSpacing() const;

    QList<QLayoutItem*> m_items;
};

// A widget holding the widgets side by side, so that a flow wraps them as one: a label with
// its box, a box with its unit.
QWidget* KeepTogether(QWidget* parent, const QList<QWidget*>& widgets);
