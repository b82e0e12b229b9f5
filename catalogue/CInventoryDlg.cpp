#include "catalogue/CInventoryDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/CDbAction.h"
#include "catalogue/ProductSearch.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"

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

constexpr int kControlHeight = 25;

// What the exported columns hold, by header; the others are text.
const ExportKinds kExportKinds = {
    {"条形码", ExportKind::Text}, {"单价", ExportKind::Number}, {"库存", ExportKind::Number}};

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
    m_pByName = new QRadioButton(QStringLiteral("按商品名称搜索"), this);
    m_pByShortName = new QRadioButton(QStringLiteral("按商品简称搜索"), this);
    m_pSearchBy = new QButtonGroup(this);
    m_pSearchBy->addButton(m_pByName, 0);
    m_pSearchBy->addButton(m_pByShortName, 1);
    m_pSearch = new QPushButton(QStringLiteral("搜索"), this);
    m_pHitsBefore = new QLabel(QStringLiteral("共"), this);
    m_pHits = new QLineEdit(this);
    m_pHits->setReadOnly(true);
    m_pHits->setAlignment(Qt::AlignCenter);
    m_pHits->setFocusPolicy(Qt::NoFocus);
    m_pHitsAfter = new QLabel(QStringLiteral("条记录"), this);
    m_pGrid = new CGridCtrl(this);
    SetupProductGrid(*m_pGrid);
    m_pGrid->installEventFilter(this); // the grid would swallow Enter

    connect(m_pSearch, &QPushButton::clicked, this, &CInventoryDlg::Search);
    m_pExport = new QPushButton(QStringLiteral("导出..."), this);
    connect(m_pExport, &QPushButton::clicked, this,
            [this] { ExportGrid(this, m_pGrid, kExportKinds); });
    AttachGridExport(m_pGrid, kExportKinds);
    setTabOrder(m_pKeyword, m_pByName);
    setTabOrder(m_pByName, m_pByShortName);
    setTabOrder(m_pByShortName, m_pSearch);
    setTabOrder(m_pSearch, m_pGrid);
}

void CInventoryDlg::LoadValues() {
    const RememberedValues& values = Remembered();
    m_nSearchBy = values.searchBy;
    m_strKeyword = values.keyword;
    m_strHits = values.hits;
    (m_nSearchBy == 1 ? m_pByShortName : m_pByName)->setChecked(true);
    m_pKeyword->setText(m_strKeyword);
    m_pHits->setText(m_strHits);
}

void CInventoryDlg::StoreValues() {
    Remembered() = RememberedValues{m_nSearchBy, m_strKeyword, m_strHits};
}

SqlStatement CInventoryDlg::SearchSql(int searchBy, const QString& keyword) {
    if (searchBy == 1)
        return LikeSearchSql(
            QStringLiteral("SELECT * FROM property WHERE shortname LIKE ? OR shortpinyin LIKE ?"),
            keyword);
    return LikeSearchSql(
        QStringLiteral("SELECT * FROM property WHERE name LIKE ? OR longpinyin LIKE ?"), keyword);
}

void CInventoryDlg::Search() {
    m_nSearchBy = m_pByShortName->isChecked() ? 1 : 0;
    m_strKeyword = FoldSearchText(m_pKeyword->text());
    m_pKeyword->setText(m_strKeyword);
    m_pGrid->DeleteNonFixedRows();
    int hits = 0;
    RunDbRead(this, QStringLiteral("库存搜索"),
              [&] { hits = FillProductGrid(*m_pGrid, SearchSql(m_nSearchBy, m_strKeyword)); });
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

void CInventoryDlg::resizeEvent(QResizeEvent* event) {
    CWorkDialog::resizeEvent(event);
    LayOut();
}

// Positions follow the window's width R and height H.
void CInventoryDlg::LayOut() {
    const int r = width();
    const int h = height();
    const int a = r / 2 + 365;
    const int left = (r - a) / 2;
    const int q = r / 4;
    const int y = 32;
    m_pSearchFrame->setGeometry(left, 10, a, 60);
    m_pKeywordLabel->setGeometry(q - 130, y, 100, kControlHeight);
    m_pKeyword->setGeometry(q - 30, y, 200, kControlHeight);
    m_pByName->setGeometry(q + 210, y, 110, kControlHeight);
    m_pByShortName->setGeometry(q + 330, y, 110, kControlHeight);
    m_pSearch->setGeometry(q + 490, y, 80, kControlHeight);
    m_pHitsBefore->setGeometry(q + 600, y, 15, kControlHeight);
    m_pHits->setGeometry(q + 615, y, 50, kControlHeight);
    m_pHitsAfter->setGeometry(q + 670, y, 50, kControlHeight);
    m_pExport->setGeometry(q + 730, y, 66, kControlHeight);
    m_pGridFrame->setGeometry(left, 61 + 15, a, h - 70 - 15);
    m_pGrid->setGeometry(left + 10, 90, a - 20, h - 20 - 90);
}
