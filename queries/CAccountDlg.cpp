#include "queries/CAccountDlg.h"

#include <cmath>

#include <QComboBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>

#include "app/CDbAction.h"
#include "app/CRecordset.h"
#include "app/HarborMessageBox.h"
#include "app/PrefixSearch.h"
#include "app/SqlText.h"
#include "export/ExportDialogs.h"

namespace {

const char* const kMonthNames[] = {"全年", "一月", "二月", "三月", "四月",   "五月",  "六月",
                                   "七月", "八月", "九月", "十月", "十一月", "十二月"};

// Space the window keeps below the chart, as the work area less the status line.
constexpr int kBottomMargin = 32;

bool IsYear(const QString& text) {
    static const QRegularExpression year(QStringLiteral("^[0-9]{4}$"));
    return year.match(text).hasMatch();
}

// A sum column as a number; a NULL sum (no documents) is 0. The sums are in hundredths.
double SumValue(const CRecordset& rs, const QString& field) {
    bool ok = false;
    const double value = rs.GetCollect(field).toDouble(&ok);
    return ok ? value / 100 : 0.0;
}

// The sum of a number copy in whole hundredths, each document's amount rounded as the
// queries and statements round its text. The copies are written with six decimals ("%f"), so
// an older file's half cent 1.005 reads as 100.4999... hundredths: the small addition rounds
// it up as the digits of the text do (written as a subtraction: the statements' "+" joins text).
QString CentsSum(const char* column) {
    return QStringLiteral("SUM(ROUND(%1*100-(-0.000001)))").arg(QString::fromLatin1(column));
}

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
    m_pPeriodFrame->setGeometry(20, 15, 200, 105);
    m_pYear = new QComboBox(m_pPeriodFrame);
    m_pYear->setObjectName(QStringLiteral("1095"));
    m_pYear->setGeometry(20, 30, 160, 28);
    m_pMonth = new QComboBox(m_pPeriodFrame);
    m_pMonth->setObjectName(QStringLiteral("1096"));
    m_pMonth->setGeometry(20, 66, 160, 28);
    m_pMonth->setMaxVisibleItems(13);
    connect(m_pYear, &QComboBox::currentIndexChanged, this, &CAccountDlg::OnSelectionChange);
    connect(m_pMonth, &QComboBox::currentIndexChanged, this, &CAccountDlg::OnSelectionChange);
    m_pExport = new QPushButton(QStringLiteral("导出..."), this);
    m_pExport->setGeometry(20, 130, 200, 28);
    connect(m_pExport, &QPushButton::clicked, this,
            [this] { ExportWithDialogs(this, FiguresTable(), ExportFormat::Xlsx); });
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

void CAccountDlg::showEvent(QShowEvent* event) {
    CWorkDialog::showEvent(event);
    if (!event->spontaneous())
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
    m_bHasFigures = RunDbRead(this, QStringLiteral("统计"), [&] { ReadSums(pattern); });
    if (m_bHasFigures)
        m_strTitle = title;
    else
        ClearFigures();
    update();
    return m_bHasFigures;
}

void CAccountDlg::ReadSums(const QString& pattern) {
    CRecordset rs;
    // The numbers that begin with the period, as a range the number index serves.
    const TextRange range = PrefixRange(pattern);
    const QVariantList like = {range.low, range.high};
    rs.Open(QStringLiteral("SELECT %1 AS money1, %2 AS money2 FROM "
                           "(SELECT DISTINCT oddnum,freceivable,freceipt FROM saleout WHERE oddnum "
                           ">= ? AND oddnum < ?)")
                .arg(CentsSum("freceivable"), CentsSum("freceipt")),
            like);
    m_fReceivable = SumValue(rs, QStringLiteral("money1"));
    m_fReceipt = SumValue(rs, QStringLiteral("money2"));
    rs.Close();
    rs.Open(QStringLiteral("SELECT %1 AS money3, %2 AS money4 FROM "
                           "(SELECT DISTINCT oddnum,freceivable,freceipt FROM salein WHERE oddnum "
                           ">= ? AND oddnum < ?)")
                .arg(CentsSum("freceivable"), CentsSum("freceipt")),
            like);
    m_fRefundDue = SumValue(rs, QStringLiteral("money3"));
    m_fRefunded = SumValue(rs, QStringLiteral("money4"));
    rs.Close();
    rs.Open(QStringLiteral("SELECT %1 AS money5 FROM (SELECT DISTINCT oddnum,fmoney FROM "
                           "entry WHERE oddnum >= ? AND oddnum < ?)")
                .arg(CentsSum("fmoney")),
            like);
    m_fPurchase = SumValue(rs, QStringLiteral("money5"));
    rs.Close();
    m_fProfit = std::round((m_fReceivable - m_fRefundDue - m_fPurchase) * 100) / 100;
}

void CAccountDlg::ClearFigures() {
    m_strTitle.clear();
    m_fReceivable = m_fReceipt = m_fRefundDue = m_fRefunded = m_fPurchase = m_fProfit = 0;
    m_bHasFigures = false;
}

AccountFigures CAccountDlg::Figures() const {
    return {m_fReceivable, m_fReceipt, m_fRefundDue, m_fRefunded, m_fPurchase, m_fProfit};
}

ExportTable CAccountDlg::FiguresTable() const {
    ExportTable table;
    table.title = windowTitle();
    table.columns = {{QStringLiteral("统计期间"), ExportKind::Text, 0},
                     {QStringLiteral("应收款"), ExportKind::Number, 2},
                     {QStringLiteral("实收款"), ExportKind::Number, 2},
                     {QStringLiteral("应退款"), ExportKind::Number, 2},
                     {QStringLiteral("实退款"), ExportKind::Number, 2},
                     {QStringLiteral("进货款"), ExportKind::Number, 2},
                     {QStringLiteral("利润"), ExportKind::Number, 2}};
    if (!m_bHasFigures)
        return table;
    QStringList row{m_pYear->currentText() + m_pMonth->currentText()};
    for (double amount :
         {m_fReceivable, m_fReceipt, m_fRefundDue, m_fRefunded, m_fPurchase, m_fProfit})
        row.append(QString::asprintf("%.2f", amount));
    table.rows.append(row);
    return table;
}

// The window covers the work area, so the chart is laid out on its own size.
AccountChart CAccountDlg::Chart() const {
    const int nHeight = height() - kBottomMargin;
    const int nRight = width();
    return AccountChart(Figures(), nHeight, nRight);
}

void CAccountDlg::paintEvent(QPaintEvent* event) {
    CWorkDialog::paintEvent(event);
    if (!m_bHasFigures)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Chart().Paint(painter, m_strTitle);
}
