#include "documents/ListPrintPainter.h"

#include <QFont>
#include <QPainter>

void ListPrintPainter::SetFont(Font font, qreal height) {
    QFont face(font == Font::Title ? QStringLiteral("微软雅黑") : QStringLiteral("宋体"));
    face.setPixelSize(qMax(1, qRound(height)));
    m_painter.setFont(face);
}

void ListPrintPainter::Text(qreal x, qreal y, Qt::Alignment align, const QString& text) {
    if (text.isEmpty())
        return;
    // A box wide enough for any line, anchored at x by the alignment.
    const qreal wide = 100000;
    const qreal left = align & Qt::AlignRight     ? x - wide
                       : align & Qt::AlignHCenter ? x - wide / 2
                                                  : x;
    const qreal height = m_painter.fontMetrics().height() * 2;
    m_painter.drawText(QRectF(left, y, wide, height), int(align | Qt::AlignTop), text);
}

void ListPrintPainter::Line(qreal x1, qreal y1, qreal x2, qreal y2) {
    m_painter.drawLine(QLineF(x1, y1, x2, y2));
}
