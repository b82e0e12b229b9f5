#include "documents/CEntryDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "app/CDbAction.h"
#include "app/CHarborApp.h"
#include "app/HarborMessageBox.h"
#include "catalogue/PickHandOver.h"
#include "documents/EntryGrid.h"
#include "documents/ListPrintDocuments.h"
#include "documents/ListPrintJob.h"
#include "documents/NumericText.h"
#include "documents/Oddnum.h"
#include "documents/SaleLineMath.h"
#include "grid/CGridCtrl.h"
#include "parties/CSupplierDlg.h"

namespace {

constexpr int kPickTarget = 1;
const char* const kTable = "entry";

// The date a document number was drawn for.
QDate OddnumDate(const QString& oddnum) {
    return QDate::fromString(oddnum.left(8), QStringLiteral("yyyyMMdd"));
}

} // namespace

CEntryDlg::CEntryDlg(QWidget* parent) : CWorkDialog(QStringLiteral("采购入库"), parent) {
    theApp.m_nPickTarget = kPickTarget;
    m_ui.Create(this);
    ConnectControls();
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

void CEntryDlg::PrintDocument(int mode) {
    if (!m_bSaved) {
        if (HarborMessageBox(this, QStringLiteral("销售单尚未保存,是否先保存?"),
                             MsgIcon::Exclamation, MsgButtons::YesNo,
                             QStringLiteral("销售单保存")) != IDYES)
            return;
        if (!Save())
            return;
    }
    ReadBoxes();
    const EntryListHeader header{m_strOddnum, m_strSupplier, m_strDate, m_strMoney, m_strState};
    FillEntryList(HandOverList(2), header, *m_ui.m_pGrid);
    RunListPrint(mode);
}

void CEntryDlg::ReadBoxes() {
    m_strOddnum = m_ui.m_pOddnum->text();
    m_strSupplier = m_ui.m_pSupplier->currentText();
    m_date = m_ui.m_pDate->date();
    m_strDate = m_ui.m_pDate->text();
    m_strMoney = m_ui.m_pMoney->text();
    m_strState = m_ui.m_pState->currentText();
    m_strSearch = m_ui.m_pSearch->text();
    theApp.m_strPickQuery = m_strSearch;
}

EntryHeader CEntryDlg::Header() const {
    return EntryHeader{m_strOddnum, m_strSupplier, m_strDate, m_strMoney, m_strState};
}

bool CEntryDlg::IsLine(int row) const {
    return row >= 1 && row < m_ui.m_pGrid->GetRowCount();
}

bool CEntryDlg::NewDocument() {
    QString number;
    RunDbRead(this, QStringLiteral("新增一单"),
              [&] { number = NewOddnum(QString::fromLatin1(kTable), m_ui.m_pDate->date(), this); });
    if (number.isEmpty())
        return false;
    EnableDocument(true);
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
    m_nDeleteRow = 0;
    m_bSaved = false;
    if (m_ui.m_pState->count() == 0)
        m_ui.m_pState->addItems({QStringLiteral("未付"), QStringLiteral("已付")});
    m_ui.m_pState->setCurrentIndex(-1);
    m_ui.m_pState->setEditText(m_strState);
    m_ui.m_pSearch->setFocus();
    return true;
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
    EntryHeader header = Header();
    if (!SaveDocument(header, lines))
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

// Writes the document; at its first save it takes a new number when another workstation has
// saved a document under this one meanwhile.
bool CEntryDlg::SaveDocument(EntryHeader& header, const QVector<EntryLine>& lines) {
    bool noNumber = false;
    const bool saved = RunDbAction(this, QStringLiteral("保存入库单"), [&] {
        if (!m_bSaved && CEntryStore::StoredRowCount(header.oddnum) > 0) {
            header.oddnum = NewOddnum(QString::fromLatin1(kTable), OddnumDate(header.oddnum), this);
            if ((noNumber = header.oddnum.isEmpty()))
                return;
        }
        CEntryStore::Save(header, lines);
    });
    if (!saved || noNumber)
        header.oddnum = m_strOddnum;
    return saved && !noNumber;
}

bool CEntryDlg::QueryClose() {
    if (!m_strOddnum.isEmpty() && !m_bSaved &&
        HarborMessageBox(this, QStringLiteral("销售单尚未保存,是否先保存?"), MsgIcon::Exclamation,
                         MsgButtons::YesNo, QStringLiteral("销售单保存")) == IDYES) {
        Save();
        return false;
    }
    m_strOddnum.clear();
    m_ui.m_pOddnum->clear();
    m_bSaved = false;
    m_bSinglePage = true;
    return true;
}

void CEntryDlg::AddLine() {
    if (m_strOddnum.isEmpty())
        return;
    const int row = AppendEntryLine(m_ui.m_pGrid);
    m_nRow = row;
    const QString query = m_strSearch;
    if (!RunProductPicker(this, kPickTarget, query) ||
        m_ui.m_pGrid->GetCellText(row, kEntryCode).isEmpty())
        m_ui.m_pGrid->DeleteRow(row);
    m_ui.m_pGrid->Refresh();
    m_strSearch.clear();
    m_ui.m_pSearch->clear();
}

// A product without properties leaves the line as it was; the picker tells the user.
void CEntryDlg::PutPickedProduct() {
    if (!IsLine(m_nRow))
        return;
    bool found = false;
    const QString shortName = CEntryStore::ShortName(theApp.m_strPickedCode, &found);
    if (!found) {
        m_bNoProperty = true;
        return;
    }
    SetEntryLineProduct(m_ui.m_pGrid, m_nRow, theApp.m_strPickedName, theApp.m_strPickedCode,
                        theApp.m_strPickedSpec);
    m_ui.m_pGrid->SetCellText(m_nRow, kEntryShortName, shortName);
    m_strMoney.clear();
    m_ui.m_pMoney->clear();
    m_ui.m_pGrid->Refresh();
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
    m_strSupplier = m_ui.m_pSupplier->currentText().toUpper();
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
    if (RefuseNonNumber(row, col)) {
        m_bEditRefused = true;
        result->Cancel();
        return;
    }
    const EntryLine line = ReadEntryLine(m_ui.m_pGrid, row);
    if (!line.price.isEmpty() && !line.count.isEmpty())
        SetEntryLineAmount(m_ui.m_pGrid, row, ImportLineAmount(line.count, line.price));
    UpdateMoney();
}

// A price or quantity that is not a plain decimal number would corrupt amounts and stock.
bool CEntryDlg::RefuseNonNumber(int row, int col) {
    const QString text = m_ui.m_pGrid->GetCellText(row, col);
    if (text.isEmpty() || IsPlainDecimal(text))
        return false;
    HarborMessageBox(
        this,
        QStringLiteral("%1只能填写数字,例如 12 或 0.5").arg(m_ui.m_pGrid->GetCellText(0, col)));
    return true;
}

void CEntryDlg::UpdateMoney() {
    m_strMoney = SumAmounts(EntryAmounts(ReadEntryLines(m_ui.m_pGrid)));
    m_ui.m_pMoney->setText(m_strMoney);
}

void CEntryDlg::DeleteLine() {
    // The line chosen by a left click: a picker since then may have moved m_nRow.
    const int row = m_nDeleteRow;
    m_nDeleteRow = 0;
    if (!IsLine(row)) {
        HarborMessageBox(this, QStringLiteral("请先选择要删除的记录"));
        return;
    }
    // An open cell editor ends first, so the amounts read below are the final ones.
    m_ui.m_pGrid->EndEditing();
    QVector<EntryLine> rest = ReadEntryLines(m_ui.m_pGrid);
    rest.remove(row - 1);
    const QString money = SumAmounts(EntryAmounts(rest));
    // Only a saved document has rows of its own under its number.
    if (m_bSaved && !RunDbAction(this, QStringLiteral("删除商品"), [&] {
            CEntryStore::DeleteStoredLine(m_strOddnum, row - 1, money);
        }))
        return;
    m_strMoney = money;
    m_ui.m_pMoney->setText(m_strMoney);
    m_ui.m_pGrid->DeleteRow(row);
    RenumberEntryLines(m_ui.m_pGrid);
    m_ui.m_pGrid->Refresh();
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
}
