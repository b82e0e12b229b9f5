#include "queries/CSaleQueryDlg.h"
#include "queries/CDeletedDocsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "accounts/PermissionCheck.h"
#include "catalogue/ProductSearch.h"
#include "documents/CFormStore.h"
#include "documents/DocumentKeyMap.h"
#include "documents/DocumentPlan.h"
#include "documents/LineChecks.h"
#include "documents/ListPrintDocuments.h"
#include "documents/ListPrintJob.h"
#include "documents/PaymentState.h"
#include "documents/ReceiptJob.h"
#include "documents/ReceiptReader.h"
#include "documents/SaleLineMath.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "parties/CStatementDlg.h"
#include "queries/CSettleDlg.h"
#include "queries/SaleQueryGrid.h"
#include "queries/SaleQuerySql.h"
#include "queries/Settlements.h"
#include "text/HarborClock.h"
#include "text/NumericText.h"
#include "ui/CDbAction.h"
#include "ui/CPagedSqlSource.h"
#include "ui/HarborMessageBox.h"
#include "ui/RowsToPrint.h"

namespace {

// What the exported columns hold, by header; the others are text.
const ExportKinds kListExportKinds = {
    {"单号", ExportKind::Text},     {"销售时间", ExportKind::Date}, {"退货时间", ExportKind::Date},
    {"应收款", ExportKind::Number}, {"实收款", ExportKind::Number}, {"应退款", ExportKind::Number},
    {"实退款", ExportKind::Number}};
const ExportKinds kDetailExportKinds = {
    {"条形码", ExportKind::Text}, {"单价", ExportKind::Number}, {"数量", ExportKind::Number},
    {"折扣", ExportKind::Number}, {"金额", ExportKind::Number}, {"件数", ExportKind::Number, 0}};

} // namespace

CSaleQueryDlg::CSaleQueryDlg(const SaleQueryKind& kind, QWidget* parent)
    : CWorkDialog(kind.title, parent), m_dateEnd(HarborToday()), m_dateInvoice(HarborToday()),
      m_kind(kind) {
    m_ui.Create(this, m_kind);
    ConnectControls();
    DocumentKeyMap::AddFilterKey(this, m_ui.m_pCustomer);
    LoadEmployees();
    ResetInvoice();
    resize(1280, 700);
}

CSaleQueryDlg::~CSaleQueryDlg() = default;

void CSaleQueryDlg::OpenStatement() {
    ReadFilters();
    CStatementDlg::OpenFromFilter(StatementParty::Customer, m_strCustomer, window(), m_dateStart,
                                  m_dateEnd);
}

void CSaleQueryDlg::ConnectControls() {
    connect(m_ui.m_pQuery, &QPushButton::clicked, this, &CSaleQueryDlg::Query);
    connect(m_ui.m_pDelete, &QPushButton::clicked, this, &CSaleQueryDlg::DeleteDocument);
    connect(m_ui.m_pDeleted, &QPushButton::clicked, this, &CSaleQueryDlg::ShowDeleted);
    connect(m_ui.m_pStatement, &QPushButton::clicked, this, &CSaleQueryDlg::OpenStatement);
    connect(m_ui.m_pList, &CGridCtrl::click, this, &CSaleQueryDlg::OnListClick);
    connect(m_ui.m_pList, &CGridCtrl::endEdit, this, &CSaleQueryDlg::OnListEndEdit);
    connect(m_ui.m_pSinglePage, &QCheckBox::toggled, this, &CSaleQueryDlg::OnSinglePage);
    connect(m_ui.m_pListPrint, &QPushButton::clicked, this, [this] { PrintList(1); });
    connect(m_ui.m_pListPrintSetup, &QPushButton::clicked, this, [this] { PrintList(2); });
    connect(m_ui.m_pListPreview, &QPushButton::clicked, this, [this] { PrintList(3); });
    connect(m_ui.m_pDetailPrint, &QPushButton::clicked, this, [this] { PrintDetail(1); });
    connect(m_ui.m_pDetailPrintSetup, &QPushButton::clicked, this, [this] { PrintDetail(2); });
    connect(m_ui.m_pDetailPreview, &QPushButton::clicked, this, [this] { PrintDetail(3); });
    connect(m_ui.m_pOddnum, &QLineEdit::returnPressed, this, &CSaleQueryDlg::ShowTypedDocument);
    connect(m_ui.m_pDetailReceipt, &QPushButton::clicked, this, &CSaleQueryDlg::PrintDetailReceipt);
    if (m_kind.hasInvoice) {
        connect(m_ui.m_pInvoiced, &QCheckBox::clicked, this, &CSaleQueryDlg::OnInvoiceClicked);
        connect(m_ui.m_pInvoiceDate, &QDateEdit::dateChanged, this,
                &CSaleQueryDlg::OnInvoiceDateChanged);
    }
    m_ui.m_pCustomer->installEventFilter(this);
    AttachGridExport(m_ui.m_pList, kListExportKinds);
    AttachGridExport(m_ui.m_pDetail, kDetailExportKinds, m_kind.detailCaption);
}

void CSaleQueryDlg::LoadEmployees() {
    QStringList names;
    RunDbRead(this, QStringLiteral("读取员工"), [&] { names = EmployeeNames(); });
    m_ui.m_pEmployee->addItems(QStringList{QString()} + names);
}

void CSaleQueryDlg::ReadFilters() {
    m_dateStart = m_ui.m_pStart->date();
    m_dateEnd = m_ui.m_pEnd->date();
    m_strCustomer = m_ui.m_pCustomer->currentText();
    m_strState = m_ui.m_pState->currentText();
    m_strEmployee = m_ui.m_pEmployee->currentText();
}

void CSaleQueryDlg::Query() {
    ClearDetail();
    RunQuery();
}

void CSaleQueryDlg::ClearDetail() {
    m_ui.m_pDetail->DeleteNonFixedRows();
    m_ui.m_pDetail->Refresh();
    m_strCurOddnum.clear();
    m_detailPrint.Clear();
    m_ui.m_pDetailFrame->setTitle(m_kind.detailCaption);
    ResetInvoice();
}

void CSaleQueryDlg::RunQuery() {
    ReadFilters();
    // The rows are replaced: a position clicked before no longer stands for a document.
    m_nClickRow = -1;
    m_nClickCol = -1;
    const SaleQueryFilter filter{m_dateStart, m_dateEnd, m_strCustomer, m_strState, m_strEmployee};
    std::shared_ptr<CPagedSqlSource> documents;
    QStringList sums;
    if (RunDbRead(this, QStringLiteral("查询单据"), [&] {
            documents = std::make_shared<CPagedSqlSource>(SaleListQuery(m_kind.table, filter), this,
                                                          QStringLiteral("查询单据"));
            sums = documents->ReadSums();
        })) {
        m_pDocuments = documents;
        ShowSaleList(m_ui.m_pList, documents);
    } else {
        m_pDocuments.reset();
        m_ui.m_pList->ClearRowSource();
        sums.clear();
    }
    m_ui.m_pList->Refresh();
    const SaleQueryTotals totals =
        SaleTotalsFromCents(sums.value(kListReceivable), sums.value(kListReceipt));
    m_strDue = totals.due;
    m_strReceived = totals.received;
    m_strOutstanding = totals.outstanding;
    m_ui.m_pDue->setText(m_strDue);
    m_ui.m_pReceived->setText(m_strReceived);
    m_ui.m_pOutstanding->setText(m_strOutstanding);
}

void CSaleQueryDlg::SearchCustomer() {
    m_strCustomer = FoldSearchText(m_ui.m_pCustomer->currentText());
    m_ui.m_pCustomer->clear();
    QStringList names;
    RunDbRead(this, QStringLiteral("查找客户"), [&] {
        names = CFormStore::PartiesByInitials(QStringLiteral("customer"), m_strCustomer);
    });
    m_ui.m_pCustomer->addItems(names);
    if (names.isEmpty())
        m_ui.m_pCustomer->setEditText(m_strCustomer);
    else
        m_ui.m_pCustomer->setCurrentIndex(0);
}

// A data cell that stands for its document: not the state drop list, and not the row number
// unless the window opens documents from it.
bool CSaleQueryDlg::IsDocumentCell(int row, int col) const {
    if (row < 1 || row >= m_ui.m_pList->GetRowCount() || col < 0 || col == kListState)
        return false;
    return col > 0 || m_kind.rowNumberShowsDetail;
}

void CSaleQueryDlg::OnListClick(int row, int col) {
    m_nClickRow = row;
    m_nClickCol = col;
    if (IsDocumentCell(row, col)) {
        m_strCurOddnum = m_ui.m_pList->GetCellText(row, kListOddnum);
        ShowDetail(m_strCurOddnum);
    } else if (col != 0) {
        ResetInvoice();
    }
}

void CSaleQueryDlg::ShowDetail(const QString& oddnum) {
    m_ui.m_pDetail->DeleteNonFixedRows();
    SaleDetail detail;
    QString balance;
    Settlement settled;
    QVector<ReturnLink> links;
    const bool sale = m_kind.table == QLatin1String("saleout");
    RunDbRead(this, QStringLiteral("查看单据"), [&] {
        detail = ReadSaleDetail(m_kind.table, oddnum);
        balance = CustomerBalanceText(detail.customer);
        settled = LastSettlement(m_kind.table, oddnum);
        links = sale ? ReturnsOfSale(oddnum) : OriginsOfReturn(oddnum);
    });
    const QString settledText = SettlementText(settled);
    m_ui.m_pDetailFrame->setTitle(settledText.isEmpty()
                                      ? m_kind.detailCaption
                                      : m_kind.detailCaption + QStringLiteral("  (") + settledText +
                                            QLatin1Char(')'));
    for (const SaleDetailLine& line : detail.lines)
        AppendSaleDetailRow(m_ui.m_pDetail, line);
    AppendReturnLinkRows(m_ui.m_pDetail, links, sale);
    m_ui.m_pDetail->Refresh();
    PrepareDetailPrint(oddnum, detail, balance);
    SetInvoice(detail.invoiceDate);
}

void CSaleQueryDlg::ShowTypedDocument() {
    const QString oddnum = m_ui.m_pOddnum->text().trimmed();
    if (oddnum.isEmpty())
        return;
    SaleDetail detail;
    if (!RunDbRead(this, QStringLiteral("查看单据"),
                   [&] { detail = ReadSaleDetail(m_kind.table, oddnum); }))
        return;
    if (detail.lines.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("没有单号为%1的单据").arg(oddnum),
                         MsgIcon::Exclamation, MsgButtons::Ok, m_kind.detailCaption);
        return;
    }
    // The list row of the document, when the query lists it, is the one the list commands act on.
    m_nClickRow = -1;
    m_nClickCol = -1;
    int index = -1;
    if (m_pDocuments)
        RunDbRead(this, QStringLiteral("查看单据"),
                  [&] { index = m_pDocuments->RowOfKey(oddnum); });
    if (index >= 0) {
        m_nClickRow = m_ui.m_pList->GetFixedRowCount() + index;
        m_nClickCol = kListOddnum;
    }
    m_strCurOddnum = oddnum;
    ShowDetail(oddnum);
    m_ui.m_pOddnum->selectAll(); // the next scan replaces the number
}

void CSaleQueryDlg::PrintDetailReceipt() {
    if (m_strCurOddnum.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("请先选择一张单据"), MsgIcon::Exclamation,
                         MsgButtons::Ok, QStringLiteral("打印小票"));
        return;
    }
    PrintReceipt(this, SaleFormOfTable(m_kind.table), m_strCurOddnum, false);
}

// The shown document as a sales list: its header, its lines with the unit of each packing and
// the short remark, the piece count and what the customer owes over all documents.
void CSaleQueryDlg::PrepareDetailPrint(const QString& oddnum, const SaleDetail& detail,
                                       const QString& balance) {
    ListPrintData& list = m_detailPrint;
    list.Clear();
    list.SetRowCount(int(detail.lines.size()) + 1);
    list.m_strListTitle = m_kind.detailPrintTitle;
    const QStringList& labels = m_kind.detailPrintLabels;
    list.SetHead(0, QStringLiteral("单号:") + oddnum);
    list.SetHead(1, QStringLiteral("客户名称:") + detail.customer);
    list.SetHead(2, labels.at(0) + detail.mydate);
    list.SetSum(0, labels.at(1) + detail.receivable + QStringLiteral("元"));
    list.SetSum(1, labels.at(2) + detail.receipt + QStringLiteral("元"));
    list.SetSum(2, labels.at(3) + detail.state);
    const QStringList headers = {QStringLiteral("商品名称"), QStringLiteral("商品简称"),
                                 QStringLiteral("条形码"),   QStringLiteral("单位"),
                                 QStringLiteral("单价"),     QStringLiteral("数量"),
                                 QStringLiteral("折扣"),     QStringLiteral("金额"),
                                 QStringLiteral("件数"),     QStringLiteral("备注")};
    for (int column = 1; column <= headers.size(); ++column)
        list.SetCell(column, 0, headers.at(column - 1));
    int pieces = 0;
    for (int i = 0; i < detail.lines.size(); ++i) {
        const SaleDetailLine& line = detail.lines.at(i);
        const QString cells[] = {line.name,     line.shortName,
                                 line.code,     PrintUnitText(line.spec),
                                 line.price,    line.count,
                                 line.discount, line.total,
                                 line.pcs,      PrintRemarkText(line.remarks)};
        for (int column = 1; column <= 10; ++column)
            list.SetCell(column, i + 1, cells[column - 1]);
        pieces += LeadingNumber(line.pcs);
    }
    list.SetSum(3, QStringLiteral("合计:") + RoundText(pieces, 0) + QStringLiteral("件"));
    list.SetSum(4, balance);
}

// After a state change the shown document's amount received, state and balance print as
// stored now.
void CSaleQueryDlg::RefreshDetailPrint() {
    if (m_strCurOddnum.isEmpty())
        return;
    SaleDetail detail;
    QString balance;
    if (!RunDbRead(this, QStringLiteral("查看单据"), [&] {
            detail = ReadSaleDetail(m_kind.table, m_strCurOddnum);
            balance = CustomerBalanceText(detail.customer);
        }))
        return;
    PrepareDetailPrint(m_strCurOddnum, detail, balance);
}

void CSaleQueryDlg::OnSinglePage(bool on) {
    m_bSinglePage = on;
    m_ui.m_pListPrintSetup->setEnabled(!on);
    m_ui.m_pDetailPrintSetup->setEnabled(!on);
    if (on)
        SetPagedPrinting(false);
}

void CSaleQueryDlg::PrintList(int mode) {
    ReadFilters();
    ListPrintData& list = HandOverList(3);
    list.m_strListTitle = m_kind.listPrintTitle;
    list.SetHead(0, QStringLiteral("统计时间:") + m_ui.m_pStart->text() + QStringLiteral("至") +
                        m_ui.m_pEnd->text());
    const QString totals[] = {m_strDue, m_strReceived, m_strOutstanding};
    for (int i = 0; i < 3; ++i)
        list.SetHead(i + 1, m_kind.listPrintTotals.at(i) + totals[i] + QStringLiteral("元"));
    list.SetRowCount(1);
    for (int column = kListOddnum; column <= kListEmployee; ++column)
        list.SetCell(column, 0, m_ui.m_pList->GetCellText(0, column));
    if (m_pDocuments && !RunDbRead(this, QStringLiteral("打印单据"), [&] {
            CopyRowsToPrint(*m_pDocuments, list, kListOddnum, kListEmployee);
        }))
        return;
    RunListPrint(mode);
}

void CSaleQueryDlg::PrintDetail(int mode) {
    if (m_strCurOddnum.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("销售清单内容为空,还不能打印!"), MsgIcon::Exclamation,
                         MsgButtons::Ok, QStringLiteral("打印清单"));
        return;
    }
    HandOverList(1) = m_detailPrint;
    RunListPrint(mode);
}

void CSaleQueryDlg::OnListEndEdit(int row, int col, CGridResult* result) {
    if (row < 1 || (col != kListReceipt && col != kListState))
        return;
    if (col == kListReceipt && RefuseReceipt(row)) {
        result->Cancel();
        return;
    }
    m_nClickRow = row;
    m_nClickCol = col;
    ChangeState(row, col);
}

// A received amount that is not a number within the limits would corrupt the sums.
bool CSaleQueryDlg::RefuseReceipt(int row) {
    CGridCtrl* list = m_ui.m_pList;
    const QString text = list->GetCellText(row, kListReceipt);
    const QString problem = AmountProblem(list->GetCellText(0, kListReceipt), text);
    if (problem.isEmpty()) {
        if (WithoutNegativeZero(text) != text)
            list->SetCellText(row, kListReceipt, WithoutNegativeZero(text));
        return false;
    }
    HarborMessageBox(this, problem);
    return true;
}

// The state goes to every row of the document; "结清" takes the amount due as stored. The clerk
// confirms the amount and gives the day it was paid first; a typed amount is what the dialog
// starts from, a chosen state starts from the amount that state means.
void CSaleQueryDlg::ChangeState(int row, int col) {
    CGridCtrl* list = m_ui.m_pList;
    const QString oddnum = list->GetCellText(row, kListOddnum);
    const QString state = list->GetCellText(row, kListState);
    const QString typed = list->GetCellText(row, kListReceipt);
    const QString due = list->GetCellText(row, kListReceivable);
    if (RequirePermission(this, Permission::Settle)) {
        CSettleDlg settle(
            oddnum, list->GetCellText(0, kListReceivable), due, list->GetCellText(0, kListReceipt),
            col == kListReceipt ? typed : ReceiptForChosenState(state, due, typed), state, this);
        if (settle.exec() == QDialog::Accepted)
            RunDbAction(this, QStringLiteral("修改") + m_kind.stateLabel.chopped(1), [&] {
                const QString receipt =
                    WriteSaleState(m_kind.table, oddnum, settle.State(), settle.Receipt());
                RecordSettlement(m_kind.table, oddnum,
                                 {settle.State(), receipt, settle.SettledOn(), QString()});
            });
    }
    RefreshDetailPrint();
    // The list is read again where the clerk was, for the next document further down.
    const int scrolled = list->verticalScrollBar()->value();
    RunQuery();
    list->verticalScrollBar()->setValue(scrolled);
}

void CSaleQueryDlg::DeleteDocument() {
    if (!IsDocumentCell(m_nClickRow, m_nClickCol)) {
        HarborMessageBox(this, QStringLiteral("请先选择要删除的记录"));
        return;
    }
    const QString oddnum = m_ui.m_pList->GetCellText(m_nClickRow, kListOddnum);
    if (DeleteDocumentAsked(this, Table(), m_kind.deleteWords, oddnum))
        Query();
}

const DocumentTable& CSaleQueryDlg::Table() const {
    return m_kind.table == QLatin1String("salein") ? DocumentTable::SaleIn()
                                                   : DocumentTable::SaleOut();
}

void CSaleQueryDlg::ShowDeleted() {
    CDeletedDocsDlg deleted(Table(), this);
    connect(&deleted, &CDeletedDocsDlg::restored, this, &CSaleQueryDlg::Query);
    deleted.exec();
}

void CSaleQueryDlg::ResetInvoice() {
    m_bInvoiced = false;
    m_dateInvoice = HarborToday();
    if (!m_kind.hasInvoice)
        return;
    m_ui.m_pInvoiced->setEnabled(false);
    m_ui.m_pInvoiced->setChecked(false);
    m_ui.m_pInvoiceDate->setEnabled(false);
    const QSignalBlocker blocker(m_ui.m_pInvoiceDate);
    m_ui.m_pInvoiceDate->setDate(m_dateInvoice);
}

void CSaleQueryDlg::SetInvoice(const QString& date) {
    ResetInvoice();
    if (!m_kind.hasInvoice)
        return;
    m_ui.m_pInvoiced->setEnabled(true);
    m_bInvoiced = !date.isEmpty();
    m_ui.m_pInvoiced->setChecked(m_bInvoiced);
    if (!m_bInvoiced)
        return;
    m_ui.m_pInvoiceDate->setEnabled(true);
    const QDate stored = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    if (stored.isValid())
        m_dateInvoice = stored;
    const QSignalBlocker blocker(m_ui.m_pInvoiceDate);
    m_ui.m_pInvoiceDate->setDate(m_dateInvoice);
}

void CSaleQueryDlg::OnInvoiceClicked(bool checked) {
    m_bInvoiced = checked;
    m_dateInvoice = m_ui.m_pInvoiceDate->date();
    m_ui.m_pInvoiceDate->setEnabled(checked);
    WriteInvoice(checked ? m_dateInvoice.toString(QStringLiteral("yyyy-MM-dd")) : QString());
}

void CSaleQueryDlg::OnInvoiceDateChanged(const QDate& date) {
    m_dateInvoice = date;
    if (m_bInvoiced)
        WriteInvoice(date.toString(QStringLiteral("yyyy-MM-dd")));
}

void CSaleQueryDlg::WriteInvoice(const QString& date) {
    if (m_strCurOddnum.isEmpty() || !RequirePermission(this, Permission::Settle))
        return;
    RunDbAction(this, QStringLiteral("记录开票时间"),
                [&] { WriteInvoiceDate(m_strCurOddnum, date); });
}

bool CSaleQueryDlg::QueryClose() {
    m_strCustomer.clear();
    m_ui.m_pCustomer->setEditText(QString());
    m_dateStart = HarborToday();
    m_ui.m_pStart->setDate(m_dateStart);
    return true;
}

// A query window opens on today's documents, already listed.
void CSaleQueryDlg::FirstShown() {
    Query();
}

bool CSaleQueryDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui.m_pCustomer && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SearchCustomer();
            return true;
        }
    }
    return CWorkDialog::eventFilter(watched, event);
}
