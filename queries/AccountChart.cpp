#include "queries/AccountChart.h"

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor kDueColour(0, 80, 255);
const QColor kReceivedColour(0, 150, 255);
const QColor kReturnDueColour(255, 255, 0);
const QColor kRefundedColour(255, 255, 100);
const QColor kPurchaseColour(255, 100, 0);
const QColor kProfitColour(0, 255, 0);
const QColor kLossColour(255, 0, 0);

// Left edges of the bars and centres of their labels, relative to the centre line.
constexpr int kSalesLeft = -275;
constexpr int kReturnsLeft = -125;
constexpr int kPurchaseLeft = 25;
constexpr int kProfitLeft = 175;
constexpr int kHalfBar = AccountChart::kBarWidth / 2;
constexpr int kBaseLineHalf = 400;
constexpr int kCategoryGap = 10;

QFont ChartFont(const char* family, int pixelHeight) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

AccountChart::AccountChart(const AccountFigures& figures, int height, int right)
    : m_figures(figures), m_nHeight(height), m_nRight(right) {
    const double amounts[] = {figures.receivable, figures.receipt,  figures.refundDue,
                              figures.refunded,   figures.purchase, figures.profit};
    double largest = 0;
    for (double amount : amounts) {
        if (std::isfinite(amount))
            largest = std::max(largest, std::abs(amount));
    }
    if (largest > 0)
        m_dScale = MaxBarHeight() / largest;
}

int AccountChart::BarHeight(double amount) const {
    if (!std::isfinite(amount))
        return 0;
    // The small addition keeps the largest amount at the full height despite rounding.
    const int height = static_cast<int>(std::abs(amount) * m_dScale + 1e-6);
    return std::min(height, MaxBarHeight());
}

QVector<ChartBar> AccountChart::Bars() const {
    const int centre = Centre();
    const int base = Base();
    auto bar = [&](int left, double amount, const QColor& colour) {
        const int height = BarHeight(amount);
        return ChartBar{QRect(centre + left, base - height, kBarWidth, height), colour};
    };
    const bool gain = m_figures.profit > 0 && BarHeight(m_figures.profit) > 0;
    return {bar(kSalesLeft, m_figures.receivable, kDueColour),
            bar(kSalesLeft, m_figures.receipt, kReceivedColour),
            bar(kReturnsLeft, m_figures.refundDue, kReturnDueColour),
            bar(kReturnsLeft, m_figures.refunded, kRefundedColour),
            bar(kPurchaseLeft, m_figures.purchase, kPurchaseColour),
            bar(kProfitLeft, m_figures.profit, gain ? kProfitColour : kLossColour)};
}

// The due label sits above its bar, the received one inside the top of its own bar (never
// below the base line); when the two would overlap, the label of the taller bar moves up.
void AccountChart::PairLabels(QVector<ChartText>& labels, const QString& outer, double outerAmount,
                              const QString& inner, double innerAmount, int centreX) const {
    const int base = Base();
    const int outerHeight = BarHeight(outerAmount);
    const int innerHeight = BarHeight(innerAmount);
    int outerTop = base - outerHeight - kValueFontHeight;
    int innerTop = base - std::max(innerHeight, kValueLineHeight);
    if (std::abs(outerTop - innerTop) < kValueLineHeight) {
        if (innerHeight <= outerHeight)
            outerTop = innerTop - kValueLineHeight;
        else
            innerTop = outerTop - kValueLineHeight;
    }
    labels.append({outer + AmountText(outerAmount), centreX, outerTop});
    labels.append({inner + AmountText(innerAmount), centreX, innerTop});
}

QVector<ChartText> AccountChart::ValueLabels() const {
    const int centre = Centre();
    const int base = Base();
    QVector<ChartText> labels;
    PairLabels(labels, QStringLiteral("应收款:"), m_figures.receivable, QStringLiteral("实收款:"),
               m_figures.receipt, centre + kSalesLeft + kHalfBar);
    PairLabels(labels, QStringLiteral("应退款:"), m_figures.refundDue, QStringLiteral("实退款:"),
               m_figures.refunded, centre + kReturnsLeft + kHalfBar);
    labels.append({QStringLiteral("进货款:") + AmountText(m_figures.purchase),
                   centre + kPurchaseLeft + kHalfBar,
                   base - BarHeight(m_figures.purchase) - kValueFontHeight});
    labels.append({QStringLiteral("利润:") + AmountText(m_figures.profit),
                   centre + kProfitLeft + kHalfBar,
                   base - BarHeight(m_figures.profit) - kValueFontHeight});
    return labels;
}

QVector<ChartText> AccountChart::CategoryLabels() const {
    const int centre = Centre();
    const int top = Base() + kCategoryGap;
    return {{QStringLiteral("销售"), centre + kSalesLeft + kHalfBar, top},
            {QStringLiteral("退货"), centre + kReturnsLeft + kHalfBar, top},
            {QStringLiteral("进货"), centre + kPurchaseLeft + kHalfBar, top},
            {QStringLiteral("利润"), centre + kProfitLeft + kHalfBar, top}};
}

QLine AccountChart::BaseLine() const {
    return QLine(Centre() - kBaseLineHalf, Base(), Centre() + kBaseLineHalf, Base());
}

QString AccountChart::AmountText(double amount) {
    return QString::asprintf("%.2f", amount);
}

void AccountChart::DrawCentred(QPainter& painter, const ChartText& text) {
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text.text) + 2;
    painter.drawText(QRect(text.centreX - width / 2, text.top, width, metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text.text);
}

void AccountChart::Paint(QPainter& painter, const QString& title) const {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(ChartFont("微软雅黑", kTitleFontHeight));
    DrawCentred(painter, {title, Centre(), kTitleTop});

    for (const ChartBar& bar : Bars()) {
        if (!bar.rect.isEmpty())
            painter.fillRect(bar.rect, bar.colour);
    }

    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(ChartFont("宋体", kValueFontHeight));
    for (const ChartText& label : ValueLabels())
        DrawCentred(painter, label);
    painter.setFont(ChartFont("宋体", kCategoryFontHeight));
    for (const ChartText& label : CategoryLabels())
        DrawCentred(painter, label);

    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine));
    painter.drawLine(BaseLine());
    painter.restore();
}
