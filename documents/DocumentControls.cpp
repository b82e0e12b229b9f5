#include "documents/DocumentControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "documents/DocumentGrid.h"
#include "grid/CGridCtrl.h"
#include "text/HarborClock.h"

namespace {

constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 30;
constexpr int kScannerWidth = 140;
constexpr int kRest = -1;

QHBoxLayout* Row(const QList<DocumentControls::Slot>& cells) {
    auto* row = new QHBoxLayout;
    bool rest = false;
    for (const DocumentControls::Slot& slot : cells) {
        if (slot.width == kRest) {
            row->addWidget(slot.widget, 1);
            rest = true;
        } else if (slot.width > 0) {
            slot.widget->setMaximumWidth(slot.width);
            slot.widget->setSizePolicy(QSizePolicy::Preferred,
                                       slot.widget->sizePolicy().verticalPolicy());
            row->addWidget(slot.widget, 1);
        } else {
            row->addWidget(slot.widget);
        }
    }
    if (!rest)
        row->addStretch(0);
    return row;
}

QLabel* MakeLabel(QWidget* parent, const QString& text,
                  Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(align);
    return label;
}

QLabel* MakeNote(QWidget* parent, const QString& text) {
    return MakeLabel(parent, text, Qt::AlignLeft | Qt::AlignVCenter);
}

QComboBox* MakeEditableCombo(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QLineEdit* MakeAmountBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    QFont font(QStringLiteral("楷体_GB2312"));
    font.setPixelSize(30);
    font.setWeight(QFont::DemiBold);
    box->setFont(font);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

} // namespace

void DocumentControls::Create(QWidget* parent, const DocumentForm& form) {
    m_pFrame = new QGroupBox(form.frameCaption, parent);
    m_pFrame->lower();
    CreateHeader(parent, form);
    if (form.counter)
        CreateCounter(parent, form);
    m_pSearchLabel = MakeLabel(parent, QStringLiteral("选择商品:"));
    m_pSearch = new QLineEdit(parent);
    m_pAddLine = new QPushButton(QStringLiteral("新增商品"), parent);
    m_pDeleteLine = new QPushButton(QStringLiteral("删除商品"), parent);
    m_pGridHint = MakeNote(
        parent, QStringLiteral("说明:商品名称或条码栏中,左键单击选择可删除,右键单击可修改．"));
    if (!form.counter) {
        m_pSearch->setMaxLength(10);
        m_pSearchHint =
            MakeNote(parent, QStringLiteral("说明:可选择录入条码或商品名称首字母增加商品．"));
    }
    m_pGrid = new CGridCtrl(parent);
    m_pGrid->SetDlgCtrlID(100);
    SetupLineGrid(m_pGrid, form);
    CreateButtons(parent);
    if (form.counter) {
        m_pPrintReceipt = new QPushButton(QStringLiteral("打印小票"), parent);
        m_pPrintReceipt->setEnabled(false);
    }
    // Enter on a focused button presses it, as on every desktop.
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

// The number, the party, the amount due and the payment state: every form has them.
void DocumentControls::CreateHeader(QWidget* parent, const DocumentForm& form) {
    m_pOddnumLabel = MakeLabel(parent, QStringLiteral("单号:"));
    m_pOddnum = new QLineEdit(parent);
    m_pOddnum->setMaxLength(11);
    m_pPartyLabel = MakeLabel(parent, form.partyLabel);
    m_pParty = MakeEditableCombo(parent);
    m_pSelectParty = new QPushButton(form.partyButton, parent);
    if (form.hasDate) {
        m_pDateLabel = MakeLabel(parent, form.dateLabel);
        m_pDate = new QDateEdit(HarborToday(), parent);
        m_pDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        m_pDate->setCalendarPopup(true);
    }
    m_pReceivableLabel = MakeLabel(parent, form.receivableLabel);
    if (form.counter) {
        m_pReceivable = MakeAmountBox(parent);
    } else {
        m_pReceivable = new QLineEdit(parent);
        m_pReceivable->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_pReceivable->setReadOnly(true);
    m_pReceivableUnit = MakeNote(parent, QStringLiteral("元"));
    m_pStateLabel = MakeLabel(parent, form.stateLabel);
    // The stock-in's state is typed freely besides the two offered.
    m_pState = form.counter ? new QComboBox(parent) : MakeEditableCombo(parent);
    m_pState->addItems(form.states);
    m_pState->setCurrentIndex(-1);
}

// The clock, the employee, the amount received, the low-stock note and the barcode box.
void DocumentControls::CreateCounter(QWidget* parent, const DocumentForm& form) {
    m_pTimeLabel = MakeLabel(parent, form.timeLabel);
    m_pTime = new QLineEdit(parent);
    m_pTime->setReadOnly(true);
    m_pTime->setFocusPolicy(Qt::NoFocus);
    m_pEmployeeNameLabel = MakeLabel(parent, QStringLiteral("员工:"));
    m_pEmployeeName = new QLineEdit(parent);
    m_pEmployeeIdLabel = MakeLabel(parent, QStringLiteral("工号:"));
    m_pEmployeeId = new QLineEdit(parent);
    m_pReceiptLabel = MakeLabel(parent, form.receiptLabel);
    m_pReceipt = MakeAmountBox(parent);
    m_pReceiptUnit = MakeNote(parent, QStringLiteral("元"));
    m_pLowStock = MakeNote(parent, QString());
    m_pLowStock->setWordWrap(true);
    m_pLowStock->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_pBarcode = new QPlainTextEdit(parent);
    // Wrapping a long line at word boundaries takes time that grows with the square of its
    // length; wrapping anywhere keeps a pasted text of a million characters quick.
    m_pBarcode->setWordWrapMode(QTextOption::WrapAnywhere);
    m_pScanner = new QPushButton(QStringLiteral("导入扫描枪数据"), parent);
    m_pScanner->setToolTip(QStringLiteral("粘贴扫描枪导出的文字,导入为本单的商品行"));
    if (form.returnsFromSale) {
        m_pReturnFromSale = new QPushButton(QStringLiteral("按原单退货"), parent);
        m_pReturnFromSale->setToolTip(
            QStringLiteral("输入或扫描销售出库单号,按原单的价格、折扣和税率退货"));
    }
}

void DocumentControls::CreateButtons(QWidget* parent) {
    m_pNewDoc = new QPushButton(QStringLiteral("新增一单"), parent);
    m_pSave = new QPushButton(QStringLiteral("保存"), parent);
    m_pPrintSetup = new QPushButton(QStringLiteral("打印设置"), parent);
    m_pPreview = new QPushButton(QStringLiteral("打印预览"), parent);
    m_pPrint = new QPushButton(QStringLiteral("打印"), parent);
    m_pSinglePage = new QCheckBox(QStringLiteral("单页打印"), parent);
    m_pSinglePage->setChecked(true);
    m_pSavePrint = new QPushButton(QStringLiteral("保存并打印"), parent);
    m_pSaveNew = new QPushButton(QStringLiteral("保存并新开一单"), parent);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_pPrintSetup, m_pPreview, m_pPrint, m_pSinglePage})
        control->setEnabled(false);
}

void DocumentControls::Arrange(QWidget* window, const DocumentForm& form, QLabel* statusLine) {
    auto* page = new QVBoxLayout(window);
    page->setContentsMargins(8, 4, 8, 8);
    page->addWidget(m_pFrame);
    auto* header = new QVBoxLayout(m_pFrame);
    if (form.counter)
        ArrangeCounter(header, page);
    else
        ArrangeEntry(header, page);
    page->addLayout(ButtonRow(statusLine));
}

// The header in two rows in the frame; below it the scanner's column beside the product row
// and the table, which takes the room that is left.
void DocumentControls::ArrangeCounter(QVBoxLayout* header, QVBoxLayout* page) {
    header->addLayout(Row(PartySlots(110) + QList<Slot>{{m_pTimeLabel, 0},
                                                        {m_pTime, 150},
                                                        {m_pEmployeeNameLabel, 0},
                                                        {m_pEmployeeName, 100},
                                                        {m_pEmployeeIdLabel, 0},
                                                        {m_pEmployeeId, 94}}));
    header->addLayout(Row({{m_pReceivableLabel, 0},
                           {m_pReceivable, 170},
                           {m_pReceivableUnit, 0},
                           {m_pReceiptLabel, 0},
                           {m_pReceipt, 170},
                           {m_pReceiptUnit, 0},
                           {m_pStateLabel, 0},
                           {m_pState, 100},
                           {m_pLowStock, kRest}}));
    auto* scanner = new QVBoxLayout;
    for (QWidget* control :
         {static_cast<QWidget*>(m_pScanner), static_cast<QWidget*>(m_pReturnFromSale),
          static_cast<QWidget*>(m_pBarcode)}) {
        if (!control)
            continue;
        control->setFixedWidth(kScannerWidth);
        scanner->addWidget(control, control == m_pBarcode ? 1 : 0);
    }
    auto* table = new QVBoxLayout;
    table->addLayout(Row(ProductSlots(200) + QList<Slot>{{m_pGridHint, kRest}}));
    table->addWidget(m_pGrid, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(scanner);
    middle->addLayout(table, 1);
    page->addLayout(middle, 1);
}

// The header in three rows in the frame (the product row among them), the table below.
void DocumentControls::ArrangeEntry(QVBoxLayout* header, QVBoxLayout* page) {
    header->addLayout(Row(PartySlots(130) + QList<Slot>{{m_pDateLabel, 0}, {m_pDate, 130}}));
    header->addLayout(Row(QList<Slot>{{m_pReceivableLabel, 0},
                                      {m_pReceivable, 100},
                                      {m_pReceivableUnit, 0},
                                      {m_pStateLabel, 0},
                                      {m_pState, 100}} +
                          ProductSlots(120)));
    header->addLayout(Row({{m_pSearchHint, 0}, {m_pGridHint, kRest}}));
    page->addWidget(m_pGrid, 1);
}

// The number and the party, the party dialog's button as wide as given.
QList<DocumentControls::Slot> DocumentControls::PartySlots(int buttonWidth) const {
    return {{m_pOddnumLabel, 0},
            {m_pOddnum, 110},
            {m_pPartyLabel, 0},
            {m_pParty, 200},
            {m_pSelectParty, buttonWidth}};
}

// The product box as wide as given, and the buttons that add and delete a line.
QList<DocumentControls::Slot> DocumentControls::ProductSlots(int searchWidth) const {
    return {{m_pSearchLabel, 0}, {m_pSearch, searchWidth}, {m_pAddLine, 90}, {m_pDeleteLine, 90}};
}

// The status line of the last save on the left, the document buttons in the middle.
QHBoxLayout* DocumentControls::ButtonRow(QLabel* statusLine) {
    auto* row = new QHBoxLayout;
    row->addWidget(statusLine, 1);
    for (QWidget* button : std::initializer_list<QWidget*>{
             m_pNewDoc, m_pSave, m_pPrintSetup, m_pPreview, m_pPrint, m_pSinglePage,
             m_pPrintReceipt, m_pSavePrint, m_pSaveNew}) {
        if (!button)
            continue;
        button->setMinimumSize(qMax(kButtonWidth, button->sizeHint().width()), kButtonHeight);
        row->addWidget(button);
    }
    row->addStretch(1);
    return row;
}
