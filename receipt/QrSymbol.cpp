#include "receipt/QrSymbol.h"

#include <QPainter>
#include <cmath>
#include <memory>
#include <zint.h>

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

} // namespace

QrSymbol::QrSymbol(const QString& text) {
    const std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        m_strError = QStringLiteral("out of memory");
        return;
    }
    symbol->symbology = BARCODE_QRCODE;
    symbol->option_1 = 2; // error correction level M
    symbol->input_mode = UNICODE_MODE;
    const QByteArray data = text.toUtf8();
    if (data.isEmpty()) {
        m_strError = QStringLiteral("nothing to encode");
        return;
    }
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()),
                        int(data.size())) >= ZINT_ERROR ||
        ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector ||
        symbol->width <= 0 || symbol->rows != symbol->width) {
        m_strError = QString::fromLatin1(symbol->errtxt);
        if (m_strError.isEmpty())
            m_strError = QStringLiteral("cannot encode");
        return;
    }
    // The vector output is the symbol's dark rectangles in units of vector width / modules.
    m_nModules = symbol->width;
    m_dark.fill(false, m_nModules * m_nModules);
    const double unit = symbol->vector->width / symbol->width;
    for (const zint_vector_rect* rect = symbol->vector->rectangles; rect; rect = rect->next) {
        const int left = int(std::lround(rect->x / unit));
        const int top = int(std::lround(rect->y / unit));
        const int width = int(std::lround(rect->width / unit));
        const int height = int(std::lround(rect->height / unit));
        for (int row = qMax(0, top); row < qMin(m_nModules, top + height); ++row)
            for (int column = qMax(0, left); column < qMin(m_nModules, left + width); ++column)
                m_dark[row * m_nModules + column] = true;
    }
}

QRect QrSymbol::Paint(QPainter& painter, QPoint topLeft, int modulePixels) const {
    if (!IsValid() || modulePixels <= 0)
        return {};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int row = 0; row < m_nModules; ++row)
        for (int column = 0; column < m_nModules; ++column)
            if (IsDark(row, column))
                painter.fillRect(topLeft.x() + column * modulePixels,
                                 topLeft.y() + row * modulePixels, modulePixels, modulePixels,
                                 Qt::black);
    painter.restore();
    const int side = m_nModules * modulePixels;
    return {topLeft.x(), topLeft.y(), side, side};
}
