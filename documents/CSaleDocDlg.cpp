#include "documents/CSaleDocDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "accounts/PermissionCheck.h"
#include "ui/CDbAction.h"
#include "text/HarborClock.h"
#include "ui/HarborMessageBox.h"
#include "db/RowLocks.h"
#include "catalogue/MinimumStock.h"
#include "catalogue/PickHandOver.h"
#include "catalogue/ProductSearch.h"
#include "db/OperatorSession.h"
#include "documents/DocumentSaveMark.h"
#include "documents/DocumentWriteReport.h"
#include "documents/LineChecks.h"
#include "documents/ListPrintDocuments.h"
#include "documents/ListPrintJob.h"
#include "documents/Oddnum.h"
#include "documents/PaymentState.h"
#include "documents/PriceFloor.h"
#include "documents/ProductFacts.h"
#include "documents/ReceiptJob.h"
#include "documents/SaleDocGrid.h"
#include "documents/SaleLineMath.h"
#include "grid/CGridCtrl.h"
#include "parties/CCustomerDlg.h"
#include "text/NumericText.h"
#include "text/ScannerText.h"
#include "ui/PickArea.h"

namespace {

const QString kSettled = QStringLiteral("结清");
const QString kOpenAccount = QStringLiteral("未结");
const QString kDebt = QStringLiteral("欠款");

// The price before tax of a stored line: its price without its tax option.
QString UntaxedPrice(const SaleDocLine& line) {
    if (line.remark.isEmpty() || line.price.isEmpty())
        return line.price;
    return RoundText(TextToFloat(line.price) / TaxFactor(line.remark), 4);
}

} // namespace

CSaleDocDlg::CSaleDocDlg(const SaleDocKind& kind, QWidget* parent)
    : CWorkDialog(kind.title, parent), m_kind(kind), m_store(kind) {
    PickArea().m_nPickTarget = m_kind.pickTarget;
    m_ui.Create(this, m_kind);
    m_lines.SetGrid(m_ui.m_pGrid);
    ConnectControls();
    InstallKeys();
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
    connect(m_ui.m_pPrintReceipt, &QPushButton::clicked, this, &CSaleDocDlg::PrintDocumentReceipt);
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
             m_ui.m_pReceivable, m_ui.m_pSearch, m_ui.m_pPrint, m_ui.m_pPreview, m_ui.m_pSinglePage,
             m_ui.m_pPrintReceipt})
        control->setEnabled(enable);
    m_ui.m_pPrintSetup->setEnabled(enable && !m_ui.m_pSinglePage->isChecked());
}

void CSaleDocDlg::OnSinglePage(bool on) {
    m_bSinglePage = on;
    m_ui.m_pPrintSetup->setEnabled(!on);
    if (on)
        SetPagedPrinting(false);
}

bool CSaleDocDlg::AskToSave() {
    return HarborMessageBox(this, m_kind.closeQuestion, MsgIcon::Exclamation, MsgButtons::YesNo,
                            m_kind.closeCaption) == IDYES;
}

// What is printed is the document as it is stored, so the screen must be saved first.
void CSaleDocDlg::PrintDocument(int mode) {
    if (!m_bOpen)
        return;
    if (NeedsSaving() && (!AskToSave() || !Save()))
        return;
    if (HandOverDocument())
        RunListPrint(mode);
}

void CSaleDocDlg::PrintDocumentReceipt() {
    if (!m_bOpen)
        return;
    if (NeedsSaving() && (!AskToSave() || !Save()))
        return;
    const bool settledSale = m_kind.table == QLatin1String("saleout") && m_strState == kSettled;
    PrintReceipt(this, m_kind, m_strOddnum, settledSale);
}

// Fills the home view's sales list with the stored document and the customer's balance.
bool CSaleDocDlg::HandOverDocument() {
    QVector<StoredRow> rows;
    QString balance;
    if (!RunDbRead(this, QStringLiteral("打印清单"), [&] {
            rows = m_store.Documents().ReadRows(m_strOddnum);
            if (!rows.isEmpty())
                balance = CustomerBalanceText(
                    m_store.HeaderFromTexts(m_strOddnum, rows[0].header).customer);
        }))
        return false;
    const SaleDocHeader stored =
        m_store.HeaderFromTexts(m_strOddnum, rows.isEmpty() ? QStringList() : rows[0].header);
    if (stored.customer.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("销售清单内容为空,还不能打印!"), MsgIcon::Exclamation,
                         MsgButtons::Ok, QStringLiteral("打印清单"));
        return false;
    }
    QVector<QStringList> lines;
    for (const StoredRow& row : rows) {
        const SaleDocLine line = m_store.LineFromTexts(row.line);
        lines.append({line.name, line.shortName, line.code, line.spec, line.price, line.count,
                      line.discount, line.amount, line.pcs, line.remark});
    }
    const SaleListHeader header{m_kind.table == QLatin1String("saleout"),
                                m_strOddnum,
                                stored.customer,
                                stored.mydate,
                                stored.receivable,
                                stored.receipt,
                                stored.state};
    ListPrintData& list = HandOverList(1);
    FillSaleList(list, header, lines);
    list.SetSum(4, balance);
    return true;
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
    m_strNow = HarborNow().toString("yyyy-MM-dd HH:mm:ss");
    m_ui.m_pTime->setText(m_strNow);
}

// The window opens on a new document, the product box ready for the scanner.
void CSaleDocDlg::FirstShown() {
    if (!m_bOpen)
        NewDocument();
}

bool CSaleDocDlg::NewDocument() {
    if (m_bOpen && HasUnsavedChanges() && AskToSave() && !Save())
        return false;
    QString number;
    RunDbRead(this, QStringLiteral("新增一单"),
              [&] { number = NewOddnum(m_kind.table, HarborToday(), this); });
    if (number.isEmpty())
        return false;
    EnableDocument(true);
    m_bOpen = true;
    m_ui.m_pBarcode->setReadOnly(false);
    m_unconfirmed.Forget();
    m_strOddnum = number;
    m_ui.m_pOddnum->setReadOnly(true);
    m_ui.m_pReceivable->setReadOnly(true);
    for (QString* value : {&m_strCustomer, &m_strReceivable, &m_strReceipt, &m_strState,
                           &m_strBarcode, &m_strEmployeeName, &m_strEmployeeId})
        value->clear();
    TakeOperatorsEmployee();
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_ui.m_pGrid->Refresh();
    m_lines.Clear();
    m_savedHeader.reset();
    m_nDeleteRow = 0;
    ShowLowStock(QString());
    m_ui.m_pBarcode->blockSignals(true);
    m_ui.m_pBarcode->clear();
    m_ui.m_pBarcode->blockSignals(false);
    ShowValues();
    m_bSaved = false;
    m_bReceiptTyped = false;
    m_pSaveMark->Clear();
    m_ui.m_pSearch->setFocus(); // ready for the scanner: a code and Enter add a line
    return true;
}

// The employee linked to the operator signed in sells the new document (a shop without
// operator accounts, or an operator without an employee, starts it without one).
void CSaleDocDlg::TakeOperatorsEmployee() {
    m_strOperatorsEmployee = OperatorSession::Instance().Operator().employeeId;
    if (m_strOperatorsEmployee.isEmpty())
        return;
    bool known = false;
    QString name;
    RunDbRead(this, QStringLiteral("读取员工"),
              [&] { name = CSaleDocStore::EmployeeName(m_strOperatorsEmployee, &known); });
    if (!known) {
        m_strOperatorsEmployee.clear();
        return;
    }
    m_strEmployeeId = m_strOperatorsEmployee;
    m_strEmployeeName = name;
}

// No longer a document on screen: its rows are gone from the database.
void CSaleDocDlg::CloseDocument() {
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_ui.m_pGrid->Refresh();
    m_lines.Clear();
    m_savedHeader.reset();
    for (QString* value : {&m_strOddnum, &m_strCustomer, &m_strReceivable, &m_strReceipt,
                           &m_strState, &m_strEmployeeName, &m_strEmployeeId})
        value->clear();
    ShowValues();
    m_bOpen = false;
    m_bSaved = false;
    EnableDocument(false);
    ShowLowStock(QString());
    m_pSaveMark->Clear();
}

SaleDocHeader CSaleDocDlg::Header() const {
    return SaleDocHeader{m_strOddnum,  m_strCustomer, m_strSaveTime,     m_strReceivable,
                         m_strReceipt, m_strState,    m_strEmployeeName, m_strEmployeeId};
}

QVector<SaleDocLine> CSaleDocDlg::ReadLines() const {
    QVector<SaleDocLine> lines;
    for (int row = 1; row < m_ui.m_pGrid->GetRowCount(); ++row)
        lines.append(ReadSaleLine(m_ui.m_pGrid, row));
    return lines;
}

QVector<ScreenLine> CSaleDocDlg::ScreenLines(const QVector<SaleDocLine>& lines) {
    QVector<ScreenLine> screen;
    // A sales return keeps its lines' tax options beside its table, which has no place for them.
    for (int i = 0; i < lines.size(); ++i)
        screen.append({m_store.LineTexts(lines[i]), m_lines.Of(i + 1).origin,
                       m_kind.storesPcsRemarks ? QString() : lines[i].remark,
                       m_lines.Of(i + 1).sale});
    return screen;
}

bool CSaleDocDlg::HasUnsavedChanges() const {
    if (!m_bOpen)
        return false;
    const CGridCtrl* grid = m_ui.m_pGrid;
    if (!m_savedHeader) // nothing stored: only an untouched document has nothing to lose
        return grid->GetRowCount() > 1 || !m_ui.m_pCustomer->currentText().isEmpty() ||
               !m_ui.m_pState->currentText().isEmpty() ||
               m_ui.m_pEmployeeId->text() != m_strOperatorsEmployee;
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        const LineMemory* memory = m_lines.Find(row);
        if (!memory || !memory->origin ||
            CDocumentStore::StoredTexts(m_store.LineTexts(ReadSaleLine(grid, row))) !=
                *memory->origin)
            return true;
    }
    const SaleDocHeader saved = m_store.HeaderFromTexts(m_strOddnum, *m_savedHeader);
    const QString state = m_ui.m_pState->currentText();
    return m_ui.m_pCustomer->currentText() != saved.customer || state != saved.state ||
           m_ui.m_pEmployeeName->text() != saved.employeeName ||
           m_ui.m_pEmployeeId->text() != saved.employeeId ||
           (state == kDebt && m_ui.m_pReceipt->text() != saved.receipt);
}

bool CSaleDocDlg::NeedsSaving() const {
    return m_bOpen && (!m_savedHeader || HasUnsavedChanges());
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
    const QVector<SaleDocLine> lines = ReadLines();
    QStringList amounts;
    for (const SaleDocLine& line : lines)
        amounts.append(line.amount);
    header.receivable = SumAmounts(amounts);
    header.receipt = WithoutNegativeZero(header.receipt);
    const QString refusal = CSaleDocStore::Refusal(header, lines, m_kind);
    if (!refusal.isEmpty()) {
        HarborMessageBox(this, refusal);
        return false;
    }
    header.receipt = ReceiptForSaleState(header.state, header.receivable, header.receipt);
    if (!PricesAllowed(lines) || !WriteDocument(header, lines))
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
    // Told beside the payment state, not in a box of its own: the sale is done and the next
    // customer waits, while the note stays in sight until the next save or document.
    ShowLowStock(m_strLowStock);
    if (!m_strLowStock.isEmpty())
        emit lowStockNoticed(m_strLowStock);
    // Told in the window's status line: the next customer waits, no box to dismiss.
    m_pSaveMark->MarkSaved(QStringLiteral("已成功保存在数据库中"));
    return true;
}

// A sale below the catalogue (a price under the product's, a discount under its lowest own
// one) needs that permission; lines stored so and left as they are do not ask again.
bool CSaleDocDlg::PricesAllowed(const QVector<SaleDocLine>& lines) {
    if (m_kind.table != QLatin1String("saleout") || HasPermission(Permission::BelowPrice))
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

void CSaleDocDlg::ShowLowStock(const QString& text) {
    m_ui.m_pLowStock->setText(text);
    m_ui.m_pLowStock->setToolTip(text);
}

// Every product whose stock a save can move: those on the lines and those a line held when it
// was stored (a right click may have replaced them).
QStringList CSaleDocDlg::StockCodes(const QVector<SaleDocLine>& lines) const {
    QStringList codes;
    for (int i = 0; i < lines.size(); ++i) {
        codes.append(lines[i].code);
        const LineMemory* memory = m_lines.Find(i + 1);
        if (memory && memory->origin)
            codes.append(memory->origin->value(2));
    }
    codes.removeDuplicates();
    return codes;
}

// Writes the lines and the header in one transaction. At the first save another workstation
// may have saved a document under the same number meanwhile: the document then takes the next
// number of its own date.
bool CSaleDocDlg::WriteDocument(SaleDocHeader& header, const QVector<SaleDocLine>& lines) {
    const QVector<ScreenLine> screen = ScreenLines(lines);
    const QStringList codes = StockCodes(lines);
    m_strLowStock.clear();
    QString refusal;
    std::optional<DocumentWrite> write;
    QString oddnum = header.oddnum;
    if (m_savedHeader && !RequirePermission(this, Permission::ChangeDocument))
        return false;
    if (!m_savedHeader && !NothingInDoubt())
        return false;
    const bool done = RunDbAction(this, QStringLiteral("保存单据"), [&] {
        const int mismatch = m_store.Documents().MismatchedLine(screen);
        if (mismatch >= 0) {
            refusal =
                QStringLiteral("第%1行的商品名称与条形码不符,请重新选择商品").arg(mismatch + 1);
            return;
        }
        if (!m_savedHeader) {
            oddnum = m_store.Documents().FirstSaveNumber(oddnum, this);
            if (oddnum.isEmpty())
                return; // the date's numbers are used up: NewOddnum said so
        }
        // The stock before and after, read under the save's locks so that no other
        // workstation's sale falls between them.
        LockProducts(codes);
        const QVector<StockLevel> before = ReadStockLevels(codes);
        write =
            m_store.Documents().Save(oddnum, m_store.HeaderTexts(header), screen, m_savedHeader);
        if (write->result == DocumentWrite::Result::Written)
            m_strLowStock = LowStockNoticeText(NewlyLowStock(before, ReadStockLevels(codes)));
    });
    if (!done || !write) {
        if (!done && !m_savedHeader)
            m_unconfirmed.AfterFailedFirstSave(oddnum);
        if (done && !refusal.isEmpty())
            HarborMessageBox(this, refusal);
        return false;
    }
    if (!ReportDocumentWrite(this, *write, QStringLiteral("本次没有保存"))) {
        if (write->result == DocumentWrite::Result::Conflict)
            ReloadDocument();
        return false;
    }
    header.oddnum = oddnum;
    TakeWritten(write->header, lines);
    return true;
}

// A first save whose commit was never confirmed: when it did land, the window takes the stored
// document instead of storing it a second time.
bool CSaleDocDlg::NothingInDoubt() {
    const UnconfirmedSave::Found found = m_unconfirmed.Look(this, m_store.Documents());
    if (found != UnconfirmedSave::Found::Stored)
        return found == UnconfirmedSave::Found::Nothing;
    m_strOddnum = m_unconfirmed.Number();
    m_ui.m_pOddnum->setText(m_strOddnum);
    m_unconfirmed.Forget();
    ReloadDocument();
    HarborMessageBox(this, UnconfirmedSave::StoredMessage(m_strOddnum));
    return false;
}

// The lines now stand for the rows just written.
void CSaleDocDlg::TakeWritten(const QStringList& header, const QVector<SaleDocLine>& lines) {
    for (int i = 0; i < lines.size(); ++i)
        m_lines.Of(i + 1).origin = CDocumentStore::StoredTexts(m_store.LineTexts(lines[i]));
    m_savedHeader = header;
    ShowWrittenHeader(header);
}

void CSaleDocDlg::ShowWrittenHeader(const QStringList& header) {
    const SaleDocHeader written = m_store.HeaderFromTexts(m_strOddnum, header);
    m_strReceivable = written.receivable;
    m_strReceipt = written.receipt;
    m_ui.m_pReceivable->setText(m_strReceivable);
    m_ui.m_pReceipt->setText(m_strReceipt);
}

void CSaleDocDlg::ReloadDocument() {
    QVector<StoredRow> rows;
    QVector<QStringList> discounts;
    if (!RunDbRead(this, QStringLiteral("读取单据"), [&] {
            rows = m_store.Documents().ReadRows(m_strOddnum);
            for (const StoredRow& row : rows) {
                ProductFacts product;
                const bool found = ReadProduct(m_store.LineFromTexts(row.line).code, &product);
                discounts.append(
                    found ? DiscountOptions(product.discount1, product.discount2, product.discount3)
                          : QStringList{QStringLiteral("1.0")});
            }
        }))
        return;
    if (rows.isEmpty()) {
        CloseDocument();
        return;
    }
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_lines.Clear();
    for (int i = 0; i < rows.size(); ++i) {
        const int row = AppendLine();
        SaleDocLine line = m_store.LineFromTexts(rows[i].line);
        if (!m_kind.storesPcsRemarks)
            line.remark = rows[i].remark;
        PutStoredSaleLine(m_ui.m_pGrid, row, line, discounts[i]);
        LineMemory& memory = m_lines.Of(row);
        memory.origin = rows[i].line;
        memory.untaxedPrice = UntaxedPrice(line);
        memory.sale = rows[i].sale;
        if (memory.sale)
            LockTakenSaleLine(m_ui.m_pGrid, row);
    }
    m_ui.m_pGrid->Refresh();
    const SaleDocHeader header = m_store.HeaderFromTexts(m_strOddnum, rows[0].header);
    m_strCustomer = header.customer;
    m_strReceivable = header.receivable;
    m_strReceipt = header.receipt;
    m_strState = header.state;
    m_strEmployeeName = header.employeeName;
    m_strEmployeeId = header.employeeId;
    m_strSaveTime = header.mydate;
    ShowValues();
    m_savedHeader = rows[0].header;
    m_bSaved = true;
    m_bReceiptTyped = false;
    m_nDeleteRow = 0;
    m_pSaveMark->MarkSaved();
}

// An untouched new document (the window opens on one) has nothing to lose: no question.
bool CSaleDocDlg::QueryClose() {
    if (HasUnsavedChanges() && AskToSave()) {
        Save();
        return false;
    }
    m_bSaved = false;
    m_bOpen = false;
    m_bSinglePage = true;
    return true;
}

int CSaleDocDlg::AppendLine() {
    const int row = AppendSaleLine(m_ui.m_pGrid);
    m_lines.Attach(row);
    return row;
}

void CSaleDocDlg::AddLine() {
    if (!m_bOpen)
        return;
    const int row = AppendLine();
    m_nRow = row;
    m_strSearch = m_ui.m_pSearch->text();
    RunProductPicker(this, m_kind.pickTarget, m_strSearch);
    // No product came (the picker was closed, or the product was refused): no line either.
    if (row < m_ui.m_pGrid->GetRowCount() && m_ui.m_pGrid->GetCellText(row, kLineCode).isEmpty())
        m_ui.m_pGrid->DeleteRow(row);
    m_ui.m_pGrid->Refresh();
    m_strSearch.clear();
    m_ui.m_pSearch->clear();
}

// A product whose own figures are not numbers is refused here, before it reaches a line.
void CSaleDocDlg::PutPickedProduct() {
    if (m_nRow < 1 || m_nRow >= m_ui.m_pGrid->GetRowCount())
        return;
    ProductFacts product;
    if (!ReadProduct(PickArea().m_strPickedCode, &product)) {
        m_bNoProperty = true;
        return;
    }
    const QString problem = ProductFactsProblem(product);
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem, MsgIcon::Stop);
        return;
    }
    if (product.name.isEmpty())
        product.name = PickArea().m_strPickedName;
    m_ui.m_pReceivable->clear();
    m_ui.m_pReceipt->clear();
    m_bReceiptTyped = false;
    m_ui.m_pState->setCurrentIndex(-1);
    m_pSaveMark->MarkChanged();
    PutSaleLineProduct(m_ui.m_pGrid, m_nRow, PickArea().m_strPickedCode, product);
    m_ui.m_pGrid->SetCellText(m_nRow, kLineCount, QString());
    SetSaleLineAmount(m_ui.m_pGrid, m_nRow, QString());
    m_lines.Of(m_nRow).untaxedPrice = product.price;
}

void CSaleDocDlg::PutPickedParty(const QString& name) {
    m_ui.m_pCustomer->setEditText(name);
}

void CSaleDocDlg::OnSelectCustomer() {
    PickArea().m_nPickTarget = m_kind.pickTarget;
    CCustomerDlg dialog;
    dialog.RunSelectMode(this);
}

void CSaleDocDlg::SearchCustomer() {
    m_strCustomer = FoldSearchText(m_ui.m_pCustomer->currentText());
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

// 结清 and 未结 say the receipt; 欠款 keeps what the clerk typed and asks for it when nothing
// was typed. The receipt stays open to typing under every state (typing moves the state).
void CSaleDocDlg::OnStateSelected() {
    m_strState = m_ui.m_pState->currentText();
    m_strReceivable = m_ui.m_pReceivable->text();
    m_strReceipt = ReceiptForChosenState(m_strState, m_strReceivable,
                                         m_bReceiptTyped ? m_ui.m_pReceipt->text() : QString());
    m_bReceiptTyped = m_bReceiptTyped && m_strState == kDebt;
    m_ui.m_pReceipt->setText(m_strReceipt);
    if (m_strState == kDebt) {
        m_ui.m_pReceipt->setFocus();
        m_ui.m_pReceipt->selectAll();
    }
}

void CSaleDocDlg::OnGridClick(int row, int col) {
    if (row < 1 || col < 1)
        return;
    m_nRow = row;
    m_nCol = col;
    m_nDeleteRow = row;
}

void CSaleDocDlg::OnGridRightClick(int row, int col) {
    if (row < 1 || col < 1 || !m_bOpen || RefuseSaleLineEdit(row, kLineCode))
        return;
    m_nRow = row;
    m_nCol = col;
    RunProductPicker(this, m_kind.pickTarget, QString());
}

void CSaleDocDlg::OnGridEndEdit(int row, int col, CGridResult* result) {
    if (row < 1 || col < 1)
        return;
    bool taken = true;
    if (RefuseSaleLineEdit(row, col))
        taken = false;
    else if (col == kLineCode)
        taken = TakeTypedCode(row);
    else if (RefuseNumber(row, col))
        taken = false;
    else if (m_kind.recomputeColumns.contains(col))
        taken = RecomputeLine(row, col);
    if (!taken) {
        m_bEditRefused = true;
        result->Cancel();
    }
}

// A price or quantity that is not a plain number within its limits would corrupt amounts
// and stock. "-0" is kept as 0.
bool CSaleDocDlg::RefuseNumber(int row, int col) {
    if (col != kLinePrice && col != kLineCount)
        return false;
    const QString text = m_ui.m_pGrid->GetCellText(row, col);
    const QString field = m_ui.m_pGrid->GetCellText(0, col);
    const QString problem =
        col == kLinePrice ? PriceProblem(field, text)
                          : QuantityProblem(field, text, m_kind.table == QLatin1String("saleout"));
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem);
        return true;
    }
    if (WithoutNegativeZero(text) != text)
        m_ui.m_pGrid->SetCellText(row, col, WithoutNegativeZero(text));
    return false;
}

// A code typed into a line loads that product into it, or is refused.
bool CSaleDocDlg::TakeTypedCode(int row) {
    const SaleDocLine line = ReadSaleLine(m_ui.m_pGrid, row);
    ProductFacts product;
    bool found = false;
    if (!RunDbRead(this, QStringLiteral("查找商品"),
                   [&] { found = ReadProduct(line.code, &product); }))
        return false;
    if (!found) {
        HarborMessageBox(
            this, QStringLiteral("条形码\"%1\"没有对应的商品,请重新输入或选择商品").arg(line.code));
        return false;
    }
    if (!product.name.isEmpty() && product.name == line.name)
        return true; // the line's own product
    const QString problem = ProductFactsProblem(product);
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem, MsgIcon::Stop);
        return false;
    }
    const QString amount = m_kind.derivesPrice ? ImportLineAmount(line.count, product.price)
                                               : ReturnLineAmount(line.count, product.price,
                                                                  QStringLiteral("1.0"), QString());
    if (const QString tooLarge = AmountProblem(QStringLiteral("金额"), amount);
        !tooLarge.isEmpty()) {
        HarborMessageBox(this, tooLarge);
        return false;
    }
    PutSaleLineProduct(m_ui.m_pGrid, row, line.code, product);
    SetSaleLineAmount(m_ui.m_pGrid, row, amount);
    m_lines.Of(row).untaxedPrice = product.price;
    UpdateReceivable();
    return true;
}

// False when the new amount of the line would be beyond the largest amount of a document: the
// edit is then refused and the line stays as it was.
bool CSaleDocDlg::RecomputeLine(int row, int col) {
    const SaleDocLine line = ReadSaleLine(m_ui.m_pGrid, row);
    LineMemory& memory = m_lines.Of(row);
    SaleOutLine after{line.price,  line.count,  line.discount,
                      line.remark, line.amount, memory.untaxedPrice};
    if (m_kind.derivesPrice) {
        ProductFacts product;
        bool found = false;
        if (!RunDbRead(this, QStringLiteral("计算金额"),
                       [&] { found = ReadProduct(line.code, &product); }))
            return false;
        after = RecomputeSaleOutLine(col, found ? product.price : QString(), after);
    } else if (memory.sale) {
        // The sale's price already holds its discount and tax: the customer gets back what
        // was paid.
        after.amount = ImportLineAmount(line.count, line.price);
    } else {
        after.amount = ReturnLineAmount(line.count, line.price, line.discount, line.remark);
    }
    const QString problem = AmountProblem(QStringLiteral("金额"), after.amount);
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem);
        return false;
    }
    if (m_kind.derivesPrice) {
        m_ui.m_pGrid->SetCellText(row, kLinePrice, after.price);
        m_ui.m_pGrid->SetCellText(row, kLineDiscount, after.discount);
        m_ui.m_pGrid->SetCellText(row, kLineRemark, after.remark);
        memory.untaxedPrice = after.untaxedPrice;
    }
    SetSaleLineAmount(m_ui.m_pGrid, row, after.amount);
    UpdateReceivable();
    return true;
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
    int row = m_nDeleteRow;
    m_nDeleteRow = 0;
    if (row < 1 || row >= m_ui.m_pGrid->GetRowCount()) {
        HarborMessageBox(this, QStringLiteral("请先选择要删除的记录"));
        return;
    }
    // An open cell editor ends first, so what is compared below is final.
    m_ui.m_pGrid->EndEditing();
    const LineMemory* memory = m_lines.Find(row);
    const bool stored = memory && memory->origin;
    if (stored) {
        if (HasUnsavedChanges() && !SaveBeforeLineDelete(&row))
            return;
        const QStringList origin = *m_lines.Of(row).origin;
        DocumentWrite write;
        if (!RequirePermission(this, Permission::ChangeDocument) ||
            !RunDbAction(this, QStringLiteral("删除商品"), [&] {
                write = m_store.Documents().DeleteLine(m_strOddnum, origin, m_savedHeader);
            }))
            return;
        if (!ReportDocumentWrite(this, write, QStringLiteral("没有删除商品"))) {
            if (write.result == DocumentWrite::Result::Conflict)
                ReloadDocument();
            return;
        }
        m_pSaveMark->MarkChanged();
        if (write.header.isEmpty()) { // the last stored line: nothing is stored any more
            m_savedHeader.reset();
            m_bSaved = false;
        } else {
            m_savedHeader = write.header;
        }
    }
    m_ui.m_pGrid->DeleteRow(row);
    m_pSaveMark->MarkChanged();
    RenumberSaleLines(m_ui.m_pGrid);
    m_ui.m_pGrid->Refresh();
    if (m_savedHeader && stored)
        ShowWrittenHeader(*m_savedHeader);
    else
        UpdateReceivable();
}

// Unsaved changes stand beside the stored line to delete: they are saved first or let go.
// row follows the line; false when nothing is to be deleted.
bool CSaleDocDlg::SaveBeforeLineDelete(int* row) {
    const QStringList origin = *m_lines.Of(*row).origin;
    const int answer = HarborMessageBox(
        this,
        QStringLiteral("本单有尚未保存的修改,删除商品会立即写入数据库.\n"
                       "是: 先保存本单,再删除该商品\n否: 放弃尚未保存的修改,再删除该商品\n"
                       "取消: 不删除"),
        MsgIcon::Exclamation, MsgButtons::YesNoCancel, m_kind.closeCaption);
    if (answer == IDYES)
        return Save();
    if (answer != IDNO)
        return false;
    ReloadDocument();
    *row = m_lines.RowWithOrigin(origin);
    return *row > 0;
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
    const QString before = m_strBarcode;
    m_strBarcode = text;
    // A read that failed showed nothing of the text: the box takes it (or another) again.
    if (!RunDbRead(this, QStringLiteral("导入条码"), [&] { ImportEntries(text); })) {
        m_strBarcode = before;
        m_ui.m_pBarcode->setReadOnly(false);
    }
}

void CSaleDocDlg::ImportEntries(const QString& text) {
    const ScannerText scanned = ParseScannerText(text);
    bool known = false;
    const QString name = CSaleDocStore::EmployeeName(scanned.employeeId, &known);
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
    const bool saleOut = m_kind.table == QLatin1String("saleout");
    for (int i = 0; i < scanned.entries.size(); ++i) {
        const QString field = QStringLiteral("第%1行的数量").arg(scanned.entries[i].line);
        const QString quantity = scanned.entries[i].quantity;
        const QString problem = quantity.isEmpty() ? field + QStringLiteral("是空的,请改正")
                                                   : QuantityProblem(field, quantity, saleOut);
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
        PutSaleLineProduct(m_ui.m_pGrid, row, line.entry->code, line.product);
        m_ui.m_pGrid->SetCellText(row, kLineCount, line.entry->quantity);
        SetSaleLineAmount(m_ui.m_pGrid, row, line.amount);
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
    PlaceExtraButtons();
}
