#include "documents/CEntryDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "accounts/PermissionCheck.h"
#include "catalogue/PickHandOver.h"
#include "catalogue/ProductSearch.h"
#include "documents/CEntryStore.h"
#include "documents/DocumentSaveMark.h"
#include "documents/DocumentWriteReport.h"
#include "documents/EntryGrid.h"
#include "documents/LineChecks.h"
#include "documents/ListPrintDocuments.h"
#include "documents/ListPrintJob.h"
#include "documents/Oddnum.h"
#include "documents/ProductFacts.h"
#include "documents/SaleLineMath.h"
#include "grid/CGridCtrl.h"
#include "parties/CSupplierDlg.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"
#include "ui/PickArea.h"

namespace {

constexpr int kPickTarget = 1;
const char* const kTable = "entry";
// Where the header columns of an entry row stand (DocumentTable::Entry()).
enum { kHeadSupplier, kHeadDate, kHeadMoney, kHeadState };

} // namespace

CEntryDlg::CEntryDlg(QWidget* parent) : CWorkDialog(QStringLiteral("采购入库"), parent) {
    PickArea().m_nPickTarget = kPickTarget;
    m_ui.Create(this);
    m_lines.SetGrid(m_ui.m_pGrid);
    ConnectControls();
    InstallKeys();
    EnableDocument(false);
    resize(1280, 700);
    m_ui.m_pNewDoc->setFocus();
}

CEntryDlg::~CEntryDlg() = default;

void CEntryDlg::ConnectControls() {
    connect(m_ui.m_pNewDoc, &QPushButton::clicked, this, &CEntryDlg::NewDocument);
    connect(m_ui.m_pSave, &QPushButton::clicked, this, &CEntryDlg::Save);
    connect(m_ui.m_pAddLine, &QPushButton::clicked, this, &CEntryDlg::AddLine);
    connect(m_ui.m_pDeleteLine, &QPushButton::clicked, this, &CEntryDlg::DeleteLine);
    connect(m_ui.m_pSelectSupplier, &QPushButton::clicked, this, &CEntryDlg::OnSelectSupplier);
    connect(m_ui.m_pSinglePage, &QCheckBox::toggled, this, &CEntryDlg::OnSinglePage);
    connect(m_ui.m_pPrint, &QPushButton::clicked, this, [this] { PrintDocument(1); });
    connect(m_ui.m_pPrintSetup, &QPushButton::clicked, this, [this] {
        SetPagedPrinting(true);
        PrintDocument(2);
    });
    connect(m_ui.m_pPreview, &QPushButton::clicked, this, [this] { PrintDocument(3); });
    connect(m_ui.m_pGrid, &CGridCtrl::click, this, &CEntryDlg::OnGridClick);
    connect(m_ui.m_pGrid, &CGridCtrl::rightClick, this, &CEntryDlg::OnGridRightClick);
    connect(m_ui.m_pGrid, &CGridCtrl::endEdit, this, &CEntryDlg::OnGridEndEdit);
    m_ui.m_pSupplier->installEventFilter(this);
    m_ui.m_pSearch->installEventFilter(this);
}

void CEntryDlg::EnableDocument(bool enable) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_ui.m_pOddnum, m_ui.m_pMoney, m_ui.m_pAddLine, m_ui.m_pDeleteLine, m_ui.m_pSearch,
             m_ui.m_pSupplier, m_ui.m_pState, m_ui.m_pSelectSupplier, m_ui.m_pPrint,
             m_ui.m_pPreview, m_ui.m_pSinglePage})
        control->setEnabled(enable);
    m_ui.m_pPrintSetup->setEnabled(enable && !m_ui.m_pSinglePage->isChecked());
}

void CEntryDlg::OnSinglePage(bool on) {
    m_bSinglePage = on;
    m_ui.m_pPrintSetup->setEnabled(!on);
    if (on)
        SetPagedPrinting(false);
}

bool CEntryDlg::AskToSave() {
    return HarborMessageBox(this, QStringLiteral("销售单尚未保存,是否先保存?"),
                            MsgIcon::Exclamation, MsgButtons::YesNo,
                            QStringLiteral("销售单保存")) == IDYES;
}

// What is printed is the document as it is stored, so the screen must be saved first.
void CEntryDlg::PrintDocument(int mode) {
    if (m_strOddnum.isEmpty())
        return;
    if (NeedsSaving() && (!AskToSave() || !Save()))
        return;
    if (HandOverDocument())
        RunListPrint(mode);
}

bool CEntryDlg::HandOverDocument() {
    QVector<StoredRow> rows;
    if (!RunDbRead(this, QStringLiteral("打印清单"),
                   [&] { rows = m_store.ReadRows(m_strOddnum); }) ||
        rows.isEmpty())
        return false;
    const QStringList& head = rows[0].header;
    const EntryListHeader header{m_strOddnum, head.value(kHeadSupplier), head.value(kHeadDate),
                                 head.value(kHeadMoney), head.value(kHeadState)};
    QVector<QStringList> lines;
    for (const StoredRow& row : rows)
        lines.append(row.line);
    FillEntryList(HandOverList(2), header, lines);
    return true;
}

void CEntryDlg::ReadBoxes() {
    m_strOddnum = m_ui.m_pOddnum->text();
    m_strSupplier = m_ui.m_pSupplier->currentText();
    m_date = m_ui.m_pDate->date();
    m_strDate = m_ui.m_pDate->text();
    m_strMoney = m_ui.m_pMoney->text();
    m_strState = m_ui.m_pState->currentText();
    m_strSearch = m_ui.m_pSearch->text();
    PickArea().m_strPickQuery = m_strSearch;
}

QStringList CEntryDlg::Header() const {
    return {m_strSupplier, m_strDate, m_strMoney, m_strState};
}

bool CEntryDlg::IsLine(int row) const {
    return row >= 1 && row < m_ui.m_pGrid->GetRowCount();
}

// The window opens on a new document, the product box ready for the scanner.
void CEntryDlg::FirstShown() {
    if (m_strOddnum.isEmpty())
        NewDocument();
}

bool CEntryDlg::NewDocument() {
    if (!m_strOddnum.isEmpty() && HasUnsavedChanges() && AskToSave() && !Save())
        return false;
    QString number;
    RunDbRead(this, QStringLiteral("新增一单"),
              [&] { number = NewOddnum(QString::fromLatin1(kTable), m_ui.m_pDate->date(), this); });
    if (number.isEmpty())
        return false;
    EnableDocument(true);
    m_unconfirmed.Forget();
    m_strOddnum = number;
    m_ui.m_pOddnum->setText(m_strOddnum);
    m_ui.m_pOddnum->setReadOnly(true);
    m_ui.m_pMoney->setReadOnly(true);
    m_strSupplier.clear();
    m_strMoney.clear();
    m_strState.clear();
    m_ui.m_pSupplier->setEditText(m_strSupplier);
    m_ui.m_pMoney->setText(m_strMoney);
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_ui.m_pGrid->Refresh();
    m_lines.Clear();
    m_savedHeader.reset();
    m_nDeleteRow = 0;
    m_bSaved = false;
    if (m_ui.m_pState->count() == 0)
        m_ui.m_pState->addItems({QStringLiteral("未付"), QStringLiteral("已付")});
    m_ui.m_pState->setCurrentIndex(-1);
    m_ui.m_pState->setEditText(m_strState);
    m_pSaveMark->Clear();
    m_ui.m_pSearch->setFocus();
    return true;
}

// No longer a document on screen: its rows are gone from the database.
void CEntryDlg::CloseDocument() {
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_ui.m_pGrid->Refresh();
    m_lines.Clear();
    m_savedHeader.reset();
    m_strOddnum.clear();
    m_strMoney.clear();
    m_ui.m_pOddnum->clear();
    m_ui.m_pMoney->clear();
    m_bSaved = false;
    EnableDocument(false);
    m_pSaveMark->Clear();
}

bool CEntryDlg::HasUnsavedChanges() const {
    if (m_strOddnum.isEmpty())
        return false;
    const CGridCtrl* grid = m_ui.m_pGrid;
    if (!m_savedHeader) // nothing stored: only an untouched document has nothing to lose
        return grid->GetRowCount() > 1 || !m_ui.m_pSupplier->currentText().isEmpty() ||
               !m_ui.m_pState->currentText().isEmpty();
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        const LineMemory* memory = m_lines.Find(row);
        if (!memory || !memory->origin ||
            CDocumentStore::StoredTexts(EntryLineTexts(ReadEntryLine(grid, row))) !=
                *memory->origin)
            return true;
    }
    const QStringList& saved = *m_savedHeader;
    return m_ui.m_pSupplier->currentText() != saved.value(kHeadSupplier) ||
           m_ui.m_pDate->text() != saved.value(kHeadDate) ||
           m_ui.m_pState->currentText() != saved.value(kHeadState);
}

bool CEntryDlg::NeedsSaving() const {
    return !m_strOddnum.isEmpty() && (!m_savedHeader || HasUnsavedChanges());
}

bool CEntryDlg::Save() {
    // Text still in a cell editor belongs to the document; a refused text stops the save.
    m_bEditRefused = false;
    m_ui.m_pGrid->EndEditing();
    if (m_bEditRefused)
        return false;
    ReadBoxes();
    const QVector<EntryLine> lines = ReadEntryLines(m_ui.m_pGrid);
    const QString refusal = EntryRefusal(m_strSupplier, m_strState, lines);
    if (!refusal.isEmpty()) {
        HarborMessageBox(this, refusal);
        return false;
    }
    if (m_strOddnum.isEmpty())
        return false;
    m_strMoney = SumAmounts(EntryAmounts(lines));
    QString oddnum = m_strOddnum;
    if (!SaveDocument(oddnum, Header(), lines))
        return false;
    if (oddnum != m_strOddnum) {
        HarborMessageBox(this,
                         QStringLiteral("单号%1已被其他电脑使用,本单已改用新单号%2保存")
                             .arg(m_strOddnum, oddnum),
                         MsgIcon::Information);
        m_strOddnum = oddnum;
        m_ui.m_pOddnum->setText(m_strOddnum);
    }
    m_bSaved = true;
    m_pSaveMark->MarkSaved(QStringLiteral("已成功保存在数据库中"));
    return true;
}

// Writes the document in one transaction; at its first save it takes the next number of its
// own date when another workstation has saved a document under this one meanwhile.
bool CEntryDlg::SaveDocument(QString& oddnum, const QStringList& header,
                             const QVector<EntryLine>& lines) {
    QVector<ScreenLine> screen;
    for (int i = 0; i < lines.size(); ++i)
        screen.append({EntryLineTexts(lines[i]), m_lines.Of(i + 1).origin});
    std::optional<DocumentWrite> write;
    QString drawn = oddnum;
    QString refusal;
    if (m_savedHeader && !RequirePermission(this, Permission::ChangeDocument))
        return false;
    if (!m_savedHeader && !NothingInDoubt())
        return false;
    const bool done = RunDbAction(this, QStringLiteral("保存入库单"), [&] {
        // A product deleted or renumbered in the catalogue meanwhile takes no stock in.
        const int mismatch = m_store.MismatchedLine(screen);
        if (mismatch >= 0) {
            refusal =
                QStringLiteral("第%1行的商品名称与条形码不符,请重新选择商品").arg(mismatch + 1);
            return;
        }
        if (!m_savedHeader) {
            drawn = m_store.FirstSaveNumber(drawn, this, m_ui.m_pDate->date());
            if (drawn.isEmpty())
                return; // the date's numbers are used up: NewOddnum said so
        }
        write = m_store.Save(drawn, header, screen, m_savedHeader);
    });
    if (!done || !write) {
        if (!done && !m_savedHeader)
            m_unconfirmed.AfterFailedFirstSave(drawn);
        if (done && !refusal.isEmpty())
            HarborMessageBox(this, refusal);
        return false;
    }
    if (!ReportDocumentWrite(this, *write, QStringLiteral("本次没有保存"))) {
        if (write->result == DocumentWrite::Result::Conflict)
            ReloadDocument();
        return false;
    }
    oddnum = drawn;
    TakeWritten(write->header, lines);
    return true;
}

// A first save whose commit was never confirmed: when it did land, the window takes the stored
// document instead of storing it a second time.
bool CEntryDlg::NothingInDoubt() {
    const UnconfirmedSave::Found found = m_unconfirmed.Look(this, m_store);
    if (found != UnconfirmedSave::Found::Stored)
        return found == UnconfirmedSave::Found::Nothing;
    m_strOddnum = m_unconfirmed.Number();
    m_ui.m_pOddnum->setText(m_strOddnum);
    m_unconfirmed.Forget();
    ReloadDocument();
    HarborMessageBox(this, UnconfirmedSave::StoredMessage(m_strOddnum));
    return false;
}

void CEntryDlg::TakeWritten(const QStringList& header, const QVector<EntryLine>& lines) {
    for (int i = 0; i < lines.size(); ++i)
        m_lines.Of(i + 1).origin = CDocumentStore::StoredTexts(EntryLineTexts(lines[i]));
    m_savedHeader = header;
    ShowMoney(header.value(kHeadMoney));
}

void CEntryDlg::ShowMoney(const QString& money) {
    m_strMoney = money;
    m_ui.m_pMoney->setText(m_strMoney);
}

void CEntryDlg::ReloadDocument() {
    QVector<StoredRow> rows;
    if (!RunDbRead(this, QStringLiteral("读取单据"), [&] { rows = m_store.ReadRows(m_strOddnum); }))
        return;
    if (rows.isEmpty()) {
        CloseDocument();
        return;
    }
    m_ui.m_pGrid->DeleteNonFixedRows();
    m_lines.Clear();
    for (const StoredRow& stored : rows) {
        const int row = AppendLine();
        const EntryLine line = EntryLineFromTexts(stored.line);
        SetEntryLineProduct(m_ui.m_pGrid, row, line.name, line.code, line.spec);
        m_ui.m_pGrid->SetCellText(row, kEntryShortName, line.shortName);
        m_ui.m_pGrid->SetCellText(row, kEntryPrice, line.price);
        m_ui.m_pGrid->SetCellText(row, kEntryCount, line.count);
        SetEntryLineAmount(m_ui.m_pGrid, row, line.amount);
        m_lines.Of(row).origin = stored.line;
    }
    m_ui.m_pGrid->Refresh();
    const QStringList& header = rows[0].header;
    m_strSupplier = header.value(kHeadSupplier);
    m_strState = header.value(kHeadState);
    m_ui.m_pSupplier->setEditText(m_strSupplier);
    m_ui.m_pState->setEditText(m_strState);
    const QDate date = QDate::fromString(header.value(kHeadDate), m_ui.m_pDate->displayFormat());
    if (date.isValid())
        m_ui.m_pDate->setDate(date);
    ShowMoney(header.value(kHeadMoney));
    m_savedHeader = header;
    m_bSaved = true;
    m_nDeleteRow = 0;
    m_pSaveMark->MarkSaved();
}

// An untouched new document (the window opens on one) has nothing to lose: no question.
bool CEntryDlg::QueryClose() {
    if (HasUnsavedChanges() && AskToSave()) {
        Save();
        return false;
    }
    m_strOddnum.clear();
    m_ui.m_pOddnum->clear();
    m_bSaved = false;
    m_bSinglePage = true;
    return true;
}

int CEntryDlg::AppendLine() {
    const int row = AppendEntryLine(m_ui.m_pGrid);
    m_lines.Attach(row);
    return row;
}

void CEntryDlg::AddLine() {
    if (m_strOddnum.isEmpty())
        return;
    const int row = AppendLine();
    m_nRow = row;
    const QString query = m_strSearch;
    RunProductPicker(this, kPickTarget, query);
    // No product came (the picker was closed, or the product was refused): no line either.
    if (IsLine(row) && m_ui.m_pGrid->GetCellText(row, kEntryCode).isEmpty())
        m_ui.m_pGrid->DeleteRow(row);
    m_ui.m_pGrid->Refresh();
    m_strSearch.clear();
    m_ui.m_pSearch->clear();
}

// A product without properties leaves the line as it was; the picker tells the user. A
// product whose stock is not a number is refused: the save would overwrite it.
void CEntryDlg::PutPickedProduct() {
    if (!IsLine(m_nRow))
        return;
    ProductFacts product;
    if (!ReadProduct(PickArea().m_strPickedCode, &product)) {
        m_bNoProperty = true;
        return;
    }
    const QString problem =
        ProductProblem(product.name.isEmpty() ? PickArea().m_strPickedName : product.name,
                       QString(), QString(), QString(), QString(), product.total);
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem, MsgIcon::Stop);
        return;
    }
    SetEntryLineProduct(m_ui.m_pGrid, m_nRow, PickArea().m_strPickedName,
                        PickArea().m_strPickedCode, PickArea().m_strPickedSpec);
    m_ui.m_pGrid->SetCellText(m_nRow, kEntryShortName, product.shortName);
    m_strMoney.clear();
    m_ui.m_pMoney->clear();
    m_ui.m_pGrid->Refresh();
    m_pSaveMark->MarkChanged();
}

void CEntryDlg::PutPickedParty(const QString& name) {
    m_strSupplier = name;
    m_ui.m_pSupplier->setEditText(name);
}

void CEntryDlg::OnSelectSupplier() {
    CSupplierDlg dialog;
    dialog.RunSelectMode(this);
}

void CEntryDlg::SearchSupplier() {
    m_strSupplier = FoldSearchText(m_ui.m_pSupplier->currentText());
    m_ui.m_pSupplier->clear();
    QStringList names;
    RunDbRead(this, QStringLiteral("查找供货商"),
              [&] { names = CEntryStore::SuppliersByInitials(m_strSupplier); });
    m_ui.m_pSupplier->addItems(names);
    if (names.isEmpty()) {
        m_ui.m_pSupplier->setEditText(m_strSupplier);
    } else {
        m_ui.m_pSupplier->setCurrentIndex(0);
        m_strSupplier = names.first();
    }
}

void CEntryDlg::OnGridClick(int row, int col) {
    m_nRow = row;
    m_nCol = col;
    m_nDeleteRow = row > 0 && col > 0 ? row : 0;
}

void CEntryDlg::OnGridRightClick(int row, int col) {
    m_nRow = row;
    m_nCol = col;
    if (row <= 0 || col <= 0 || !IsLine(row))
        return;
    RunProductPicker(this, kPickTarget, QString());
}

void CEntryDlg::OnGridEndEdit(int row, int col, CGridResult* result) {
    if (!IsLine(row) || (col != kEntryPrice && col != kEntryCount))
        return;
    if (RefuseNumber(row, col)) {
        m_bEditRefused = true;
        result->Cancel();
        return;
    }
    const EntryLine line = ReadEntryLine(m_ui.m_pGrid, row);
    const QString amount = ImportLineAmount(line.count, line.price);
    if (const QString problem = AmountProblem(QStringLiteral("金额"), amount); !problem.isEmpty()) {
        HarborMessageBox(this, problem);
        m_bEditRefused = true;
        result->Cancel();
        return;
    }
    SetEntryLineAmount(m_ui.m_pGrid, row, amount);
    UpdateMoney();
}

// A price or quantity that is not a plain number within its limits would corrupt amounts
// and stock. "-0" is kept as 0.
bool CEntryDlg::RefuseNumber(int row, int col) {
    const QString text = m_ui.m_pGrid->GetCellText(row, col);
    const QString field = m_ui.m_pGrid->GetCellText(0, col);
    const QString problem =
        col == kEntryPrice ? PriceProblem(field, text) : QuantityProblem(field, text);
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem);
        return true;
    }
    if (WithoutNegativeZero(text) != text)
        m_ui.m_pGrid->SetCellText(row, col, WithoutNegativeZero(text));
    return false;
}

void CEntryDlg::UpdateMoney() {
    ShowMoney(SumAmounts(EntryAmounts(ReadEntryLines(m_ui.m_pGrid))));
}

void CEntryDlg::DeleteLine() {
    // The line chosen by a left click: a picker since then may have moved m_nRow.
    int row = m_nDeleteRow;
    m_nDeleteRow = 0;
    if (!IsLine(row)) {
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
            !RunDbAction(this, QStringLiteral("删除商品"),
                         [&] { write = m_store.DeleteLine(m_strOddnum, origin, m_savedHeader); }))
            return;
        if (!ReportDocumentWrite(this, write, QStringLiteral("没有删除商品"))) {
            if (write.result == DocumentWrite::Result::Conflict)
                ReloadDocument();
            return;
        }
        if (write.header.isEmpty()) { // the last stored line: nothing is stored any more
            m_savedHeader.reset();
            m_bSaved = false;
        } else {
            m_savedHeader = write.header;
        }
    }
    m_ui.m_pGrid->DeleteRow(row);
    m_pSaveMark->MarkChanged();
    RenumberEntryLines(m_ui.m_pGrid);
    m_ui.m_pGrid->Refresh();
    if (stored && m_savedHeader)
        ShowMoney(m_savedHeader->value(kHeadMoney));
    else
        UpdateMoney();
}

// Unsaved changes stand beside the stored line to delete: they are saved first or let go.
// row follows the line; false when nothing is to be deleted.
bool CEntryDlg::SaveBeforeLineDelete(int* row) {
    const QStringList origin = *m_lines.Of(*row).origin;
    const int answer = HarborMessageBox(
        this,
        QStringLiteral("本单有尚未保存的修改,删除商品会立即写入数据库.\n"
                       "是: 先保存本单,再删除该商品\n否: 放弃尚未保存的修改,再删除该商品\n"
                       "取消: 不删除"),
        MsgIcon::Exclamation, MsgButtons::YesNoCancel, QStringLiteral("销售单保存"));
    if (answer == IDYES)
        return Save();
    if (answer != IDNO)
        return false;
    ReloadDocument();
    *row = m_lines.RowWithOrigin(origin);
    return *row > 0;
}

bool CEntryDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            (watched == m_ui.m_pSupplier || watched == m_ui.m_pSearch)) {
            ReadBoxes();
            if (watched == m_ui.m_pSupplier)
                SearchSupplier();
            else
                AddLine();
            return true;
        }
    }
    return CWorkDialog::eventFilter(watched, event);
}

void CEntryDlg::resizeEvent(QResizeEvent* event) {
    CWorkDialog::resizeEvent(event);
    m_ui.LayOut(size());
    PlaceExtraButtons();
}
