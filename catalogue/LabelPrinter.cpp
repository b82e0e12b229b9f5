#include "catalogue/LabelPrinter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "catalogue/Code128Symbol.h"

namespace {

constexpr double kPadding = 1.5;   // mm inside the label's edge
constexpr double kMaxModule = 0.5; // mm, the widest bar module worth printing
constexpr double kLineGap = 0.6;   // mm between the parts of a label
const char* const kFontFamily = "微软雅黑";

// Millimetres to device pixels.
int Pixels(double mm, int dpi) {
    return int(std::lround(mm * dpi / 25.4));
}

QRect DeviceRect(const QRectF& mm, int dpi) {
    const int left = Pixels(mm.left(), dpi);
    const int top = Pixels(mm.top(), dpi);
    return {left, top, Pixels(mm.right(), dpi) - left, Pixels(mm.bottom(), dpi) - top};
}

QFont LabelFont(int pixelHeight, bool bold) {
    QFont font(QString::fromUtf8(kFontFamily));
    font.setPixelSize(qMax(1, pixelHeight));
    font.setBold(bold);
    return font;
}

// One line of text in its band, cut with "…" when it is too long.
void DrawLine(QPainter& painter, const QRect& band, const QString& text, Qt::Alignment align) {
    const QFontMetrics metrics(painter.font(), painter.device());
    painter.drawText(band, int(align | Qt::AlignVCenter),
                     metrics.elidedText(text, Qt::ElideRight, band.width()));
}

} // namespace

void SetupLabelPrinter(QPrinter& printer, const LabelSheet& sheet) {
    printer.setPageSize(QPageSize(sheet.paper));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

void PaintLabel(QPainter& painter, const QRect& rect, int dpi, const ProductLabel& label,
                bool border) {
    painter.save();
    if (border) {
        painter.setPen(QPen(Qt::gray, qMax(1, Pixels(0.1, dpi))));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.setPen(Qt::black);
    const int padding = Pixels(kPadding, dpi);
    const QRect content = rect.adjusted(padding, padding, -padding, -padding);
    const int gap = Pixels(kLineGap, dpi);
    // Text sizes follow the label's height, within readable bounds.
    const int nameHeight = qBound(Pixels(2.2, dpi), content.height() * 13 / 100, Pixels(4.5, dpi));
    const int infoHeight = nameHeight * 8 / 10;
    const int digitsHeight = nameHeight * 7 / 10;

    QRect band(content.left(), content.top(), content.width(), nameHeight * 5 / 4);
    painter.setFont(LabelFont(nameHeight, true));
    DrawLine(painter, band, label.shortname, Qt::AlignHCenter);

    band.moveTop(band.bottom() + 1);
    band.setHeight(infoHeight * 5 / 4);
    painter.setFont(LabelFont(infoHeight, false));
    const QString price = label.price.isEmpty() ? QString() : QStringLiteral("¥") + label.price;
    const QFontMetrics infoMetrics(painter.font(), painter.device());
    const int priceWidth = price.isEmpty() ? 0 : infoMetrics.horizontalAdvance(price);
    DrawLine(painter, band.adjusted(0, 0, -priceWidth - gap, 0), label.spec, Qt::AlignLeft);
    DrawLine(painter, band, price, Qt::AlignRight);

    const int digitsBand = digitsHeight * 5 / 4;
    const QRect bars(content.left(), band.bottom() + 1 + gap, content.width(),
                     content.bottom() - band.bottom() - 2 * gap - digitsBand);
    const Code128Symbol symbol(label.code);
    const int module = symbol.ModulePixels(bars.width(), qMax(1, Pixels(kMaxModule, dpi)));
    painter.setFont(LabelFont(digitsHeight, false));
    const QRect digits(content.left(), content.bottom() + 1 - digitsBand, content.width(),
                       digitsBand);
    if (module > 0 && bars.height() > 0) {
        symbol.Paint(painter, bars, module);
        DrawLine(painter, digits, label.code, Qt::AlignHCenter);
    } else {
        // A code the symbology cannot hold, or a label too small: say so rather than print a
        // barcode that no scanner reads.
        DrawLine(painter, bars.united(digits), label.code + QStringLiteral(" (无法生成条码)"),
                 Qt::AlignHCenter);
    }
    painter.restore();
}

int PrintLabels(QPrinter& printer, const QList<ProductLabel>& labels, const LabelSheet& sheet) {
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const int dpi = printer.resolution();
    int page = 0;
    for (int k = 0; k < labels.size(); ++k) {
        const LabelPlace place = sheet.Place(k);
        if (place.page > page) {
            printer.newPage();
            page = place.page;
        }
        PaintLabel(painter, DeviceRect(place.rect, dpi), dpi, labels[k], sheet.borders);
    }
    painter.end();
    return labels.isEmpty() ? 1 : page + 1;
}
