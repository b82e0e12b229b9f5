#include "queries/CReportDlg.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/CDbAction.h"
#include "ui/FlowLayout.h"
#include "export/ReportPrint.h"
#include "text/HarborClock.h"
#include "export/ExportDialogs.h"
#include "grid/CGridCtrl.h"
#include "grid/CHeldRowSource.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentre = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

// The reports of the box, in its order: name, and for best sellers whether by profit.
struct ReportChoice {
    const char* name;
    bool byProfit;
};
const ReportChoice kChoices[] = {
    {"profit-by-product", false},  {"profit-by-class", false}, {"profit-by-customer", false},
    {"profit-by-employee", false}, {"best-sellers", false},    {"best-sellers", true},
    {"slow-movers", false},        {"stock-value", false},
};

// A column wide enough for its header and its texts, measured as the list shows them.
int ColumnWidth(const ExportTable& table, int column) {
    const ExportColumn asShown{table.columns.at(column).header, ExportKind::Text, 0};
    return std::clamp(int(ColumnWidthFor(asShown, table.rows, column) * 9) + 24, 80, 360);
}

} // namespace

CReportDlg::CReportDlg(QWidget* parent) : CWorkDialog(QStringLiteral("经营报表"), parent) {
    CreateControls();
    resize(1260, 700);
}

CReportDlg::~CReportDlg() = default;

void CReportDlg::CreateControls() {
    m_pReport = new QComboBox(this);
    for (const ReportChoice& choice : kChoices) {
        ReportRequest request;
        request.name = QString::fromUtf8(choice.name);
        request.byProfit = choice.byProfit;
        m_pReport->addItem(ReportTitle(request));
    }
    m_pPeriodLabel = new QLabel(QStringLiteral("日期从"), this);
    const QDate today = HarborToday();
    m_pFrom = new QDateEdit(QDate(today.year(), today.month(), 1), this);
    m_pToLabel = new QLabel(QStringLiteral("至"), this);
    m_pTo = new QDateEdit(today, this);
    for (QDateEdit* box : {m_pFrom, m_pTo}) {
        box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        box->setCalendarPopup(true);
    }
    m_pDaysLabel = new QLabel(QStringLiteral("滞销天数"), this);
    m_pDays = new QSpinBox(this);
    m_pDays->setRange(1, 3650);
    m_pDays->setValue(90);
    m_pQuery = new QPushButton(QStringLiteral("查询"), this);
    m_pExport = new QPushButton(QStringLiteral("导出..."), this);
    m_pPrint = new QPushButton(QStringLiteral("打印..."), this);
    m_pHits = new QLabel(this);
    m_pGrid = new CGridCtrl(this);
    m_pGrid->SetEditable(false);
    m_pGrid->SetListMode(true);
    m_pGrid->SetSingleRowSelection(true);
    m_pGrid->SetGridBkColor(Qt::white);
    m_pGrid->SetTextBkColor(Qt::white);
    connect(m_pQuery, &QPushButton::clicked, this, &CReportDlg::Query);
    connect(m_pReport, &QComboBox::currentIndexChanged, this, &CReportDlg::Query);
    connect(m_pExport, &QPushButton::clicked, this,
            [this] { ExportWithDialogs(this, ShownTable(), ExportFormat::Xlsx); });
    connect(m_pPrint, &QPushButton::clicked, this, &CReportDlg::PrintList);
    LayOut();
}

ReportRequest CReportDlg::Request() const {
    ReportRequest request;
    const ReportChoice& choice = kChoices[std::max(0, m_pReport->currentIndex())];
    request.name = QString::fromUtf8(choice.name);
    request.byProfit = choice.byProfit;
    request.from = m_pFrom->date();
    request.to = m_pTo->date();
    request.days = m_pDays->value();
    return request;
}

bool CReportDlg::Query() {
    const ReportRequest request = Request();
    ExportTable table;
    table.title = ReportTitle(request);
    if (request.from > request.to) {
        Fill(table);
        m_pHits->setText(QStringLiteral("开始日期晚于结束日期"));
        return false;
    }
    const bool read = RunDbRead(this, table.title, [&] { table = BuildReport(request); });
    Fill(table);
    return read;
}

void CReportDlg::Fill(const ExportTable& table) {
    m_shown = table;
    const int columns = int(table.columns.size());
    m_pGrid->ClearRowSource();
    m_pGrid->SetRowCount(1);
    m_pGrid->SetColumnCount(columns + 1);
    m_pGrid->SetFixedRowCount(1);
    m_pGrid->SetFixedColumnCount(1);
    m_pGrid->SetRowHeight(0, kRowHeight);
    m_pGrid->SetColumnWidth(0, 50);
    m_pGrid->SetColumnFormat(0, kCentre);
    for (int col = 0; col < columns; ++col) {
        m_pGrid->SetColumnWidth(col + 1, ColumnWidth(table, col));
        m_pGrid->SetCellText(0, col + 1, table.columns[col].header);
        m_pGrid->SetCellFormat(0, col + 1, kCentre);
        m_pGrid->SetColumnFormat(col + 1,
                                 table.columns[col].kind == ExportKind::Number ? kRight : kCentre);
    }
    // A year of a large shop lists tens of thousands of rows: the grid asks for those it shows.
    m_pGrid->SetRowSource(std::make_shared<CHeldRowSource>(table.rows), kRowHeight);
    m_pGrid->update();
    m_pHits->setText(QStringLiteral("共 %1 条记录").arg(table.rows.size()));
}

ExportTable CReportDlg::ShownTable() const {
    return m_shown;
}

void CReportDlg::PrintList() {
    Report report;
    report.title = m_shown.title;
    RunDbRead(this, QStringLiteral("读取公司信息"), [&] { report.letterhead = ShopLetterhead(); });
    const ReportRequest request = Request();
    report.heading << QStringLiteral("期间: %1 至 %2")
                          .arg(request.from.toString(QStringLiteral("yyyy-MM-dd")),
                               request.to.toString(QStringLiteral("yyyy-MM-dd")));
    report.table = m_shown;
    report.footing << QStringLiteral("共 %1 条记录").arg(m_shown.rows.size());
    PreviewReport(this, report);
}

// The boxes in one row that wraps where the window is too narrow; the list takes the rest.
void CReportDlg::LayOut() {
    auto* header = new FlowLayout;
    header->setSpacing(10);
    for (QWidget* widget : {static_cast<QWidget*>(m_pReport), static_cast<QWidget*>(m_pPeriodLabel),
                            static_cast<QWidget*>(m_pFrom), static_cast<QWidget*>(m_pToLabel),
                            static_cast<QWidget*>(m_pTo), static_cast<QWidget*>(m_pDaysLabel),
                            static_cast<QWidget*>(m_pDays), static_cast<QWidget*>(m_pQuery),
                            static_cast<QWidget*>(m_pExport), static_cast<QWidget*>(m_pPrint),
                            static_cast<QWidget*>(m_pHits)})
        header->addWidget(widget);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 15, 20, 35);
    layout->setSpacing(15);
    layout->addLayout(header);
    layout->addWidget(m_pGrid, 1);
}
