#include "receipt/ReceiptLayout.h"

#include <QFontMetrics>
#include <cmath>

#include "ui/FontSetup.h"

namespace {

constexpr int kTitlePixels = 32;
constexpr int kHeadingPixels = 28;
constexpr int kTopMargin = 8;
constexpr int kBottomMargin = 32;
constexpr int kLineIndent = 24;
constexpr int kGap = 16; // between a left text and the amount to its right

} // namespace

ReceiptLayout::ReceiptLayout(const ReceiptDocument& document, int rollMm)
    : m_nRollMm(rollMm == 80 ? 80 : 58), m_nWidth(PrintableDots(m_nRollMm)), m_qr(document.oddnum) {
    m_nHeight = kTopMargin;
    if (!document.shopName.isEmpty())
        AddCentred(document.shopName, kTitlePixels, true);
    if (!document.address.isEmpty())
        AddCentred(QStringLiteral("地址:") + document.address, kBodyPixels);
    if (!document.phone.isEmpty())
        AddCentred(QStringLiteral("电话:") + document.phone, kBodyPixels);
    AddCentred(document.title, kHeadingPixels, true);
    AddRule();
    AddWrapped(QStringLiteral("单号:") + document.oddnum, 0);
    AddWrapped(QStringLiteral("时间:") + document.dateTime, 0);
    if (!document.employee.isEmpty())
        AddWrapped(QStringLiteral("员工:") + document.employee, 0);
    if (!document.customer.isEmpty())
        AddWrapped(QStringLiteral("客户:") + document.customer, 0);
    AddRule();
    for (const ReceiptLine& line : document.lines)
        AddLine(line);
    AddRule();
    AddTotals(document);
    AddRule();
    AddQr();
    AddCentred(document.oddnum, kBodyPixels);
    AddCentred(QStringLiteral("谢谢惠顾"), kBodyPixels);
    m_nHeight += kBottomMargin;
}

int ReceiptLayout::PrintableDots(int rollMm) {
    return rollMm == 80 ? 576 : 384;
}

QFont ReceiptLayout::Font(int pixels, bool bold) {
    QFont font(UiFontFamily());
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

int ReceiptLayout::RowHeight(int pixels) const {
    return QFontMetrics(Font(pixels, false)).height() + 4;
}

// Breaks a text anywhere (Chinese has no spaces to break at) so that every piece fits.
QStringList ReceiptLayout::Wrap(const QString& text, int width, const QFont& font) const {
    const QFontMetricsF metrics(font);
    QStringList pieces;
    QString piece;
    for (QChar c : text) {
        if (!piece.isEmpty() && metrics.horizontalAdvance(piece + c) > width) {
            pieces.append(piece);
            piece.clear();
        }
        piece += c;
    }
    if (!piece.isEmpty() || pieces.isEmpty())
        pieces.append(piece);
    return pieces;
}

void ReceiptLayout::AddText(const QRect& rect, const QString& text, int flags, int pixels,
                            bool bold) {
    ReceiptItem item;
    item.rect = rect;
    item.text = text;
    item.flags = flags | Qt::AlignVCenter;
    item.fontPixels = pixels;
    item.bold = bold;
    m_items.append(item);
}

void ReceiptLayout::AddCentred(const QString& text, int pixels, bool bold) {
    const int height = RowHeight(pixels);
    for (const QString& piece : Wrap(text, m_nWidth, Font(pixels, bold))) {
        AddText(QRect(0, m_nHeight, m_nWidth, height), piece, Qt::AlignHCenter, pixels, bold);
        m_nHeight += height;
    }
}

void ReceiptLayout::AddWrapped(const QString& text, int indent, int pixels) {
    const int height = RowHeight(pixels);
    for (const QString& piece : Wrap(text, m_nWidth - indent, Font(pixels, false))) {
        AddText(QRect(indent, m_nHeight, m_nWidth - indent, height), piece, Qt::AlignLeft, pixels,
                false);
        m_nHeight += height;
    }
}

// A text on the left and one on the right of the same row; when both do not fit, the right
// one goes on a row of its own.
void ReceiptLayout::AddPair(const QString& left, const QString& right, int indent, bool bold) {
    const QFontMetricsF metrics(Font(kBodyPixels, bold));
    const int height = RowHeight(kBodyPixels);
    const double needed = metrics.horizontalAdvance(left) + kGap + metrics.horizontalAdvance(right);
    if (needed > m_nWidth - indent)
        AddWrapped(left, indent); // the right text gets a row of its own below
    else
        AddText(QRect(indent, m_nHeight, m_nWidth - indent, height), left, Qt::AlignLeft,
                kBodyPixels, bold);
    if (needed > m_nWidth - indent && right.isEmpty())
        return;
    AddText(QRect(0, m_nHeight, m_nWidth, height), right, Qt::AlignRight, kBodyPixels, bold);
    m_nHeight += height;
}

void ReceiptLayout::AddRule() {
    m_nHeight += 6;
    ReceiptItem item;
    item.kind = ReceiptItem::Kind::Rule;
    item.rect = QRect(0, m_nHeight, m_nWidth, 2);
    m_items.append(item);
    m_nHeight += 8;
}

void ReceiptLayout::AddQr() {
    if (!m_qr.IsValid())
        return;
    // Half the roll's width with its quiet zone, a module at least 4 dots.
    const int module = qMax(4, (m_nWidth / 2) / (m_qr.Modules() + 2 * QrSymbol::kQuietModules));
    const int side = m_qr.Modules() * module;
    m_nHeight += QrSymbol::kQuietModules * module;
    ReceiptItem item;
    item.kind = ReceiptItem::Kind::Qr;
    item.rect = QRect((m_nWidth - side) / 2, m_nHeight, side, side);
    item.module = module;
    m_items.append(item);
    m_nHeight += side + QrSymbol::kQuietModules * module;
}

void ReceiptLayout::AddLine(const ReceiptLine& line) {
    AddWrapped(line.name, 0);
    AddPair(QStringLiteral("%1 × %2").arg(line.quantity, line.price), line.amount, kLineIndent);
    QStringList notes;
    const QString discount = ReceiptDocument::DiscountText(line.discount);
    if (!discount.isEmpty())
        notes.append(QStringLiteral("折扣 ") + discount);
    if (!line.remark.isEmpty())
        notes.append(line.remark);
    if (!notes.isEmpty())
        AddWrapped(notes.join(QStringLiteral("  ")), kLineIndent);
}

void ReceiptLayout::AddTotals(const ReceiptDocument& document) {
    AddWrapped(QStringLiteral("共 %1 项").arg(document.lines.size()), 0);
    AddPair(document.receivableLabel, document.receivable, 0, true);
    AddPair(document.receiptLabel,
            document.receipt.isEmpty() ? QStringLiteral("0.00") : document.receipt, 0);
    if (document.givesChange)
        AddPair(QStringLiteral("找零"), document.Change(), 0);
    AddPair(document.stateLabel, document.state, 0);
}
