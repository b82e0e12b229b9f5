// The side of the sales-return window that takes lines from a stored sale (按原单退货).
#include <QComboBox>
#include <QLineEdit>

#include "documents/CDocumentDlg.h"
#include "documents/CSaleOriginDlg.h"
#include "documents/DocumentGrid.h"
#include "documents/DocumentSaveMark.h"
#include "documents/SaleLineMath.h"
#include "grid/CGridCtrl.h"
#include "text/Cents.h"
#include "ui/HarborMessageBox.h"

void CDocumentDlg::ReturnFromSale() {
    if (!m_ui.m_pReturnFromSale || (!m_bOpen && !NewDocument()))
        return;
    m_ui.m_pGrid->EndEditing();
    CSaleOriginDlg dialog(m_strOddnum, SaleLinesOnScreen(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (const CSaleOriginDlg::Taken& taken : dialog.TakenLines())
        TakeSaleLine(taken.line, taken.quantity);
    if (m_ui.m_pParty->currentText().isEmpty())
        m_ui.m_pParty->setEditText(dialog.Sale().customer);
    m_ui.m_pGrid->Refresh();
    m_pSaveMark->MarkChanged();
    UpdateReceivable();
    m_ui.m_pGrid->setFocus();
}

// What the lines on screen return of each sale line, as the save will hold it.
QHash<QString, qint64> CDocumentDlg::SaleLinesOnScreen() const {
    QHash<QString, qint64> held;
    for (int row = 1; row < m_ui.m_pGrid->GetRowCount(); ++row) {
        const LineMemory* memory = m_lines.Find(row);
        if (memory && memory->sale)
            held[SaleLineKey(*memory->sale)] +=
                CentsOf(m_ui.m_pGrid->GetCellText(row, m_form.columns.count));
    }
    return held;
}

// A new line at the sale line's price, discount and tax option: its amount is what the
// customer paid for the quantity.
void CDocumentDlg::TakeSaleLine(const ReturnableLine& sold, const QString& quantity) {
    DocumentLine line = m_store.LineFromTexts(sold.line);
    line.count = quantity;
    line.amount = ImportLineAmount(quantity, line.price);
    line.pcs.clear();
    const int row = AppendLine();
    PutStoredLine(m_ui.m_pGrid, m_form, row, line, {line.discount});
    LockTakenSaleLine(m_ui.m_pGrid, m_form, row);
    m_lines.Of(row).sale = sold.ref;
}

// A line taken from a sale keeps the sale's product, price, discount and tax option.
bool CDocumentDlg::RefuseSaleLineEdit(int row, int col) {
    const LineMemory* memory = m_lines.Find(row);
    if (!memory || !memory->sale || col == m_form.columns.count || col == m_form.columns.pcs)
        return false;
    HarborMessageBox(this, QStringLiteral("第%1行是按原单退货的商品,只能修改数量").arg(row));
    return true;
}
