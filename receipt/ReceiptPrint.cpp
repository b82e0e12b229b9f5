#include "receipt/ReceiptPrint.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include "receipt/ReceiptLayout.h"
#include "receipt/ReceiptPainter.h"

bool PrintReceiptPage(QPrinter& printer, const ReceiptLayout& layout) {
    const double lengthMm = layout.Height() / ReceiptLayout::kDotsPerMm;
    const QPageSize page(QSizeF(layout.RollMm(), lengthMm), QPageSize::Millimeter,
                         QStringLiteral("小票 %1 mm").arg(layout.RollMm()), QPageSize::ExactMatch);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // From dots to the printer's pixels; the printable width in the middle of the roll.
    const double scale = printer.resolution() / (ReceiptLayout::kDotsPerMm * 25.4);
    const double marginMm = (layout.RollMm() - layout.Width() / ReceiptLayout::kDotsPerMm) / 2;
    painter.translate(marginMm * ReceiptLayout::kDotsPerMm * scale, 0);
    painter.scale(scale, scale);
    PaintReceipt(painter, layout);
    return painter.end();
}
