#include "queries/SaleQueryControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/FlowLayout.h"
#include "text/HarborClock.h"
#include "grid/CGridCtrl.h"
#include "queries/RuledGroupBox.h"
#include "queries/SaleQueryGrid.h"
#include "queries/SaleQuerySql.h"

namespace {

QDateEdit* MakeDateBox(QWidget* parent, const QDate& date) {
    auto* box = new QDateEdit(date, parent);
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return box;
}

QLineEdit* MakeTotalBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the largest sums a shop reaches.
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("99999999.99")) + 16);
    return box;
}

// A drop list as wide as the letters, whatever names it lists later.
void FixWidthByLetters(QComboBox* box, int letters) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(letters);
}

} // namespace

void SaleQueryControls::Create(QWidget* parent, const SaleQueryKind& kind) {
    m_pListFrame = new RuledGroupBox(kind.listCaption, parent);
    m_pDetailFrame = new QGroupBox(kind.detailCaption, parent);
    const QString texts[kLabels] = {
        QStringLiteral("日期:"), QStringLiteral("至"),    kind.stateLabel,
        QStringLiteral("客户:"), QStringLiteral("员工:"), kind.totalLabels.at(0),
        QStringLiteral("元"),    kind.totalLabels.at(1),  QStringLiteral("元"),
        kind.totalLabels.at(2),  QStringLiteral("元")};
    for (int i = 0; i < kLabels; ++i) {
        m_pLabels[i] = new QLabel(texts[i], parent);
        m_pLabels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (Label unit : {kToLabel, kDueUnit, kReceivedUnit, kOutstandingUnit})
        m_pLabels[unit]->setAlignment(Qt::AlignCenter);

    m_pStart = MakeDateBox(parent, HarborToday());
    m_pEnd = MakeDateBox(parent, HarborToday());
    m_pState = new QComboBox(parent);
    m_pState->addItems(QStringList{QString()} + SaleStates());
    m_pCustomer = new QComboBox(parent);
    m_pCustomer->setEditable(true);
    m_pCustomer->setInsertPolicy(QComboBox::NoInsert);
    FixWidthByLetters(m_pCustomer, 12);
    m_pStatement = new QPushButton(QStringLiteral("对账单"), parent);
    m_pStatement->setToolTip(QStringLiteral("客户框中客户在所选日期内的对账单"));
    m_pEmployee = new QComboBox(parent);
    FixWidthByLetters(m_pEmployee, 6);
    m_pQuery = new QPushButton(QStringLiteral("查询"), parent);
    m_pDue = MakeTotalBox(parent);
    m_pReceived = MakeTotalBox(parent);
    m_pOutstanding = MakeTotalBox(parent);
    m_pListPrintSetup = new QPushButton(QStringLiteral("打印设置"), parent);
    m_pListPreview = new QPushButton(QStringLiteral("打印预览"), parent);
    m_pListPrint = new QPushButton(QStringLiteral("打印"), parent);
    m_pList = new CGridCtrl(parent);
    m_pList->SetDlgCtrlID(100);
    SetupSaleListGrid(m_pList, kind.listHeaders);

    m_pDetailPrintSetup = new QPushButton(QStringLiteral("打印设置"), parent);
    m_pDetailPreview = new QPushButton(QStringLiteral("打印预览"), parent);
    m_pDetailPrint = new QPushButton(QStringLiteral("打印"), parent);
    m_pSinglePage = new QCheckBox(QStringLiteral("单页打印"), parent);
    m_pSinglePage->setChecked(true);
    // Single-page printing has no paper to set up.
    m_pListPrintSetup->setEnabled(false);
    m_pDetailPrintSetup->setEnabled(false);
    m_pDelete = new QPushButton(QStringLiteral("删除本单"), parent);
    if (kind.redDeleteButton)
        m_pDelete->setStyleSheet(QStringLiteral("color: red;"));
    m_pDeleted = new QPushButton(QStringLiteral("已删除单据"), parent);
    if (kind.hasInvoice) {
        m_pInvoiced = new QCheckBox(QStringLiteral("已开票,开票时间为:"), parent);
        m_pInvoiced->setStyleSheet(QStringLiteral("color: blue;"));
        m_pInvoiceDate = MakeDateBox(parent, HarborToday());
    }
    m_pOddnumLabel = new QLabel(QStringLiteral("单号:"), parent);
    m_pOddnumLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pOddnum = new QLineEdit(parent);
    m_pOddnum->setToolTip(QStringLiteral("输入或扫描小票上的单号,回车显示这张单据"));
    m_pDetailReceipt = new QPushButton(QStringLiteral("打印小票"), parent);
    m_pDetail = new CGridCtrl(parent);
    m_pDetail->SetDlgCtrlID(101);
    SetupSaleDetailGrid(m_pDetail);
    LayOut(parent);
}

// The list half and the detail half side by side, sharing the width; in each the header rows
// keep their order and wrap where the half is too narrow, and the table takes the rest.
void SaleQueryControls::LayOut(QWidget* parent) {
    auto* listRows = new QVBoxLayout(m_pListFrame);
    auto* filters = new FlowLayout;
    filters->addWidget(
        KeepTogether(m_pListFrame, {m_pLabels[kDateLabel], m_pStart, m_pLabels[kToLabel], m_pEnd}));
    filters->addWidget(KeepTogether(m_pListFrame, {m_pLabels[kStateLabel], m_pState}));
    filters->addWidget(KeepTogether(m_pListFrame, {m_pLabels[kEmployeeLabel], m_pEmployee}));
    auto* commands = new FlowLayout;
    commands->addWidget(KeepTogether(m_pListFrame, {m_pLabels[kCustomerLabel], m_pCustomer}));
    for (QWidget* button :
         {m_pStatement, m_pQuery, m_pListPrintSetup, m_pListPreview, m_pListPrint})
        commands->addWidget(button);
    auto* totals = new FlowLayout;
    QLineEdit* boxes[] = {m_pDue, m_pReceived, m_pOutstanding};
    for (int i = 0; i < 3; ++i)
        totals->addWidget(KeepTogether(
            m_pListFrame, {m_pLabels[kDueLabel + 2 * i], boxes[i], m_pLabels[kDueUnit + 2 * i]}));
    listRows->addLayout(filters);
    listRows->addLayout(commands);
    listRows->addLayout(totals);
    listRows->addWidget(m_pList, 1);

    auto* detailRows = new QVBoxLayout(m_pDetailFrame);
    auto* print = new FlowLayout;
    for (QWidget* widget :
         {static_cast<QWidget*>(m_pDetailPrintSetup), static_cast<QWidget*>(m_pDetailPreview),
          static_cast<QWidget*>(m_pDetailPrint), static_cast<QWidget*>(m_pSinglePage),
          static_cast<QWidget*>(m_pDelete)})
        print->addWidget(widget);
    if (m_pInvoiced)
        print->addWidget(KeepTogether(m_pDetailFrame, {m_pInvoiced, m_pInvoiceDate}));
    auto* document = new FlowLayout;
    document->addWidget(KeepTogether(m_pDetailFrame, {m_pOddnumLabel, m_pOddnum}));
    document->addWidget(m_pDetailReceipt);
    document->addWidget(m_pDeleted);
    detailRows->addLayout(print);
    detailRows->addLayout(document);
    detailRows->addWidget(m_pDetail, 1);

    auto* halves = new QHBoxLayout(parent);
    halves->setContentsMargins(10, 10, 10, 10);
    halves->addWidget(m_pListFrame, 1);
    halves->addWidget(m_pDetailFrame, 1);
}
