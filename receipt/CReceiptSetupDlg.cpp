#include "receipt/CReceiptSetupDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>

CReceiptSetupDlg::CReceiptSetupDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("小票设置"));
    m_pRoll58 = new QRadioButton(QStringLiteral("58 毫米"), this);
    m_pRoll80 = new QRadioButton(QStringLiteral("80 毫米"), this);
    auto* rolls = new QHBoxLayout;
    rolls->addWidget(m_pRoll58);
    rolls->addWidget(m_pRoll80);
    rolls->addStretch();
    m_pOutput = new QComboBox(this);
    m_pOutput->addItems({QStringLiteral("系统打印机"), QStringLiteral("ESC/POS 热敏打印机")});
    m_pPrinter = new QComboBox(this);
    m_pPrinter->addItem(QStringLiteral("(默认打印机)"));
    m_pPrinter->addItems(QPrinterInfo::availablePrinterNames());
    m_pDevice = new QLineEdit(this);
    m_pDevice->setPlaceholderText(QStringLiteral("/dev/usb/lp0 或 192.168.1.30:9100"));
    m_pDrawer = new QCheckBox(QStringLiteral("结清的销售单打印后打开钱箱"), this);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("纸宽:"), rolls);
    form->addRow(QStringLiteral("打印方式:"), m_pOutput);
    form->addRow(QStringLiteral("打印机:"), m_pPrinter);
    form->addRow(QStringLiteral("热敏打印机:"), m_pDevice);
    form->addRow(QString(), m_pDrawer);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CReceiptSetupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CReceiptSetupDlg::reject);
    form->addRow(buttons);
    connect(m_pOutput, &QComboBox::currentIndexChanged, this, &CReceiptSetupDlg::EnableForOutput);
    Show(ReceiptSettings::Load());
}

void CReceiptSetupDlg::Show(const ReceiptSettings& settings) {
    (settings.rollMm == 58 ? m_pRoll58 : m_pRoll80)->setChecked(true);
    m_pOutput->setCurrentIndex(settings.output == ReceiptSettings::Output::EscPos ? 1 : 0);
    const int printer = m_pPrinter->findText(settings.printerName);
    m_pPrinter->setCurrentIndex(settings.printerName.isEmpty() || printer < 0 ? 0 : printer);
    m_pDevice->setText(settings.device);
    m_pDrawer->setChecked(settings.openDrawer);
    EnableForOutput();
}

void CReceiptSetupDlg::EnableForOutput() {
    const bool escPos = m_pOutput->currentIndex() == 1;
    m_pPrinter->setEnabled(!escPos);
    m_pDevice->setEnabled(escPos);
    m_pDrawer->setEnabled(escPos); // only the raw port reaches the drawer behind the printer
}

ReceiptSettings CReceiptSetupDlg::Chosen() const {
    ReceiptSettings settings;
    settings.rollMm = m_pRoll58->isChecked() ? 58 : 80;
    settings.output = m_pOutput->currentIndex() == 1 ? ReceiptSettings::Output::EscPos
                                                     : ReceiptSettings::Output::Printer;
    settings.printerName = m_pPrinter->currentIndex() > 0 ? m_pPrinter->currentText() : QString();
    settings.device = m_pDevice->text().trimmed();
    settings.openDrawer = m_pDrawer->isChecked();
    return settings;
}

void CReceiptSetupDlg::accept() {
    Chosen().Save();
    QDialog::accept();
}
