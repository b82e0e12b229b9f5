#include "queries/CAccountDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QVBoxLayout>

#include "db/CRecordset.h"
#include "db/PrefixSearch.h"
#include "db/SqlText.h"
#include "export/ExportDialogs.h"
#include "queries/AccountSums.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

namespace {

const char* const kMonthNames[] = {"全年", "一月", "二月", "三月", "四月",   "五月",  "六月",
                                   "七月", "八月", "九月", "十月", "十一月", "十二月"};

// Space the window keeps below the chart, as the work area less the status line.
constexpr int kBottomMargin = 32;

bool IsYear(const QString& text) {
    static const QRegularExpression year(QStringLiteral("^[0-9]{4}$"));
    return year.match(text).hasMatch();
}

// Where the chart begins: right of the period box and the figures beside it, which stand in a
// column with this margin on either side.
constexpr int kChartLeft = 240;
constexpr int kSideMargin = 20;

} // namespace

CAccountDlg::CAccountDlg(QWidget* parent) : CWorkDialog(QStringLiteral("帐目统计"), parent) {
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    CreateControls();
    resize(1260, 700);
    FillMonthBox();
    FillYearBox();
    OnSelectionChange();
}

CAccountDlg::~CAccountDlg() = default;

void CAccountDlg::CreateControls() {
    m_pPeriodFrame = new QGroupBox(QStringLiteral("请选择年份和月份"), this);
    m_pYear = new QComboBox(m_pPeriodFrame);
    m_pYear->setObjectName(QStringLiteral("1095"));
    m_pMonth = new QComboBox(m_pPeriodFrame);
    m_pMonth->setObjectName(QStringLiteral("1096"));
    m_pMonth->setMaxVisibleItems(13);
    auto* period = new QVBoxLayout(m_pPeriodFrame);
    period->addWidget(m_pYear);
    period->addWidget(m_pMonth);
    connect(m_pYear, &QComboBox::currentIndexChanged, this, &CAccountDlg::OnSelectionChange);
    connect(m_pMonth, &QComboBox::currentIndexChanged, this, &CAccountDlg::OnSelectionChange);
    m_pExport = new QPushButton(QStringLiteral("导出..."), this);
    connect(m_pExport, &QPushButton::clicked, this,
            [this] { ExportWithDialogs(this, FiguresTable(), ExportFormat::Xlsx); });
    m_pCostText = new QLabel(this);
    m_pCostText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pCostText->setWordWrap(true);
    m_pMonths = new QCheckBox(QStringLiteral("显示全年各月图表"), this);
    connect(m_pMonths, &QCheckBox::toggled, this, &CAccountDlg::OnSelectionChange);

    // One column left of the chart; the chart itself is painted on the rest of the window.
    auto* side = new QVBoxLayout;
    side->setSpacing(10);
    side->addWidget(m_pPeriodFrame);
    side->addWidget(m_pExport);
    side->addWidget(m_pCostText);
    side->addWidget(m_pMonths);
    side->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kSideMargin, 15, 0, kBottomMargin);
    layout->addLayout(side);
    layout->addStretch(1);
    for (QWidget* widget : {static_cast<QWidget*>(m_pPeriodFrame), static_cast<QWidget*>(m_pExport),
                            static_cast<QWidget*>(m_pCostText), static_cast<QWidget*>(m_pMonths)})
        widget->setFixedWidth(kChartLeft - 2 * kSideMargin);
}

void CAccountDlg::ShowCostText() {
    if (!m_bHasFigures) {
        m_pCostText->clear();
        return;
    }
    QStringList lines{
        QStringLiteral("销售成本: %1").arg(AccountChart::AmountText(m_figures.salesCost)),
        QStringLiteral("毛利: %1").arg(AccountChart::AmountText(m_figures.grossProfit)),
        QStringLiteral("毛利率: %1").arg(MarginText(m_figures)),
        QStringLiteral("库存金额: %1").arg(AccountChart::AmountText(m_figures.stockValue)),
        QStringLiteral("盘点差异: %1").arg(AccountChart::AmountText(m_figures.countValue))};
    if (m_figures.unknownCostLines > 0)
        lines << QStringLiteral("%1笔销售的成本未知(当时尚无进货),未计入销售成本")
                     .arg(m_figures.unknownCostLines);
    if (m_figures.unknownStockProducts > 0)
        lines << QStringLiteral("%1种商品的成本未知,未计入库存金额")
                     .arg(m_figures.unknownStockProducts);
    if (m_figures.unknownCountLines > 0)
        lines << QStringLiteral("%1种盘点商品的成本未知,未计入盘点差异")
                     .arg(m_figures.unknownCountLines);
    m_pCostText->setText(lines.join(QLatin1Char('\n')));
}

void CAccountDlg::FillMonthBox() {
    const QSignalBlocker blocker(m_pMonth);
    for (const char* name : kMonthNames)
        m_pMonth->addItem(QString::fromUtf8(name));
    m_pMonth->setCurrentIndex(0);
}

// One item per year of the sales-out numbers; a number that does not begin with a year
// gives no item.
void CAccountDlg::FillYearBox() {
    const QSignalBlocker blocker(m_pYear);
    m_pYear->clear();
    RunDbRead(this, QStringLiteral("读取年份"), [&] {
        // One seek in the number index per year, not a read of every line.
        for (const QString& year : YearsInTable(QStringLiteral("saleout")))
            m_pYear->addItem(year + QStringLiteral("年"));
    });
    if (m_pYear->count() > 0)
        m_pYear->setCurrentIndex(0);
}

void CAccountDlg::Refresh() {
    const QString chosen = m_pYear->currentText();
    FillYearBox();
    const int again = m_pYear->findText(chosen);
    if (again >= 0) {
        const QSignalBlocker blocker(m_pYear);
        m_pYear->setCurrentIndex(again);
    }
    OnSelectionChange();
}

// Shown again from the ribbon, the window reads what the database holds then; the first show
// has the figures the constructor has just read.
void CAccountDlg::showEvent(QShowEvent* event) {
    CWorkDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (m_bFresh)
        m_bFresh = false;
    else
        Refresh();
}

void CAccountDlg::OnSelectionChange() {
    if (m_pYear->currentIndex() < 0) {
        ClearFigures(); // no sales yet: nothing to show
        update();
        return;
    }
    const int month = m_pMonth->currentIndex();
    const QString monthText =
        month <= 9 ? QString::asprintf("0%d", month) : QString::asprintf("%d", month);
    Compute(m_pYear->currentText().left(4), monthText);
}

bool CAccountDlg::PeriodOf(const QString& year, const QString& month, QString* pattern,
                           QString* title) {
    static const QRegularExpression monthForm(QStringLiteral("^(0[0-9]|1[0-2])$"));
    if (!IsYear(year) || !monthForm.match(month).hasMatch())
        return false;
    if (month == QLatin1String("00")) {
        *pattern = year;
        *title = year + QStringLiteral("年全年营收统计(元)");
    } else {
        *pattern = year + month;
        *title = year + QStringLiteral("年") + month + QStringLiteral("月份营收统计(元)");
    }
    return true;
}

bool CAccountDlg::Compute(const QString& year, const QString& month) {
    ClearFigures();
    QString pattern;
    QString title;
    if (!PeriodOf(year, month, &pattern, &title)) {
        update();
        HarborMessageBox(this, QStringLiteral("无法统计：年份应为四位数字，月份应为全年或一月至"
                                              "十二月，请重新选择。"));
        return false;
    }
    m_bHasFigures = RunDbRead(this, QStringLiteral("统计"), [&] {
        ReadSums(pattern);
        if (m_pMonths->isChecked())
            m_months = ReadYearMonths(year);
    });
    m_strYear = year;
    if (m_bHasFigures)
        m_strTitle = title;
    else
        ClearFigures();
    ShowCostText();
    update();
    return m_bHasFigures;
}

void CAccountDlg::ReadSums(const QString& pattern) {
    // The numbers that begin with the period, as a range the number index serves.
    m_figures = ReadAccountFigures(PrefixRange(pattern));
}

void CAccountDlg::ClearFigures() {
    m_strTitle.clear();
    m_figures = AccountFigures();
    m_months.clear();
    m_bHasFigures = false;
}

AccountFigures CAccountDlg::Figures() const {
    return m_figures;
}

ExportTable CAccountDlg::FiguresTable() const {
    ExportTable table;
    table.title = windowTitle();
    table.columns = {{QStringLiteral("统计期间"), ExportKind::Text, 0}};
    const QVector<QPair<QString, double>> figures = SummaryFigures(m_figures);
    for (const auto& figure : figures)
        table.columns.append({figure.first, ExportKind::Number, 2});
    table.columns.append({QStringLiteral("毛利率"), ExportKind::Text, 0});
    if (!m_bHasFigures)
        return table;
    QStringList row{m_pYear->currentText() + m_pMonth->currentText()};
    for (const auto& figure : figures)
        row.append(QString::asprintf("%.2f", figure.second));
    row.append(MarginText(m_figures));
    table.rows.append(row);
    return table;
}

// The window covers the work area, so the chart is laid out on its own size.
QRect CAccountDlg::ChartArea() const {
    return QRect(kChartLeft, 0, width() - kChartLeft, height() - kBottomMargin);
}

AccountChart CAccountDlg::Chart() const {
    const QRect area = ChartArea();
    return AccountChart(Figures(), area.height(), area.right() + 1, area.left());
}

MonthChart CAccountDlg::MonthsChart() const {
    const QRect area = ChartArea();
    return MonthChart(m_months, area.adjusted(0, 90, -20, 0));
}

void CAccountDlg::paintEvent(QPaintEvent* event) {
    CWorkDialog::paintEvent(event);
    if (!m_bHasFigures)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (!m_pMonths->isChecked()) {
        Chart().Paint(painter, m_strTitle);
        return;
    }
    // The title as the period chart has it, the months under it.
    AccountChart::PaintTitle(painter, m_strYear + QStringLiteral("年各月销售、成本与毛利(元)"),
                             (kChartLeft + width()) / 2);
    MonthsChart().Paint(painter, QString());
}
