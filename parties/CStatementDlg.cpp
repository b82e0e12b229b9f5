#include "parties/CStatementDlg.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/CDbAction.h"
#include "text/HarborClock.h"
#include "ui/HarborMessageBox.h"
#include "text/Cents.h"
#include "export/ExportDialogs.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentre = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
const int kWidths[] = {50, 100, 120, 90, 110, 110, 120};

QString PartyNoun(StatementParty party) {
    return party == StatementParty::Customer ? QStringLiteral("客户") : QStringLiteral("供货商");
}

ExportKinds StatementKinds(StatementParty party) {
    return {{QStringLiteral("日期"), ExportKind::Date},
            {DueHeader(party), ExportKind::Number},
            {PaidHeader(party), ExportKind::Number},
            {QStringLiteral("余额"), ExportKind::Number}};
}

} // namespace

CStatementDlg::CStatementDlg(StatementParty party, const QString& name, QWidget* parent)
    : QDialog(parent), m_party(party), m_strName(name) {
    setWindowTitle(QStringLiteral("%1对账单 - %2").arg(PartyNoun(party), name));
    const QDate today = HarborToday();
    m_from = QDate(today.year(), today.month(), 1);
    m_to = today;
    CreateControls();
    SetupGrid();
    resize(780, 560);
}

CStatementDlg::~CStatementDlg() = default;

CStatementDlg* CStatementDlg::Open(StatementParty party, const QString& name, QWidget* parent,
                                   const QDate& from, const QDate& to) {
    auto* dialog = new CStatementDlg(party, name, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (from.isValid() && to.isValid())
        dialog->SetRange(from, to);
    dialog->Query();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

CStatementDlg* CStatementDlg::OpenFromFilter(StatementParty party, const QString& typed,
                                             QWidget* parent, const QDate& from, const QDate& to) {
    QString name;
    if (!RunDbRead(parent, QStringLiteral("读取对账单"),
                   [&] { name = StatementPartyName(party, typed); }))
        return nullptr;
    if (name.isEmpty()) {
        const QString noun = PartyNoun(party);
        HarborMessageBox(parent, typed.trimmed().isEmpty()
                                     ? QStringLiteral("请先在%1框中选择%1").arg(noun)
                                     : QStringLiteral("找不到%1<%2>,请在%1框中按回车查找后选择")
                                           .arg(noun, typed.trimmed()));
        return nullptr;
    }
    return Open(party, name, parent, from, to);
}

void CStatementDlg::CreateControls() {
    auto* partyLabel = new QLabel(
        QStringLiteral("%1: <b>%2</b>").arg(PartyNoun(m_party), m_strName.toHtmlEscaped()), this);
    m_pFrom = new QDateEdit(m_from, this);
    m_pTo = new QDateEdit(m_to, this);
    for (QDateEdit* box : {m_pFrom, m_pTo}) {
        box->setCalendarPopup(true);
        box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_pQuery = new QPushButton(QStringLiteral("查询"), this);
    m_pQuery->setDefault(true);
    auto* top = new QHBoxLayout;
    top->addWidget(partyLabel);
    top->addSpacing(20);
    top->addWidget(new QLabel(QStringLiteral("日期从"), this));
    top->addWidget(m_pFrom);
    top->addWidget(new QLabel(QStringLiteral("到"), this));
    top->addWidget(m_pTo);
    top->addWidget(m_pQuery);
    top->addStretch();

    m_pGrid = new CGridCtrl(this);
    m_pTotals = new QLabel(this);
    m_pTotals->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* text;
        void (CStatementDlg::*slot)();
    } actions[] = {{"打印...", &CStatementDlg::Print},
                   {"打印预览...", &CStatementDlg::Preview},
                   {"保存为PDF...", &CStatementDlg::SavePdf},
                   {"导出...", &CStatementDlg::Export}};
    buttons->addStretch();
    for (const auto& action : actions) {
        auto* button = new QPushButton(QString::fromUtf8(action.text), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action.slot);
        buttons->addWidget(button);
    }
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pGrid, 1);
    layout->addWidget(m_pTotals);
    layout->addLayout(buttons);

    connect(m_pQuery, &QPushButton::clicked, this, &CStatementDlg::Query);
    AttachGridExport(m_pGrid, StatementKinds(m_party), windowTitle());
}

void CStatementDlg::SetupGrid() {
    m_pGrid->SetEditable(false);
    m_pGrid->SetListMode(true);
    m_pGrid->SetSingleRowSelection(true);
    m_pGrid->SetGridBkColor(Qt::white);
    m_pGrid->SetTextBkColor(Qt::white);
    const QStringList headers = {QStringLiteral("序号"), QStringLiteral("日期"),
                                 QStringLiteral("单号"), QStringLiteral("摘要"),
                                 DueHeader(m_party),     PaidHeader(m_party),
                                 QStringLiteral("余额")};
    m_pGrid->SetColumnCount(headers.size());
    m_pGrid->SetRowCount(1);
    m_pGrid->SetFixedRowCount(1);
    m_pGrid->SetFixedColumnCount(1);
    m_pGrid->SetRowHeight(0, kRowHeight);
    for (int col = 0; col < headers.size(); ++col) {
        m_pGrid->SetColumnWidth(col, kWidths[col]);
        m_pGrid->SetCellText(0, col, headers.at(col));
        m_pGrid->SetCellFormat(0, col, kCentre);
    }
}

void CStatementDlg::SetRange(const QDate& from, const QDate& to) {
    m_pFrom->setDate(from);
    m_pTo->setDate(to);
}

void CStatementDlg::Query() {
    m_from = m_pFrom->date();
    m_to = m_pTo->date();
    if (m_from > m_to) {
        HarborMessageBox(this, QStringLiteral("开始日期不能晚于结束日期,请改正"));
        return;
    }
    QVector<StatementDocument> documents;
    m_bRead = RunDbRead(this, QStringLiteral("读取对账单"),
                        [&] { documents = ReadStatementDocuments(m_party, m_strName, m_to); });
    m_statement = ComputeStatement(documents, m_from, m_to);
    FillGrid(StatementTable(m_party, m_statement, m_from, windowTitle()));
    m_pTotals->setText(TotalsText());
}

void CStatementDlg::FillGrid(const ExportTable& table) {
    m_pGrid->DeleteNonFixedRows();
    for (int i = 0; i < table.rows.size(); ++i) {
        const QStringList& texts = table.rows.at(i);
        const bool numbered = i > 0 && i + 1 < table.rows.size(); // not the opening or totals
        const int row = m_pGrid->AppendRow(numbered ? QString::number(i) : QString());
        m_pGrid->SetRowHeight(row, kRowHeight);
        m_pGrid->SetCellFormat(row, 0, kCentre);
        for (int col = 0; col < texts.size(); ++col) {
            m_pGrid->SetCellText(row, col + 1, texts.at(col));
            const bool number = table.columns.at(col).kind == ExportKind::Number;
            m_pGrid->SetCellFormat(row, col + 1, number ? kRight : col == 2 ? kLeft : kCentre);
        }
    }
    m_pGrid->Refresh();
}

QString CStatementDlg::TotalsText() const {
    const bool customer = m_party == StatementParty::Customer;
    return QStringLiteral("期初余额 %1    本期%2 %3    本期%4 %5    期末余额 %6    共 %7 张单据")
        .arg(CentsText(m_statement.opening),
             customer ? QStringLiteral("应收") : QStringLiteral("应付"),
             CentsText(m_statement.totalDue),
             customer ? QStringLiteral("已收") : QStringLiteral("已付"),
             CentsText(m_statement.totalPaid), CentsText(m_statement.closing))
        .arg(m_statement.lines.size());
}

Report CStatementDlg::StatementReport() const {
    Report report;
    report.title = QStringLiteral("%1对账单").arg(PartyNoun(m_party));
    RunDbRead(nullptr, QStringLiteral("读取公司信息"),
              [&] { report.letterhead = ShopLetterhead(); });
    report.heading << QStringLiteral("%1: %2").arg(PartyNoun(m_party), m_strName)
                   << QStringLiteral("日期: %1 至 %2")
                          .arg(m_from.toString(QStringLiteral("yyyy-MM-dd")),
                               m_to.toString(QStringLiteral("yyyy-MM-dd")));
    report.table = StatementTable(m_party, m_statement, m_from, windowTitle());
    report.footing << TotalsText();
    return report;
}

void CStatementDlg::Print() {
    const Report report = StatementReport();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintReport(printer, report);
}

void CStatementDlg::Preview() {
    PreviewReport(this, StatementReport());
}

void CStatementDlg::SavePdf() {
    ChooseReportPdf(this, StatementReport());
}

void CStatementDlg::Export() {
    ExportWithDialogs(this, StatementTable(m_party, m_statement, m_from, windowTitle()),
                      ExportFormat::Xlsx);
}
