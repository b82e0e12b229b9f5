#include "queries/EntryQueryControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/HarborClock.h"
#include "grid/CGridCellCombo.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "queries/EntryQuerySql.h"

namespace {

constexpr int kHeight = 25;
constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

QLabel* MakeLabel(QWidget* parent, const char* text,
                  Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(align);
    return label;
}

QDateEdit* MakeDateBox(QWidget* parent, const QDate& date) {
    auto* box = new QDateEdit(date, parent);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setCalendarPopup(true);
    return box;
}

// A grid with one fixed row and column, the given headers and widths, rows 25 pixels high.
CGridCtrl* MakeGrid(QWidget* parent, int id, const QStringList& headers, const QList<int>& widths) {
    auto* grid = new CGridCtrl(parent);
    grid->SetDlgCtrlID(id);
    grid->SetGridBkColor(Qt::white);
    grid->SetTextBkColor(Qt::white);
    grid->SetDefCellHeight(kRowHeight);
    if (CGridDefaultCell* cell = grid->GetDefaultCell(true, false))
        cell->SetFormat(kCentred);
    grid->SetColumnCount(headers.size());
    grid->SetRowCount(1);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->SetRowHeight(0, kRowHeight);
    for (int col = 0; col < headers.size(); ++col) {
        grid->SetCellText(0, col, headers[col]);
        grid->SetCellFormat(0, col, kCentred);
        grid->SetColumnWidth(col, widths[col]);
    }
    grid->SetColumnResize(false);
    grid->SetRowResize(false);
    return grid;
}

int AppendNumberedRow(CGridCtrl* grid) {
    const int row = grid->AppendRow();
    grid->SetRowHeight(row, kRowHeight);
    grid->SetCellFormat(row, 0, kCentred);
    grid->SetCellText(row, 0, QString::asprintf("%d", row));
    return row;
}

} // namespace

void EntryQueryControls::Create(QWidget* parent) {
    m_pListFrame = new QGroupBox(
        QStringLiteral("入库单查询-----------------------------------------------------------"
                       "----说明:入库单中付款状态可在表格各下拉框中直接修改."),
        parent);
    QFont titleFont = m_pListFrame->font();
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() * 0.92);
    else
        titleFont.setPixelSize(titleFont.pixelSize() - 1);
    m_pListFrame->setFont(titleFont);
    m_pDetailFrame = new QGroupBox(QStringLiteral("入库详单查询"), parent);
    m_pLabels[kDateLabel] = MakeLabel(parent, "日期:");
    m_pLabels[kToLabel] = MakeLabel(parent, "至", Qt::AlignCenter);
    m_pLabels[kSupplierLabel] = MakeLabel(parent, "供货商:");
    m_pLabels[kStateLabel] = MakeLabel(parent, "付款状态:");
    m_pLabels[kTotalLabel] = MakeLabel(parent, "总金额:");
    m_pLabels[kTotalUnit] = MakeLabel(parent, "元", Qt::AlignLeft | Qt::AlignVCenter);

    m_pStart = MakeDateBox(parent, HarborToday());
    m_pEnd = MakeDateBox(parent, HarborToday());
    m_pSupplier = new QComboBox(parent);
    m_pSupplier->setEditable(true);
    m_pSupplier->setInsertPolicy(QComboBox::NoInsert);
    m_pState = new QComboBox(parent);
    m_pState->addItems(QStringList{QString()} + EntryStates());
    m_pStatement = new QPushButton(QStringLiteral("对账单"), parent);
    m_pStatement->setToolTip(QStringLiteral("供货商框中供货商在所选日期内的对账单"));
    m_pQuery = new QPushButton(QStringLiteral("查询"), parent);
    m_pTotal = new QLineEdit(parent);
    m_pTotal->setReadOnly(true);
    m_pTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_pPrintSetup = new QPushButton(QStringLiteral("打印设置"), parent);
    m_pPreview = new QPushButton(QStringLiteral("打印预览"), parent);
    m_pPrint = new QPushButton(QStringLiteral("打印"), parent);
    m_pSinglePage = new QCheckBox(QStringLiteral("单页打印"), parent);
    m_pSinglePage->setChecked(true);
    // Single-page printing has no paper to set up.
    m_pPrintSetup->setEnabled(false);
    m_pDelete = new QPushButton(QStringLiteral("删除本单"), parent);
    m_pDelete->setStyleSheet(QStringLiteral("color: red;"));
    m_pDeleted = new QPushButton(QStringLiteral("已删除单据"), parent);

    m_pList =
        MakeGrid(parent, 100,
                 {QString(), QStringLiteral("单号"), QStringLiteral("供货商"),
                  QStringLiteral("供货日期"), QStringLiteral("金额"), QStringLiteral("付款状态")},
                 {25, 100, 208, 90, 90, 90});
    m_pList->SetEditable(true);
    m_pDetail = MakeGrid(parent, 101,
                         {QString(), QStringLiteral("商品名称"), QStringLiteral("条形码"),
                          QStringLiteral("规格"), QStringLiteral("单价"), QStringLiteral("数量"),
                          QStringLiteral("总价")},
                         {25, 234, 95, 80, 50, 50, 60});
    m_pDetail->SetEditable(false);
    m_pListFrame->lower();
    m_pDetailFrame->lower();
}

void EntryQueryControls::LayOut(QSize size) {
    const int w = size.width();
    const int h = size.height();
    const int left = qMax(10, w / 2 - 630);
    const int right = qMin(w - 10, w / 2 + 630);
    const int middle = w / 2;
    m_pListFrame->setGeometry(left, 20, middle - left, qMax(200, h - 30));
    m_pList->setGeometry(left + 10, 115, middle - left - 20, qMax(60, h - 135));
    m_pDetailFrame->setGeometry(middle + 10, 20, right - middle - 10, qMax(200, h - 30));
    m_pDetail->setGeometry(middle + 20, 70, right - middle - 30, qMax(60, h - 90));
    m_pDelete->setGeometry(right - 100, 40, 80, kHeight);
    m_pDeleted->setGeometry(right - 200, 40, 90, kHeight);

    auto place = [left](QWidget* widget, int x, int y, int width) {
        widget->setGeometry(left + x, y, width, kHeight);
    };
    place(m_pLabels[kDateLabel], 10, 45, 40);
    place(m_pStart, 54, 45, 110);
    place(m_pLabels[kToLabel], 164, 45, 24);
    place(m_pEnd, 188, 45, 110);
    place(m_pLabels[kSupplierLabel], 304, 45, 56);
    place(m_pSupplier, 364, 45, 96);
    place(m_pStatement, 464, 45, 56);
    place(m_pQuery, 524, 45, 80);
    place(m_pLabels[kStateLabel], 10, 80, 70);
    place(m_pState, 84, 80, 80);
    place(m_pLabels[kTotalLabel], 168, 80, 52);
    place(m_pTotal, 222, 80, 86);
    place(m_pLabels[kTotalUnit], 310, 80, 16);
    place(m_pPrintSetup, 332, 80, 68);
    place(m_pPreview, 404, 80, 68);
    place(m_pPrint, 476, 80, 52);
    place(m_pSinglePage, 536, 80, 80);
}

void EntryQueryControls::AppendDocument(const EntryDocument& document) {
    const int row = AppendNumberedRow(m_pList);
    const QString texts[] = {document.oddnum, document.supplier, document.mydate, document.money};
    for (int col = kListOddnum; col <= kListMoney; ++col) {
        m_pList->SetCellText(row, col, texts[col - kListOddnum]);
        m_pList->SetCellFormat(row, col, col == kListMoney ? kRight : kCentred);
        // Only the state reaches the database; the document's own texts stay as stored.
        m_pList->SetCellReadOnly(row, col);
    }
    m_pList->SetCellType<CGridCellCombo>(row, kListState);
    if (auto* combo = dynamic_cast<CGridCellCombo*>(m_pList->GetCell(row, kListState)))
        combo->SetStyle(CBS_DROPDOWNLIST);
    m_pList->SetComboOptions(row, kListState, EntryStates());
    m_pList->SetCellText(row, kListState, document.state);
    m_pList->SetCellFormat(row, kListState, kCentred);
}

void EntryQueryControls::AppendLine(const QStringList& line) {
    const int row = AppendNumberedRow(m_pDetail);
    for (int i = 0; i < line.size(); ++i) {
        const int col = i + 1;
        m_pDetail->SetCellText(row, col, line[i]);
        m_pDetail->SetCellFormat(row, col, col <= 3 ? kCentred : col == 6 ? kRight : kLeft);
    }
}
