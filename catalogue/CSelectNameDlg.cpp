#include "catalogue/CSelectNameDlg.h"

#include "catalogue/PickHandOver.h"
#include "grid/CGridCtrl.h"

CSelectNameDlg::CSelectNameDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("商品选择"));
    setModal(true);
    m_pLists = new CCatalogueLists(this);
    connect(m_pLists, &CCatalogueLists::specDoubleClicked, this,
            &CSelectNameDlg::OnSpecDoubleClick);
    resize(1300, 560);
    m_pLists->FillFirstList();
}

void CSelectNameDlg::OnSpecDoubleClick(int row, int col) {
    CGridCtrl* list = List(CCatalogueTree::kLevels);
    CCatalogueTree& tree = m_pLists->Path();
    if (!CCatalogueLists::IsDataCell(list, row, col) || tree.m_strCode[1].isEmpty())
        return;
    tree.m_strCode[CCatalogueTree::kLevels] = list->GetCellText(row, 3);
    m_strSpec = list->GetCellText(row, 1) + list->GetCellText(row, 2);
    tree.FillSkippedLevels();
    m_strFullName = tree.FullName();
    m_strFullCode = tree.FullCode();
    if (HandOverPick(this, m_strFullName, m_strFullCode, m_strSpec))
        accept();
    else
        m_strFullName.clear();
}

void CSelectNameDlg::reject() {
    HandOverPick(this, m_strFullName, m_strFullCode, m_strSpec);
    QDialog::reject();
}

void CSelectNameDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    m_pLists->setGeometry(rect());
}
