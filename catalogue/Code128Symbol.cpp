#include "catalogue/Code128Symbol.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <zint.h>

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

} // namespace

Code128Symbol::Code128Symbol(const QString& text) {
    const std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        m_strError = QStringLiteral("out of memory");
        return;
    }
    symbol->symbology = BARCODE_CODE128;
    symbol->show_hrt = 0; // the label prints the digits in its own font
    // Scanners type what they read as plain ASCII: other characters would come out wrong.
    const bool printable = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7F;
    });
    if (text.isEmpty() || !printable) {
        m_strError = QStringLiteral("only printable ASCII can be scanned back");
        return;
    }
    const QByteArray data = text.toLatin1();
    // Warnings (below ZINT_ERROR) still give a symbol.
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()),
                        int(data.size())) >= ZINT_ERROR ||
        ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector ||
        symbol->width <= 0) {
        m_strError = QString::fromLatin1(symbol->errtxt);
        if (m_strError.isEmpty())
            m_strError = QStringLiteral("cannot encode");
        return;
    }
    // Without quiet zones, border or text the vector spans exactly the symbol's modules.
    m_nModules = symbol->width;
    const double unit = symbol->vector->width / symbol->width;
    for (const zint_vector_rect* rect = symbol->vector->rectangles; rect; rect = rect->next)
        m_bars.append({int(std::lround(rect->x / unit)), int(std::lround(rect->width / unit))});
}

int Code128Symbol::ModulePixels(int width, int maxModule) const {
    if (!IsValid())
        return 0;
    return qMin(maxModule, width / (m_nModules + 2 * kQuietModules));
}

QRect Code128Symbol::Paint(QPainter& painter, const QRect& area, int modulePixels) const {
    if (!IsValid() || modulePixels <= 0)
        return {};
    const int width = m_nModules * modulePixels;
    const int left = area.left() + (area.width() - width) / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Bar& bar : m_bars)
        painter.fillRect(left + bar.start * modulePixels, area.top(), bar.width * modulePixels,
                         area.height(), Qt::black);
    painter.restore();
    return {left, area.top(), width, area.height()};
}
