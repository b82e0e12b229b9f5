#include "queries/CEntryQueryDlg.h"
#include "queries/CDeletedDocsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "accounts/PermissionCheck.h"
#include "catalogue/ProductSearch.h"
#include "documents/DocumentKeyMap.h"
#include "documents/DocumentPlan.h"
#include "documents/ListPrintJob.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "parties/CStatementDlg.h"
#include "queries/DocumentDelete.h"
#include "queries/EntryQuerySql.h"
#include "text/HarborClock.h"
#include "ui/CDbAction.h"
#include "ui/CPagedSqlSource.h"
#include "ui/HarborMessageBox.h"
#include "ui/RowsToPrint.h"

namespace {

// What the exported columns hold, by header; the others are text.
const ExportKinds kListExportKinds = {
    {"单号", ExportKind::Text}, {"供货日期", ExportKind::Date}, {"金额", ExportKind::Number}};
const ExportKinds kDetailExportKinds = {{"条形码", ExportKind::Text},
                                        {"单价", ExportKind::Number},
                                        {"数量", ExportKind::Number},
                                        {"总价", ExportKind::Number}};

} // namespace

CEntryQueryDlg::CEntryQueryDlg(QWidget* parent)
    : CWorkDialog(QStringLiteral("入库单查询"), parent), m_endDate(HarborToday()) {
    m_ui.Create(this);
    m_ui.m_pStart->setDate(m_startDate);
    m_ui.m_pEnd->setDate(m_endDate);
    connect(m_ui.m_pQuery, &QPushButton::clicked, this, &CEntryQueryDlg::Query);
    connect(m_ui.m_pDelete, &QPushButton::clicked, this, &CEntryQueryDlg::DeleteDocument);
    connect(m_ui.m_pDeleted, &QPushButton::clicked, this, &CEntryQueryDlg::ShowDeleted);
    connect(m_ui.m_pStatement, &QPushButton::clicked, this, &CEntryQueryDlg::OpenStatement);
    connect(m_ui.m_pSinglePage, &QCheckBox::toggled, this, &CEntryQueryDlg::OnSinglePage);
    connect(m_ui.m_pPrint, &QPushButton::clicked, this, [this] { PrintList(1); });
    connect(m_ui.m_pPrintSetup, &QPushButton::clicked, this, [this] { PrintList(2); });
    connect(m_ui.m_pPreview, &QPushButton::clicked, this, [this] { PrintList(3); });
    connect(m_ui.m_pList, &CGridCtrl::click, this, &CEntryQueryDlg::OnListClick);
    connect(m_ui.m_pList, &CGridCtrl::endEdit, this, &CEntryQueryDlg::OnListEndEdit);
    m_ui.m_pSupplier->installEventFilter(this);
    DocumentKeyMap::AddFilterKey(this, m_ui.m_pSupplier);
    AttachGridExport(m_ui.m_pList, kListExportKinds);
    AttachGridExport(m_ui.m_pDetail, kDetailExportKinds, QStringLiteral("入库详单查询"));
    resize(1280, 700);
}

CEntryQueryDlg::~CEntryQueryDlg() = default;

void CEntryQueryDlg::OpenStatement() {
    ReadBoxes();
    CStatementDlg::OpenFromFilter(StatementParty::Supplier, m_strSupplier, window(), m_startDate,
                                  m_endDate);
}

void CEntryQueryDlg::ReadBoxes() {
    m_startDate = m_ui.m_pStart->date();
    m_endDate = m_ui.m_pEnd->date();
    m_strSupplier = m_ui.m_pSupplier->currentText();
    m_strState = m_ui.m_pState->currentText();
}

bool CEntryQueryDlg::IsDocumentRow(int row) const {
    return row >= 1 && row < m_ui.m_pList->GetRowCount();
}

void CEntryQueryDlg::ClearDetail() {
    m_ui.m_pDetail->DeleteNonFixedRows();
    m_ui.m_pDetail->Refresh();
}

void CEntryQueryDlg::Query() {
    ClearDetail();
    ReadBoxes();
    m_nClickRow = m_nClickCol = -1;
    std::shared_ptr<CPagedSqlSource> documents;
    QString cents;
    if (RunDbRead(this, QStringLiteral("查询入库单"), [&] {
            documents = std::make_shared<CPagedSqlSource>(
                EntryListQuery(m_startDate, m_endDate, m_strSupplier, m_strState), this,
                QStringLiteral("查询入库单"));
            cents = documents->ReadSums().value(kListMoney);
        })) {
        m_pDocuments = documents;
        m_ui.ShowDocuments(documents);
    } else {
        m_pDocuments.reset();
        m_ui.m_pList->ClearRowSource();
    }
    m_ui.m_pList->Refresh();
    m_strTotal = EntryTotalFromCents(cents);
    m_ui.m_pTotal->setText(m_strTotal);
}

void CEntryQueryDlg::SearchSupplier() {
    m_strSupplier = FoldSearchText(m_ui.m_pSupplier->currentText());
    m_ui.m_pSupplier->clear();
    QStringList names;
    RunDbRead(this, QStringLiteral("查找供货商"),
              [&] { names = SuppliersWithInitials(m_strSupplier); });
    m_ui.m_pSupplier->addItems(names);
    if (names.isEmpty()) {
        m_ui.m_pSupplier->setEditText(m_strSupplier);
    } else {
        m_ui.m_pSupplier->setCurrentIndex(0);
        m_strSupplier = names.first();
    }
}

void CEntryQueryDlg::ShowDetail(const QString& oddnum) {
    ClearDetail();
    QVector<QStringList> lines;
    RunDbRead(this, QStringLiteral("查询入库详单"), [&] { lines = EntryDocumentLines(oddnum); });
    for (const QStringList& line : lines)
        m_ui.AppendLine(line);
    m_ui.m_pDetail->Refresh();
}

// A click on a document row shows its lines, unless it is on the state cell.
void CEntryQueryDlg::OnListClick(int row, int col) {
    m_nClickRow = row;
    m_nClickCol = col;
    if (IsDocumentRow(row) && col >= 0 && col != kListState)
        ShowDetail(m_ui.m_pList->GetCellText(row, kListOddnum));
}

// A state chosen in the list goes to every row of the document at once; when the write fails
// the cell shows the stored state again.
void CEntryQueryDlg::OnListEndEdit(int row, int col, CGridResult* result) {
    m_nClickRow = row;
    m_nClickCol = col;
    if (!IsDocumentRow(row) || col != kListState)
        return;
    const QString oddnum = m_ui.m_pList->GetCellText(row, kListOddnum);
    const QString state = m_ui.m_pList->GetCellText(row, kListState);
    if (state.isEmpty()) {
        result->Cancel();
        return;
    }
    if (!RequirePermission(this, Permission::Settle) ||
        !RunDbAction(this, QStringLiteral("修改付款状态"),
                     [&] { SetEntryDocumentState(oddnum, state); }))
        result->Cancel();
}

void CEntryQueryDlg::DeleteDocument() {
    if (!IsDocumentRow(m_nClickRow) || m_nClickCol < 0) {
        HarborMessageBox(this, QStringLiteral("请先选择要删除的记录"));
        return;
    }
    const DeleteWords words{QStringLiteral("确定要删除该入库单吗?"), QStringLiteral("删除入库单"),
                            QStringLiteral("本单入库的商品从库存中减去"),
                            QStringLiteral("本单入库的商品已从库存中减去")};
    const QString oddnum = m_ui.m_pList->GetCellText(m_nClickRow, kListOddnum);
    if (DeleteDocumentAsked(this, DocumentTable::Entry(), words, oddnum))
        Query();
}

void CEntryQueryDlg::ShowDeleted() {
    CDeletedDocsDlg deleted(DocumentTable::Entry(), this);
    connect(&deleted, &CDeletedDocsDlg::restored, this, &CEntryQueryDlg::Query);
    deleted.exec();
}

void CEntryQueryDlg::OnSinglePage(bool on) {
    m_bSinglePage = on;
    m_ui.m_pPrintSetup->setEnabled(!on);
    if (on)
        SetPagedPrinting(false);
}

void CEntryQueryDlg::PrintList(int mode) {
    ReadBoxes();
    ListPrintData& list = HandOverList(4);
    list.m_strListTitle = QStringLiteral("入库统计清单");
    list.SetHead(0, QStringLiteral("统计时间:") + m_ui.m_pStart->text() + QStringLiteral("至") +
                        m_ui.m_pEnd->text());
    list.SetHead(1, QStringLiteral("总金额:") + m_strTotal + QStringLiteral("元"));
    list.SetRowCount(1);
    for (int column = kListOddnum; column <= kListState; ++column)
        list.SetCell(column, 0, m_ui.m_pList->GetCellText(0, column));
    if (m_pDocuments && !RunDbRead(this, QStringLiteral("打印入库单"), [&] {
            CopyRowsToPrint(*m_pDocuments, list, kListOddnum, kListState);
        }))
        return;
    RunListPrint(mode);
}

bool CEntryQueryDlg::QueryClose() {
    m_strSupplier.clear();
    m_ui.m_pSupplier->setEditText(m_strSupplier);
    m_startDate = HarborToday();
    m_ui.m_pStart->setDate(m_startDate);
    return true;
}

// A query window opens on today's documents, already listed.
void CEntryQueryDlg::FirstShown() {
    Query();
}

bool CEntryQueryDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == m_ui.m_pSupplier) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SearchSupplier();
            return true;
        }
    }
    return CWorkDialog::eventFilter(watched, event);
}
