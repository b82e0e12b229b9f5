#include "queries/SaleQueryControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/HarborClock.h"
#include "grid/CGridCtrl.h"
#include "queries/SaleQueryGrid.h"
#include "queries/SaleQuerySql.h"

namespace {

constexpr int kHeight = 24;

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
    return box;
}

} // namespace

void SaleQueryControls::Create(QWidget* parent, const SaleQueryKind& kind) {
    m_pListFrame = new QGroupBox(kind.listCaption, parent);
    // The caption carries a long note: a smaller font keeps it inside the frame.
    QFont captionFont = m_pListFrame->font();
    captionFont.setPixelSize(11);
    m_pListFrame->setFont(captionFont);
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
    m_pStatement = new QPushButton(QStringLiteral("对账单"), parent);
    m_pStatement->setToolTip(QStringLiteral("客户框中客户在所选日期内的对账单"));
    m_pEmployee = new QComboBox(parent);
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
    m_pListFrame->lower();
    m_pDetailFrame->lower();
}

void SaleQueryControls::LayOut(QSize size) {
    const int w = qMax(size.width(), 1280);
    const int h = size.height();
    const int left = w / 2 - 630;
    const int right = w / 2 + 10;
    auto place = [](QWidget* widget, int x, int y, int width, int height = kHeight) {
        if (widget)
            widget->setGeometry(x, y, width, height);
    };
    m_pListFrame->setGeometry(left, 10, 630, h - 20);
    m_pDetailFrame->setGeometry(right, 10, 620, h - 20);
    // Filters.
    const int x = left + 10;
    place(m_pLabels[kDateLabel], x, 36, 40);
    place(m_pStart, x + 44, 36, 110);
    place(m_pLabels[kToLabel], x + 154, 36, 24);
    place(m_pEnd, x + 178, 36, 110);
    place(m_pLabels[kStateLabel], x + 294, 36, 70);
    place(m_pState, x + 368, 36, 72);
    place(m_pLabels[kEmployeeLabel], x + 446, 36, 40);
    place(m_pEmployee, x + 490, 36, 120);
    place(m_pLabels[kCustomerLabel], x, 64, 40);
    place(m_pCustomer, x + 44, 64, 174);
    place(m_pStatement, x + 224, 64, 64);
    place(m_pQuery, x + 298, 64, 80);
    place(m_pListPrintSetup, x + 386, 64, 76);
    place(m_pListPreview, x + 466, 64, 76);
    place(m_pListPrint, x + 546, 64, 64);
    // Totals.
    QLineEdit* totals[] = {m_pDue, m_pReceived, m_pOutstanding};
    for (int i = 0; i < 3; ++i) {
        const int tx = x + i * 204;
        place(m_pLabels[kDueLabel + 2 * i], tx, 92, 56);
        place(totals[i], tx + 60, 92, 110);
        place(m_pLabels[kDueUnit + 2 * i], tx + 170, 92, 24);
    }
    place(m_pList, left + 10, 125, 610, h - 145);
    // Detail.
    const int d = right + 10;
    place(m_pDetailPrintSetup, d, 36, 66);
    place(m_pDetailPreview, d + 70, 36, 66);
    place(m_pDetailPrint, d + 140, 36, 46);
    place(m_pSinglePage, d + 194, 36, 78);
    place(m_pDelete, d + 274, 36, 72);
    place(m_pInvoiced, d + 354, 36, 150);
    place(m_pInvoiceDate, d + 504, 36, 96);
    place(m_pOddnumLabel, d, 66, 40);
    place(m_pOddnum, d + 44, 66, 130);
    place(m_pDetailReceipt, d + 184, 66, 80);
    place(m_pDeleted, d + 274, 66, 90);
    place(m_pDetail, d, 98, 600, h - 118);
}
