// The keyboard side of a document window: the function keys, the Tab chain, the payment state
// that follows a typed receipt, and the buttons that save and go on.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "documents/CDocumentDlg.h"
#include "documents/DocumentKeyMap.h"
#include "documents/DocumentSaveMark.h"
#include "documents/ListPrintJob.h"
#include "documents/PaymentState.h"
#include "grid/CGridCtrl.h"

void CDocumentDlg::InstallKeys() {
    connect(m_ui.m_pSavePrint, &QPushButton::clicked, this, &CDocumentDlg::SaveAndPrint);
    connect(m_ui.m_pSaveNew, &QPushButton::clicked, this, &CDocumentDlg::SaveAndNew);
    m_ui.m_pSearch->setPlaceholderText(QStringLiteral("拼音首字母、条码或名称"));

    m_pSaveMark = new DocumentSaveMark(this, m_ui.m_pFrame, m_ui.m_pOddnum, m_ui.m_pSave);
    m_pSaveMark->Watch({m_ui.m_pParty, m_ui.m_pState, m_ui.m_pGrid});
    if (m_ui.m_pDate)
        connect(m_ui.m_pDate, &QDateEdit::dateChanged, m_pSaveMark, &DocumentSaveMark::MarkChanged);

    // The amount due is computed: out of the Tab chain, as are the number and the print
    // buttons (reached by F9 and their letters). The chain ends at 保存.
    for (QWidget* skipped : std::initializer_list<QWidget*>{
             m_ui.m_pOddnum, m_ui.m_pReceivable, m_ui.m_pPrintSetup, m_ui.m_pPreview, m_ui.m_pPrint,
             m_ui.m_pSinglePage, m_ui.m_pNewDoc, m_ui.m_pSavePrint, m_ui.m_pSaveNew})
        skipped->setFocusPolicy(Qt::NoFocus);
    if (m_form.counter)
        InstallCounterKeys();
    // The table stands before the product box: Shift+Tab from the box reaches the quantity of
    // the line just added, F3 returns; Tab from the box goes on to the payment and 保存.
    QList<QWidget*> chain{m_ui.m_pParty, m_ui.m_pSelectParty};
    if (m_form.counter)
        chain << m_ui.m_pEmployeeName << m_ui.m_pEmployeeId << m_ui.m_pScanner << m_ui.m_pBarcode;
    if (m_ui.m_pDate)
        chain << m_ui.m_pDate;
    chain << m_ui.m_pAddLine << m_ui.m_pDeleteLine << m_ui.m_pGrid << m_ui.m_pSearch;
    if (m_form.counter)
        chain << m_ui.m_pReceipt;
    chain << m_ui.m_pState << m_ui.m_pSave;
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    DocumentKeyTargets keys;
    keys.newDoc = m_ui.m_pNewDoc;
    keys.save = m_ui.m_pSave;
    keys.search = m_ui.m_pSearch;
    keys.grid = m_ui.m_pGrid;
    keys.quantityColumn = m_form.columns.count;
    keys.saveAndPrint = [this] { SaveAndPrint(); };
    keys.deleteLine = [this](int row) {
        m_nDeleteRow = row;
        DeleteLine();
    };
    new DocumentKeyMap(this, keys);
}

// The scanner button, 按原单退货 on a return, the hints of the product and barcode boxes, and
// the receipt that moves the payment state.
void CDocumentDlg::InstallCounterKeys() {
    connect(m_ui.m_pScanner, &QPushButton::clicked, this, &CDocumentDlg::PasteScannerText);
    if (m_ui.m_pReturnFromSale)
        connect(m_ui.m_pReturnFromSale, &QPushButton::clicked, this, &CDocumentDlg::ReturnFromSale);
    m_ui.m_pBarcode->setPlaceholderText(QStringLiteral("扫描枪数据也可直接粘贴在这里"));
    m_ui.m_pBarcode->setTabChangesFocus(true);
    m_ui.m_pSearch->setToolTip(
        QStringLiteral("输入拼音首字母、条码或名称后按Enter;扫描枪扫码即添加"));
    m_pSaveMark->Watch({m_ui.m_pReceipt, m_ui.m_pEmployeeName, m_ui.m_pEmployeeId});
    connect(m_ui.m_pReceipt, &QLineEdit::textEdited, this, &CDocumentDlg::OnReceiptEdited);
}

// A typed receipt moves the state: the amount due is 结清, nothing is 未结, between is 欠款.
void CDocumentDlg::OnReceiptEdited(const QString& text) {
    m_bReceiptTyped = !text.trimmed().isEmpty();
    const QString state = PaymentStateForAmounts(m_ui.m_pReceivable->text(), text);
    if (state.isEmpty())
        return;
    m_ui.m_pState->setCurrentIndex(m_ui.m_pState->findText(state));
    m_strState = state;
}

void CDocumentDlg::SaveAndPrint() {
    if (!m_bOpen || (NeedsSaving() && !Save()))
        return;
    if (HandOverDocument())
        RunListPrint(1);
}

void CDocumentDlg::SaveAndNew() {
    if (!m_bOpen || (NeedsSaving() && !Save()))
        return;
    NewDocument();
}

QLabel* CDocumentDlg::StatusLine() const {
    return m_pSaveMark->StatusLine();
}

bool CDocumentDlg::IsMarkedSaved() const {
    return m_pSaveMark->IsMarked();
}
