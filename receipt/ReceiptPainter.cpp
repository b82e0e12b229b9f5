#include "receipt/ReceiptPainter.h"

#include <QPainter>
#include <QPen>

#include "receipt/ReceiptLayout.h"

void PaintReceipt(QPainter& painter, const ReceiptLayout& layout) {
    painter.save();
    painter.setPen(Qt::black);
    for (const ReceiptItem& item : layout.Items()) {
        switch (item.kind) {
        case ReceiptItem::Kind::Text:
            painter.setFont(ReceiptLayout::Font(item.fontPixels, item.bold));
            painter.drawText(item.rect, item.flags, item.text);
            break;
        case ReceiptItem::Kind::Rule:
            // A dashed rule, as receipts have, in whole dots.
            for (int x = item.rect.left(); x < item.rect.right(); x += 12)
                painter.fillRect(QRect(x, item.rect.top(), 6, item.rect.height()), Qt::black);
            break;
        case ReceiptItem::Kind::Qr:
            layout.Qr().Paint(painter, item.rect.topLeft(), item.module);
            break;
        }
    }
    painter.restore();
}
