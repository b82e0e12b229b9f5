#include "catalogue/CCatalogueLists.h"

#include <QLabel>

#include "grid/CGridCtrl.h"
#include "ui/CDbAction.h"

namespace {

constexpr int kLevels = CCatalogueTree::kLevels;
constexpr int kListWidth = 210;
constexpr int kRowHeight = 25;
constexpr quint32 kCentre = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Columns after the row number: header and width.
struct ListColumn {
    const char* header;
    int width;
};

QVector<ListColumn> ListColumns(int k) {
    static const char* const kNameHeaders[] = {"一级商品名称", "二级商品名称", "三级商品名称",
                                               "四级商品名称"};
    if (k == kLevels)
        return {{"数量", 50}, {"包装", 75}, {"编号", 38}};
    return {{kNameHeaders[k - 1], 110}, {"编号", 38}};
}

} // namespace

CCatalogueLists::CCatalogueLists(QWidget* parent) : QWidget(parent) {
    for (int k = 1; k <= kLevels; ++k)
        m_pList[k] = CreateList(k);
    for (int k = 1; k < kLevels; ++k) {
        m_pArrow[k] = new QLabel(QStringLiteral(">>>"), this);
        m_pArrow[k]->setAlignment(Qt::AlignCenter);
    }
}

CGridCtrl* CCatalogueLists::CreateList(int k) {
    auto* list = new CGridCtrl(this);
    const QVector<ListColumn> columns = ListColumns(k);
    list->SetDlgCtrlID(100 + k);
    list->SetEditable(false);
    list->SetListMode(true);
    list->SetSingleRowSelection(true);
    list->SetGridBkColor(Qt::white);
    list->SetTextBkColor(Qt::white);
    list->SetColumnCount(columns.size() + 1);
    list->SetRowCount(1);
    list->SetFixedRowCount(1);
    list->SetFixedColumnCount(1);
    list->SetRowHeight(0, kRowHeight);
    list->SetColumnWidth(0, 25);
    list->SetCellFormat(0, 0, kCentre);
    for (int col = 1; col <= columns.size(); ++col) {
        list->SetColumnWidth(col, columns[col - 1].width);
        list->SetCellText(0, col, QString::fromUtf8(columns[col - 1].header));
        list->SetCellFormat(0, col, kCentre);
    }
    if (k < kLevels) {
        connect(list, &CGridCtrl::click, this,
                [this, k](int row, int col, CGridResult*) { OnListClick(k, row, col); });
    } else {
        connect(list, &CGridCtrl::click, this,
                [this](int row, int col, CGridResult*) { emit specClicked(row, col); });
        connect(list, &CGridCtrl::doubleClick, this,
                [this](int row, int col, CGridResult*) { emit specDoubleClicked(row, col); });
    }
    return list;
}

bool CCatalogueLists::FillFirstList() {
    return RunDbRead(this, QStringLiteral("读取商品分类"),
                     [this] { FillList(1, m_tree.ReadLevel(1)); });
}

void CCatalogueLists::FillList(int k, const QVector<CatalogueRow>& rows) {
    CGridCtrl* list = m_pList[k];
    list->DeleteNonFixedRows();
    for (int i = 0; i < rows.size(); ++i) {
        const CatalogueRow& data = rows[i];
        const int row = list->AppendRow(QString::number(i + 1));
        list->SetRowHeight(row, kRowHeight);
        const QStringList cells = k == kLevels ? QStringList{data.count, data.pack, data.code}
                                               : QStringList{data.name, data.code};
        for (int col = 0; col <= cells.size(); ++col) {
            if (col > 0)
                list->SetCellText(row, col, cells[col - 1]);
            list->SetCellFormat(row, col, kCentre);
        }
    }
    list->Refresh();
}

void CCatalogueLists::ClearListsFrom(int k) {
    for (int level = k; level <= kLevels; ++level) {
        m_pList[level]->DeleteNonFixedRows();
        m_pList[level]->Refresh();
    }
}

bool CCatalogueLists::IsDataCell(const CGridCtrl* list, int row, int col) {
    return row >= list->GetFixedRowCount() && row < list->GetRowCount() &&
           col >= list->GetFixedColumnCount() && col < list->GetColumnCount();
}

// A node of level k chosen: its children fill list k+1, the specifications right under it
// fill list 5.
void CCatalogueLists::OnListClick(int k, int row, int col) {
    CGridCtrl* list = m_pList[k];
    if (!IsDataCell(list, row, col))
        return;
    m_tree.SelectNode(k, list->GetCellText(row, 2), list->GetCellText(row, 1));
    ClearListsFrom(k + 1);
    RunDbRead(this, QStringLiteral("读取商品分类"), [this, k] {
        if (k < kLevels - 1)
            FillList(k + 1, m_tree.ReadLevel(k + 1));
        FillList(kLevels, m_tree.ReadSpecs(k));
    });
    emit nodeChosen(k);
}

// Five lists side by side, each centred in a fifth of the width, ">>>" between them.
void CCatalogueLists::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width() / kLevels;
    const int h = height();
    for (int k = 1; k <= kLevels; ++k) {
        const int centre = w * (k - 1) + w / 2;
        m_pList[k]->setGeometry(centre - kListWidth / 2, 20, kListWidth, h - 40);
    }
    for (int k = 1; k < kLevels; ++k)
        m_pArrow[k]->setGeometry(k * w - 25, h / 2, 50, 40);
}
