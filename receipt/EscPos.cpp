#include "receipt/EscPos.h"

#include <QPainter>

#include "receipt/ReceiptLayout.h"
#include "receipt/ReceiptPainter.h"

namespace EscPos {

QImage Render(const ReceiptLayout& layout) {
    QImage image(layout.Width(), layout.Height(), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintReceipt(painter, layout);
    }
    // A thermal head knows black and white: half-grey edges of the glyphs decide by half.
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            row[x] = row[x] < 128 ? 0 : 255;
    }
    return image;
}

QByteArray Initialise() {
    return QByteArray("\x1b\x40", 2);
}

QByteArray Raster(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const int widthBytes = (grey.width() + 7) / 8;
    QByteArray bytes;
    for (int top = 0; top < grey.height(); top += kBandRows) {
        const int rows = qMin(kBandRows, grey.height() - top);
        bytes.append("\x1d\x76\x30\x00", 4); // GS v 0, normal density
        bytes.append(char(widthBytes & 0xFF));
        bytes.append(char(widthBytes >> 8));
        bytes.append(char(rows & 0xFF));
        bytes.append(char(rows >> 8));
        for (int y = top; y < top + rows; ++y) {
            const uchar* line = grey.constScanLine(y);
            for (int byte = 0; byte < widthBytes; ++byte) {
                uchar bits = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const int x = byte * 8 + bit;
                    if (x < grey.width() && line[x] < 128)
                        bits |= uchar(0x80 >> bit); // the most significant bit is leftmost
                }
                bytes.append(char(bits));
            }
        }
    }
    return bytes;
}

QByteArray FeedAndCut() {
    return QByteArray("\x1d\x56\x42\x60", 4); // feed 96 dots (12 mm) to the cutter, then cut
}

QByteArray DrawerPulse() {
    return QByteArray("\x1b\x70\x00\x19\xfa", 5); // pin 2, on 50 ms, off 500 ms
}

QByteArray ReceiptBytes(const QImage& image, bool openDrawer) {
    QByteArray bytes = Initialise() + Raster(image) + FeedAndCut();
    if (openDrawer)
        bytes += DrawerPulse();
    return bytes;
}

} // namespace EscPos
