#include "documents/CSaleDocDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/CDbAction.h"
#include "app/CHarborApp.h"
#include "app/HarborMessageBox.h"
#include "catalogue/PickHandOver.h"
#include "documents/ListPrintDocuments.h"
#include "documents/ListPrintJob.h"
#include "documents/NumericText.h"
#include "documents/Oddnum.h"
#include "documents/SaleDocGrid.h"
#include "documents/SaleLineMath.h"
#include "documents/ScannerText.h"
#include "grid/CGridCtrl.h"
#include "parties/CCustomerDlg.h"

namespace {

const QString kSettled = QStringLiteral("结清");
const QString kOpenAccount = QStringLiteral("未结");

} // namespace

CSaleDocDlg::CSaleDocDlg(const SaleDocKind& kind, QWidget* parent)
    : CWorkDialog(kind.title, parent), m_kind(kind), m_store(kind) {
    theApp.m_nPickTarget = m_kind.pickTarget;
    m_ui.Create(this, m_kind);
    ConnectControls();
    EnableDocument(false);
    TickClock();
    m_clock.start(1000);
    m_importTimer.setSingleShot(true);
    m_importTimer.setInterval(500);
    resize(1260, 700);
    m_ui.m_pNewDoc->setFocus();
}

CSaleDocDlg::~CSaleDocDlg() = default;

void CSaleDocDlg::ConnectControls() {
    connect(&m_clock, &QTimer::timeout, this, &CSaleDocDlg::TickClock);
    connect(&m_importTimer, &QTimer::timeout, this, &CSaleDocDlg::ImportBarcode);
    connect(m_ui.m_pNewDoc, &QPushButton::clicked, this, &CSaleDocDlg::NewDocument);
    connect(m_ui.m_pSave, &QPushButton::clicked, this, &CSaleDocDlg::Save);
    connect(m_ui.m_pAddLine, &QPushButton::clicked, this, &CSaleDocDlg::AddLine);
    connect(m_ui.m_pDeleteLine, &QPushButton::clicked, this, &CSaleDocDlg::DeleteLine);
    connect(m_ui.m_pSelectCustomer, &QPushButton::clicked, this, &CSaleDocDlg::OnSelectCustomer);
    connect(m_ui.m_pState, &QComboBox::activated, this, &CSaleDocDlg::OnStateSelected);
    connect(m_ui.m_pBarcode, &QPlainTextEdit::textChanged, this, &CSaleDocDlg::OnBarcodeChanged);
    connect(m_ui.m_pSinglePage, &QCheckBox::toggled, this, &CSaleDocDlg::OnSinglePage);
    connect(m_ui.m_pPrint, &QPushButton::clicked, this, [this] { PrintDocument(1); });
    connect(m_ui.m_pPrintSetup, &QPushButton::clicked, this, [this] {
        SetPagedPrinting(true);
        PrintDocument(2);
    });
    connect(m_ui.m_pPreview, &QPushButton::clicked, this, [this] { PrintDocument(3); });
    connect(m_ui.m_pGrid, &CGridCtrl::click, this, &CSaleDocDlg::OnGridClick);
    connect(m_ui.m_pGrid, &CGridCtrl::rightClick, this, &CSaleDocDlg::OnGridRightClick);
    connect(m_ui.m_pGrid, &CGridCtrl::endEdit, this, &CSaleDocDlg::OnGridEndEdit);
    m_ui.m_pCustomer->installEventFilter(this);
    m_ui.m_pSearch->installEventFilter(this);
}

void CSaleDocDlg::EnableDocument(bool enable) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_ui.m_pOddnum, m_ui.m_pCustomer, m_ui.m_pSelectCustomer, m_ui.m_pAddLine,
             m_ui.m_pDeleteLine, m_ui.m_pBarcode, m_ui.m_pState, m_ui.m_pReceipt,
             m_ui.m_pReceivable, m_ui.m_pSearch, m_ui.m_pPrint, m_ui.m_pPreview,
             m_ui.m_pSinglePage})
        control->setEnabled(enable);
    m_ui.m_pPrintSetup->setEnabled(enable && !m_ui.m_pSinglePage->isChecked());
}

void CSaleDocDlg::OnSinglePage(bool on) {
    m_bSinglePage = on;
    m_ui.m_pPrintSetup->setEnabled(!on);
    if (on)
        SetPagedPrinting(false);
}

void CSaleDocDlg::PrintDocument(int mode) {
    if (!m_bSaved) {
        if (HarborMessageBox(this, m_kind.closeQuestion, MsgIcon::Exclamation, MsgButtons::YesNo,
                             m_kind.closeCaption) != IDYES)
            return;
        if (!Save() || !m_bSaved)
            return;
    }
    ReadBoxes();
    if (m_strCustomer.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("销售清单内容为空,还不能打印!"), MsgIcon::Exclamation,
                         MsgButtons::Ok, QStringLiteral("打印清单"));
        return;
    }
    if (HandOverDocument())
        RunListPrint(mode);
}

// Fills the home view's sales list with this document and the customer's balance.
bool CSaleDocDlg::HandOverDocument() {
    const SaleListHeader header{m_kind.table == QLatin1String("saleout"),
                                m_strOddnum,
                                m_strCustomer,
                                m_strSaveTime.isEmpty() ? m_strNow : m_strSaveTime,
                                m_strReceivable,
                                m_strReceipt,
                                m_strState};
    return RunDbRead(this, QStringLiteral("打印清单"), [&] {
        ListPrintData& list = HandOverList(1);
        FillSaleList(list, header, *m_ui.m_pGrid);
        list.SetSum(4, CustomerBalanceText(m_kind.table, m_strCustomer));
    });
}

void CSaleDocDlg::ShowValues() {
    m_ui.m_pOddnum->setText(m_strOddnum);
    m_ui.m_pCustomer->setEditText(m_strCustomer);
    m_ui.m_pReceivable->setText(m_strReceivable);
    m_ui.m_pReceipt->setText(m_strReceipt);
    m_ui.m_pState->setCurrentIndex(m_ui.m_pState->findText(m_strState));
    m_ui.m_pEmployeeName->setText(m_strEmployeeName);
    m_ui.m_pEmployeeId->setText(m_strEmployeeId);
}

void CSaleDocDlg::ReadBoxes() {
    m_strOddnum = m_ui.m_pOddnum->text();
    m_strCustomer = m_ui.m_pCustomer->currentText();
    m_strReceivable = m_ui.m_pReceivable->text();
    m_strReceipt = m_ui.m_pReceipt->text();
    m_strState = m_ui.m_pState->currentText();
    m_strEmployeeName = m_ui.m_pEmployeeName->text();
    m_strEmployeeId = m_ui.m_pEmployeeId->text();
    m_strBarcode = m_ui.m_pBarcode->toPlainText();
    m_strSearch = m_ui.m_pSearch->text();
}

void CSaleDocDlg::TickClock() {
    m_strNow = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss");
    m_ui.m_pTime->setText(m_strNow);
}

bool CSaleDocDlg::NewDocument() {
    QString number;
    RunDbRead(this, QStringLiteral("新增一单"),
              [&] { number = NewOddnum(m_kind.table, QDate::currentDate(), this); });
    if (number.isEmpty())
        return false;
    EnableDocument(true);
    m_bOpen = true;
    m_ui.m_pBarcode->setReadOnly(false);
    m_strOddnum = number;
    m_ui.m_pOddnum->setReadOnly(true);
    m_ui.m_pReceivable->setReadOnly(true);
    for (QString* value : {&m_strCustomer, &m_strReceivable, &m_strReceipt, &m_strState,
                           &m_strBarcode, &m_strEmployeeName, &m_strEmployeeId})
        value->clear();
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_ui.m_pGrid->Refresh();
    m_nDeleteRow = 0;
    m_ui.m_pBarcode->clear();
    ShowValues();
    m_bSaved = false;
    m_ui.m_pBarcode->setFocus();
    return true;
}

SaleDocHeader CSaleDocDlg::Header() const {
    return SaleDocHeader{m_strOddnum,  m_strCustomer, m_strSaveTime,     m_strReceivable,
                         m_strReceipt, m_strState,    m_strEmployeeName, m_strEmployeeId};
}

bool CSaleDocDlg::Save() {
    if (!m_bOpen)
        return false;
    // Text still in a cell editor belongs to the document; a refused text stops the save.
    m_bEditRefused = false;
    m_ui.m_pGrid->EndEditing();
    if (m_bEditRefused)
        return false;
    ReadBoxes();
    m_strSaveTime = m_strNow;
    SaleDocHeader header = Header();
    QVector<SaleDocLine> lines;
    for (int row = 1; row < m_ui.m_pGrid->GetRowCount(); ++row)
        lines.append(ReadSaleLine(m_ui.m_pGrid, row));
    const QString refusal = CSaleDocStore::Refusal(header, lines, m_kind.receiptLabel.chopped(1));
    if (!refusal.isEmpty()) {
        HarborMessageBox(this, refusal);
        return false;
    }
    bool noNumber = false;
    const bool saved = RunDbAction(this, QStringLiteral("保存单据"), [&] {
        // Another workstation may have saved a document under the same number meanwhile.
        if (!m_bSaved && m_store.StoredRowCount(header.oddnum) > 0) {
            header.oddnum = NewOddnum(m_kind.table, QDate::currentDate(), this);
            if ((noNumber = header.oddnum.isEmpty()))
                return;
        }
        m_store.Save(header, lines);
    });
    if (!saved || noNumber)
        return false;
    if (header.oddnum != m_strOddnum) {
        HarborMessageBox(this,
                         QStringLiteral("单号%1已被其他电脑使用,本单已改用新单号%2保存")
                             .arg(m_strOddnum, header.oddnum),
                         MsgIcon::Information);
        m_strOddnum = header.oddnum;
        m_ui.m_pOddnum->setText(m_strOddnum);
    }
    m_bSaved = true;
    HarborMessageBox(this, QStringLiteral("已成功保存在数据库中"), MsgIcon::Information);
    return true;
}

bool CSaleDocDlg::QueryClose() {
    if (m_bOpen && !m_bSaved &&
        HarborMessageBox(this, m_kind.closeQuestion, MsgIcon::Exclamation, MsgButtons::YesNo,
                         m_kind.closeCaption) == IDYES) {
        Save();
        return false;
    }
    m_bSaved = false;
    m_bOpen = false;
    m_bSinglePage = true;
    return true;
}

void CSaleDocDlg::AddLine() {
    if (!m_bOpen)
        return;
    const int row = AppendSaleLine(m_ui.m_pGrid);
    m_nRow = row;
    m_strSearch = m_ui.m_pSearch->text();
    if (!RunProductPicker(this, m_kind.pickTarget, m_strSearch))
        m_ui.m_pGrid->DeleteRow(row);
    m_ui.m_pGrid->Refresh();
    m_strSearch.clear();
    m_ui.m_pSearch->clear();
}

void CSaleDocDlg::PutPickedProduct() {
    if (m_nRow < 1 || m_nRow >= m_ui.m_pGrid->GetRowCount())
        return;
    m_ui.m_pReceivable->clear();
    m_ui.m_pReceipt->clear();
    m_ui.m_pState->setCurrentIndex(-1);
    if (!FillPickedProduct(m_ui.m_pGrid, m_nRow, theApp.m_strPickedName, theApp.m_strPickedCode))
        m_bNoProperty = true;
}

void CSaleDocDlg::PutPickedParty(const QString& name) {
    m_ui.m_pCustomer->setEditText(name);
}

void CSaleDocDlg::OnSelectCustomer() {
    theApp.m_nPickTarget = m_kind.pickTarget;
    CCustomerDlg dialog;
    dialog.RunSelectMode(this);
}

void CSaleDocDlg::SearchCustomer() {
    m_strCustomer = m_ui.m_pCustomer->currentText().toUpper();
    m_ui.m_pCustomer->clear();
    QStringList names;
    RunDbRead(this, QStringLiteral("查找客户"),
              [&] { names = CSaleDocStore::CustomersByInitials(m_strCustomer); });
    m_ui.m_pCustomer->addItems(names);
    if (names.isEmpty())
        m_ui.m_pCustomer->setEditText(m_strCustomer);
    else
        m_ui.m_pCustomer->setCurrentIndex(0);
}

void CSaleDocDlg::OnStateSelected() {
    m_strState = m_ui.m_pState->currentText();
    m_strReceivable = m_ui.m_pReceivable->text();
    if (m_strState == kSettled) {
        m_strReceipt = m_strReceivable;
        m_ui.m_pReceipt->setReadOnly(true);
    } else if (m_strState == kOpenAccount) {
        m_strReceipt = QStringLiteral("0");
        m_ui.m_pReceipt->setReadOnly(true);
    } else {
        m_strReceipt.clear();
        m_ui.m_pReceipt->setReadOnly(false);
        m_ui.m_pReceipt->setFocus();
    }
    m_ui.m_pReceipt->setText(m_strReceipt);
}

void CSaleDocDlg::OnGridClick(int row, int col) {
    if (row < 1 || col < 1)
        return;
    m_nRow = row;
    m_nCol = col;
    m_nDeleteRow = row;
}

void CSaleDocDlg::OnGridRightClick(int row, int col) {
    if (row < 1 || col < 1 || !m_bOpen)
        return;
    m_nRow = row;
    m_nCol = col;
    RunProductPicker(this, m_kind.pickTarget, QString());
}

void CSaleDocDlg::OnGridEndEdit(int row, int col, CGridResult* result) {
    if (row < 1 || col < 1)
        return;
    if (RefuseNonNumber(row, col)) {
        m_bEditRefused = true;
        result->Cancel();
        return;
    }
    if (m_kind.recomputeColumns.contains(col))
        RecomputeLine(row, col);
}

// A price or quantity that is not a plain decimal number would corrupt amounts and stock.
bool CSaleDocDlg::RefuseNonNumber(int row, int col) {
    if (col != kLinePrice && col != kLineCount)
        return false;
    const QString text = m_ui.m_pGrid->GetCellText(row, col);
    if (text.isEmpty() || IsPlainDecimal(text))
        return false;
    HarborMessageBox(
        this,
        QStringLiteral("%1只能填写数字,例如 12 或 0.5").arg(m_ui.m_pGrid->GetCellText(0, col)));
    return true;
}

void CSaleDocDlg::RecomputeLine(int row, int col) {
    RunDbRead(this, QStringLiteral("计算金额"),
              [&] { RecomputeSaleLine(m_ui.m_pGrid, row, col, m_kind); });
    UpdateReceivable();
}

void CSaleDocDlg::UpdateReceivable() {
    m_strReceivable = SumAmounts(SaleLineAmounts(m_ui.m_pGrid));
    m_ui.m_pReceivable->setText(m_strReceivable);
    if (m_ui.m_pState->currentText() == kSettled) {
        m_strReceipt = m_strReceivable;
        m_ui.m_pReceipt->setText(m_strReceipt);
    }
}

void CSaleDocDlg::DeleteLine() {
    if (m_nDeleteRow < 1 || m_nDeleteRow >= m_ui.m_pGrid->GetRowCount()) {
        m_nDeleteRow = 0;
        HarborMessageBox(this, QStringLiteral("请先选择要删除的记录"));
        return;
    }
    const int row = m_nDeleteRow;
    m_nDeleteRow = 0;
    // An open cell editor ends first, so the amounts read below are the final ones.
    m_ui.m_pGrid->EndEditing();
    const SaleDocLine line = ReadSaleLine(m_ui.m_pGrid, row);
    const QString receivable =
        RoundText(TextToFloat(m_ui.m_pReceivable->text()) - TextToFloat(line.amount), 2);
    const QString receipt =
        m_ui.m_pState->currentText() == kSettled ? receivable : m_ui.m_pReceipt->text();
    // Only a saved document has rows of its own under its number.
    if (m_bSaved && !RunDbAction(this, QStringLiteral("删除商品"), [&] {
            m_store.DeleteStoredLine(m_strOddnum, row - 1, receivable, receipt);
        }))
        return;
    m_strReceivable = receivable;
    m_strReceipt = receipt;
    m_ui.m_pReceivable->setText(m_strReceivable);
    m_ui.m_pReceipt->setText(m_strReceipt);
    m_ui.m_pGrid->DeleteRow(row);
    RenumberSaleLines(m_ui.m_pGrid);
    m_ui.m_pGrid->Refresh();
}

void CSaleDocDlg::OnBarcodeChanged() {
    if (!m_ui.m_pBarcode->isReadOnly())
        m_importTimer.start();
}

void CSaleDocDlg::ImportBarcode() {
    const QString text = m_ui.m_pBarcode->toPlainText();
    if (text.isEmpty())
        return;
    m_importTimer.stop();
    m_ui.m_pBarcode->setReadOnly(true);
    m_strBarcode = text;
    RunDbRead(this, QStringLiteral("导入条码"), [&] { ImportEntries(text); });
}

void CSaleDocDlg::ImportEntries(const QString& text) {
    const ScannerText scanned = ParseScannerText(text);
    m_strEmployeeId = scanned.employeeId;
    bool known = false;
    const QString name = CSaleDocStore::EmployeeName(m_strEmployeeId, &known);
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
    m_strEmployeeName = name;
    m_ui.m_pEmployeeName->setText(m_strEmployeeName);
    m_ui.m_pEmployeeId->setText(m_strEmployeeId);
    const QStringList missing = AppendScannedLines(m_ui.m_pGrid, scanned.entries);
    UpdateReceivable();
    if (!missing.isEmpty())
        HarborMessageBox(this,
                         QStringLiteral("所选条码为<%1>的商品还未添加规格属性,请先在基础资料中添加")
                             .arg(missing.join(QLatin1Char(','))),
                         MsgIcon::Stop);
}

QString CSaleDocDlg::ScannerProblemsMessage(const QList<ScannerProblem>& problems) const {
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
    if (notPositive && m_kind.table == QLatin1String("saleout"))
        lines.append(QStringLiteral("退货请使用销售退货"));
    return lines.join(QLatin1Char('\n'));
}

void CSaleDocDlg::RefuseBarcode(const QString& message) {
    m_ui.m_pBarcode->setReadOnly(false);
    m_ui.m_pBarcode->blockSignals(true);
    m_ui.m_pBarcode->clear();
    m_ui.m_pBarcode->blockSignals(false);
    m_strBarcode.clear();
    HarborMessageBox(this, message, MsgIcon::Exclamation);
    m_ui.m_pBarcode->setFocus();
}

void CSaleDocDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Enter in a text box of the document must not throw the document away.
    if (enter && !qobject_cast<QLineEdit*>(focusWidget())) {
        event->accept();
        NewDocument();
        return;
    }
    CWorkDialog::keyPressEvent(event);
}

bool CSaleDocDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_ui.m_pCustomer)
                SearchCustomer();
            else if (watched == m_ui.m_pSearch)
                AddLine();
            else
                return CWorkDialog::eventFilter(watched, event);
            return true;
        }
    }
    return CWorkDialog::eventFilter(watched, event);
}

void CSaleDocDlg::resizeEvent(QResizeEvent* event) {
    CWorkDialog::resizeEvent(event);
    m_ui.LayOut(size());
}
