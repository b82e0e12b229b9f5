#include "documents/EntryControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "text/HarborClock.h"
#include "documents/EntryGrid.h"
#include "grid/CGridCtrl.h"

namespace {

constexpr int kHeight = 25;

QLabel* MakeLabel(QWidget* parent, const char* text,
                  Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(align);
    return label;
}

QComboBox* MakeEditableCombo(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

void EntryControls::Create(QWidget* parent) {
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    m_pFrame = new QGroupBox(QStringLiteral("商品入库操作"), parent);
    m_pLabels[kOddnumLabel] = MakeLabel(parent, "单号:");
    m_pLabels[kSupplierLabel] = MakeLabel(parent, "供货商:");
    m_pLabels[kDateLabel] = MakeLabel(parent, "供货日期:");
    m_pLabels[kMoneyLabel] = MakeLabel(parent, "本单金额:");
    m_pLabels[kMoneyUnit] = MakeLabel(parent, "元", left);
    m_pLabels[kStateLabel] = MakeLabel(parent, "付款状态:");
    m_pLabels[kSearchLabel] = MakeLabel(parent, "选择商品:");
    m_pLabels[kSearchHint] =
        MakeLabel(parent, "说明:可选择录入条码或商品名称首字母增加商品．", left);
    m_pLabels[kGridHint] =
        MakeLabel(parent, "说明:商品名称或条码栏中,左键单击选择可删除,右键单击可修改．", left);

    m_pOddnum = new QLineEdit(parent);
    m_pSupplier = MakeEditableCombo(parent);
    m_pSelectSupplier = new QPushButton(QStringLiteral("选择/新增供货商"), parent);
    m_pDate = new QDateEdit(HarborToday(), parent);
    m_pDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_pDate->setCalendarPopup(true);
    m_pMoney = new QLineEdit(parent);
    m_pMoney->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pState = MakeEditableCombo(parent);
    m_pSearch = new QLineEdit(parent);
    m_pSearch->setMaxLength(10);
    m_pAddLine = new QPushButton(QStringLiteral("新增商品"), parent);
    m_pDeleteLine = new QPushButton(QStringLiteral("删除商品"), parent);
    m_pGrid = new CGridCtrl(parent);
    m_pGrid->SetDlgCtrlID(100);
    SetupEntryGrid(m_pGrid);

    m_pNewDoc = new QPushButton(QStringLiteral("新增一单"), parent);
    m_pSave = new QPushButton(QStringLiteral("保存"), parent);
    m_pPrintSetup = new QPushButton(QStringLiteral("打印设置"), parent);
    m_pPreview = new QPushButton(QStringLiteral("打印预览"), parent);
    m_pPrint = new QPushButton(QStringLiteral("打印"), parent);
    m_pSinglePage = new QCheckBox(QStringLiteral("单页打印"), parent);
    m_pSinglePage->setChecked(true);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_pPrintSetup, m_pPreview, m_pPrint, m_pSinglePage}) {
        control->setEnabled(false);
    }
    // Enter on a focused button presses it, as on every desktop.
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        button->setAutoDefault(true);
    m_pFrame->lower();
}

void EntryControls::LayOut(QSize size) {
    const int w = size.width();
    const int h = size.height();
    const int frameWidth = w / 2 + 300;
    const int frameLeft = (w - frameWidth) / 2;
    m_pFrame->setGeometry(frameLeft, 10, frameWidth, qMax(200, h - 20));
    m_pGrid->setGeometry(frameLeft + 20, 120, frameWidth - 40, qMax(60, h - 170));

    const int x = w / 4 - 130;
    auto place = [x](QWidget* widget, int left, int top, int width) {
        widget->setGeometry(x + left, top, width, kHeight);
    };
    place(m_pLabels[kOddnumLabel], 0, 30, 40);
    place(m_pOddnum, 44, 30, 110);
    place(m_pLabels[kSupplierLabel], 164, 30, 60);
    place(m_pSupplier, 228, 30, 200);
    place(m_pSelectSupplier, 436, 30, 130);
    place(m_pLabels[kDateLabel], 576, 30, 70);
    place(m_pDate, 650, 30, 130);

    place(m_pLabels[kMoneyLabel], 0, 65, 70);
    place(m_pMoney, 74, 65, 100);
    place(m_pLabels[kMoneyUnit], 178, 65, 20);
    place(m_pLabels[kStateLabel], 200, 65, 70);
    place(m_pState, 274, 65, 100);
    place(m_pLabels[kSearchLabel], 386, 65, 70);
    place(m_pSearch, 460, 65, 120);
    place(m_pAddLine, 590, 65, 90);
    place(m_pDeleteLine, 690, 65, 90);

    place(m_pLabels[kSearchHint], 0, 92, 400);
    place(m_pLabels[kGridHint], 410, 92, 460);

    const int buttonLeft[] = {w / 2 - 280, w / 2 - 200, w / 2 - 40,
                              w / 2 + 40,  w / 2 + 120, w / 2 + 220};
    QWidget* const buttons[] = {m_pNewDoc,  m_pSave,  m_pPrintSetup,
                                m_pPreview, m_pPrint, m_pSinglePage};
    for (int i = 0; i < 6; ++i)
        buttons[i]->setGeometry(buttonLeft[i], h - 40, 80, kHeight);
}
