#include "documents/SaleDocControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "documents/SaleDocGrid.h"
#include "grid/CGridCtrl.h"

namespace {

constexpr int kBandWidth = 1100;
constexpr int kHeight = 25;

QLabel* MakeLabel(QWidget* parent, const QString& text,
                  Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(align);
    return label;
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

void SaleDocControls::Create(QWidget* parent, const SaleDocKind& kind) {
    const char* const texts[kLabels] = {"单号:", "销售客户:", "", "员工:", "工号:",     "", "元",
                                        "",      "元",        "", "",      "选择商品:", ""};
    for (int i = 0; i < kLabels; ++i)
        m_pLabels[i] = MakeLabel(parent, QString::fromUtf8(texts[i]));
    m_pLabels[kTimeLabel]->setText(kind.timeLabel);
    m_pLabels[kReceivableLabel]->setText(kind.receivableLabel);
    m_pLabels[kReceiptLabel]->setText(kind.receiptLabel);
    m_pLabels[kStateLabel]->setText(kind.stateLabel);
    m_pLabels[kBarcodeLabel]->setText(kind.barcodeLabel);
    m_pLabels[kBarcodeLabel]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pLabels[kReceivableUnit]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pLabels[kReceiptUnit]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pLabels[kHint]->setText(
        QStringLiteral("说明:商品名称或条码栏中,左键单击选择可删除,右键单击可修改．"));
    m_pLabels[kHint]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pLowStock = new QLabel(parent);
    m_pLowStock->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pLowStock->setWordWrap(true);
    m_pLowStock->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_pFrame = new QGroupBox(kind.frameCaption, parent);
    m_pFrame->lower();

    m_pOddnum = new QLineEdit(parent);
    m_pOddnum->setMaxLength(11);
    m_pCustomer = new QComboBox(parent);
    m_pCustomer->setEditable(true);
    m_pCustomer->setInsertPolicy(QComboBox::NoInsert);
    m_pSelectCustomer = new QPushButton(QStringLiteral("选择/新增客户"), parent);
    m_pTime = new QLineEdit(parent);
    m_pTime->setReadOnly(true);
    m_pTime->setFocusPolicy(Qt::NoFocus);
    m_pEmployeeName = new QLineEdit(parent);
    m_pEmployeeId = new QLineEdit(parent);
    m_pReceivable = MakeAmountBox(parent);
    m_pReceivable->setReadOnly(true);
    m_pReceipt = MakeAmountBox(parent);
    m_pState = new QComboBox(parent);
    m_pState->addItems({QStringLiteral("结清"), QStringLiteral("未结"), QStringLiteral("欠款")});
    m_pState->setCurrentIndex(-1);
    m_pBarcode = new QPlainTextEdit(parent);
    // Wrapping a long line at word boundaries takes time that grows with the square of its
    // length; wrapping anywhere keeps a pasted text of a million characters quick.
    m_pBarcode->setWordWrapMode(QTextOption::WrapAnywhere);
    m_pSearch = new QLineEdit(parent);
    m_pAddLine = new QPushButton(QStringLiteral("新增商品"), parent);
    m_pDeleteLine = new QPushButton(QStringLiteral("删除商品"), parent);
    m_pGrid = new CGridCtrl(parent);
    m_pGrid->SetDlgCtrlID(100);
    SetupSaleGrid(m_pGrid);

    m_pNewDoc = new QPushButton(QStringLiteral("新增一单"), parent);
    m_pSave = new QPushButton(QStringLiteral("保存"), parent);
    m_pPrintSetup = new QPushButton(QStringLiteral("打印设置"), parent);
    m_pPreview = new QPushButton(QStringLiteral("打印预览"), parent);
    m_pPrint = new QPushButton(QStringLiteral("打印"), parent);
    m_pSinglePage = new QCheckBox(QStringLiteral("单页打印"), parent);
    m_pSinglePage->setChecked(true);
    m_pPrintReceipt = new QPushButton(QStringLiteral("打印小票"), parent);
    for (QWidget* control : std::initializer_list<QWidget*>{m_pPrintSetup, m_pPreview, m_pPrint,
                                                            m_pSinglePage, m_pPrintReceipt}) {
        control->setEnabled(false);
    }
    // Enter on a focused button presses it, as on every desktop.
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

void SaleDocControls::LayOut(QSize size) {
    const int x = qMax(0, (size.width() - kBandWidth) / 2);
    const int h = size.height();
    auto place = [x](QWidget* widget, int left, int top, int width, int height = kHeight) {
        widget->setGeometry(x + left, top, width, height);
    };
    place(m_pFrame, -8, 0, kBandWidth + 16, 131);
    // First row: number, customer, time, employee.
    place(m_pLabels[kOddnumLabel], 0, 28, 40);
    place(m_pOddnum, 44, 28, 110);
    place(m_pLabels[kCustomerLabel], 164, 28, 70);
    place(m_pCustomer, 238, 28, 200);
    place(m_pSelectCustomer, 446, 28, 110);
    place(m_pLabels[kTimeLabel], 566, 28, 70);
    place(m_pTime, 640, 28, 150);
    place(m_pLabels[kEmployeeNameLabel], 800, 28, 40);
    place(m_pEmployeeName, 844, 28, 100);
    place(m_pLabels[kEmployeeIdLabel], 954, 28, 40);
    place(m_pEmployeeId, 998, 28, 94);
    // Second row: the amounts and the payment state.
    place(m_pLabels[kReceivableLabel], 0, 60, 40, 36);
    place(m_pReceivable, 44, 60, 170, 36);
    place(m_pLabels[kReceivableUnit], 218, 60, 20, 36);
    place(m_pLabels[kReceiptLabel], 250, 60, 40, 36);
    place(m_pReceipt, 294, 60, 170, 36);
    place(m_pLabels[kReceiptUnit], 468, 60, 20, 36);
    place(m_pLabels[kStateLabel], 500, 66, 70);
    place(m_pState, 574, 66, 100);
    place(m_pLowStock, 690, 60, kBandWidth - 690, 36);
    // Third row: product search and line buttons.
    place(m_pLabels[kBarcodeLabel], 0, 101, 140);
    place(m_pLabels[kSearchLabel], 150, 101, 70);
    place(m_pSearch, 224, 101, 200);
    place(m_pAddLine, 434, 101, 90);
    place(m_pDeleteLine, 532, 101, 90);
    place(m_pLabels[kHint], 636, 101, 456);
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
