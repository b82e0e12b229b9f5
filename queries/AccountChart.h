#pragma once

#include <QColor>
#include <QLine>
#include <QRect>
#include <QString>
#include <QVector>

class QPainter;

// The six amounts of a period, in yuan.
struct AccountFigures {
    double receivable = 0; // 应收款: sales due
    double receipt = 0;    // 实收款: sales received
    double refundDue = 0;  // 应退款: returns due
    double refunded = 0;   // 实退款: returns refunded
    double purchase = 0;   // 进货款: purchases
    double profit = 0;     // 利润: sales due less returns due less purchases
};

// A text centred on x with its top at y.
struct ChartText {
    QString text;
    int centreX = 0;
    int top = 0;
};

struct ChartBar {
    QRect rect; // empty when the bar has no height
    QColor colour;
};

// Layout of the statistics chart: bars on a base line, proportional to the amounts, with
// value labels above them and category labels below. Pure arithmetic plus one Paint.
// height is the drawing height (the base line lies at 7/8 of it), right the drawing width
// (the chart is centred on right / 2). The tallest bar is 2/3 of height; every bar rises
// from the base line by its amount's absolute value, so none leaves the frame.
class AccountChart {
  public:
    static constexpr int kBarWidth = 100;
    static constexpr int kValueFontHeight = 15;
    // Step between two value labels stacked at one bar (the font's line with its leading).
    static constexpr int kValueLineHeight = 18;
    static constexpr int kCategoryFontHeight = 25;
    static constexpr int kTitleFontHeight = 40;
    static constexpr int kTitleTop = 30;

    AccountChart(const AccountFigures& figures, int height, int right);

    int Centre() const { return m_nRight / 2; }
    int Base() const { return m_nHeight * 7 / 8; }
    int MaxBarHeight() const { return m_nHeight > 0 ? 2 * m_nHeight / 3 : 0; }
    // Pixels per yuan; 0 when every amount is 0.
    double Scale() const { return m_dScale; }
    // The bar height of an amount: its absolute value times the scale, truncated.
    int BarHeight(double amount) const;

    // The six bars in drawing order: due, received, return due, refunded, purchases, profit.
    QVector<ChartBar> Bars() const;
    // "应收款:1000.00" and the rest, in the same order as the bars.
    QVector<ChartText> ValueLabels() const;
    QVector<ChartText> CategoryLabels() const;
    QLine BaseLine() const;

    void Paint(QPainter& painter, const QString& title) const;

    // An amount as the chart shows it, "%.2f".
    static QString AmountText(double amount);

  private:
    void PairLabels(QVector<ChartText>& labels, const QString& outer, double outerAmount,
                    const QString& inner, double innerAmount, int centreX) const;
    static void DrawCentred(QPainter& painter, const ChartText& text);

    AccountFigures m_figures;
    int m_nHeight;
    int m_nRight;
    double m_dScale = 0;
};
