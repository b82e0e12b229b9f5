#include "queries/AccountChart.h"

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QLocale>
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

const QColor kCostColour(160, 110, 60);
const QColor kGrossColour(0, 170, 90);

enum Group { kSales, kReturns, kPurchase, kProfit, kCost, kGross, kGroups };
constexpr int kCategoryGap = 10;

QFont ChartFont(const char* family, int pixelHeight) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

std::optional<double> GrossMargin(const AccountFigures& figures) {
    const double net = figures.receivable - figures.refundDue;
    if (!std::isfinite(net) || std::abs(net) < 0.005)
        return std::nullopt;
    return figures.grossProfit / net;
}

QString MarginText(const AccountFigures& figures) {
    const std::optional<double> margin = GrossMargin(figures);
    return margin ? QString::asprintf("%.2f%%", *margin * 100) : QStringLiteral("-");
}

AccountChart::AccountChart(const AccountFigures& figures, int height, int right, int left)
    : m_figures(figures), m_nHeight(height), m_nRight(right), m_nLeft(left) {
    // Narrower than six full groups, everything shrinks alike so the chart keeps within its ends.
    m_nPitch = std::clamp((right - left) / kGroups, 1, kGroupPitch);
    m_nBarWidth = Scaled(kBarWidth);
    m_nValueFontHeight = std::max(9, Scaled(kValueFontHeight));
    m_nValueLineHeight = m_nValueFontHeight + (kValueLineHeight - kValueFontHeight);
    m_nCategoryFontHeight = std::max(12, Scaled(kCategoryFontHeight));
    const double amounts[] = {figures.receivable, figures.receipt,    figures.refundDue,
                              figures.refunded,   figures.purchase,   figures.profit,
                              figures.salesCost,  figures.grossProfit};
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

int AccountChart::Scaled(int full) const {
    return full * m_nPitch / kGroupPitch;
}

int AccountChart::GroupCentre(int group) const {
    return Centre() + (2 * group + 1 - kGroups) * m_nPitch / 2;
}

QVector<ChartBar> AccountChart::Bars() const {
    const int base = Base();
    auto bar = [&](int group, double amount, const QColor& colour) {
        const int height = BarHeight(amount);
        return ChartBar{
            QRect(GroupCentre(group) - m_nBarWidth / 2, base - height, m_nBarWidth, height),
            colour};
    };
    const bool gain = m_figures.profit > 0 && BarHeight(m_figures.profit) > 0;
    const bool grossGain = m_figures.grossProfit > 0 && BarHeight(m_figures.grossProfit) > 0;
    return {bar(kSales, m_figures.receivable, kDueColour),
            bar(kSales, m_figures.receipt, kReceivedColour),
            bar(kReturns, m_figures.refundDue, kReturnDueColour),
            bar(kReturns, m_figures.refunded, kRefundedColour),
            bar(kPurchase, m_figures.purchase, kPurchaseColour),
            bar(kProfit, m_figures.profit, gain ? kProfitColour : kLossColour),
            bar(kCost, m_figures.salesCost, kCostColour),
            bar(kGross, m_figures.grossProfit, grossGain ? kGrossColour : kLossColour)};
}

// The two bars of a pair stand on one place: both labels sit above the taller of them, the
// due label on the upper line, so neither covers a bar.
void AccountChart::PairLabels(QVector<ChartText>& labels, const QString& outer, double outerAmount,
                              const QString& inner, double innerAmount, int centreX) const {
    const int tallest = std::max(BarHeight(outerAmount), BarHeight(innerAmount));
    const int innerTop = Base() - tallest - m_nValueFontHeight;
    labels.append({outer + AmountText(outerAmount), centreX, innerTop - m_nValueLineHeight});
    labels.append({inner + AmountText(innerAmount), centreX, innerTop});
}

ChartText AccountChart::SingleLabel(const QString& name, double amount, int group) const {
    return {name + AmountText(amount), GroupCentre(group),
            Base() - BarHeight(amount) - m_nValueFontHeight};
}

QVector<ChartText> AccountChart::ValueLabels() const {
    QVector<ChartText> labels;
    PairLabels(labels, QStringLiteral("应收款:"), m_figures.receivable, QStringLiteral("实收款:"),
               m_figures.receipt, GroupCentre(kSales));
    PairLabels(labels, QStringLiteral("应退款:"), m_figures.refundDue, QStringLiteral("实退款:"),
               m_figures.refunded, GroupCentre(kReturns));
    labels.append(SingleLabel(QStringLiteral("进货款:"), m_figures.purchase, kPurchase));
    labels.append(SingleLabel(QStringLiteral("利润:"), m_figures.profit, kProfit));
    labels.append(SingleLabel(QStringLiteral("销售成本:"), m_figures.salesCost, kCost));
    // The margin on the line above the gross profit.
    ChartText gross = SingleLabel(QStringLiteral("毛利:"), m_figures.grossProfit, kGross);
    labels.append({QStringLiteral("毛利率:") + MarginText(m_figures), gross.centreX,
                   gross.top - m_nValueLineHeight});
    labels.append(gross);
    return labels;
}

QVector<ChartText> AccountChart::CategoryLabels() const {
    const int top = Base() + kCategoryGap;
    return {{QStringLiteral("销售"), GroupCentre(kSales), top},
            {QStringLiteral("退货"), GroupCentre(kReturns), top},
            {QStringLiteral("进货"), GroupCentre(kPurchase), top},
            {QStringLiteral("利润"), GroupCentre(kProfit), top},
            {QStringLiteral("成本"), GroupCentre(kCost), top},
            {QStringLiteral("毛利"), GroupCentre(kGross), top}};
}

QLine AccountChart::BaseLine() const {
    const int half = m_nPitch * kGroups / 2;
    return QLine(Centre() - half, Base(), Centre() + half, Base());
}

QString AccountChart::AmountText(double amount) {
    static const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    return grouped.toString(amount, 'f', 2);
}

void AccountChart::DrawCentred(QPainter& painter, const ChartText& text) {
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text.text) + 2;
    painter.drawText(QRect(text.centreX - width / 2, text.top, width, metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text.text);
}

void AccountChart::PaintTitle(QPainter& painter, const QString& title, int centreX) {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(ChartFont("微软雅黑", kTitleFontHeight));
    DrawCentred(painter, {title, centreX, kTitleTop});
    painter.restore();
}

void AccountChart::Paint(QPainter& painter, const QString& title) const {
    PaintTitle(painter, title, Centre());
    painter.save();
    painter.setPen(Qt::black);

    for (const ChartBar& bar : Bars()) {
        if (!bar.rect.isEmpty())
            painter.fillRect(bar.rect, bar.colour);
    }

    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(ChartFont("宋体", m_nValueFontHeight));
    for (const ChartText& label : ValueLabels())
        DrawCentred(painter, label);
    painter.setFont(ChartFont("宋体", m_nCategoryFontHeight));
    for (const ChartText& label : CategoryLabels())
        DrawCentred(painter, label);

    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine));
    painter.drawLine(BaseLine());
    painter.restore();
}
