#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QtTest>

#include <memory>

#include "db/CStatementRun.h"
#include "db/OperatorSession.h"
#include "queries/AccountChart.h"
#include "queries/CAccountDlg.h"
#include "shell/CHarborApp.h"
#include "shell/CMainFrame.h"
#include "shell/DialogFactory.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"
#include "ui/CommandIds.h"

namespace {

// One document of a sales table (saleout or salein): each line row repeats the header amounts.
// An empty amount is stored as NULL.
void AddSaleDoc(TestDatabase& db, const QString& table, const QString& oddnum, int lines,
                const QString& receivable, const QString& receipt) {
    auto value = [](const QString& amount) { return amount.isEmpty() ? "NULL" : amount; };
    for (int line = 1; line <= lines; ++line) {
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, customer, freceivable, freceipt, code) "
                               "VALUES ('%2', '张三', %3, %4, '010100000%5')")
                    .arg(table, oddnum, value(receivable), value(receipt))
                    .arg(line));
    }
}

void AddEntryDoc(TestDatabase& db, const QString& oddnum, int lines, double money) {
    for (int line = 1; line <= lines; ++line) {
        db.Exec(QStringLiteral("INSERT INTO entry (oddnum, supplier, fmoney, code) "
                               "VALUES ('%1', '五金厂', %2, '010100000%3')")
                    .arg(oddnum)
                    .arg(money)
                    .arg(line));
    }
}

// Documents of 2026 in March, May, June and December, and of the years around it.
void FillShop(TestDatabase& db) {
    AddSaleDoc(db, "saleout", "20260301001", 3, "100", "80");
    AddSaleDoc(db, "saleout", "20260315002", 2, "100", "100"); // same amounts, another document
    AddSaleDoc(db, "saleout", "20260501001", 1, "50", "50");
    AddSaleDoc(db, "saleout", "20250301001", 2, "1000", "1000");
    AddSaleDoc(db, "saleout", "20270101001", 1, "7", "7");
    AddSaleDoc(db, "salein", "20260302001", 2, "30", "20");
    AddSaleDoc(db, "salein", "20260301001", 1, "10", "10"); // a number also used by a sale
    AddSaleDoc(db, "salein", "20250302001", 1, "999", "999");
    AddEntryDoc(db, "20260303001", 3, 40);
    AddEntryDoc(db, "20260601001", 1, 60);
    AddEntryDoc(db, "20261201001", 2, 5);
    AddEntryDoc(db, "20250101001", 1, 333);
    AddEntryDoc(db, "20280101001", 1, 1); // a year with purchases only
}

void CompareFigures(const AccountFigures& actual, const AccountFigures& expected) {
    QCOMPARE(actual.receivable, expected.receivable);
    QCOMPARE(actual.receipt, expected.receipt);
    QCOMPARE(actual.refundDue, expected.refundDue);
    QCOMPARE(actual.refunded, expected.refunded);
    QCOMPARE(actual.purchase, expected.purchase);
    QCOMPARE(actual.profit, expected.receivable - expected.refundDue - expected.purchase);
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Height of a bar, as drawn.
int H(const QVector<ChartBar>& bars, int index) {
    return bars[index].rect.height();
}

} // namespace

class TestAccountDlg : public QObject {
    Q_OBJECT

  private slots:
    // Sums over the database
    void yearCountsEachDocumentOnce();
    void monthSelectsByNumberPrefix();
    void periodWithoutDocumentsIsZero();
    void nullAmountsCountZero();
    void databaseErrorShowsNoFigures();

    // Period choice
    void periodPatternsAndTitles();
    void invalidPeriodIsRefusedWithMessage();
    void boxesListMonthsAndSalesYears();
    void noSalesLeavesTheChartEmpty();
    void choosingInTheBoxesRecomputes();

    // Chart arithmetic
    void barHeightsAreProportional();
    void allZeroDrawsNoBars();
    void lossIsRedAndRisesUpward();
    void everyBarStaysInTheFrame();
    void valueLabelsNeverOverlapOrDropBelowTheBase();
    void monthChartFitsItsFrame();
    void chartShrinksIntoANarrowWindow();

    // Window
    void windowIsWhiteAndCloseBoxHides();
    void reopeningReadsTheFiguresAfresh();
    void paintsTheBarsInTheirColours();
};

void TestAccountDlg::yearCountsEachDocumentOnce() {
    TestDatabase db;
    FillShop(db);
    CAccountDlg dialog;
    MessageScript messages;
    QVERIFY(dialog.Compute("2026", "00"));
    CompareFigures(dialog.Figures(),
                   {100 + 100 + 50, 80 + 100 + 50, 30 + 10, 20 + 10, 40 + 60 + 5, 0});
    QCOMPARE(dialog.Title(), QStringLiteral("2026年全年营收统计(元)"));
    QCOMPARE(messages.Count(), 0);
}

void TestAccountDlg::monthSelectsByNumberPrefix() {
    TestDatabase db;
    FillShop(db);
    CAccountDlg dialog;
    QVERIFY(dialog.Compute("2026", "03"));
    CompareFigures(dialog.Figures(), {100 + 100, 80 + 100, 30 + 10, 20 + 10, 40, 0});
    QCOMPARE(dialog.Title(), QStringLiteral("2026年03月份营收统计(元)"));

    QVERIFY(dialog.Compute("2026", "12"));
    CompareFigures(dialog.Figures(), {0, 0, 0, 0, 5, 0});
    QCOMPARE(dialog.Figures().profit, -5.0);
    QCOMPARE(dialog.Title(), QStringLiteral("2026年12月份营收统计(元)"));

    // 2025 and 2027 documents stay in their own years.
    QVERIFY(dialog.Compute("2025", "00"));
    CompareFigures(dialog.Figures(), {1000, 1000, 999, 999, 333, 0});
}

void TestAccountDlg::periodWithoutDocumentsIsZero() {
    TestDatabase db;
    FillShop(db);
    CAccountDlg dialog;
    QVERIFY(dialog.Compute("2026", "04"));
    QVERIFY(dialog.HasFigures());
    CompareFigures(dialog.Figures(), {0, 0, 0, 0, 0, 0});
    for (const ChartText& label : dialog.Chart().ValueLabels())
        QVERIFY2(label.text.endsWith(":0.00") || label.text == QStringLiteral("毛利率:-"),
                 qPrintable(label.text));
}

void TestAccountDlg::nullAmountsCountZero() {
    TestDatabase db;
    AddSaleDoc(db, "saleout", "20260401001", 2, "", "");
    AddSaleDoc(db, "saleout", "20260401002", 1, "12.5", "");
    CAccountDlg dialog;
    QVERIFY(dialog.Compute("2026", "04"));
    CompareFigures(dialog.Figures(), {12.5, 0, 0, 0, 0, 0});
}

void TestAccountDlg::databaseErrorShowsNoFigures() {
    TestDatabase db;
    FillShop(db);
    CAccountDlg dialog;
    QVERIFY(dialog.Compute("2026", "00"));
    db.Exec("DROP TABLE entry");
    MessageScript messages;
    QVERIFY(!dialog.Compute("2026", "00"));
    QCOMPARE(messages.Count(), 1);
    QVERIFY(!dialog.HasFigures());
    QVERIFY(dialog.Title().isEmpty());
    CompareFigures(dialog.Figures(), {0, 0, 0, 0, 0, 0});
}

void TestAccountDlg::periodPatternsAndTitles() {
    QString pattern;
    QString title;
    QVERIFY(CAccountDlg::PeriodOf("2026", "00", &pattern, &title));
    QCOMPARE(pattern, QStringLiteral("2026"));
    QCOMPARE(title, QStringLiteral("2026年全年营收统计(元)"));
    QVERIFY(CAccountDlg::PeriodOf("2027", "11", &pattern, &title));
    QCOMPARE(pattern, QStringLiteral("202711"));
    QCOMPARE(title, QStringLiteral("2027年11月份营收统计(元)"));
    for (const auto& [year, month] : QList<QPair<QString, QString>>{{"2026", "13"},
                                                                    {"2026", "3"},
                                                                    {"2026", "-1"},
                                                                    {"202", "03"},
                                                                    {"20x6", "03"},
                                                                    {"2026%", "03"},
                                                                    {"", ""}})
        QVERIFY2(!CAccountDlg::PeriodOf(year, month, &pattern, &title),
                 qPrintable(year + "/" + month));
}

void TestAccountDlg::invalidPeriodIsRefusedWithMessage() {
    TestDatabase db;
    FillShop(db);
    CAccountDlg dialog;
    MessageScript messages;
    QVERIFY(!dialog.Compute("2026", "13"));
    QVERIFY(!dialog.Compute("2_2%", "00"));
    QCOMPARE(messages.Count(), 2);
    QVERIFY(messages.Last().contains("年份应为四位数字"));
    QCOMPARE(messages.Messages().last().icon, MsgIcon::Exclamation);
    QVERIFY(!dialog.HasFigures());
    CompareFigures(dialog.Figures(), {0, 0, 0, 0, 0, 0});
}

void TestAccountDlg::boxesListMonthsAndSalesYears() {
    TestDatabase db;
    FillShop(db);
    AddSaleDoc(db, "saleout", "bad", 1, "9", "9"); // no year in the number: no item
    CAccountDlg dialog;
    QCOMPARE(Items(dialog.MonthBox()),
             QStringList({"全年", "一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月",
                          "九月", "十月", "十一月", "十二月"}));
    QCOMPARE(dialog.MonthBox()->currentIndex(), 0);
    QStringList years = Items(dialog.YearBox());
    years.sort();
    QCOMPARE(years, QStringList({"2025年", "2026年", "2027年"})); // 2028 has purchases only
    QCOMPARE(dialog.YearBox()->currentIndex(), 0);

    // Opening computes the first year in full.
    QVERIFY(dialog.HasFigures());
    const QString first = dialog.YearBox()->currentText().left(4);
    QCOMPARE(dialog.Title(), first + "年全年营收统计(元)");
}

void TestAccountDlg::noSalesLeavesTheChartEmpty() {
    TestDatabase db;
    AddEntryDoc(db, "20260303001", 1, 40);
    MessageScript messages;
    CAccountDlg dialog;
    QCOMPARE(dialog.YearBox()->count(), 0);
    QVERIFY(!dialog.HasFigures());
    QVERIFY(dialog.Title().isEmpty());
    QCOMPARE(messages.Count(), 0);
    dialog.resize(1280, 700);
    dialog.grab(); // paints without figures
}

void TestAccountDlg::choosingInTheBoxesRecomputes() {
    TestDatabase db;
    AddSaleDoc(db, "saleout", "20260301001", 2, "100", "80");
    AddSaleDoc(db, "saleout", "20250501001", 1, "70", "70");
    AddEntryDoc(db, "20260201001", 1, 30);
    CAccountDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const int index2026 = dialog.YearBox()->findText("2026年");
    QVERIFY(index2026 >= 0);
    dialog.YearBox()->setFocus();
    QTest::keyClick(dialog.YearBox(), index2026 == 0 ? Qt::Key_Home : Qt::Key_End);
    QCOMPARE(dialog.YearBox()->currentText(), QStringLiteral("2026年"));
    CompareFigures(dialog.Figures(), {100, 80, 0, 0, 30, 0});

    dialog.MonthBox()->setFocus();
    QTest::keyClick(dialog.MonthBox(), Qt::Key_Down); // 一月
    QTest::keyClick(dialog.MonthBox(), Qt::Key_Down); // 二月
    QCOMPARE(dialog.Title(), QStringLiteral("2026年02月份营收统计(元)"));
    CompareFigures(dialog.Figures(), {0, 0, 0, 0, 30, 0});
    QTest::keyClick(dialog.MonthBox(), Qt::Key_Down); // 三月
    CompareFigures(dialog.Figures(), {100, 80, 0, 0, 0, 0});
    QTest::keyClick(dialog.MonthBox(), Qt::Key_End); // 十二月
    QCOMPARE(dialog.Title(), QStringLiteral("2026年12月份营收统计(元)"));
    CompareFigures(dialog.Figures(), {0, 0, 0, 0, 0, 0});
}

void TestAccountDlg::barHeightsAreProportional() {
    // height 600: base line at 525, tallest bar 400
    const AccountChart chart({1000, 500, 200, 100, 800, 0}, 600, 1200);
    QCOMPARE(chart.Centre(), 600);
    QCOMPARE(chart.Base(), 525);
    const QVector<ChartBar> bars = chart.Bars();
    QCOMPARE(H(bars, 0), 400);
    QCOMPARE(H(bars, 1), 200);
    QCOMPARE(H(bars, 2), 80);
    QCOMPARE(H(bars, 3), 40);
    QCOMPARE(H(bars, 4), 320);
    for (const ChartBar& bar : bars) {
        QCOMPARE(bar.rect.width(), AccountChart::kBarWidth);
        QCOMPARE(bar.rect.bottom() + 1, chart.Base()); // every bar stands on the base line
    }
    // Six groups one pitch apart, centred on the chart: sales, returns, purchases, profit, cost
    // of goods, gross profit.
    const int pitch = AccountChart::kGroupPitch;
    QCOMPARE(bars.size(), 8);
    QCOMPARE(bars[0].rect.center().x() + 1, 600 - 5 * pitch / 2);
    QCOMPARE(bars[1].rect.left(), bars[0].rect.left()); // received over due
    QCOMPARE(bars[2].rect.left(), bars[0].rect.left() + pitch);
    QCOMPARE(bars[4].rect.left(), bars[0].rect.left() + 2 * pitch);
    QCOMPARE(bars[5].rect.left(), bars[0].rect.left() + 3 * pitch);
    QCOMPARE(bars[6].rect.left(), bars[0].rect.left() + 4 * pitch);
    QCOMPARE(bars[7].rect.left(), bars[0].rect.left() + 5 * pitch);
    // A chart that begins right of the period box is centred on what is left.
    QCOMPARE(AccountChart({}, 600, 1260, 240).Centre(), 750);

    // Heights are truncated, never rounded up.
    const AccountChart odd({3, 1, 0, 0, 0, 2}, 600, 1200);
    QCOMPARE(H(odd.Bars(), 0), 400);
    QCOMPARE(H(odd.Bars(), 1), 133);
    QCOMPARE(H(odd.Bars(), 5), 266);
    QCOMPARE(odd.Bars()[5].colour, QColor(0, 255, 0));
}

void TestAccountDlg::allZeroDrawsNoBars() {
    const AccountChart chart({0, 0, 0, 0, 0, 0}, 668, 1280);
    QCOMPARE(chart.Scale(), 0.0);
    for (const ChartBar& bar : chart.Bars())
        QVERIFY(bar.rect.isEmpty());
    const int half = 3 * AccountChart::kGroupPitch;
    QCOMPARE(chart.BaseLine(), QLine(640 - half, chart.Base(), 640 + half, chart.Base()));

    // A window too small for a chart still computes without dividing by zero.
    const AccountChart tiny({10, 10, 0, 0, 5, 5}, -32, 0);
    for (const ChartBar& bar : tiny.Bars())
        QVERIFY(bar.rect.isEmpty());
}

void TestAccountDlg::lossIsRedAndRisesUpward() {
    // Profit 1000 - 200 - 500 = 300 is green.
    const AccountChart gain({1000, 1000, 200, 200, 500, 300}, 600, 1200);
    QCOMPARE(gain.Bars()[5].colour, QColor(0, 255, 0));
    QCOMPARE(H(gain.Bars(), 5), 120);
    QCOMPARE(gain.ValueLabels()[5].text, QStringLiteral("利润:300.00"));

    // With purchases 1500 the loss of 700 is red, upward, scaled by the purchases.
    const AccountChart loss({1000, 1000, 200, 200, 1500, -700}, 600, 1200);
    const ChartBar profit = loss.Bars()[5];
    QCOMPARE(profit.colour, QColor(255, 0, 0));
    QCOMPARE(H(loss.Bars(), 4), 400);
    QCOMPARE(profit.rect.height(), 700 * 400 / 1500);
    QCOMPARE(profit.rect.bottom() + 1, loss.Base());
    QCOMPARE(loss.ValueLabels()[5].text, QStringLiteral("利润:-700.00"));
    QCOMPARE(loss.ValueLabels()[5].top, loss.Base() - profit.rect.height() - 15);
}

void TestAccountDlg::everyBarStaysInTheFrame() {
    // Receipts above the amount due, returns above the sales: the largest amount sets the
    // scale, so no bar rises above the tallest allowed.
    const QList<AccountFigures> cases = {
        {100, 300, 0, 0, 50, 50},  {100, 100, 5000, 4000, 100, -5000}, {-200, -200, 0, 0, 0, -200},
        {0, 0, 0, 0, 1e-9, -1e-9}, {1e12, 1e12, 0, 0, 1, 1e12},
    };
    for (const AccountFigures& figures : cases) {
        const AccountChart chart(figures, 668, 1280);
        int tallest = 0;
        for (const ChartBar& bar : chart.Bars()) {
            QVERIFY(bar.rect.height() >= 0);
            QVERIFY(bar.rect.top() >= chart.Base() - chart.MaxBarHeight());
            QCOMPARE(bar.rect.bottom() + 1, chart.Base());
            tallest = std::max(tallest, bar.rect.height());
        }
        QVERIFY(tallest == chart.MaxBarHeight() || tallest == 0);
    }
    const AccountChart paidMore({100, 300, 0, 0, 50, 50}, 668, 1280);
    QVERIFY(H(paidMore.Bars(), 1) > H(paidMore.Bars(), 0)); // received drawn taller
}

void TestAccountDlg::valueLabelsNeverOverlapOrDropBelowTheBase() {
    const QList<AccountFigures> cases = {
        {0, 0, 0, 0, 0, 0},       {1000, 0, 0, 0, 0, 1000}, {1000, 990, 10, 0, 0, 990},
        {1000, 1010, 0, 0, 0, 0}, {1000, 500, 0, 0, 0, 0},
    };
    for (const AccountFigures& figures : cases) {
        const AccountChart chart(figures, 600, 1200);
        const QVector<ChartText> labels = chart.ValueLabels();
        QCOMPARE(labels.size(), 9);
        // No label lies on a bar: each is above every bar of its group.
        for (const ChartText& label : labels) {
            const QRect text(label.centreX - AccountChart::kGroupPitch / 2, label.top,
                             AccountChart::kGroupPitch, AccountChart::kValueFontHeight);
            for (const ChartBar& bar : chart.Bars())
                QVERIFY2(!text.intersects(bar.rect), qPrintable(label.text));
        }
        for (const ChartText& label : labels)
            QVERIFY(label.top + AccountChart::kValueFontHeight <= chart.Base());
        for (int pair : {0, 2}) {
            QCOMPARE(labels[pair].centreX, labels[pair + 1].centreX);
            QVERIFY(std::abs(labels[pair].top - labels[pair + 1].top) >=
                    AccountChart::kValueLineHeight);
        }
    }
    // With nothing received the due label stays above the received one.
    const AccountChart unpaid({0, 0, 0, 0, 0, 0}, 600, 1200);
    QVERIFY(unpaid.ValueLabels()[0].top < unpaid.ValueLabels()[1].top);
    QVERIFY(unpaid.ValueLabels()[2].top < unpaid.ValueLabels()[3].top);

    // Both labels of a pair stand above its taller bar; money has thousands separators.
    const AccountChart apart({1000, 500, 0, 0, 0, 0, 300, 1234567.5}, 600, 1200);
    const QVector<ChartText> labels = apart.ValueLabels();
    QCOMPARE(labels[0].text, QStringLiteral("应收款:1,000.00"));
    QCOMPARE(labels[1].text, QStringLiteral("实收款:500.00"));
    QCOMPARE(labels[1].top, apart.Base() - apart.BarHeight(1000) - 15);
    QCOMPARE(labels[0].top, labels[1].top - AccountChart::kValueLineHeight);
    QCOMPARE(labels[6].text, QStringLiteral("销售成本:300.00"));
    QCOMPARE(labels[7].text, QStringLiteral("毛利率:123456.75%"));
    QCOMPARE(labels[8].text, QStringLiteral("毛利:1,234,567.50"));
    QCOMPARE(labels[7].top, labels[8].top - AccountChart::kValueLineHeight);
    for (int group = 0; group < 6; ++group)
        QCOMPARE(apart.CategoryLabels()[group].centreX, apart.GroupCentre(group));
    QCOMPARE(labels[2].centreX, apart.GroupCentre(1));
    QCOMPARE(labels[4].centreX, apart.GroupCentre(2));
    QCOMPARE(labels[5].centreX, apart.GroupCentre(3));
    QCOMPARE(apart.CategoryLabels()[0].top, apart.Base() + 10);
}

void TestAccountDlg::monthChartFitsItsFrame() {
    QVector<MonthFigures> months(12);
    months[0] = {1000, 600, 400};
    months[4] = {2000, 2500, -500}; // sold below cost
    months[11] = {1e12, 0, 1e12};
    const QRect frame(240, 90, 1000, 540);
    for (const QVector<MonthFigures>& figures :
         {months, months.mid(0, 5), QVector<MonthFigures>()}) {
        const MonthChart chart(figures, frame);
        const QVector<ChartBar> bars = chart.Bars();
        QCOMPARE(bars.size(), 36);
        for (int i = 0; i < bars.size(); ++i) {
            QVERIFY(frame.contains(bars[i].rect) || bars[i].rect.isEmpty());
            QCOMPARE(bars[i].rect.bottom() + 1, chart.Base());
            if (i > 0)
                QVERIFY(bars[i].rect.left() >= bars[i - 1].rect.right() + 1);
        }
        for (const ChartText& label : chart.MonthLabels())
            QVERIFY(frame.contains(QPoint(label.centreX, label.top + MonthChart::kFontHeight)));
        const ChartText scale = chart.ScaleLabel();
        QVERIFY(scale.top > frame.top() + MonthChart::kLegendHeight - 4);
        QVERIFY(scale.top + MonthChart::kFontHeight <= chart.Base() - chart.MaxBarHeight());
    }
    const MonthChart chart(months, frame);
    const QVector<ChartBar> bars = chart.Bars();
    QCOMPARE(bars[35].rect.height(), chart.MaxBarHeight()); // December's gross profit
    QCOMPARE(bars[0].rect.height(), int(1000 / 1e12 * chart.MaxBarHeight()));
    QCOMPARE(bars[14].colour, QColor(255, 0, 0)); // May's loss
    QCOMPARE(bars[13].colour, QColor(160, 110, 60));
    QCOMPARE(chart.ScaleLabel().text, QStringLiteral("最大值:1,000,000,000,000.00"));
    QCOMPARE(chart.MonthLabels()[11].text, QStringLiteral("12月"));
}

// On a small screen the six groups do not fit at their full pitch: bars, labels and base line
// shrink alike and stay right of the period column and inside the window.
void TestAccountDlg::chartShrinksIntoANarrowWindow() {
    const AccountFigures figures{1000, 400, 200, 100, 1500, -700, 300, 500};
    const AccountChart wide(figures, 600, 1260, 240);
    QCOMPARE(wide.Pitch(), AccountChart::kGroupPitch);
    QCOMPARE(wide.BarWidth(), AccountChart::kBarWidth);

    TestDatabase db;
    AddSaleDoc(db, "saleout", "20260301001", 1, "1234567.80", "1000000");
    AddEntryDoc(db, "20260301001", 1, 987654.32);
    CAccountDlg dialog;
    dialog.resize(1016, 532); // the work area of a 1024x768 screen
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.HasFigures());
    const QRect area = dialog.ChartArea();
    QCOMPARE(area.left(), dialog.CostText()->geometry().right() + 21);
    const AccountChart chart = dialog.Chart();
    QVERIFY(chart.Pitch() < AccountChart::kGroupPitch);
    QVERIFY(chart.Pitch() * 6 <= area.width());
    QCOMPARE(chart.BarWidth(), AccountChart::kBarWidth * chart.Pitch() / AccountChart::kGroupPitch);
    QVERIFY(chart.ValueFontHeight() < AccountChart::kValueFontHeight);
    QCOMPARE(chart.ValueLineHeight() - chart.ValueFontHeight(),
             AccountChart::kValueLineHeight - AccountChart::kValueFontHeight);
    for (const ChartBar& bar : chart.Bars()) {
        QVERIFY(bar.rect.isEmpty() ||
                (bar.rect.left() >= area.left() && bar.rect.right() <= area.right()));
    }
    QVERIFY(chart.BaseLine().x1() >= area.left());
    QVERIFY(chart.BaseLine().x2() <= area.right());
    // Neighbouring groups' labels keep apart: each label is no wider than a pitch.
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(chart.ValueFontHeight());
    const QFontMetrics metrics(font);
    for (const ChartText& label : chart.ValueLabels())
        QVERIFY2(metrics.horizontalAdvance(label.text) <= chart.Pitch(), qPrintable(label.text));
}

void TestAccountDlg::windowIsWhiteAndCloseBoxHides() {
    TestDatabase db;
    std::unique_ptr<CWorkDialog> made(CreateWorkDialog(ID_ACCOUNT_DLG));
    QVERIFY(qobject_cast<CAccountDlg*>(made.get()));
    QCOMPARE(made->windowTitle(), QStringLiteral("帐目统计"));
    QCOMPARE(made->GetCloseBox(), CWorkDialog::CloseBox::Hides);

    CAccountDlg dialog;
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::white));
    dialog.resize(1280, 700);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage image = dialog.grab().toImage();
    QCOMPARE(QColor(image.pixel(image.width() - 5, image.height() - 5)), QColor(Qt::white));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

// The window is hidden by its close box and shown again by the ribbon: what it shows then is
// what the database holds then, years saved meanwhile included.
void TestAccountDlg::reopeningReadsTheFiguresAfresh() {
    TestDatabase db;
    AddSaleDoc(db, "saleout", "20260301001", 2, "100", "80");
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.resize(1400, 900);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    // Opening reads the year list and the year's sums once, not again when first shown.
    const qint64 before = CStatementRun::RunCount();
    const CAccountDlg probe;
    const qint64 reads = CStatementRun::RunCount() - before;
    QVERIFY(reads > 0);
    const qint64 asked = CStatementRun::RunCount();
    QVERIFY(HasPermission(Permission::Accounts)); // what the ribbon asks first
    const qint64 permission = CStatementRun::RunCount() - asked;
    const qint64 opening = CStatementRun::RunCount();
    frame.OnCommand(ID_ACCOUNT_DLG);
    QCOMPARE(CStatementRun::RunCount() - opening, permission + reads);
    auto* dialog = qobject_cast<CAccountDlg*>(frame.DialogFor(ID_ACCOUNT_DLG));
    QVERIFY(dialog);
    QCOMPARE(Items(dialog->YearBox()), QStringList{"2026年"});
    QCOMPARE(dialog->Figures().receivable, 100.0);

    dialog->HostWindow()->close();
    QVERIFY(!dialog->HostWindow()->isVisible());
    AddSaleDoc(db, "saleout", "20260302001", 1, "50", "50");
    AddSaleDoc(db, "saleout", "20270101001", 1, "7", "7");
    AddSaleDoc(db, "salein", "20260303001", 1, "20", "20");
    frame.OnCommand(ID_ACCOUNT_DLG);
    QCOMPARE(frame.DialogFor(ID_ACCOUNT_DLG), static_cast<CWorkDialog*>(dialog));
    QCOMPARE(Items(dialog->YearBox()), QStringList({"2026年", "2027年"}));
    QCOMPARE(dialog->YearBox()->currentText(), QString("2026年")); // the chosen year stays
    CompareFigures(dialog->Figures(), {150, 130, 20, 20, 0, 0});
    theApp.m_pMainWnd = nullptr;
}

void TestAccountDlg::paintsTheBarsInTheirColours() {
    TestDatabase db;
    AddSaleDoc(db, "saleout", "20260301001", 2, "1000", "400");
    AddSaleDoc(db, "salein", "20260301001", 1, "200", "100");
    AddEntryDoc(db, "20260301001", 1, 1500);
    CAccountDlg dialog;
    dialog.resize(1280, 700);
    QVERIFY(dialog.HasFigures());
    QCOMPARE(dialog.Figures().profit, -700.0);
    const QImage image = dialog.grab().toImage();
    const QVector<ChartBar> bars = dialog.Chart().Bars();
    auto colourAt = [&](const QRect& rect, int fromBottom) {
        return QColor(image.pixel(rect.center().x(), rect.bottom() - fromBottom));
    };
    QCOMPARE(colourAt(bars[1].rect, 2), QColor(0, 150, 255));                         // received
    QCOMPARE(colourAt(bars[0].rect, bars[1].rect.height() + 25), QColor(0, 80, 255)); // due
    QCOMPARE(colourAt(bars[4].rect, 30), QColor(255, 100, 0));                        // purchases
    QCOMPARE(colourAt(bars[5].rect, 2), QColor(255, 0, 0));                           // loss
    QCOMPARE(H(bars, 4), dialog.Chart().MaxBarHeight());
}

QTEST_MAIN(TestAccountDlg)
#include "tst_accountdlg.moc"
