// The line table of a document window: lines added through the pickers, typed codes, prices
// and quantities, the line amounts and deleting a line.
#include <QComboBox>
#include <QLineEdit>

#include "accounts/PermissionCheck.h"
#include "catalogue/PickHandOver.h"
#include "documents/CDocumentDlg.h"
#include "documents/DocumentGrid.h"
#include "documents/DocumentSaveMark.h"
#include "documents/DocumentWriteReport.h"
#include "documents/LineChecks.h"
#include "documents/ProductFacts.h"
#include "documents/SaleLineMath.h"
#include "grid/CGridCtrl.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"
#include "ui/PickArea.h"

int CDocumentDlg::AppendLine() {
    const int row = AppendLineRow(m_ui.m_pGrid, m_form);
    m_lines.Attach(row);
    return row;
}

bool CDocumentDlg::IsLine(int row) const {
    return row >= 1 && row < m_ui.m_pGrid->GetRowCount();
}

void CDocumentDlg::AddLine() {
    if (!m_bOpen)
        return;
    const int row = AppendLine();
    m_nRow = row;
    m_strSearch = m_ui.m_pSearch->text();
    RunProductPicker(this, m_form.pickTarget, m_strSearch);
    // No product came (the picker was closed, or the product was refused): no line either.
    if (IsLine(row) && m_ui.m_pGrid->GetCellText(row, m_form.columns.code).isEmpty())
        m_ui.m_pGrid->DeleteRow(row);
    m_ui.m_pGrid->Refresh();
    m_strSearch.clear();
    m_ui.m_pSearch->clear();
}

// A product whose own figures are not numbers is refused here, before it reaches a line. A
// stock-in types its own price, so there only the stock has to be a number: the save would
// overwrite it.
void CDocumentDlg::PutPickedProduct() {
    if (!IsLine(m_nRow))
        return;
    ProductFacts product;
    if (!ReadProduct(PickArea().m_strPickedCode, &product)) {
        m_bNoProperty = true;
        return;
    }
    if (product.name.isEmpty())
        product.name = PickArea().m_strPickedName;
    const QString problem = m_form.catalogPrice
                                ? ProductFactsProblem(product)
                                : ProductProblem(product.name, QString(), QString(), QString(),
                                                 QString(), product.total);
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem, MsgIcon::Stop);
        return;
    }
    m_strReceivable.clear();
    m_ui.m_pReceivable->clear();
    if (m_form.counter) {
        m_ui.m_pReceipt->clear();
        m_bReceiptTyped = false;
        m_ui.m_pState->setCurrentIndex(-1);
    }
    m_pSaveMark->MarkChanged();
    PutLineProduct(m_ui.m_pGrid, m_form, m_nRow, PickArea().m_strPickedCode, product);
    m_ui.m_pGrid->SetCellText(m_nRow, m_form.columns.count, QString());
    SetLineAmount(m_ui.m_pGrid, m_form, m_nRow, QString());
    m_lines.Of(m_nRow).untaxedPrice = product.price;
}

// A click on a line chooses it for 删除商品; one on the heading or a line number chooses none.
void CDocumentDlg::OnGridClick(int row, int col) {
    m_nDeleteRow = IsLine(row) && col > 0 ? row : 0;
    if (m_nDeleteRow == 0)
        return;
    m_nRow = row;
    m_nCol = col;
}

void CDocumentDlg::OnGridRightClick(int row, int col) {
    if (!IsLine(row) || col < 1 || !m_bOpen || RefuseSaleLineEdit(row, m_form.columns.code))
        return;
    m_nRow = row;
    m_nCol = col;
    RunProductPicker(this, m_form.pickTarget, QString());
}

void CDocumentDlg::OnGridEndEdit(int row, int col, CGridResult* result) {
    if (!IsLine(row) || col < 1)
        return;
    bool taken = true;
    if (RefuseSaleLineEdit(row, col))
        taken = false;
    else if (col == m_form.columns.code && m_form.typedCode)
        taken = TakeTypedCode(row);
    else if (RefuseNumber(row, col))
        taken = false;
    else if (m_form.recomputeColumns.contains(col))
        taken = RecomputeLine(row, col);
    if (!taken) {
        m_bEditRefused = true;
        result->Cancel();
    }
}

// A price or quantity that is not a plain number within its limits would corrupt amounts
// and stock. "-0" is kept as 0.
bool CDocumentDlg::RefuseNumber(int row, int col) {
    const LineColumns& c = m_form.columns;
    if (col != c.price && col != c.count)
        return false;
    const QString text = m_ui.m_pGrid->GetCellText(row, col);
    const QString field = m_ui.m_pGrid->GetCellText(0, col);
    const QString problem = col == c.price ? PriceProblem(field, text)
                                           : QuantityProblem(field, text, m_form.IsSaleOut());
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem);
        return true;
    }
    if (WithoutNegativeZero(text) != text)
        m_ui.m_pGrid->SetCellText(row, col, WithoutNegativeZero(text));
    return false;
}

// A code typed into a line loads that product into it, or is refused.
bool CDocumentDlg::TakeTypedCode(int row) {
    const DocumentLine line = ReadLine(m_ui.m_pGrid, m_form, row);
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
    const QString amount = m_form.derivesPrice ? ImportLineAmount(line.count, product.price)
                                               : ReturnLineAmount(line.count, product.price,
                                                                  QStringLiteral("1.0"), QString());
    if (const QString tooLarge = AmountProblem(QStringLiteral("金额"), amount);
        !tooLarge.isEmpty()) {
        HarborMessageBox(this, tooLarge);
        return false;
    }
    PutLineProduct(m_ui.m_pGrid, m_form, row, line.code, product);
    SetLineAmount(m_ui.m_pGrid, m_form, row, amount);
    m_lines.Of(row).untaxedPrice = product.price;
    UpdateReceivable();
    return true;
}

// False when the new amount of the line would be beyond the largest amount of a document: the
// edit is then refused and the line stays as it was.
bool CDocumentDlg::RecomputeLine(int row, int col) {
    const DocumentLine line = ReadLine(m_ui.m_pGrid, m_form, row);
    LineMemory& memory = m_lines.Of(row);
    SaleOutLine after{line.price,  line.count,  line.discount,
                      line.remark, line.amount, memory.untaxedPrice};
    if (m_form.derivesPrice) {
        ProductFacts product;
        bool found = false;
        if (!RunDbRead(this, QStringLiteral("计算金额"),
                       [&] { found = ReadProduct(line.code, &product); }))
            return false;
        after = RecomputeSaleOutLine(col, found ? product.price : QString(), after);
    } else if (memory.sale || m_form.columns.discount < 0) {
        // A stock-in's price is what was paid; a sale's price already holds its discount and
        // tax, so the customer gets back what was paid.
        after.amount = ImportLineAmount(line.count, line.price);
    } else {
        after.amount = ReturnLineAmount(line.count, line.price, line.discount, line.remark);
    }
    const QString problem = AmountProblem(QStringLiteral("金额"), after.amount);
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem);
        return false;
    }
    if (m_form.derivesPrice) {
        m_ui.m_pGrid->SetCellText(row, m_form.columns.price, after.price);
        m_ui.m_pGrid->SetCellText(row, m_form.columns.discount, after.discount);
        m_ui.m_pGrid->SetCellText(row, m_form.columns.remark, after.remark);
        memory.untaxedPrice = after.untaxedPrice;
    }
    SetLineAmount(m_ui.m_pGrid, m_form, row, after.amount);
    UpdateReceivable();
    return true;
}

void CDocumentDlg::UpdateReceivable() {
    m_strReceivable = SumAmounts(LineAmounts(m_ui.m_pGrid, m_form));
    m_ui.m_pReceivable->setText(m_strReceivable);
    if (m_form.counter && m_ui.m_pState->currentText() == QStringLiteral("结清")) {
        m_strReceipt = m_strReceivable;
        m_ui.m_pReceipt->setText(m_strReceipt);
    }
}

void CDocumentDlg::DeleteLine() {
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
            !RunDbAction(this, QStringLiteral("删除商品"), [&] {
                write = m_store.Documents().DeleteLine(m_strOddnum, origin, m_savedHeader);
            }))
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
    RenumberLines(m_ui.m_pGrid);
    m_ui.m_pGrid->Refresh();
    if (m_savedHeader && stored)
        ShowWrittenHeader(*m_savedHeader);
    else
        UpdateReceivable();
}

// Unsaved changes stand beside the stored line to delete: they are saved first or let go.
// row follows the line; false when nothing is to be deleted.
bool CDocumentDlg::SaveBeforeLineDelete(int* row) {
    const QStringList origin = *m_lines.Of(*row).origin;
    const int answer = HarborMessageBox(
        this,
        QStringLiteral("本单有尚未保存的修改,删除商品会立即写入数据库.\n"
                       "是: 先保存本单,再删除该商品\n否: 放弃尚未保存的修改,再删除该商品\n"
                       "取消: 不删除"),
        MsgIcon::Exclamation, MsgButtons::YesNoCancel, m_form.closeCaption);
    if (answer == IDYES)
        return Save();
    if (answer != IDNO)
        return false;
    ReloadDocument();
    *row = m_lines.RowWithOrigin(origin);
    return *row > 0;
}
