#include "documents/DocumentControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "documents/DocumentGrid.h"
#include "grid/CGridCtrl.h"

namespace {

constexpr int kHeight = 25;

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
        m_pDate = new QDateEdit(QDate::currentDate(), parent);
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
}

void DocumentControls::CreateButtons(QWidget* parent) {
    m_pNewDoc = new QPushButton(QStringLiteral("新增一单"), parent);
    m_pSave = new QPushButton(QStringLiteral("保存"), parent);
    m_pPrintSetup = new QPushButton(QStringLiteral("打印设置"), parent);
    m_pPreview = new QPushButton(QStringLiteral("打印预览"), parent);
    m_pPrint = new QPushButton(QStringLiteral("打印"), parent);
    m_pSinglePage = new QCheckBox(QStringLiteral("单页打印"), parent);
    m_pSinglePage->setChecked(true);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_pPrintSetup, m_pPreview, m_pPrint, m_pSinglePage})
        control->setEnabled(false);
}

void DocumentControls::LayOut(QSize size, const DocumentForm& form) {
    if (form.counter)
        LayOutCounter(size);
    else
        LayOutEntry(size);
}

// A band 1100 pixels wide, centred.
void DocumentControls::LayOutCounter(QSize size) {
    constexpr int kBandWidth = 1100;
    const int x = qMax(0, (size.width() - kBandWidth) / 2);
    const int h = size.height();
    auto place = [x](QWidget* widget, int left, int top, int width, int height = kHeight) {
        widget->setGeometry(x + left, top, width, height);
    };
    place(m_pFrame, -8, 0, kBandWidth + 16, 131);
    // First row: number, customer, time, employee.
    place(m_pOddnumLabel, 0, 28, 40);
    place(m_pOddnum, 44, 28, 110);
    place(m_pPartyLabel, 164, 28, 70);
    place(m_pParty, 238, 28, 200);
    place(m_pSelectParty, 446, 28, 110);
    place(m_pTimeLabel, 566, 28, 70);
    place(m_pTime, 640, 28, 150);
    place(m_pEmployeeNameLabel, 800, 28, 40);
    place(m_pEmployeeName, 844, 28, 100);
    place(m_pEmployeeIdLabel, 954, 28, 40);
    place(m_pEmployeeId, 998, 28, 94);
    // Second row: the amounts and the payment state.
    place(m_pReceivableLabel, 0, 60, 40, 36);
    place(m_pReceivable, 44, 60, 170, 36);
    place(m_pReceivableUnit, 218, 60, 20, 36);
    place(m_pReceiptLabel, 250, 60, 40, 36);
    place(m_pReceipt, 294, 60, 170, 36);
    place(m_pReceiptUnit, 468, 60, 20, 36);
    place(m_pStateLabel, 500, 66, 70);
    place(m_pState, 574, 66, 100);
    place(m_pLowStock, 690, 60, kBandWidth - 690, 36);
    // Third row: product search and line buttons.
    place(m_pSearchLabel, 150, 101, 70);
    place(m_pSearch, 224, 101, 200);
    place(m_pAddLine, 434, 101, 90);
    place(m_pDeleteLine, 532, 101, 90);
    place(m_pGridHint, 636, 101, 456);
    // The barcode box and the table down to 50 pixels above the bottom.
    const int tableHeight = qMax(60, h - 50 - 135);
    place(m_pBarcode, 0, 135, 140, tableHeight);
    place(m_pGrid, 150, 135, kBandWidth - 150, tableHeight);
    // The document buttons 40 pixels above the bottom.
    int left = (kBandWidth - 7 * 100) / 2;
    for (QWidget* button :
         std::initializer_list<QWidget*>{m_pNewDoc, m_pSave, m_pPrintSetup, m_pPreview, m_pPrint,
                                         m_pSinglePage, m_pPrintReceipt}) {
        place(button, left, h - 40, 88, 30);
        left += 100;
    }
}

// A frame half the width plus 300 pixels wide, centred, the header in two rows, the table
// below and the buttons along the bottom.
void DocumentControls::LayOutEntry(QSize size) {
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
    place(m_pOddnumLabel, 0, 30, 40);
    place(m_pOddnum, 44, 30, 110);
    place(m_pPartyLabel, 164, 30, 60);
    place(m_pParty, 228, 30, 200);
    place(m_pSelectParty, 436, 30, 130);
    place(m_pDateLabel, 576, 30, 70);
    place(m_pDate, 650, 30, 130);

    place(m_pReceivableLabel, 0, 65, 70);
    place(m_pReceivable, 74, 65, 100);
    place(m_pReceivableUnit, 178, 65, 20);
    place(m_pStateLabel, 200, 65, 70);
    place(m_pState, 274, 65, 100);
    place(m_pSearchLabel, 386, 65, 70);
    place(m_pSearch, 460, 65, 120);
    place(m_pAddLine, 590, 65, 90);
    place(m_pDeleteLine, 690, 65, 90);

    place(m_pSearchHint, 0, 92, 400);
    place(m_pGridHint, 410, 92, 460);

    const int buttonLeft[] = {w / 2 - 280, w / 2 - 200, w / 2 - 40,
                              w / 2 + 40,  w / 2 + 120, w / 2 + 220};
    QWidget* const buttons[] = {m_pNewDoc,  m_pSave,  m_pPrintSetup,
                                m_pPreview, m_pPrint, m_pSinglePage};
    for (int i = 0; i < 6; ++i)
        buttons[i]->setGeometry(buttonLeft[i], h - 40, 80, kHeight);
}
