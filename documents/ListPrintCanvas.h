#pragma once

#include <QString>
#include <Qt>

// What the list printer draws on: texts placed by their top edge and lines.
class ListPrintCanvas {
  public:
    enum class Font { Title, Body, Contact };

    virtual ~ListPrintCanvas() = default;
    // Fonts: title "微软雅黑", body and contact lines "宋体"; height in device pixels.
    virtual void SetFont(Font font, qreal height) = 0;
    // x is the text's left edge, centre or right edge after align (AlignLeft, AlignHCenter,
    // AlignRight); y is its top.
    virtual void Text(qreal x, qreal y, Qt::Alignment align, const QString& text) = 0;
    virtual void Line(qreal x1, qreal y1, qreal x2, qreal y2) = 0;
};
