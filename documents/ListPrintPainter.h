#pragma once

#include "documents/ListPrintCanvas.h"

class QPainter;

// Draws a list onto a painter: a printer, a preview page or an image.
class ListPrintPainter : public ListPrintCanvas {
  public:
    explicit ListPrintPainter(QPainter& painter) : m_painter(painter) {}

    void SetFont(Font font, qreal height) override;
    void Text(qreal x, qreal y, Qt::Alignment align, const QString& text) override;
    void Line(qreal x1, qreal y1, qreal x2, qreal y2) override;

  private:
    QPainter& m_painter;
};
