#include "stock/CStocktakeDlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "accounts/PermissionCheck.h"
#include "db/CDbException.h"
#include "ui/CDbAction.h"
#include "text/HarborClock.h"
#include "ui/HarborMessageBox.h"
#include "ui/KeyPress.h"
#include "stock/StocktakeGrid.h"
#include "text/Cents.h"
#include "text/NumberLimits.h"
#include "grid/CGridCtrl.h"

CStocktakeDlg::CStocktakeDlg(QWidget* parent) : CWorkDialog(QStringLiteral("盘点"), parent) {
    CreateControls();
    LayOut();
    FillScopes();
    resize(1260, 700);
}

CStocktakeDlg::~CStocktakeDlg() = default;

void CStocktakeDlg::CreateControls() {
    m_pScope = new QComboBox(this);
    m_pScope->setMinimumWidth(200);
    m_pScope->installEventFilter(this);
    m_pStart = new QPushButton(QStringLiteral("开始盘点(&S)"), this);
    m_pPrint = new QPushButton(QStringLiteral("打印盘点表(&P)..."), this);
    m_pScan = new QLineEdit(this);
    m_pScan->setPlaceholderText(QStringLiteral("扫描或输入条形码, 回车"));
    m_pScan->setMinimumWidth(200);
    m_pScan->installEventFilter(this);
    m_pPost = new QPushButton(QStringLiteral("过账(&G)"), this);
    m_pNumber = new QLabel(this);
    m_pGrid = new CGridCtrl(this);
    SetupStocktakeGrid(m_pGrid);
    m_pGrid->installEventFilter(this); // F3 back to the code box
    m_pTotals = new QLabel(this);
    for (QPushButton* button : {m_pStart, m_pPrint, m_pPost})
        button->setAutoDefault(false);
    m_pPrint->setEnabled(false);
    m_pPost->setEnabled(false);
    m_pScan->setEnabled(false);
    connect(m_pStart, &QPushButton::clicked, this, &CStocktakeDlg::StartCount);
    connect(m_pPrint, &QPushButton::clicked, this, &CStocktakeDlg::PrintCountSheet);
    connect(m_pPost, &QPushButton::clicked, this, &CStocktakeDlg::Post);
    connect(m_pGrid, &CGridCtrl::endEdit, this, &CStocktakeDlg::OnGridEndEdit);
    setTabOrder(m_pScope, m_pStart);
    setTabOrder(m_pStart, m_pScan);
    setTabOrder(m_pScan, m_pGrid);
    setTabOrder(m_pGrid, m_pPrint);
    setTabOrder(m_pPrint, m_pPost);
}

void CStocktakeDlg::LayOut() {
    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("盘点范围:"), this));
    controls->addWidget(m_pScope);
    controls->addWidget(m_pStart);
    controls->addSpacing(16);
    controls->addWidget(new QLabel(QStringLiteral("条形码:"), this));
    controls->addWidget(m_pScan);
    controls->addSpacing(16);
    controls->addWidget(m_pPrint);
    controls->addWidget(m_pPost);
    controls->addStretch(1);
    controls->addWidget(m_pNumber);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 12, 12, 12);
    page->addLayout(controls);
    page->addWidget(m_pGrid, 1);
    page->addWidget(m_pTotals);
}

void CStocktakeDlg::FillScopes() {
    QVector<CountScope> scopes;
    RunDbRead(this, QStringLiteral("读取商品类别"), [&] { scopes = ReadCountScopes(); });
    if (scopes.isEmpty())
        scopes.append({QString(), QStringLiteral("全部商品")});
    for (const CountScope& scope : std::as_const(scopes))
        m_pScope->addItem(scope.label, scope.prefix);
}

bool CStocktakeDlg::HasUnpostedCounts() const {
    if (!m_strPosted.isEmpty())
        return false;
    return std::any_of(m_items.cbegin(), m_items.cend(),
                       [](const StocktakeItem& item) { return !item.counted.isEmpty(); });
}

bool CStocktakeDlg::QueryClose() {
    return !HasUnpostedCounts() ||
           HarborMessageBox(this,
                            QStringLiteral("本次盘点尚未过账,关闭后输入的实盘数将丢失。是否关闭?"),
                            MsgIcon::Question, MsgButtons::YesNo) == IDYES;
}

void CStocktakeDlg::StartCount() {
    if (HasUnpostedCounts() &&
        HarborMessageBox(this, QStringLiteral("本次盘点尚未过账,是否放弃输入的实盘数,重新开始?"),
                         MsgIcon::Question, MsgButtons::YesNo) != IDYES)
        return;
    const QString prefix = m_pScope->currentData().toString();
    QVector<StocktakeItem> items;
    if (!RunDbRead(this, QStringLiteral("读取盘点商品"),
                   [&] { items = ReadStocktakeItems(prefix); }))
        return;
    m_items = items;
    m_strScope = m_pScope->currentText();
    m_startedAt = HarborNow();
    m_strPosted.clear();
    m_nScanRow = -1;
    m_pScan->clear();
    FillStocktakeGrid(m_pGrid, m_items, true);
    m_pNumber->setText(QStringLiteral("盘点开始: %1, 未过账")
                           .arg(m_startedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    m_pPrint->setEnabled(true);
    m_pPost->setEnabled(!m_items.isEmpty());
    m_pScan->setEnabled(!m_items.isEmpty());
    ShowTotals();
    if (m_items.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("%1中没有商品").arg(m_strScope));
        return;
    }
    m_pGrid->SetFocusCell(m_pGrid->GetFixedRowCount(), kCountCounted);
    m_pScan->setFocus();
}

int CStocktakeDlg::ItemIndex(int row) const {
    const int index = row - m_pGrid->GetFixedRowCount();
    return index >= 0 && index < m_items.size() ? index : -1;
}

// A code scanned or typed into the box: the product's 实盘 opens for its figure.
void CStocktakeDlg::OnScan() {
    const QString code = m_pScan->text().trimmed();
    if (code.isEmpty())
        return;
    const int row = StocktakeRowOf(m_pGrid, code);
    if (row < 0) {
        HarborMessageBox(this, QStringLiteral("条形码<%1>不在本次盘点的商品中").arg(code));
        m_pScan->selectAll();
        return;
    }
    m_pScan->clear(); // ready for the next code
    m_nScanRow = row;
    m_pGrid->setFocus();
    m_pGrid->SetFocusCell(row, kCountCounted);
    m_pGrid->EnsureVisible(row, kCountCounted);
    m_pGrid->EditCell(row, kCountCounted, GVK_TAB); // a new scan replaces the figure
}

void CStocktakeDlg::OnGridEndEdit(int row, int col, CGridResult* result) {
    const int index = ItemIndex(row);
    if (index < 0 || col != kCountCounted || !m_strPosted.isEmpty())
        return;
    const QString text = m_pGrid->GetCellText(row, col).trimmed();
    QString problem = TypedNumberProblem(NumberKind::Stock, QStringLiteral("实盘"), text);
    if (problem.isEmpty() && CentsOf(text) < 0)
        problem = QStringLiteral("实盘不能小于0,请改正"); // nothing counts less than nothing
    if (!text.isEmpty() && !problem.isEmpty()) {
        HarborMessageBox(this, problem);
        result->Cancel();
        return;
    }
    // Kept as the book stock shows: two decimals.
    m_items[index].counted = text.isEmpty() ? text : CentsText(CentsOf(text));
    ShowStocktakeRow(m_pGrid, row, m_items[index],
                     m_pGrid->GetCellBackColor(row, kCountBook).isValid());
    ShowTotals();
    if (row == m_nScanRow) {
        m_nScanRow = -1;
        QTimer::singleShot(0, this, [this] { FocusScanBox(); });
    }
}

void CStocktakeDlg::ShowTotals() {
    m_pTotals->setText(StocktakeTotalsText(SumStocktake(m_items)));
}

Report CStocktakeDlg::CountSheet() const {
    Report report;
    report.title = QStringLiteral("盘点表");
    try {
        report.letterhead = ShopLetterhead();
    } catch (const CDbException&) {
        // the sheet prints without the shop's name
    }
    report.heading << QStringLiteral("盘点范围: %1").arg(m_strScope)
                   << QStringLiteral("盘点开始: %1")
                          .arg(m_startedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    report.table = CountSheetTable(m_items);
    report.footing << QStringLiteral("共 %1 种商品").arg(m_items.size())
                   << QStringLiteral("盘点人: ____________    复核人: ____________");
    return report;
}

void CStocktakeDlg::PrintCountSheet() {
    PreviewReport(this, CountSheet());
}

void CStocktakeDlg::Post() {
    if (!m_strPosted.isEmpty() || m_items.isEmpty())
        return;
    m_pGrid->EndEditing();
    if (!RequirePermission(this, Permission::StockCount))
        return;
    const StocktakeTotals totals = SumStocktake(m_items);
    if (totals.counted == 0) {
        HarborMessageBox(this, QStringLiteral("没有输入任何商品的实盘数,没有可过账的内容"));
        return;
    }
    if (HarborMessageBox(this,
                         QStringLiteral("过账后 %1 种商品的库存将改为实盘数(未输入实盘的商品不变),"
                                        "盘点单不能再修改。是否过账?")
                             .arg(totals.counted),
                         MsgIcon::Question, MsgButtons::YesNo) != IDYES)
        return;
    QString oddnum;
    try {
        if (!RunDbAction(this, QStringLiteral("盘点过账"),
                         [&] { oddnum = PostStocktake(m_items, m_strScope, m_startedAt); }))
            return;
    } catch (const StocktakeRefusal& refusal) {
        ShowRefusal(refusal);
        return;
    }
    ShowPosted(oddnum);
}

// The products whose stock moved meanwhile show their stock now, marked; the next 过账 posts
// against it.
void CStocktakeDlg::ShowRefusal(const StocktakeRefusal& refusal) {
    for (const BookChange& change : refusal.changed) {
        const int row = StocktakeRowOf(m_pGrid, change.code);
        const int index = ItemIndex(row);
        if (index < 0)
            continue;
        m_items[index].book = change.now;
        ShowStocktakeRow(m_pGrid, row, m_items[index], true);
    }
    ShowTotals();
    HarborMessageBox(this, refusal.message);
}

void CStocktakeDlg::ShowPosted(const QString& oddnum) {
    m_strPosted = oddnum;
    FillStocktakeGrid(m_pGrid, m_items, false);
    m_pPost->setEnabled(false);
    m_pScan->setEnabled(false);
    m_pNumber->setText(QStringLiteral("盘点单号: %1, 已过账").arg(oddnum));
    HarborMessageBox(this,
                     QStringLiteral("盘点单%1已过账,%2种商品的库存已改为实盘数")
                         .arg(oddnum)
                         .arg(SumStocktake(m_items).counted),
                     MsgIcon::Information);
    m_pScope->setFocus();
}

void CStocktakeDlg::resizeEvent(QResizeEvent* event) {
    CWorkDialog::resizeEvent(event);
    FitStocktakeColumns(m_pGrid);
}

void CStocktakeDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F3 && m_pScan->isEnabled()) {
        FocusScanBox();
        return;
    }
    CWorkDialog::keyPressEvent(event);
}

void CStocktakeDlg::FocusScanBox() {
    m_pGrid->EndEditing();
    m_pScan->setFocus();
    m_pScan->selectAll();
}

bool CStocktakeDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pGrid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F3 && m_pScan->isEnabled()) {
        FocusScanBox();
        return true;
    }
    if (IsEnterPress(event) && watched == m_pScan) {
        OnScan();
        return true;
    }
    if (IsEnterPress(event) && watched == m_pScope) {
        StartCount();
        return true;
    }
    return CWorkDialog::eventFilter(watched, event);
}
