#include "catalogue/CPropertyPanel.h"

#include "accounts/PermissionCheck.h"
#include "catalogue/CCatalogueTree.h"
#include "catalogue/CCatalogueWriter.h"
#include "catalogue/CatalogueGridSetup.h"
#include "catalogue/MinimumStock.h"
#include "db/CRecordset.h"
#include "db/SqlText.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "text/InputText.h"
#include "text/NumberLimits.h"
#include "text/PinyinInitials.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

#include <QBoxLayout>
#include <QProgressDialog>
#include <QPushButton>
#include <QResizeEvent>
#include <memory>

namespace {

// Columns 3 to 8 of the row, in the order of the table's columns.
const QStringList kValueFields = {"shortname", "price",     "discount1",
                                  "discount2", "discount3", "total"};
constexpr int kNameCol = 0, kSpecCol = 1, kCodeCol = 2, kShortNameCol = 3;
constexpr int kMinimumCol = 9;      // kept in minstock, beside the product's row in property
constexpr int kGridWidth = 957 + 2; // the columns and the frame
constexpr int kGridHeight = 2 * 25 + 2;
// What the exported columns hold, by header; the others are text.
const ExportKinds kExportKinds = {{"条码", ExportKind::Text},      {"售价", ExportKind::Number},
                                  {"折扣一", ExportKind::Number},  {"折扣二", ExportKind::Number},
                                  {"折扣三", ExportKind::Number},  {"总数", ExportKind::Number},
                                  {"最低库存", ExportKind::Number}};
// From this many products on, the pinyin run shows its progress.
constexpr int kProgressFrom = 200;

const char* const kPropertySql = "SELECT * FROM property WHERE code=?";

} // namespace

CPropertyPanel::CPropertyPanel(CCatalogueTree& path, QWidget* parent)
    : QGroupBox(QStringLiteral("商品属性数据库生成"), parent), m_path(path),
      m_pGrid(new CGridCtrl(this)), m_pSave(new QPushButton(QStringLiteral("保存"), this)),
      m_pPinyin(new QPushButton(QStringLiteral("所有商品生成拼音"), this)) {
    SetupCatalogueGrid(m_pGrid,
                       {"商品名称", "规格", "条码", "商品简称", "售价", "折扣一", "折扣二",
                        "折扣三", "总数", "最低库存"},
                       {300, 80, 80, 135, 60, 60, 60, 60, 60, 60}, 3);
    AppendCatalogueRow(m_pGrid);
    m_pGrid->SetFixedColumnSelection(false);
    m_pGrid->setFixedSize(kGridWidth, kGridHeight);
    m_pGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The width follows the window; the buttons go under the row when it is narrow.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumWidth(kGridWidth + 30);
    m_pSave->setFixedSize(50, 25);
    m_pPinyin->setFixedSize(120, 25);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->addStretch();
    buttons->addWidget(m_pSave);
    buttons->addWidget(m_pPinyin);
    buttons->addStretch();
    m_pLayout = new QBoxLayout(QBoxLayout::LeftToRight, this);
    m_pLayout->setContentsMargins(10, 6, 10, 6);
    m_pLayout->setSpacing(20);
    m_pLayout->addStretch();
    m_pLayout->addWidget(m_pGrid, 0, Qt::AlignCenter);
    m_pLayout->addLayout(buttons);
    m_pLayout->addStretch();

    connect(m_pSave, &QPushButton::clicked, this, &CPropertyPanel::SaveProperties);
    connect(m_pPinyin, &QPushButton::clicked, this, &CPropertyPanel::MakeAllPinyin);
    AttachGridExport(m_pGrid, kExportKinds, QStringLiteral("商品属性"));
}

void CPropertyPanel::resizeEvent(QResizeEvent* event) {
    // Buttons beside the row when there is room, under it otherwise.
    const bool wide = event->size().width() >= kGridWidth + 50 + 120 + 90;
    m_pLayout->setDirection(wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    QGroupBox::resizeEvent(event);
}

void CPropertyPanel::ShowProperties(int k, const QString& spec) {
    if (k < CCatalogueTree::kLevels) {
        FillRow(QStringList(10, QString()));
        return;
    }
    m_path.FillSkippedLevels();
    const QString code = m_path.FullCode();
    QStringList values{m_path.FullName(), spec, code};
    QStringList stored(kValueFields.size(), QString());
    QString minimum;
    RunDbRead(this, QStringLiteral("读取商品属性"), [&] {
        CRecordset rs;
        rs.Open(QString::fromUtf8(kPropertySql), {code});
        if (rs.GetRecordCount() == 1) {
            for (int i = 0; i < kValueFields.size(); ++i)
                stored[i] = rs.GetCollect(kValueFields.at(i));
        }
        rs.Close();
        minimum = ReadMinimumStock(code);
    });
    FillRow(values + stored + QStringList{minimum});
}

// The first typed value that cannot be stored, as the message naming its field; empty when
// all can. The short name may stay empty; the numbers may stay empty or be plain decimals
// within their limits, and neither price nor stock is negative.
QString PropertyValueProblem(const QStringList& values) {
    const QString shortName = values.value(0);
    if (!shortName.isEmpty()) {
        const QString problem = NameProblem(QStringLiteral("商品简称"), shortName);
        if (!problem.isEmpty())
            return problem;
    }
    const struct {
        const char* field;
        NumberKind kind;
    } numbers[] = {{"售价", NumberKind::Price},
                   {"折扣一", NumberKind::Discount},
                   {"折扣二", NumberKind::Discount},
                   {"折扣三", NumberKind::Discount},
                   {"总数", NumberKind::Stock}};
    for (int i = 0; i < 5; ++i) {
        const QString field = QString::fromUtf8(numbers[i].field);
        const QString text = values.value(i + 1);
        const QString problem = TypedNumberProblem(numbers[i].kind, field, text);
        if (!problem.isEmpty())
            return problem;
        if (!text.isEmpty() && text.toDouble() < 0)
            return QStringLiteral("%1不能是负数,请改正").arg(field);
    }
    return QString();
}

void CPropertyPanel::SaveProperties() {
    m_pGrid->EndEditing();
    if (Cell(kNameCol).isEmpty()) {
        HarborMessageBox(this,
                         QStringLiteral("请确认已选中第五栏(规格栏),否则将无法保存商品属性到数据"
                                        "库中．"),
                         MsgIcon::Stop);
        return;
    }
    QStringList values;
    for (int col = kShortNameCol; col < kShortNameCol + kValueFields.size(); ++col)
        values << Cell(col);
    const QString minimum = Cell(kMinimumCol);
    QString problem = PropertyValueProblem(values);
    if (problem.isEmpty())
        problem = MinimumStockProblem(minimum);
    if (!problem.isEmpty()) {
        HarborMessageBox(this, problem);
        return;
    }
    const QString code = Cell(kCodeCol);
    QString name;
    bool stored = false;
    if (!RequirePermission(this, Permission::Catalogue))
        return;
    const bool saved = RunDbAction(this, QStringLiteral("保存商品属性"), [&] {
        // Properties belong to a stored specification: a new or renumbered row on screen would
        // leave them under a code that its later save writes again.
        CRecordset spec;
        spec.Open(QStringLiteral("SELECT bh FROM name5 WHERE bh=?"), {code});
        stored = !spec.IsEOF();
        spec.Close();
        if (!stored)
            return;
        // The name as the stored levels give it, not as the lists may show it before a save.
        name = CCatalogueWriter::StoredFullName(code);
        if (name.isEmpty())
            return;
        CRecordset rs;
        rs.Open(QString::fromUtf8(kPropertySql), {code});
        if (rs.IsEOF())
            rs.AddNew();
        rs.PutCollect("name", name);
        rs.PutCollect("shortname", values.at(0));
        rs.PutCollect("spec", Cell(kSpecCol));
        rs.PutCollect("code", code);
        for (int i = 1; i < kValueFields.size(); ++i)
            rs.PutCollect(kValueFields.at(i), values.at(i));
        rs.PutCollect("longpinyin", GetPinyinInitials(name));
        rs.PutCollect("shortpinyin", GetPinyinInitials(values.at(0)));
        rs.Update();
        rs.Close();
        WriteMinimumStock(code, minimum);
    });
    if (!saved)
        return;
    if (!stored) {
        HarborMessageBox(this, QStringLiteral("该规格尚未保存,请先保存规格栏后再保存商品属性"));
    } else if (name.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("该商品的上级商品名不完整(有空缺的级别或已被删除),"
                                              "不能保存商品属性"));
    } else {
        m_pGrid->SetCellText(1, kNameCol, name);
        m_pGrid->Refresh();
        HarborMessageBox(this, QStringLiteral("商品属性已成功保存"), MsgIcon::Information);
    }
}

void CPropertyPanel::MakeAllPinyin() {
    const bool done = RunDbAction(this, QStringLiteral("生成拼音"), [&] {
        CRecordset rs;
        rs.Open(QStringLiteral("SELECT * FROM property"));
        std::unique_ptr<QProgressDialog> progress;
        if (rs.GetRecordCount() >= kProgressFrom) {
            progress = std::make_unique<QProgressDialog>(QStringLiteral("正在生成拼音首字母..."),
                                                         QString(), 0, rs.GetRecordCount(), this);
            progress->setWindowTitle(QString::fromUtf8(kAppTitle));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(500);
        }
        for (int count = 0; !rs.IsEOF(); ++count) {
            rs.PutCollect("longpinyin", GetPinyinInitials(rs.GetCollect("name")));
            rs.PutCollect("shortpinyin", GetPinyinInitials(rs.GetCollect("shortname")));
            rs.Update();
            rs.MoveNext();
            if (progress && count % 50 == 0)
                progress->setValue(count);
        }
        rs.Close();
    });
    if (done)
        HarborMessageBox(this, QStringLiteral("商品库中商品名称和简称已全部生成拼音首字母!"),
                         MsgIcon::Information);
}

QColor CPropertyPanel::StateColour(const QString& code) {
    CRecordset rs;
    rs.Open(QString::fromUtf8(kPropertySql), {code});
    if (rs.IsEOF())
        return QColor(255, 0, 0);
    const bool complete = !rs.GetCollect("shortname").isEmpty() &&
                          !rs.GetCollect("price").isEmpty() && !rs.GetCollect("total").isEmpty();
    rs.Close();
    return complete ? QColor(255, 255, 255) : QColor(255, 255, 0);
}

void CPropertyPanel::FillRow(const QStringList& values) {
    for (int col = 0; col < values.size(); ++col)
        m_pGrid->SetCellText(1, col, values.at(col));
    m_pGrid->Refresh();
}

QString CPropertyPanel::Cell(int col) const {
    return m_pGrid->GetCellText(1, col);
}
