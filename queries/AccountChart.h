#pragma once

#include <QColor>
#include <QLine>
#include <QRect>
#include <QString>
#include <QVector>
#include <optional>

class QPainter;

// The six amounts of a period, in yuan.
struct AccountFigures {
    double receivable = 0;  // 应收款: sales due
    double receipt = 0;     // 实收款: sales received
    double refundDue = 0;   // 应退款: returns due
    double refunded = 0;    // 实退款: returns refunded
    double purchase = 0;    // 进货款: purchases
    double profit = 0;      // 利润: sales due less returns due less purchases
    double salesCost = 0;   // 销售成本: cost of the goods sold less that of the goods returned
    double grossProfit = 0; // 毛利: sales due less returns due less the cost of goods
    double stockValue = 0;  // 库存金额: stock x moving-average cost at the period's end
    double countValue = 0; // 盘点差异: what the stock counts corrected, at cost (gain positive)
    int unknownCostLines = 0;     // sales movements of the period whose cost is unknown
    int unknownStockProducts = 0; // products in stock whose cost is unknown
    int unknownCountLines = 0;    // count corrections of the period whose cost is unknown
};

// 毛利率: gross profit over the net sales (sales due less returns due); none without sales.
std::optional<double> GrossMargin(const AccountFigures& figures);
// "40.00%", or "-" without sales.
QString MarginText(const AccountFigures& figures);

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
// value labels above them (never on a bar) and category labels below. Pure arithmetic plus
// one Paint. height is the drawing height (the base line lies at 7/8 of it), left and right
// the drawing's ends (the chart is centred between them); six groups of bars one Pitch()
// apart: sales, returns, purchases, profit, cost of goods, gross profit. The tallest bar is 2/3 of
// height; every bar rises from the base line by its amount's absolute value, so none leaves the
// frame.
class AccountChart {
  public:
    static constexpr int kBarWidth = 100;
    static constexpr int kGroupPitch = 170;
    static constexpr int kValueFontHeight = 15;
    // Step between two value labels stacked at one bar (the font's line with its leading).
    static constexpr int kValueLineHeight = 18;
    static constexpr int kCategoryFontHeight = 25;
    static constexpr int kTitleFontHeight = 40;
    static constexpr int kTitleTop = 30;

    AccountChart(const AccountFigures& figures, int height, int right, int left = 0);

    // The step between groups, a bar's width and the label fonts: the constants above while
    // six groups fit between the ends, in proportion smaller when they do not.
    int Pitch() const { return m_nPitch; }
    int BarWidth() const { return m_nBarWidth; }
    int ValueFontHeight() const { return m_nValueFontHeight; }
    int ValueLineHeight() const { return m_nValueLineHeight; }
    int CategoryFontHeight() const { return m_nCategoryFontHeight; }

    int Centre() const { return (m_nLeft + m_nRight) / 2; }
    // The centre of a group of bars (0: sales ... 5: gross profit).
    int GroupCentre(int group) const;
    int Base() const { return m_nHeight * 7 / 8; }
    int MaxBarHeight() const { return m_nHeight > 0 ? 2 * m_nHeight / 3 : 0; }
    // Pixels per yuan; 0 when every amount is 0.
    double Scale() const { return m_dScale; }
    // The bar height of an amount: its absolute value times the scale, truncated.
    int BarHeight(double amount) const;

    // The bars in drawing order: due, received, return due, refunded, purchases, profit, cost of
    // goods, gross profit.
    QVector<ChartBar> Bars() const;
    // "应收款:1000.00" and the rest, in the same order as the bars.
    QVector<ChartText> ValueLabels() const;
    QVector<ChartText> CategoryLabels() const;
    QLine BaseLine() const;

    void Paint(QPainter& painter, const QString& title) const;
    // The chart's title, centred on x.
    static void PaintTitle(QPainter& painter, const QString& title, int centreX);

    // An amount as the chart shows it: two decimals, thousands separated ("1,234.50").
    static QString AmountText(double amount);

  private:
    void PairLabels(QVector<ChartText>& labels, const QString& outer, double outerAmount,
                    const QString& inner, double innerAmount, int centreX) const;
    ChartText SingleLabel(const QString& name, double amount, int group) const;
    static void DrawCentred(QPainter& painter, const ChartText& text);
    int Scaled(int full) const;

    AccountFigures m_figures;
    int m_nHeight;
    int m_nRight;
    int m_nLeft;
    int m_nPitch = kGroupPitch;
    int m_nBarWidth = kBarWidth;
    int m_nValueFontHeight = kValueFontHeight;
    int m_nValueLineHeight = kValueLineHeight;
    int m_nCategoryFontHeight = kCategoryFontHeight;
    double m_dScale = 0;
};
