#include "queries/MonthChart.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor kSalesColour(0, 80, 255);
const QColor kCostColour(160, 110, 60);
const QColor kGrossColour(0, 170, 90);
const QColor kLossColour(255, 0, 0);
const char* const kSeries[] = {"销售额", "销售成本", "毛利"};

QFont ChartFont(int pixelHeight) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

MonthChart::MonthChart(const QVector<MonthFigures>& months, const QRect& frame)
    : m_months(months), m_frame(frame) {
    m_months.resize(12);
    for (const MonthFigures& month : m_months) {
        for (double amount : {month.sales, month.cost, month.gross}) {
            if (std::isfinite(amount))
                m_dLargest = std::max(m_dLargest, std::abs(amount));
        }
    }
}

int MonthChart::MaxBarHeight() const {
    // Under the legend and the scale's label.
    return std::max(0, Base() - m_frame.top() - kLegendHeight - kFontHeight - 6);
}

int MonthChart::BarWidth() const {
    return std::max(0, (GroupWidth() - kGroupGap) / 3);
}

QVector<ChartBar> MonthChart::Bars() const {
    QVector<ChartBar> bars;
    const int top = MaxBarHeight();
    for (int m = 0; m < 12; ++m) {
        const MonthFigures& month = m_months[m];
        const double amounts[] = {month.sales, month.cost, month.gross};
        for (int s = 0; s < 3; ++s) {
            int height = 0;
            if (m_dLargest > 0 && std::isfinite(amounts[s]))
                height = std::min(top, int(std::abs(amounts[s]) / m_dLargest * top + 1e-6));
            const int left = m_frame.left() + m * GroupWidth() + kGroupGap / 2 + s * BarWidth();
            QColor colour = s == 0 ? kSalesColour : s == 1 ? kCostColour : kGrossColour;
            if (amounts[s] < 0)
                colour = kLossColour;
            bars.append({QRect(left, Base() - height, BarWidth(), height), colour});
        }
    }
    return bars;
}

QVector<ChartText> MonthChart::MonthLabels() const {
    QVector<ChartText> labels;
    for (int m = 0; m < 12; ++m)
        labels.append({QStringLiteral("%1月").arg(m + 1),
                       m_frame.left() + m * GroupWidth() + GroupWidth() / 2, Base() + 4});
    return labels;
}

ChartText MonthChart::ScaleLabel() const {
    const QString text = QStringLiteral("最大值:") + AccountChart::AmountText(m_dLargest);
    return {text, m_frame.left() + 80, Base() - MaxBarHeight() - kFontHeight - 4};
}

QVector<QPair<QRect, QString>> MonthChart::Legend() const {
    QVector<QPair<QRect, QString>> legend;
    for (int s = 0; s < 3; ++s)
        legend.append({QRect(m_frame.left() + s * 120, m_frame.top() + 4, 14, 14),
                       QString::fromUtf8(kSeries[s])});
    return legend;
}

void MonthChart::Paint(QPainter& painter, const QString& title) const {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(ChartFont(kFontHeight));
    const QFontMetrics metrics(painter.font());
    const QColor colours[] = {kSalesColour, kCostColour, kGrossColour};
    const QVector<QPair<QRect, QString>> legend = Legend();
    for (int s = 0; s < legend.size(); ++s) {
        painter.fillRect(legend[s].first, colours[s]);
        painter.drawText(legend[s].first.right() + 6, legend[s].first.top(), 96,
                         legend[s].first.height() + 2, Qt::AlignLeft | Qt::AlignVCenter,
                         legend[s].second);
    }
    painter.drawText(QRect(m_frame.left(), m_frame.top() + 2, m_frame.width(), kFontHeight + 6),
                     Qt::AlignRight | Qt::AlignVCenter, title);
    for (const ChartBar& bar : Bars()) {
        if (!bar.rect.isEmpty())
            painter.fillRect(bar.rect, bar.colour);
    }
    auto centred = [&](const ChartText& text) {
        const int width = metrics.horizontalAdvance(text.text) + 2;
        painter.drawText(QRect(text.centreX - width / 2, text.top, width, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, text.text);
    };
    for (const ChartText& label : MonthLabels())
        centred(label);
    centred(ScaleLabel());
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(m_frame.left(), Base(), m_frame.right(), Base());
    painter.restore();
}
