#include "catalogue/CPinyinSelectDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "catalogue/PickHandOver.h"
#include "catalogue/ProductSearch.h"
#include "grid/CGridCtrl.h"
#include "ui/CDbAction.h"
#include "ui/PickArea.h"

namespace {

constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;

} // namespace

CPinyinSelectDlg::CPinyinSelectDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("拼音选择商品"));
    setModal(true);

    m_pGrid = new CGridCtrl(this);
    SetupProductGrid(*m_pGrid);
    connect(m_pGrid, &CGridCtrl::click, this, &CPinyinSelectDlg::OnGridClick);
    connect(m_pGrid, &CGridCtrl::selChanged, this, &CPinyinSelectDlg::OnGridSelChanged);
    m_pGrid->installEventFilter(this);

    m_pSelect = new QPushButton(QStringLiteral("选择"), this);
    m_pSelect->setDefault(true);
    m_pExit = new QPushButton(QStringLiteral("退出"), this);
    m_pQuery = new QLabel(this);
    m_pExit->setAutoDefault(false);
    connect(m_pSelect, &QPushButton::clicked, this, &CPinyinSelectDlg::OnSelect);
    connect(m_pExit, &QPushButton::clicked, this, &CPinyinSelectDlg::reject);

    resize(1010, 560);
    Search();
    ChooseFirstRow();
}

SqlStatement CPinyinSelectDlg::SearchCondition(const QString& query) {
    return LikeSearchSql(
        QStringLiteral("name LIKE ? OR longpinyin LIKE ? OR shortpinyin LIKE ? OR code LIKE ?"),
        FoldSearchText(query));
}

SqlStatement CPinyinSelectDlg::SearchSql(const QString& query) {
    return ProductSelectSql(SearchCondition(query));
}

void CPinyinSelectDlg::Search() {
    const QString what = QStringLiteral("查询商品");
    RunDbRead(this, what, [&] {
        m_nMatches =
            ShowProductList(*m_pGrid, SearchCondition(PickArea().m_strPickQuery), this, what);
    });
    m_pQuery->setText(
        QStringLiteral("查找\"%1\": 找到%2种商品").arg(PickArea().m_strPickQuery).arg(m_nMatches));
}

// The first product is chosen and the list holds the focus, so the keys work at once.
void CPinyinSelectDlg::ChooseFirstRow() {
    m_pGrid->setFocus();
    ChooseRow(m_pGrid->GetFixedRowCount());
}

void CPinyinSelectDlg::ChooseRow(int row) {
    if (row < m_pGrid->GetFixedRowCount() || row >= m_pGrid->GetRowCount())
        return;
    m_pGrid->SetFocusCell(row, kColName);
    m_pGrid->SetSelectedRange(row, m_pGrid->GetFixedColumnCount(), row,
                              m_pGrid->GetColumnCount() - 1);
    m_pGrid->EnsureVisible(row, kColName);
    m_nSelRow = row;
}

bool CPinyinSelectDlg::IsDataCell(int row, int col) const {
    return row >= m_pGrid->GetFixedRowCount() && row < m_pGrid->GetRowCount() &&
           col >= m_pGrid->GetFixedColumnCount() && col < m_pGrid->GetColumnCount();
}

void CPinyinSelectDlg::OnGridClick(int row, int col, CGridResult*) {
    m_nSelRow = IsDataCell(row, col) ? row : 0;
}

// The arrow keys move through the rows as clicks do.
void CPinyinSelectDlg::OnGridSelChanged(int row, int col, CGridResult*) {
    if (IsDataCell(row, col))
        m_nSelRow = row;
}

// Enter in the grid chooses, as it does everywhere else in the window; Home and End go to the
// first and the last product.
bool CPinyinSelectDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pGrid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnSelect();
            return true;
        }
        if (key == Qt::Key_Home || key == Qt::Key_End) {
            ChooseRow(key == Qt::Key_Home ? m_pGrid->GetFixedRowCount()
                                          : m_pGrid->GetRowCount() - 1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CPinyinSelectDlg::OnSelect() {
    if (m_nSelRow == 0) {
        reject();
        return;
    }
    if (PickSelected())
        accept();
}

bool CPinyinSelectDlg::PickSelected() {
    if (m_nSelRow == 0)
        return false;
    const QString name = m_pGrid->GetCellText(m_nSelRow, kColName);
    const QString code = m_pGrid->GetCellText(m_nSelRow, kColCode);
    const QString spec = m_pGrid->GetCellText(m_nSelRow, kColSpec);
    return HandOverPick(this, name, code, spec);
}

void CPinyinSelectDlg::reject() {
    PickArea().m_strPickedName.clear();
    QDialog::reject();
}

void CPinyinSelectDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    m_pGrid->setGeometry(10, 10, w - 20, h - 50);
    const int y = h - 33;
    m_pQuery->setGeometry(10, y, qMax(0, w / 2 - kButtonWidth - 35), kButtonHeight);
    m_pSelect->setGeometry(w / 2 - kButtonWidth - 15, y, kButtonWidth, kButtonHeight);
    m_pExit->setGeometry(w / 2 + 15, y, kButtonWidth, kButtonHeight);
}
