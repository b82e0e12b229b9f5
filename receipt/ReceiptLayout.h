#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QVector>

#include "receipt/QrSymbol.h"
#include "receipt/ReceiptDocument.h"

// One thing drawn on a receipt, in printer dots from the top-left corner of the printable
// width.
struct ReceiptItem {
    enum class Kind { Text, Rule, Qr };
    Kind kind = Kind::Text;
    QRect rect;
    QString text;
    int flags = Qt::AlignLeft; // alignment of the text in its rectangle
    int fontPixels = 24;
    bool bold = false;
    int module = 0; // the QR code's dots a module
};

// The receipt of a document laid out for a roll: the texts, rules and the QR code of the
// document number, one under the other, and the length that takes. Everything is computed in
// the dots of a thermal printer (8 a millimetre: 384 across a 58 mm roll, 576 across 80 mm),
// so that the page printed through Qt and the ESC/POS raster image are the same drawing.
class ReceiptLayout {
  public:
    static constexpr double kDotsPerMm = 8.0;
    static constexpr int kBodyPixels = 24;

    ReceiptLayout(const ReceiptDocument& document, int rollMm);

    // The dots across the printable width of a roll: 384 for 58 mm, 576 for 80 mm.
    static int PrintableDots(int rollMm);

    int RollMm() const { return m_nRollMm; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    const QVector<ReceiptItem>& Items() const { return m_items; }
    const QrSymbol& Qr() const { return m_qr; }

    // The font an item is drawn in.
    static QFont Font(int pixels, bool bold);

  private:
    void AddCentred(const QString& text, int pixels, bool bold = false);
    void AddWrapped(const QString& text, int indent, int pixels = kBodyPixels);
    void AddPair(const QString& left, const QString& right, int indent, bool bold = false);
    void AddText(const QRect& rect, const QString& text, int flags, int pixels, bool bold);
    void AddRule();
    void AddQr();
    void AddLine(const ReceiptLine& line);
    void AddTotals(const ReceiptDocument& document);
    QStringList Wrap(const QString& text, int width, const QFont& font) const;
    int RowHeight(int pixels) const;

    int m_nRollMm;
    int m_nWidth;
    int m_nHeight = 0;
    QrSymbol m_qr;
    QVector<ReceiptItem> m_items;
};
