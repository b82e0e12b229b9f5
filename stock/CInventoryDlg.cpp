#include "stock/CInventoryDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "catalogue/MinimumStock.h"
#include "catalogue/ProductSearch.h"
#include "export/GridExport.h"
#include "export/ReportPrint.h"
#include "grid/CGridCtrl.h"
#include "stock/CStocktakeDlg.h"
#include "ui/CDbAction.h"
#include "ui/CommandIds.h"
#include "ui/FlowLayout.h"
#include "ui/ShellLink.h"

namespace {

// What the window shows again when it is reopened.
struct RememberedValues {
    int searchBy = 0;
    QString keyword;
    QString hits;
};

RememberedValues& Remembered() {
    static RememberedValues values;
    return values;
}

// What the exported columns hold, by header; the others are text.
const ExportKinds kExportKinds = {{"条形码", ExportKind::Text},
                                  {"单价", ExportKind::Number},
                                  {"库存", ExportKind::Number},
                                  {"最低库存", ExportKind::Number},
                                  {"缺少数量", ExportKind::Number}};

} // namespace

CInventoryDlg::CInventoryDlg(QWidget* parent) : CWorkDialog(QStringLiteral("库存盘点"), parent) {
    CreateControls();
    LoadValues();
    resize(1260, 700);
}

CInventoryDlg::~CInventoryDlg() = default;

void CInventoryDlg::CreateControls() {
    m_pSearchFrame = new QGroupBox(QStringLiteral("商品信息搜索"), this);
    m_pGridFrame = new QGroupBox(this);
    m_pKeywordLabel = new QLabel(QStringLiteral("商品名称关键字："), this);
    m_pKeyword = new QLineEdit(this);
    m_pKeyword->setMinimumWidth(200);
    m_pByName = new QRadioButton(QStringLiteral("按商品名称搜索"), this);
    m_pByShortName = new QRadioButton(QStringLiteral("按商品简称搜索"), this);
    m_pSearchBy = new QButtonGroup(this);
    m_pSearchBy->addButton(m_pByName, 0);
    m_pSearchBy->addButton(m_pByShortName, 1);
    m_pBelowMinimum = new QRadioButton(QStringLiteral("低于最低库存"), this);
    m_pSearchBy->addButton(m_pBelowMinimum, 2);
    m_pSearch = new QPushButton(QStringLiteral("搜索"), this);
    m_pHitsBefore = new QLabel(QStringLiteral("共"), this);
    m_pHits = new QLineEdit(this);
    m_pHits->setReadOnly(true);
    m_pHits->setAlignment(Qt::AlignCenter);
    m_pHits->setFocusPolicy(Qt::NoFocus);
    m_pHits->setFixedWidth(m_pHits->fontMetrics().horizontalAdvance(QStringLiteral("9999999")) +
                           12);
    m_pHitsAfter = new QLabel(QStringLiteral("条记录"), this);
    m_pGrid = new CGridCtrl(this);
    SetupProductGrid(*m_pGrid);
    m_pGrid->installEventFilter(this); // the grid would swallow Enter

    connect(m_pSearch, &QPushButton::clicked, this, &CInventoryDlg::Search);
    m_pExport = new QPushButton(QStringLiteral("导出..."), this);
    connect(m_pExport, &QPushButton::clicked, this,
            [this] { ExportGrid(this, m_pGrid, kExportKinds); });
    AttachGridExport(m_pGrid, kExportKinds);
    m_pPrint = new QPushButton(QStringLiteral("打印..."), this);
    connect(m_pPrint, &QPushButton::clicked, this, &CInventoryDlg::PrintList);
    m_pStocktake = new QPushButton(QStringLiteral("盘点..."), this);
    connect(m_pStocktake, &QPushButton::clicked, this, &CInventoryDlg::OpenStocktake);
    // The low-stock list needs no keyword: choosing it shows it.
    connect(m_pBelowMinimum, &QRadioButton::clicked, this, &CInventoryDlg::Search);
    setTabOrder(m_pKeyword, m_pByName);
    setTabOrder(m_pByName, m_pByShortName);
    setTabOrder(m_pByShortName, m_pBelowMinimum);
    setTabOrder(m_pBelowMinimum, m_pSearch);
    setTabOrder(m_pSearch, m_pGrid);
    LayOut();
}

void CInventoryDlg::LoadValues() {
    const RememberedValues& values = Remembered();
    m_nSearchBy = values.searchBy;
    m_strKeyword = values.keyword;
    m_strHits = values.hits;
    (m_nSearchBy == 2   ? m_pBelowMinimum
     : m_nSearchBy == 1 ? m_pByShortName
                        : m_pByName)
        ->setChecked(true);
    m_pKeyword->setText(m_strKeyword);
    m_pHits->setText(m_strHits);
}

void CInventoryDlg::StoreValues() {
    Remembered() = RememberedValues{m_nSearchBy, m_strKeyword, m_strHits};
}

SqlStatement CInventoryDlg::SearchCondition(int searchBy, const QString& keyword) {
    if (searchBy == 1)
        return LikeSearchSql(QStringLiteral("shortname LIKE ? OR shortpinyin LIKE ?"), keyword);
    return LikeSearchSql(QStringLiteral("name LIKE ? OR longpinyin LIKE ?"), keyword);
}

SqlStatement CInventoryDlg::SearchSql(int searchBy, const QString& keyword) {
    return ProductSelectSql(SearchCondition(searchBy, keyword));
}

void CInventoryDlg::Search() {
    m_nSearchBy = m_pBelowMinimum->isChecked() ? 2 : m_pByShortName->isChecked() ? 1 : 0;
    m_strKeyword = FoldSearchText(m_pKeyword->text());
    m_pKeyword->setText(m_strKeyword);
    m_pGrid->DeleteNonFixedRows();
    int hits = 0;
    if (m_nSearchBy == 2) {
        RunDbRead(this, QStringLiteral("低于最低库存"), [&] { hits = FillLowStockGrid(*m_pGrid); });
    } else {
        SetupProductGrid(*m_pGrid); // back to the search's columns after the low-stock list
        const QString what = QStringLiteral("库存搜索");
        RunDbRead(this, what, [&] {
            hits =
                ShowProductList(*m_pGrid, SearchCondition(m_nSearchBy, m_strKeyword), this, what);
        });
    }
    m_strHits = QString::number(hits);
    m_pHits->setText(m_strHits);
    StoreValues();
}

void CInventoryDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Search();
        return;
    }
    CWorkDialog::keyPressEvent(event);
}

bool CInventoryDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pGrid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Search();
            return true;
        }
    }
    return CWorkDialog::eventFilter(watched, event);
}

// The search boxes in one row of the search frame, wrapping where the window is too narrow;
// the list fills the frame below.
void CInventoryDlg::LayOut() {
    auto* search = new FlowLayout(m_pSearchFrame);
    const QList<QWidget*> widgets = {
        m_pStocktake,
        KeepTogether(m_pSearchFrame, {m_pKeywordLabel, m_pKeyword}),
        m_pByName,
        m_pByShortName,
        m_pBelowMinimum,
        m_pSearch,
        KeepTogether(m_pSearchFrame, {m_pHitsBefore, m_pHits, m_pHitsAfter}),
        m_pExport,
        m_pPrint};
    for (QWidget* widget : widgets)
        search->addWidget(widget);
    search->setContentsMargins(12, 6, 12, 6);
    auto* list = new QVBoxLayout(m_pGridFrame);
    list->addWidget(m_pGrid);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(m_pSearchFrame);
    layout->addWidget(m_pGridFrame, 1);
}

void CInventoryDlg::PrintList() {
    Report report;
    report.title =
        m_nSearchBy == 2 ? QStringLiteral("低于最低库存商品清单") : QStringLiteral("库存盘点清单");
    RunDbRead(this, QStringLiteral("读取公司信息"), [&] { report.letterhead = ShopLetterhead(); });
    if (m_nSearchBy != 2 && !m_strKeyword.isEmpty())
        report.heading << QStringLiteral("关键字: %1").arg(m_strKeyword);
    report.table = StreamGridTable(*m_pGrid, report.title, kExportKinds);
    report.footing << QStringLiteral("共 %1 种商品").arg(report.table.RowCount());
    PreviewReport(this, report);
}

void CInventoryDlg::OpenStocktake() {
    if (CShellLink* link = ShellLink(); link && link->RunCommand(ID_STOCKTAKE_DLG))
        return;
    // Without the main window (the window on its own) the count opens as a window of its own.
    CWorkDialog* dialog = FindWorkWindow(QStringLiteral("盘点"));
    if (!dialog) {
        dialog = new CStocktakeDlg;
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->show();
    dialog->raise();
}
