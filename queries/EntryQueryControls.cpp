#include "queries/EntryQueryControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/GridHeading.h"
#include "queries/EntryQuerySql.h"
#include "queries/RuledGroupBox.h"
#include "text/HarborClock.h"
#include "ui/FlowLayout.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

QLabel* MakeLabel(QWidget* parent, const char* text,
                  Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(align);
    return label;
}

QDateEdit* MakeDateBox(QWidget* parent, const QDate& date) {
    auto* box = new QDateEdit(date, parent);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setCalendarPopup(true);
    return box;
}

// A grid with one fixed row and column, the given headers and widths, rows 25 pixels high.
CGridCtrl* MakeGrid(QWidget* parent, int id, const QStringList& headers, const QList<int>& widths) {
    auto* grid = new CGridCtrl(parent);
    grid->SetDlgCtrlID(id);
    grid->SetGridBkColor(Qt::white);
    grid->SetTextBkColor(Qt::white);
    grid->SetDefCellHeight(kRowHeight);
    if (CGridDefaultCell* cell = grid->GetDefaultCell(true, false))
        cell->SetFormat(kCentred);
    grid->SetColumnCount(headers.size());
    grid->SetRowCount(1);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->SetRowHeight(0, kRowHeight);
    for (int col = 0; col < headers.size(); ++col) {
        grid->SetCellText(0, col, headers[col]);
        grid->SetCellFormat(0, col, kCentred);
        grid->SetColumnWidth(col, widths[col]);
    }
    grid->SetColumnResize(false);
    grid->SetRowResize(false);
    return grid;
}

int AppendNumberedRow(CGridCtrl* grid) {
    const int row = grid->AppendRow();
    grid->SetRowHeight(row, kRowHeight);
    grid->SetCellFormat(row, 0, kCentred);
    grid->SetCellText(row, 0, QString::asprintf("%d", row));
    return row;
}

} // namespace

void EntryQueryControls::Create(QWidget* parent) {
    m_pListFrame = new RuledGroupBox(
        QStringLiteral("入库单查询-----------------------------------------------------------"
                       "----说明:入库单中付款状态可在表格各下拉框中直接修改."),
        parent);
    m_pDetailFrame = new QGroupBox(QStringLiteral("入库详单查询"), parent);
    m_pLabels[kDateLabel] = MakeLabel(parent, "日期:");
    m_pLabels[kToLabel] = MakeLabel(parent, "至", Qt::AlignCenter);
    m_pLabels[kSupplierLabel] = MakeLabel(parent, "供货商:");
    m_pLabels[kStateLabel] = MakeLabel(parent, "付款状态:");
    m_pLabels[kTotalLabel] = MakeLabel(parent, "总金额:");
    m_pLabels[kTotalUnit] = MakeLabel(parent, "元", Qt::AlignLeft | Qt::AlignVCenter);

    m_pStart = MakeDateBox(parent, HarborToday());
    m_pEnd = MakeDateBox(parent, HarborToday());
    m_pSupplier = new QComboBox(parent);
    m_pSupplier->setEditable(true);
    m_pSupplier->setInsertPolicy(QComboBox::NoInsert);
    // As wide as a dozen letters, whatever names it lists later.
    m_pSupplier->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pSupplier->setMinimumContentsLength(12);
    m_pState = new QComboBox(parent);
    m_pState->addItems(QStringList{QString()} + EntryStates());
    m_pStatement = new QPushButton(QStringLiteral("对账单"), parent);
    m_pStatement->setToolTip(QStringLiteral("供货商框中供货商在所选日期内的对账单"));
    m_pQuery = new QPushButton(QStringLiteral("查询"), parent);
    m_pTotal = new QLineEdit(parent);
    m_pTotal->setReadOnly(true);
    m_pTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_pPrintSetup = new QPushButton(QStringLiteral("打印设置"), parent);
    m_pPreview = new QPushButton(QStringLiteral("打印预览"), parent);
    m_pPrint = new QPushButton(QStringLiteral("打印"), parent);
    m_pSinglePage = new QCheckBox(QStringLiteral("单页打印"), parent);
    m_pSinglePage->setChecked(true);
    // Single-page printing has no paper to set up.
    m_pPrintSetup->setEnabled(false);
    m_pDelete = new QPushButton(QStringLiteral("删除本单"), parent);
    m_pDelete->setStyleSheet(QStringLiteral("color: red;"));
    m_pDeleted = new QPushButton(QStringLiteral("已删除单据"), parent);

    m_pList =
        MakeGrid(parent, 100,
                 {QString(), QStringLiteral("单号"), QStringLiteral("供货商"),
                  QStringLiteral("供货日期"), QStringLiteral("金额"), QStringLiteral("付款状态")},
                 {25, 100, 208, 90, 90, 90});
    // The documents come from a row source; only the state reaches the database, the
    // document's own texts stay as stored.
    m_pList->SetEditable(true);
    for (int col = 0; col < kListColumns; ++col)
        m_pList->SetColumnFormat(col, col == kListMoney ? kRight : kCentred);
    m_pList->SetColumnEditable(kListState, EntryStates());
    WidenColumnFor(m_pList, kListOddnum, QStringLiteral("20261231999"));
    m_pDetail = MakeGrid(parent, 101,
                         {QString(), QStringLiteral("商品名称"), QStringLiteral("条形码"),
                          QStringLiteral("规格"), QStringLiteral("单价"), QStringLiteral("数量"),
                          QStringLiteral("总价")},
                         {25, 234, 95, 80, 50, 50, 60});
    m_pDetail->SetEditable(false);
    LayOut(parent);
}

// The list half and the detail half side by side, sharing the width; the header rows of the
// list keep their order and wrap where the half is too narrow, and the tables take the rest.
void EntryQueryControls::LayOut(QWidget* parent) {
    auto* filters = new FlowLayout;
    filters->addWidget(
        KeepTogether(m_pListFrame, {m_pLabels[kDateLabel], m_pStart, m_pLabels[kToLabel], m_pEnd}));
    filters->addWidget(KeepTogether(m_pListFrame, {m_pLabels[kSupplierLabel], m_pSupplier}));
    filters->addWidget(m_pStatement);
    filters->addWidget(m_pQuery);
    auto* commands = new FlowLayout;
    commands->addWidget(KeepTogether(m_pListFrame, {m_pLabels[kStateLabel], m_pState}));
    commands->addWidget(
        KeepTogether(m_pListFrame, {m_pLabels[kTotalLabel], m_pTotal, m_pLabels[kTotalUnit]}));
    for (QWidget* widget : {static_cast<QWidget*>(m_pPrintSetup), static_cast<QWidget*>(m_pPreview),
                            static_cast<QWidget*>(m_pPrint), static_cast<QWidget*>(m_pSinglePage)})
        commands->addWidget(widget);
    auto* listRows = new QVBoxLayout(m_pListFrame);
    listRows->addLayout(filters);
    listRows->addLayout(commands);
    listRows->addWidget(m_pList, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pDeleted);
    buttons->addWidget(m_pDelete);
    auto* detailRows = new QVBoxLayout(m_pDetailFrame);
    detailRows->addLayout(buttons);
    detailRows->addWidget(m_pDetail, 1);

    auto* halves = new QHBoxLayout(parent);
    halves->setContentsMargins(10, 10, 10, 10);
    halves->addWidget(m_pListFrame, 1);
    halves->addWidget(m_pDetailFrame, 1);
}

void EntryQueryControls::ShowDocuments(std::shared_ptr<CGridRowSource> documents) {
    const int rows = documents->RowCount();
    m_pList->SetRowSource(std::move(documents), kRowHeight);
    WidenColumnFor(m_pList, 0, QString::number(rows));
}

void EntryQueryControls::AppendLine(const QStringList& line) {
    const int row = AppendNumberedRow(m_pDetail);
    for (int i = 0; i < line.size(); ++i) {
        const int col = i + 1;
        m_pDetail->SetCellText(row, col, line[i]);
        m_pDetail->SetCellFormat(row, col, col <= 3 ? kCentred : col == 6 ? kRight : kLeft);
    }
}
