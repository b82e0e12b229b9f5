// What only the counter forms (销售出库, 销售退货) do: the clock and the employee, the payment
// state with the amount received, prices under the catalogue, the low-stock note, the receipt
// slip and the scanner text.
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "accounts/PermissionCheck.h"
#include "db/OperatorSession.h"
#include "documents/CDocumentDlg.h"
#include "documents/DocumentGrid.h"
#include "documents/DocumentSaveMark.h"
#include "documents/LineChecks.h"
#include "documents/PaymentState.h"
#include "documents/PriceFloor.h"
#include "documents/ProductFacts.h"
#include "documents/ReceiptJob.h"
#include "documents/SaleLineMath.h"
#include "documents/ScannerPasteDlg.h"
#include "grid/CGridCtrl.h"
#include "text/HarborClock.h"
#include "text/ScannerText.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

void CDocumentDlg::TickClock() {
    m_strNow = HarborNow().toString("yyyy-MM-dd HH:mm:ss");
    m_ui.m_pTime->setText(m_strNow);
}

// The employee linked to the operator signed in sells the new document (a shop without
// operator accounts, or an operator without an employee, starts it without one).
void CDocumentDlg::TakeOperatorsEmployee() {
    m_strOperatorsEmployee = OperatorSession::Instance().Operator().employeeId;
    if (m_strOperatorsEmployee.isEmpty())
        return;
    bool known = false;
    QString name;
    RunDbRead(this, QStringLiteral("读取员工"),
              [&] { name = CFormStore::EmployeeName(m_strOperatorsEmployee, &known); });
    if (!known) {
        m_strOperatorsEmployee.clear();
        return;
    }
    m_strEmployeeId = m_strOperatorsEmployee;
    m_strEmployeeName = name;
}

// 结清 and 未结 say the receipt; 欠款 keeps what the clerk typed and asks for it when nothing
// was typed. The receipt stays open to typing under every state (typing moves the state).
void CDocumentDlg::OnStateSelected() {
    m_strState = m_ui.m_pState->currentText();
    m_strReceivable = m_ui.m_pReceivable->text();
    m_strReceipt = ReceiptForChosenState(m_strState, m_strReceivable,
                                         m_bReceiptTyped ? m_ui.m_pReceipt->text() : QString());
    m_bReceiptTyped = m_bReceiptTyped && m_strState == QStringLiteral("欠款");
    m_ui.m_pReceipt->setText(m_strReceipt);
    if (m_strState == QStringLiteral("欠款")) {
        m_ui.m_pReceipt->setFocus();
        m_ui.m_pReceipt->selectAll();
    }
}

// A sale below the catalogue (a price under the product's, a discount under its lowest own
// one) needs that permission; lines stored so and left as they are do not ask again.
bool CDocumentDlg::PricesAllowed(const QVector<DocumentLine>& lines) {
    if (!m_form.checksPrices || HasPermission(Permission::BelowPrice))
        return true;
    bool below = false;
    if (!RunDbRead(this, QStringLiteral("核对售价"), [&] {
            for (int i = 0; i < lines.size() && !below; ++i) {
                const LineMemory* memory = m_lines.Find(i + 1);
                const QStringList texts = CDocumentStore::StoredTexts(m_store.LineTexts(lines[i]));
                if (memory && memory->origin && *memory->origin == texts)
                    continue;
                ProductFacts product;
                below = ReadProduct(lines[i].code, &product) &&
                        BelowCatalogue(lines[i].price, lines[i].discount, product);
            }
        }))
        return false;
    return !below || RequirePermission(this, Permission::BelowPrice);
}

void CDocumentDlg::ShowLowStock(const QString& text) {
    if (!m_ui.m_pLowStock)
        return;
    m_ui.m_pLowStock->setText(text);
    m_ui.m_pLowStock->setToolTip(text);
}

// Every product whose stock a counter save can move: those on the lines and those a line held
// when it was stored (a right click may have replaced them). None for the other forms, which
// tell no low stock.
QStringList CDocumentDlg::StockCodes(const QVector<DocumentLine>& lines) const {
    QStringList codes;
    if (!m_form.counter)
        return codes;
    for (int i = 0; i < lines.size(); ++i) {
        codes.append(lines[i].code);
        const LineMemory* memory = m_lines.Find(i + 1);
        if (memory && memory->origin)
            codes.append(memory->origin->value(2));
    }
    codes.removeDuplicates();
    return codes;
}

void CDocumentDlg::PrintDocumentReceipt() {
    if (!m_bOpen || !m_form.counter)
        return;
    if (NeedsSaving() && (!AskToSave() || !Save()))
        return;
    const bool settledSale = m_form.IsSaleOut() && m_strState == QStringLiteral("结清");
    PrintReceipt(this, m_form, m_strOddnum, settledSale);
}

void CDocumentDlg::PasteScannerText() {
    if (!m_form.counter || (!m_bOpen && !NewDocument()))
        return;
    ScannerPasteDlg paste(this);
    if (paste.exec() != QDialog::Accepted || paste.Text().isEmpty())
        return;
    m_ui.m_pBarcode->setPlainText(paste.Text());
    ImportBarcode();
}

void CDocumentDlg::OnBarcodeChanged() {
    if (!m_ui.m_pBarcode->isReadOnly())
        m_importTimer.start();
}

void CDocumentDlg::ImportBarcode() {
    if (!m_ui.m_pBarcode)
        return;
    const QString text = m_ui.m_pBarcode->toPlainText();
    if (text.isEmpty())
        return;
    m_importTimer.stop();
    m_ui.m_pBarcode->setReadOnly(true);
    const QString before = m_strBarcode;
    m_strBarcode = text;
    // A read that failed showed nothing of the text: the box takes it (or another) again.
    if (!RunDbRead(this, QStringLiteral("导入条码"), [&] { ImportEntries(text); })) {
        m_strBarcode = before;
        m_ui.m_pBarcode->setReadOnly(false);
    }
}

void CDocumentDlg::ImportEntries(const QString& text) {
    const ScannerText scanned = ParseScannerText(text);
    bool known = false;
    const QString name = CFormStore::EmployeeName(scanned.employeeId, &known);
    if (!known || (scanned.entries.isEmpty() && scanned.problems.isEmpty())) {
        RefuseBarcode(QStringLiteral("条码输入格式不对,请使用盘点功能上传条码"));
        return;
    }
    if (!scanned.problems.isEmpty()) {
        RefuseBarcode(ScannerProblemsMessage(scanned.problems));
        return;
    }
    if (scanned.entries.size() > kScannerMaxEntries) {
        RefuseBarcode(QStringLiteral("条码信息有%1行商品,一次最多导入%2行,请分成几单录入")
                          .arg(scanned.entries.size())
                          .arg(kScannerMaxEntries));
        return;
    }
    // A quantity that would sell nothing (or take goods back) refuses the whole text.
    for (int i = 0; i < scanned.entries.size(); ++i) {
        const QString field = QStringLiteral("第%1行的数量").arg(scanned.entries[i].line);
        const QString quantity = scanned.entries[i].quantity;
        const QString problem = quantity.isEmpty()
                                    ? field + QStringLiteral("是空的,请改正")
                                    : QuantityProblem(field, quantity, m_form.IsSaleOut());
        if (!problem.isEmpty()) {
            RefuseBarcode(problem);
            return;
        }
    }
    // Every product is read before anything is shown: a read that fails (the server went
    // away) leaves the window as it was, never with part of the text.
    struct ImportedLine {
        const ScannerEntry* entry;
        ProductFacts product;
        QString amount;
    };
    QList<ImportedLine> lines;
    QStringList missing;
    QStringList problems;
    for (const ScannerEntry& entry : scanned.entries) {
        ProductFacts product;
        if (!ReadProduct(entry.code, &product)) {
            missing.append(entry.code);
            continue;
        }
        const QString amount = ImportLineAmount(entry.quantity, product.price);
        QString problem = ProductFactsProblem(product);
        if (problem.isEmpty())
            problem = AmountProblem(QStringLiteral("商品<%1>的金额").arg(product.name), amount);
        if (!problem.isEmpty()) {
            problems.append(problem);
            continue;
        }
        lines.append({&entry, product, amount});
    }
    m_strEmployeeId = scanned.employeeId;
    m_strEmployeeName = name;
    m_pSaveMark->MarkChanged();
    m_ui.m_pEmployeeName->setText(m_strEmployeeName);
    m_ui.m_pEmployeeId->setText(m_strEmployeeId);
    for (const ImportedLine& line : std::as_const(lines)) {
        const int row = AppendLine();
        PutLineProduct(m_ui.m_pGrid, m_form, row, line.entry->code, line.product);
        m_ui.m_pGrid->SetCellText(row, m_form.columns.count, line.entry->quantity);
        SetLineAmount(m_ui.m_pGrid, m_form, row, line.amount);
        m_lines.Of(row).untaxedPrice = line.product.price;
    }
    UpdateReceivable();
    if (!missing.isEmpty())
        HarborMessageBox(this,
                         QStringLiteral("所选条码为<%1>的商品还未添加规格属性,请先在基础资料中添加")
                             .arg(missing.join(QLatin1Char(','))),
                         MsgIcon::Stop);
    if (!problems.isEmpty())
        HarborMessageBox(this, problems.join(QLatin1Char('\n')), MsgIcon::Stop);
}

QString CDocumentDlg::ScannerProblemsMessage(const QList<ScannerProblem>& problems) const {
    constexpr int kShown = 5;
    QStringList lines{QStringLiteral("条码信息有误,没有导入:")};
    bool notPositive = false;
    for (const ScannerProblem& problem : problems) {
        if (lines.size() <= kShown)
            lines.append(DescribeScannerProblem(problem));
        notPositive = notPositive || problem.kind == ScannerProblem::Kind::NotPositive;
    }
    if (problems.size() > kShown)
        lines.append(QStringLiteral("另有%1行有误").arg(problems.size() - kShown));
    if (notPositive && m_form.IsSaleOut())
        lines.append(QStringLiteral("退货请使用销售退货"));
    return lines.join(QLatin1Char('\n'));
}

// The box empty and open to the next text, without starting an import.
void CDocumentDlg::ClearBarcode() {
    m_strBarcode.clear();
    m_ui.m_pBarcode->setReadOnly(false);
    m_ui.m_pBarcode->blockSignals(true);
    m_ui.m_pBarcode->clear();
    m_ui.m_pBarcode->blockSignals(false);
}

void CDocumentDlg::RefuseBarcode(const QString& message) {
    ClearBarcode();
    HarborMessageBox(this, message, MsgIcon::Exclamation);
    m_ui.m_pBarcode->setFocus();
}
