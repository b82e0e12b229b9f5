#pragma once

#include <QRect>
#include <QString>
#include <QVector>

#include "queries/AccountChart.h"

class QPainter;

// One month of a year: net sales (sales due less returns due), the cost of the goods sold
// and the gross profit, in yuan.
struct MonthFigures {
    double sales = 0;
    double cost = 0;
    double gross = 0;
};

// The twelve months of a year as grouped bars (sales, cost, gross profit) in a frame: a
// legend line at the top, the month names under the base line, the largest amount written at
// the top of the scale. Every bar rises from the base line by its amount's absolute value (a
// loss in red), so none leaves the frame. Pure arithmetic plus one Paint.
class MonthChart {
  public:
    static constexpr int kLegendHeight = 24;
    static constexpr int kMonthLabelHeight = 24;
    static constexpr int kFontHeight = 14;
    static constexpr int kGroupGap = 12;

    MonthChart(const QVector<MonthFigures>& months, const QRect& frame);

    int Base() const { return m_frame.bottom() + 1 - kMonthLabelHeight; }
    int MaxBarHeight() const;
    int GroupWidth() const { return m_frame.width() / 12; }
    int BarWidth() const;
    double Largest() const { return m_dLargest; }

    // 36 bars: month 1 sales, cost, gross, month 2 ...
    QVector<ChartBar> Bars() const;
    QVector<ChartText> MonthLabels() const;
    // "最大值:1,234.00" at the top left of the plot.
    ChartText ScaleLabel() const;
    // The colour boxes and names of the three series, left to right.
    QVector<QPair<QRect, QString>> Legend() const;

    void Paint(QPainter& painter, const QString& title) const;

  private:
    QVector<MonthFigures> m_months;
    QRect m_frame;
    double m_dLargest = 0;
};
