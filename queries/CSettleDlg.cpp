#include "queries/CSettleDlg.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "text/HarborClock.h"
#include "ui/HarborMessageBox.h"
#include "documents/LineChecks.h"
#include "documents/PaymentState.h"

CSettleDlg::CSettleDlg(const QString& oddnum, const QString& dueLabel, const QString& due,
                       const QString& receiptLabel, const QString& receipt, const QString& state,
                       QWidget* parent)
    : QDialog(parent), m_strDue(due), m_strChosenState(state), m_strReceiptLabel(receiptLabel) {
    setWindowTitle(QStringLiteral("结算"));
    setMinimumWidth(300);
    auto* dueBox = new QLineEdit(due, this);
    dueBox->setReadOnly(true);
    dueBox->setFocusPolicy(Qt::NoFocus);
    m_pReceipt = new QLineEdit(receipt, this);
    m_pDate = new QDateEdit(HarborToday(), this);
    m_pDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_pDate->setCalendarPopup(true);
    m_pState = new QLabel(this);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("单号:"), new QLabel(oddnum, this));
    form->addRow(dueLabel + QLatin1Char(':'), dueBox);
    form->addRow(receiptLabel + QLatin1Char(':'), m_pReceipt);
    form->addRow(QStringLiteral("结算日期:"), m_pDate);
    form->addRow(QStringLiteral("状态:"), m_pState);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettleDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettleDlg::reject);
    form->addRow(buttons);
    connect(m_pReceipt, &QLineEdit::textChanged, this, &CSettleDlg::ShowState);
    ShowState();
    m_pReceipt->selectAll();
    m_pReceipt->setFocus();
}

QString CSettleDlg::Receipt() const {
    return m_pReceipt->text().trimmed();
}

QDate CSettleDlg::SettledOn() const {
    return m_pDate->date();
}

QString CSettleDlg::State() const {
    const QString said = PaymentStateForAmounts(m_strDue, Receipt());
    return said.isEmpty() ? m_strChosenState : said;
}

void CSettleDlg::ShowState() {
    m_pState->setText(State());
}

void CSettleDlg::accept() {
    const QString problem = AmountProblem(m_strReceiptLabel, Receipt());
    if (!problem.isEmpty() || Receipt().isEmpty()) {
        HarborMessageBox(this, problem.isEmpty() ? QStringLiteral("请输入%1").arg(m_strReceiptLabel)
                                                 : problem);
        m_pReceipt->selectAll();
        m_pReceipt->setFocus();
        return;
    }
    QDialog::accept();
}
