// The keyboard side of the stock-in window: the function keys, the Tab chain and the buttons
// that save and go on.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "documents/CEntryDlg.h"
#include "documents/DocumentKeyMap.h"
#include "documents/DocumentSaveMark.h"
#include "documents/EntryGrid.h"
#include "documents/ListPrintJob.h"
#include "grid/CGridCtrl.h"

void CEntryDlg::InstallKeys() {
    m_pSavePrint = new QPushButton(QStringLiteral("保存并打印"), this);
    m_pSaveNew = new QPushButton(QStringLiteral("保存并新开一单"), this);
    for (QPushButton* button : {m_pSavePrint, m_pSaveNew}) {
        button->setAutoDefault(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_pSavePrint, &QPushButton::clicked, this, &CEntryDlg::SaveAndPrint);
    connect(m_pSaveNew, &QPushButton::clicked, this, &CEntryDlg::SaveAndNew);
    m_ui.m_pSearch->setPlaceholderText(QStringLiteral("拼音首字母、条码或名称"));

    m_pSaveMark = new DocumentSaveMark(this, m_ui.m_pFrame, m_ui.m_pOddnum, m_ui.m_pSave);
    m_pSaveMark->Watch({m_ui.m_pSupplier, m_ui.m_pState, m_ui.m_pGrid});
    connect(m_ui.m_pDate, &QDateEdit::dateChanged, m_pSaveMark, &DocumentSaveMark::MarkChanged);

    for (QWidget* skipped : std::initializer_list<QWidget*>{
             m_ui.m_pOddnum, m_ui.m_pMoney, m_ui.m_pPrintSetup, m_ui.m_pPreview, m_ui.m_pPrint,
             m_ui.m_pSinglePage, m_ui.m_pNewDoc})
        skipped->setFocusPolicy(Qt::NoFocus);
    const QList<QWidget*> chain{m_ui.m_pSupplier, m_ui.m_pSelectSupplier, m_ui.m_pDate,
                                m_ui.m_pAddLine,  m_ui.m_pDeleteLine,     m_ui.m_pGrid,
                                m_ui.m_pSearch,   m_ui.m_pState,          m_ui.m_pSave};
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    DocumentKeyTargets keys;
    keys.newDoc = m_ui.m_pNewDoc;
    keys.save = m_ui.m_pSave;
    keys.search = m_ui.m_pSearch;
    keys.grid = m_ui.m_pGrid;
    keys.quantityColumn = kEntryCount;
    keys.saveAndPrint = [this] { SaveAndPrint(); };
    keys.deleteLine = [this](int row) {
        m_nDeleteRow = row;
        DeleteLine();
    };
    new DocumentKeyMap(this, keys);
}

void CEntryDlg::PlaceExtraButtons() {
    const QRect last = m_ui.m_pSinglePage->geometry();
    m_pSavePrint->setGeometry(last.right() + 12, last.top(), 100, last.height());
    m_pSaveNew->setGeometry(last.right() + 120, last.top(), 130, last.height());
}

void CEntryDlg::SaveAndPrint() {
    if (m_strOddnum.isEmpty() || (NeedsSaving() && !Save()))
        return;
    if (HandOverDocument())
        RunListPrint(1);
}

void CEntryDlg::SaveAndNew() {
    if (m_strOddnum.isEmpty() || (NeedsSaving() && !Save()))
        return;
    NewDocument();
}

QLabel* CEntryDlg::StatusLine() const {
    return m_pSaveMark->StatusLine();
}

bool CEntryDlg::IsMarkedSaved() const {
    return m_pSaveMark->IsMarked();
}
