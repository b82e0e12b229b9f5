#pragma once

#include <QByteArray>
#include <QImage>

class ReceiptLayout;

// The receipt for thermal printers without a driver: the drawing as a black-and-white raster
// image in ESC/POS commands, so that Chinese prints on a printer without a Chinese font.
namespace EscPos {

// Rows a GS v 0 image holds at most; taller receipts are sent in bands of this height.
inline constexpr int kBandRows = 256;

// The receipt drawn one pixel a dot, every pixel black (0) or white (255), Format_Grayscale8.
QImage Render(const ReceiptLayout& layout);

// ESC @: the printer back to its start settings.
QByteArray Initialise();
// GS v 0 images of the black pixels, band after band, each row padded to whole bytes.
QByteArray Raster(const QImage& image);
// Feeds the paper past the cutter and cuts it: GS V 66 n.
QByteArray FeedAndCut();
// ESC p: the pulse on the cash drawer's pin 2 that opens it.
QByteArray DrawerPulse();

// Everything a receipt sends: start settings, the image, the cut and, when asked, the pulse.
QByteArray ReceiptBytes(const QImage& image, bool openDrawer);

} // namespace EscPos
