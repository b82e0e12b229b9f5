#include "documents/CDocumentDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "accounts/PermissionCheck.h"
#include "catalogue/MinimumStock.h"
#include "catalogue/ProductSearch.h"
#include "db/RowLocks.h"
#include "documents/DocumentGrid.h"
#include "documents/DocumentSaveMark.h"
#include "documents/DocumentWriteReport.h"
#include "documents/ListPrintDocuments.h"
#include "documents/ListPrintJob.h"
#include "documents/Oddnum.h"
#include "documents/PaymentState.h"
#include "documents/ProductFacts.h"
#include "documents/SaleLineMath.h"
#include "grid/CGridCtrl.h"
#include "parties/CCustomerDlg.h"
#include "parties/CSupplierDlg.h"
#include "text/HarborClock.h"
#include "text/NumericText.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"
#include "ui/PickArea.h"

namespace {

const QString kDebt = QStringLiteral("欠款");

// The price before tax of a stored line: its price without its tax option.
QString UntaxedPrice(const DocumentLine& line) {
    if (line.remark.isEmpty() || line.price.isEmpty())
        return line.price;
    return RoundText(TextToFloat(line.price) / TaxFactor(line.remark), 4);
}

} // namespace

CDocumentDlg::CDocumentDlg(const DocumentForm& form, QWidget* parent)
    : CWorkDialog(form.title, parent), m_form(form), m_store(form) {
    PickArea().m_nPickTarget = m_form.pickTarget;
    m_ui.Create(this, m_form);
    m_lines.SetGrid(m_ui.m_pGrid);
    ConnectControls();
    InstallKeys();
    m_ui.Arrange(this, m_form, StatusLine());
    EnableDocument(false);
    if (m_form.counter) {
        TickClock();
        m_clock.start(1000);
        m_importTimer.setSingleShot(true);
        m_importTimer.setInterval(500);
    }
    resize(m_form.width, m_form.height);
    m_ui.m_pNewDoc->setFocus();
}

CDocumentDlg::~CDocumentDlg() = default;

void CDocumentDlg::ConnectControls() {
    connect(m_ui.m_pNewDoc, &QPushButton::clicked, this, &CDocumentDlg::NewDocument);
    connect(m_ui.m_pSave, &QPushButton::clicked, this, &CDocumentDlg::Save);
    connect(m_ui.m_pAddLine, &QPushButton::clicked, this, &CDocumentDlg::AddLine);
    connect(m_ui.m_pDeleteLine, &QPushButton::clicked, this, &CDocumentDlg::DeleteLine);
    connect(m_ui.m_pSelectParty, &QPushButton::clicked, this, &CDocumentDlg::OnSelectParty);
    connect(m_ui.m_pSinglePage, &QCheckBox::toggled, this, &CDocumentDlg::OnSinglePage);
    connect(m_ui.m_pPrint, &QPushButton::clicked, this, [this] { PrintDocument(1); });
    connect(m_ui.m_pPrintSetup, &QPushButton::clicked, this, [this] {
        SetPagedPrinting(true);
        PrintDocument(2);
    });
    connect(m_ui.m_pPreview, &QPushButton::clicked, this, [this] { PrintDocument(3); });
    connect(m_ui.m_pGrid, &CGridCtrl::click, this, &CDocumentDlg::OnGridClick);
    connect(m_ui.m_pGrid, &CGridCtrl::rightClick, this, &CDocumentDlg::OnGridRightClick);
    connect(m_ui.m_pGrid, &CGridCtrl::endEdit, this, &CDocumentDlg::OnGridEndEdit);
    m_ui.m_pParty->installEventFilter(this);
    m_ui.m_pSearch->installEventFilter(this);
    m_ui.m_pGrid->viewport()->installEventFilter(this);
    if (!m_form.counter)
        return;
    connect(&m_clock, &QTimer::timeout, this, &CDocumentDlg::TickClock);
    connect(&m_importTimer, &QTimer::timeout, this, &CDocumentDlg::ImportBarcode);
    connect(m_ui.m_pState, &QComboBox::activated, this, &CDocumentDlg::OnStateSelected);
    connect(m_ui.m_pBarcode, &QPlainTextEdit::textChanged, this, &CDocumentDlg::OnBarcodeChanged);
    connect(m_ui.m_pPrintReceipt, &QPushButton::clicked, this, &CDocumentDlg::PrintDocumentReceipt);
}

void CDocumentDlg::EnableDocument(bool enable) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_ui.m_pOddnum, m_ui.m_pParty, m_ui.m_pSelectParty, m_ui.m_pAddLine,
             m_ui.m_pDeleteLine, m_ui.m_pBarcode, m_ui.m_pState, m_ui.m_pReceipt,
             m_ui.m_pReceivable, m_ui.m_pSearch, m_ui.m_pPrint, m_ui.m_pPreview, m_ui.m_pSinglePage,
             m_ui.m_pPrintReceipt}) {
        if (control)
            control->setEnabled(enable);
    }
    m_ui.m_pPrintSetup->setEnabled(enable && !m_ui.m_pSinglePage->isChecked());
}

void CDocumentDlg::OnSinglePage(bool on) {
    m_bSinglePage = on;
    m_ui.m_pPrintSetup->setEnabled(!on);
    if (on)
        SetPagedPrinting(false);
}

bool CDocumentDlg::AskToSave() {
    return HarborMessageBox(this, m_form.closeQuestion, MsgIcon::Exclamation, MsgButtons::YesNo,
                            m_form.closeCaption) == IDYES;
}

// What is printed is the document as it is stored, so the screen must be saved first.
void CDocumentDlg::PrintDocument(int mode) {
    if (!m_bOpen)
        return;
    if (NeedsSaving() && (!AskToSave() || !Save()))
        return;
    if (HandOverDocument())
        RunListPrint(mode);
}

// Fills the home view's list with the stored document; a sales list also tells the
// customer's balance.
bool CDocumentDlg::HandOverDocument() {
    QVector<StoredRow> rows;
    QString balance;
    if (!RunDbRead(this, QStringLiteral("打印清单"), [&] {
            rows = m_store.Documents().ReadRows(m_strOddnum);
            if (!rows.isEmpty() && m_form.counter)
                balance =
                    CustomerBalanceText(m_store.HeaderFromTexts(m_strOddnum, rows[0].header).party);
        }))
        return false;
    const DocumentHeader stored =
        m_store.HeaderFromTexts(m_strOddnum, rows.isEmpty() ? QStringList() : rows[0].header);
    if (!m_form.counter) {
        if (rows.isEmpty())
            return false;
        QVector<QStringList> lines;
        for (const StoredRow& row : rows)
            lines.append(row.line);
        FillEntryList(HandOverList(m_form.listKind),
                      {m_strOddnum, stored.party, stored.mydate, stored.due, stored.state}, lines);
        return true;
    }
    if (stored.party.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("销售清单内容为空,还不能打印!"), MsgIcon::Exclamation,
                         MsgButtons::Ok, QStringLiteral("打印清单"));
        return false;
    }
    QVector<QStringList> lines;
    for (const StoredRow& row : rows) {
        const DocumentLine line = m_store.LineFromTexts(row.line);
        lines.append({line.name, line.shortName, line.code, line.spec, line.price, line.count,
                      line.discount, line.amount, line.pcs, line.remark});
    }
    const SaleListHeader header{m_form.IsSaleOut(), m_strOddnum,    stored.party, stored.mydate,
                                stored.due,         stored.receipt, stored.state};
    ListPrintData& list = HandOverList(m_form.listKind);
    FillSaleList(list, header, lines);
    list.SetSum(4, balance);
    return true;
}

void CDocumentDlg::ShowValues() {
    m_ui.m_pOddnum->setText(m_strOddnum);
    m_ui.m_pParty->setEditText(m_strCustomer);
    m_ui.m_pReceivable->setText(m_strReceivable);
    m_ui.m_pState->setCurrentIndex(m_ui.m_pState->findText(m_strState));
    if (m_ui.m_pState->isEditable())
        m_ui.m_pState->setEditText(m_strState);
    if (!m_form.counter)
        return;
    m_ui.m_pReceipt->setText(m_strReceipt);
    m_ui.m_pEmployeeName->setText(m_strEmployeeName);
    m_ui.m_pEmployeeId->setText(m_strEmployeeId);
}

void CDocumentDlg::ReadBoxes() {
    m_strOddnum = m_ui.m_pOddnum->text();
    m_strCustomer = m_ui.m_pParty->currentText();
    m_strReceivable = m_ui.m_pReceivable->text();
    m_strState = m_ui.m_pState->currentText();
    m_strSearch = m_ui.m_pSearch->text();
    if (m_ui.m_pDate)
        m_date = m_ui.m_pDate->date();
    if (!m_form.counter)
        return;
    m_strReceipt = m_ui.m_pReceipt->text();
    m_strEmployeeName = m_ui.m_pEmployeeName->text();
    m_strEmployeeId = m_ui.m_pEmployeeId->text();
    m_strBarcode = m_ui.m_pBarcode->toPlainText();
}

void CDocumentDlg::ClearHeader() {
    for (QString* value : {&m_strCustomer, &m_strReceivable, &m_strReceipt, &m_strState,
                           &m_strEmployeeName, &m_strEmployeeId})
        value->clear();
}

// The window opens on a new document, the product box ready for the scanner.
void CDocumentDlg::FirstShown() {
    if (!m_bOpen)
        NewDocument();
}

bool CDocumentDlg::NewDocument() {
    if (m_bOpen && HasUnsavedChanges() && AskToSave() && !Save())
        return false;
    // A stock-in's number is of its delivery date.
    const QDate day = m_ui.m_pDate ? m_ui.m_pDate->date() : HarborToday();
    QString number;
    RunDbRead(this, QStringLiteral("新增一单"),
              [&] { number = NewOddnum(m_form.table, day, this); });
    if (number.isEmpty())
        return false;
    EnableDocument(true);
    m_bOpen = true;
    m_unconfirmed.Forget();
    m_strOddnum = number;
    m_ui.m_pOddnum->setReadOnly(true);
    ClearHeader();
    if (m_form.counter) {
        TakeOperatorsEmployee();
        ClearBarcode();
    }
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_ui.m_pGrid->Refresh();
    m_lines.Clear();
    m_savedHeader.reset();
    m_nDeleteRow = 0;
    ShowLowStock(QString());
    ShowValues();
    m_bSaved = false;
    m_bReceiptTyped = false;
    m_pSaveMark->Clear();
    m_ui.m_pSearch->setFocus(); // ready for the scanner: a code and Enter add a line
    return true;
}

// No longer a document on screen: its rows are gone from the database.
void CDocumentDlg::CloseDocument() {
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_ui.m_pGrid->Refresh();
    m_lines.Clear();
    m_savedHeader.reset();
    m_strOddnum.clear();
    ClearHeader();
    ShowValues();
    m_bOpen = false;
    m_bSaved = false;
    EnableDocument(false);
    ShowLowStock(QString());
    m_pSaveMark->Clear();
}

DocumentHeader CDocumentDlg::Header() const {
    return DocumentHeader{m_strOddnum,  m_strCustomer, m_strSaveTime,     m_strReceivable,
                          m_strReceipt, m_strState,    m_strEmployeeName, m_strEmployeeId};
}

QVector<ScreenLine> CDocumentDlg::ScreenLines(const QVector<DocumentLine>& lines) {
    QVector<ScreenLine> screen;
    // A sales return keeps its lines' tax options beside its table, which has no place for them.
    for (int i = 0; i < lines.size(); ++i)
        screen.append({m_store.LineTexts(lines[i]), m_lines.Of(i + 1).origin,
                       m_form.storesPcsRemarks ? QString() : lines[i].remark,
                       m_lines.Of(i + 1).sale});
    return screen;
}

bool CDocumentDlg::HasUnsavedChanges() const {
    if (!m_bOpen)
        return false;
    const CGridCtrl* grid = m_ui.m_pGrid;
    if (!m_savedHeader) // nothing stored: only an untouched document has nothing to lose
        return grid->GetRowCount() > 1 || !m_ui.m_pParty->currentText().isEmpty() ||
               !m_ui.m_pState->currentText().isEmpty() ||
               (m_form.counter && m_ui.m_pEmployeeId->text() != m_strOperatorsEmployee);
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        const LineMemory* memory = m_lines.Find(row);
        if (!memory || !memory->origin ||
            CDocumentStore::StoredTexts(m_store.LineTexts(ReadLine(grid, m_form, row))) !=
                *memory->origin)
            return true;
    }
    return HeaderChanged();
}

// Whether the header boxes differ from the stored header; the amounts follow the lines.
bool CDocumentDlg::HeaderChanged() const {
    const DocumentHeader saved = m_store.HeaderFromTexts(m_strOddnum, *m_savedHeader);
    const QString state = m_ui.m_pState->currentText();
    if (m_ui.m_pParty->currentText() != saved.party || state != saved.state)
        return true;
    if (m_ui.m_pDate)
        return m_ui.m_pDate->text() != saved.mydate;
    return m_ui.m_pEmployeeName->text() != saved.employeeName ||
           m_ui.m_pEmployeeId->text() != saved.employeeId ||
           (state == kDebt && m_ui.m_pReceipt->text() != saved.receipt);
}

bool CDocumentDlg::NeedsSaving() const {
    return m_bOpen && (!m_savedHeader || HasUnsavedChanges());
}

bool CDocumentDlg::Save() {
    if (!m_bOpen)
        return false;
    // Text still in a cell editor belongs to the document; a refused text stops the save.
    m_bEditRefused = false;
    m_ui.m_pGrid->EndEditing();
    if (m_bEditRefused)
        return false;
    ReadBoxes();
    // A stock-in is stored under its delivery date, a sale under the moment it was saved.
    m_strSaveTime = m_ui.m_pDate ? m_ui.m_pDate->text() : m_strNow;
    DocumentHeader header = Header();
    const QVector<DocumentLine> lines = ReadLines(m_ui.m_pGrid, m_form);
    header.due = SumAmounts(LineAmounts(m_ui.m_pGrid, m_form));
    header.receipt = WithoutNegativeZero(header.receipt);
    const QString refusal = m_store.Refusal(header, lines);
    if (!refusal.isEmpty()) {
        HarborMessageBox(this, refusal);
        return false;
    }
    if (m_form.counter)
        header.receipt = ReceiptForSaleState(header.state, header.due, header.receipt);
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

// Writes the lines and the header in one transaction. At the first save another workstation
// may have saved a document under the same number meanwhile: the document then takes the next
// number of its own date.
bool CDocumentDlg::WriteDocument(DocumentHeader& header, const QVector<DocumentLine>& lines) {
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
    const QDate day = m_ui.m_pDate ? m_ui.m_pDate->date() : QDate();
    const bool done = RunDbAction(this, m_form.saveAction, [&] {
        // A product deleted or renumbered in the catalogue meanwhile moves no stock.
        const int mismatch = m_store.Documents().MismatchedLine(screen);
        if (mismatch >= 0) {
            refusal =
                QStringLiteral("第%1行的商品名称与条形码不符,请重新选择商品").arg(mismatch + 1);
            return;
        }
        if (!m_savedHeader) {
            oddnum = m_store.Documents().FirstSaveNumber(oddnum, this, day);
            if (oddnum.isEmpty())
                return; // the date's numbers are used up: NewOddnum said so
        }
        // The stock before and after, read under the save's locks so that no other
        // workstation's sale falls between them.
        QVector<StockLevel> before;
        if (!codes.isEmpty()) {
            LockProducts(codes);
            before = ReadStockLevels(codes);
        }
        write =
            m_store.Documents().Save(oddnum, m_store.HeaderTexts(header), screen, m_savedHeader);
        if (write->result == DocumentWrite::Result::Written && !codes.isEmpty())
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
bool CDocumentDlg::NothingInDoubt() {
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
void CDocumentDlg::TakeWritten(const QStringList& header, const QVector<DocumentLine>& lines) {
    for (int i = 0; i < lines.size(); ++i)
        m_lines.Of(i + 1).origin = CDocumentStore::StoredTexts(m_store.LineTexts(lines[i]));
    m_savedHeader = header;
    ShowWrittenHeader(header);
}

void CDocumentDlg::ShowWrittenHeader(const QStringList& header) {
    const DocumentHeader written = m_store.HeaderFromTexts(m_strOddnum, header);
    m_strReceivable = written.due;
    m_ui.m_pReceivable->setText(m_strReceivable);
    if (!m_form.counter)
        return;
    m_strReceipt = written.receipt;
    m_ui.m_pReceipt->setText(m_strReceipt);
}

void CDocumentDlg::ReloadDocument() {
    QVector<StoredRow> rows;
    QVector<QStringList> discounts;
    if (!RunDbRead(this, QStringLiteral("读取单据"), [&] {
            rows = m_store.Documents().ReadRows(m_strOddnum);
            for (const StoredRow& row : rows) {
                ProductFacts product;
                const bool found = m_form.columns.discount >= 0 &&
                                   ReadProduct(m_store.LineFromTexts(row.line).code, &product);
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
        DocumentLine line = m_store.LineFromTexts(rows[i].line);
        if (!m_form.storesPcsRemarks)
            line.remark = rows[i].remark;
        PutStoredLine(m_ui.m_pGrid, m_form, row, line, discounts[i]);
        LineMemory& memory = m_lines.Of(row);
        memory.origin = rows[i].line;
        memory.untaxedPrice = UntaxedPrice(line);
        memory.sale = rows[i].sale;
        if (memory.sale)
            LockTakenSaleLine(m_ui.m_pGrid, m_form, row);
    }
    m_ui.m_pGrid->Refresh();
    const DocumentHeader header = m_store.HeaderFromTexts(m_strOddnum, rows[0].header);
    m_strCustomer = header.party;
    m_strReceivable = header.due;
    m_strReceipt = header.receipt;
    m_strState = header.state;
    m_strEmployeeName = header.employeeName;
    m_strEmployeeId = header.employeeId;
    m_strSaveTime = header.mydate;
    if (m_ui.m_pDate) {
        const QDate date = QDate::fromString(header.mydate, m_ui.m_pDate->displayFormat());
        if (date.isValid())
            m_ui.m_pDate->setDate(date);
    }
    ShowValues();
    m_savedHeader = rows[0].header;
    m_bSaved = true;
    m_bReceiptTyped = false;
    m_nDeleteRow = 0;
    m_pSaveMark->MarkSaved();
}

// An untouched new document (the window opens on one) has nothing to lose: no question.
bool CDocumentDlg::QueryClose() {
    if (HasUnsavedChanges() && AskToSave()) {
        Save();
        return false;
    }
    m_strOddnum.clear();
    m_ui.m_pOddnum->clear();
    m_bSaved = false;
    m_bOpen = false;
    m_bSinglePage = true;
    return true;
}

void CDocumentDlg::PutPickedParty(const QString& name) {
    m_strCustomer = name;
    m_ui.m_pParty->setEditText(name);
}

void CDocumentDlg::OnSelectParty() {
    PickArea().m_nPickTarget = m_form.pickTarget;
    if (m_form.partyTable == QLatin1String("supplier")) {
        CSupplierDlg dialog;
        dialog.RunSelectMode(this);
    } else {
        CCustomerDlg dialog;
        dialog.RunSelectMode(this);
    }
}

void CDocumentDlg::SearchParty() {
    m_strCustomer = FoldSearchText(m_ui.m_pParty->currentText());
    m_ui.m_pParty->clear();
    QStringList names;
    RunDbRead(this, m_form.partyLookup,
              [&] { names = CFormStore::PartiesByInitials(m_form.partyTable, m_strCustomer); });
    m_ui.m_pParty->addItems(names);
    if (names.isEmpty()) {
        m_ui.m_pParty->setEditText(m_strCustomer);
    } else {
        m_ui.m_pParty->setCurrentIndex(0);
        m_strCustomer = names.first();
    }
}

bool CDocumentDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == m_ui.m_pGrid->viewport())
        FitLineColumns(m_ui.m_pGrid, m_form);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_ui.m_pParty)
                SearchParty();
            else if (watched == m_ui.m_pSearch)
                AddLine();
            else
                return CWorkDialog::eventFilter(watched, event);
            return true;
        }
    }
    return CWorkDialog::eventFilter(watched, event);
}
