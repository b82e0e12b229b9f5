#include "catalogue/CClassDlg.h"

#include "accounts/PermissionCheck.h"
#include "catalogue/CCatalogueWriter.h"
#include "catalogue/CPropertyPanel.h"
#include "catalogue/CatalogueGridSetup.h"
#include "grid/CGridCellCombo.h"
#include "grid/CGridCtrl.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kNameCol = 1, kCountCol = 1, kPackCol = 2;
const char* const kLevelHeaders[] = {"", "一级商品名称", "二级商品名称", "三级商品名称",
                                     "四级商品名称"};
const char* const kDeleteCaption = "删除记录";
const QVector<int> kLevelWidths = {25, 130, 40};
const QVector<int> kSpecWidths = {25, 55, 75, 40};

QPushButton* LevelButton(const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setFixedSize(50, 25);
    return button;
}

} // namespace

const QStringList CClassDlg::kPackOptions = {"个",    "个/把",   "个/套",  "个/支",
                                             "个/箱", "个/千克", "个/千只"};
const QStringList CClassDlg::kSavedPackOptions = {"个",    "个/包", "个/袋",
                                                  "个/盒", "个/箱", "个/千克"};

CClassDlg::CClassDlg(QWidget* parent) : CWorkDialog(QStringLiteral("商品编码"), parent) {
    m_pProperties = new CPropertyPanel(m_tree, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(m_pProperties);
    layout->addWidget(CreateListFrame(), 1);

    RunDbRead(this, QStringLiteral("读取商品编码"),
              [this] { FillLevelList(1, m_tree.ReadLevel(1)); });
}

QGroupBox* CClassDlg::CreateListFrame() {
    auto* frame = new QGroupBox(this);
    auto* caption = new QLabel(
        QStringLiteral("商品条形码编码--------说明:第二至四级商品名为选填栏,最后一栏为规格栏,是必"
                       "填栏．   规格栏为红色时表示商品属性未保存进数据库中,为黄色时表示商品属性"
                       "已保存,但尚缺少商品简称或价格或总数．"),
        frame);
    caption->setWordWrap(true);
    auto* lists = new QHBoxLayout;
    lists->setSpacing(0);
    lists->addStretch(1);
    for (int k = 1; k <= CCatalogueTree::kLevels; ++k) {
        if (k > 1) {
            auto* arrow = new QLabel(QStringLiteral(">>>"), frame);
            arrow->setFixedWidth(30);
            arrow->setAlignment(Qt::AlignCenter);
            lists->addStretch(1);
            lists->addWidget(arrow);
            lists->addStretch(1);
        }
        lists->addLayout(CreateLevelColumn(k));
    }
    lists->addStretch(1);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(caption);
    frameLayout->addLayout(lists, 1);
    return frame;
}

QVBoxLayout* CClassDlg::CreateLevelColumn(int k) {
    CGridCtrl* grid = m_pList[k] = new CGridCtrl(this);
    if (k < CCatalogueTree::kLevels)
        SetupCatalogueGrid(grid, {"", kLevelHeaders[k], "编号"}, kLevelWidths, 1);
    else
        SetupCatalogueGrid(grid, {"", "数量", "包装", "编号"}, kSpecWidths, 1);
    grid->setMinimumWidth(165);
    grid->setMaximumWidth(220);
    grid->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    grid->installEventFilter(this);
    connect(grid, &CGridCtrl::click, this,
            [this, k](int row, int col) { SelectLevelRow(k, row, col); });
    // A second click on the focus cell, or typing, edits without a click notification: the
    // row being edited becomes the chosen one all the same.
    connect(grid, &CGridCtrl::beginEdit, this, [this, k](int row, int col) {
        if (row != m_nSelRow[k])
            SelectLevelRow(k, row, col);
    });
    connect(grid, &CGridCtrl::endEdit, this,
            [this, k](int row, int col) { CheckLevelEdit(k, row, col); });

    m_pAdd[k] = LevelButton("增加", this);
    m_pSaveLevel[k] = LevelButton("保存", this);
    m_pDelete[k] = LevelButton("删除", this);
    connect(m_pAdd[k], &QPushButton::clicked, this, [this, k] { AddLevelRow(k); });
    connect(m_pSaveLevel[k], &QPushButton::clicked, this, [this, k] { SaveLevel(k); });
    connect(m_pDelete[k], &QPushButton::clicked, this, [this, k] { DeleteLevelRow(k); });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(5);
    buttons->addStretch();
    for (QPushButton* button : {m_pAdd[k], m_pSaveLevel[k], m_pDelete[k]})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* column = new QVBoxLayout;
    column->addWidget(grid, 1);
    column->addLayout(buttons);
    return column;
}

bool CClassDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        for (int k = 1; k <= CCatalogueTree::kLevels; ++k) {
            if (watched != m_pList[k])
                continue;
            // level 1-4: the name column may lose 50 pixels; level 5: count and pack 15 each
            if (k < CCatalogueTree::kLevels)
                FitCatalogueColumns(m_pList[k], kLevelWidths, {{kNameCol, 50}});
            else
                FitCatalogueColumns(m_pList[k], kSpecWidths, {{kCountCol, 15}, {kPackCol, 15}});
        }
    }
    return CWorkDialog::eventFilter(watched, event);
}

void CClassDlg::SelectLevelRow(int k, int row, int col) {
    m_nSelRow[k] = row;
    CGridCtrl* grid = m_pList[k];
    if (row < 1 || col < 1 || row >= grid->GetRowCount()) {
        m_nSelRow[k] = 0;
        return;
    }
    if (k == CCatalogueTree::kLevels) {
        m_tree.m_strCode[k] = grid->GetCellText(row, CodeColumn(k));
        m_strSpec = grid->GetCellText(row, kCountCol) + grid->GetCellText(row, kPackCol);
        if (!grid->GetCellText(row, kCountCol).isEmpty())
            ShowProperties(k);
        return;
    }
    m_tree.SelectNode(k, grid->GetCellText(row, CodeColumn(k)), grid->GetCellText(row, kNameCol));
    ClearListsBelow(k);
    RunDbRead(this, QStringLiteral("读取商品编码"), [&] {
        if (k < CCatalogueTree::kLevels - 1)
            FillLevelList(k + 1, m_tree.ReadLevel(k + 1));
        FillSpecList(m_tree.ReadSpecs(k));
    });
    ShowProperties(k);
}

bool CClassDlg::IsDuplicate(int k, int row, const QString& text) const {
    const CGridCtrl* grid = m_pList[k];
    for (int other = 1; other < grid->GetRowCount(); ++other) {
        if (other == row)
            continue;
        const bool sameCode = grid->GetCellText(other, CodeColumn(k)) == text;
        const bool sameName =
            k < CCatalogueTree::kLevels && grid->GetCellText(other, kNameCol) == text;
        if (sameCode || sameName)
            return true;
    }
    return false;
}

void CClassDlg::CheckLevelEdit(int k, int row, int col) {
    CGridCtrl* grid = m_pList[k];
    const QString text = grid->GetCellText(row, col);
    if (!text.isEmpty() && IsDuplicate(k, row, text)) {
        HarborMessageBox(this, QStringLiteral("您更改的名称或编号有重复,请重新输入!"));
        if (k < CCatalogueTree::kLevels)
            grid->SetCellText(row, kNameCol, m_tree.m_strName[k]);
        grid->SetCellText(row, CodeColumn(k), m_tree.m_strCode[k]);
        grid->Refresh();
        if (k < CCatalogueTree::kLevels)
            return;
    }
    if (k == CCatalogueTree::kLevels && row >= 1) {
        m_tree.m_strCode[k] = grid->GetCellText(row, CodeColumn(k));
        m_strSpec = grid->GetCellText(row, kCountCol) + grid->GetCellText(row, kPackCol);
        ShowProperties(k);
    }
}

void CClassDlg::AddLevelRow(int k) {
    if (!m_tree.HasParent(k) || m_tree.HangsUnderSkippedLevel(k)) {
        HarborMessageBox(this, QStringLiteral("请先选择有效的上级商品名"));
        return;
    }
    CGridCtrl* grid = m_pList[k];
    const int row = AppendCatalogueRow(grid);
    m_loaded[k].resize(row - 1);
    m_loaded[k].append(std::nullopt);
    grid->SetCellText(row, 0, QString::number(row));
    grid->SetCellText(row, CodeColumn(k), CCatalogueTree::NewLevelCode(row));
    if (k == CCatalogueTree::kLevels) {
        grid->SetCellType<CGridCellCombo>(row, kPackCol);
        grid->SetComboOptions(row, kPackCol, kPackOptions);
        grid->SetCellText(row, kPackCol, kPackOptions.first());
    }
    // Ready for typing the name (level 5: the count).
    grid->SetFocusCell(row, 1);
    grid->SetSelectedRange(row, 1, row, 1);
    grid->EnsureVisible(row, 1);
    grid->setFocus();
    grid->Refresh();
}

void CClassDlg::SaveLevel(int k) {
    m_pList[k]->EndEditing();
    const bool specs = k == CCatalogueTree::kLevels;
    if (specs &&
        (m_pList[k]->GetRowCount() < 2 || m_pList[k]->GetCellText(1, kCountCol).isEmpty())) {
        HarborMessageBox(this, QStringLiteral("请为商品添加正确的规格属性"));
        return;
    }
    if (!m_tree.HasParent(k) || (specs && m_tree.m_strCode[1].isEmpty())) {
        HarborMessageBox(this, QStringLiteral("请先选择有效的上级商品名"));
        return;
    }
    if (specs)
        m_tree.FillSkippedLevels();
    // A node under a skipped level ("00") could never be reached from the lists, sold or
    // labelled.
    if (m_tree.HangsUnderSkippedLevel(k)) {
        HarborMessageBox(this, QStringLiteral("上级商品名中有空缺的级别(编号00),其下不能保存商品名,"
                                              "请先选择有效的上级商品名"));
        return;
    }
    // A parent renumbered on screen only, or not saved yet, would leave the new nodes hanging
    // under a code that no stored node has.
    bool parentStored = false;
    if (!RunDbRead(this, QStringLiteral("读取商品编码"),
                   [&] { parentStored = m_tree.IsParentStored(k); }))
        return;
    if (!parentStored) {
        HarborMessageBox(this, QStringLiteral("请先选择有效的上级商品名"));
        return;
    }
    const SqlStatement sql = specs ? m_tree.SpecsSql(4) : m_tree.LevelSql(k);
    const QString prefix = m_tree.ParentPrefix(k);
    const QVector<CatalogueListRow> rows = ListRows(k);

    // What the save would do, shown to the user before anything is written.
    CCatalogueWriter::Plan plan;
    if (!RunDbRead(this, QStringLiteral("读取商品编码"),
                   [&] { plan = CCatalogueWriter::PlanSave(k, sql, prefix, rows); }))
        return;
    CCatalogueWriter::Result result;
    result.strRefusal = plan.strRefusal;
    result.bStale = plan.bStale;
    result.nBlankRow = plan.nBlankRow;
    if (plan.strRefusal.isEmpty() && plan.Writes() == 0) {
        TellNothingSaved(k, result);
        return;
    }
    if (plan.strRefusal.isEmpty() && !ConfirmRenumbering(k, plan.moves))
        return;

    QVector<CatalogueRow> stored;
    QVector<QColor> colours;
    if (plan.strRefusal.isEmpty() && RequirePermission(this, Permission::Catalogue)) {
        const bool saved = RunDbAction(this, QStringLiteral("保存商品编码"), [&] {
            result = CCatalogueWriter::Save(k, sql, prefix, rows);
            if (!result.strRefusal.isEmpty())
                return;
            stored = CCatalogueTree::ReadRows(sql, k);
            if (specs)
                colours = SpecColours(stored);
        });
        if (!saved)
            return;
    }
    if (!result.strRefusal.isEmpty()) {
        // The rows no longer tell which records they stand for: read the list again.
        if (result.bStale)
            ReloadList(k);
        HarborMessageBox(this, result.strRefusal);
        return;
    }
    HarborMessageBox(this, QStringLiteral("已成功保存到数据库"), MsgIcon::Information);
    RefillAfterSave(k, rows, result, stored, colours);
}

void CClassDlg::TellNothingSaved(int k, const CCatalogueWriter::Result& result) {
    if (result.nBlankRow < 0) {
        HarborMessageBox(this, QStringLiteral("列表没有修改,没有需要保存的数据"),
                         MsgIcon::Information);
        return;
    }
    const QString what =
        k == CCatalogueTree::kLevels ? QStringLiteral("数量") : QStringLiteral("商品名称");
    HarborMessageBox(this, QStringLiteral("第%1行的%2为空,没有保存任何数据,请先输入%2再保存")
                               .arg(result.nBlankRow + 1)
                               .arg(what));
}

// A new code for a product that documents or labels already carry: stored documents keep the
// old code, and labels stuck on goods would scan as another product.
bool CClassDlg::ConfirmRenumbering(int k, const QVector<CCatalogueWriter::Move>& moves) {
    for (const CCatalogueWriter::Move& move : moves) {
        if (move.oldCode == move.newCode)
            continue;
        int lines = 0, labelled = 0;
        if (!RunDbRead(this, QStringLiteral("读取单据"), [&] {
                lines = CCatalogueWriter::DocumentLines(move.oldCode);
                labelled = CCatalogueWriter::LabelledProducts(move.oldCode);
            }))
            return false;
        if (lines == 0 && labelled == 0)
            continue;
        const QString whose = k == CCatalogueTree::kLevels ? QStringLiteral("该商品")
                                                           : QStringLiteral("该类下的商品");
        const QString question =
            QStringLiteral("编号%1将改为%2。已存的单据中有%3行商品使用%4的编号,改号后这些单据仍"
                           "保留原编号;已贴在商品上的条形码也会扫描成其他商品或无法识别。"
                           "确定要改号吗?")
                .arg(move.oldCode.right(2), move.newCode.right(2))
                .arg(lines)
                .arg(whose);
        if (HarborMessageBox(this, question, MsgIcon::Exclamation, MsgButtons::YesNo) != IDYES)
            return false;
    }
    return true;
}

void CClassDlg::RefillAfterSave(int k, const QVector<CatalogueListRow>& rows,
                                const CCatalogueWriter::Result& result,
                                const QVector<CatalogueRow>& stored,
                                const QVector<QColor>& colours) {
    const bool specs = k == CCatalogueTree::kLevels;
    // The rows that now stand for a record: every loaded row, and the added rows before the
    // first blank one.
    QVector<int> savedRows;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).loaded || result.nBlankRow < 0 || i < result.nBlankRow)
            savedRows << i;
    }
    bool inOrder = savedRows.size() == stored.size();
    for (int i = 0; inOrder && i < savedRows.size(); ++i)
        inOrder = savedRows.at(i) == i && rows.at(i).shown.code == stored.at(i).code;
    if (!result.bChanged && inOrder) {
        for (int i = 0; i < stored.size(); ++i)
            m_loaded[k][i] = stored.at(i);
        return;
    }
    // Rows stand for records in code order again; rows not saved follow them as they were.
    CGridCtrl* grid = m_pList[k];
    grid->DeleteNonFixedRows();
    m_loaded[k].clear();
    for (int i = 0; i < stored.size(); ++i) {
        const int row = AppendCatalogueRow(grid);
        grid->SetCellText(row, 0, QString::number(row));
        if (specs) {
            SetSpecRow(row, stored.at(i), kSavedPackOptions);
            ColourSpecRow(row, colours.value(i));
        } else {
            grid->SetCellText(row, kNameCol, stored.at(i).name);
            grid->SetCellText(row, CodeColumn(k), stored.at(i).code);
        }
        m_loaded[k].append(stored.at(i));
    }
    for (int i = 0; i < rows.size(); ++i) {
        if (savedRows.contains(i))
            continue;
        const CatalogueRow& shown = rows.at(i).shown;
        const int row = AppendCatalogueRow(grid);
        grid->SetCellText(row, 0, QString::number(row));
        if (specs) {
            SetSpecRow(row, shown, kPackOptions);
        } else {
            grid->SetCellText(row, kNameCol, shown.name);
            grid->SetCellText(row, CodeColumn(k), shown.code);
        }
        m_loaded[k].append(std::nullopt);
    }
    grid->Refresh();
    // The remembered node may have moved: the path is chosen again from here.
    ForgetSelection(k);
    ClearListsBelow(k);
    ShowProperties(1); // clears the property row
}

// Reads list k again from the tables, after another window or workstation changed them.
void CClassDlg::ReloadList(int k) {
    RunDbRead(this, QStringLiteral("读取商品编码"), [&] {
        if (k == CCatalogueTree::kLevels)
            FillSpecList(CCatalogueTree::ReadRows(m_tree.SpecsSql(4), k));
        else
            FillLevelList(k, m_tree.ReadLevel(k));
    });
    ForgetSelection(k);
    ClearListsBelow(k);
    ShowProperties(1); // clears the property row
}

void CClassDlg::DeleteLevelRow(int k) {
    const QString caption = QString::fromUtf8(kDeleteCaption);
    const int row = m_nSelRow[k];
    if (row == 0 || row >= m_pList[k]->GetRowCount() || !IsPathComplete(k)) {
        HarborMessageBox(this, QStringLiteral("删除数据前请先选择要删除的相应商品名称"),
                         MsgIcon::Information, MsgButtons::Ok, caption);
        return;
    }
    if (k == CCatalogueTree::kLevels)
        m_tree.FillSkippedLevels();
    // The record the row was loaded from; none for a row that was never saved.
    const std::optional<CatalogueRow> loaded = m_loaded[k].value(row - 1);
    if (loaded && m_pList[k]->GetCellText(row, CodeColumn(k)) != loaded->bh.right(2)) {
        HarborMessageBox(this, QStringLiteral("该商品的编号已修改但尚未保存,请先保存后再删除!"),
                         MsgIcon::Exclamation, MsgButtons::Ok, caption);
        return;
    }
    if (HarborMessageBox(this,
                         QStringLiteral("确认后将删除数据库中该商品名称对应的所有数据,请谨慎选择!"),
                         MsgIcon::Exclamation, MsgButtons::YesNo, caption) != IDYES)
        return;
    bool deleted = true;
    if (loaded && !RequirePermission(this, Permission::Catalogue))
        return;
    if (loaded && !RunDbAction(this, QStringLiteral("删除商品编码"),
                               [&] { deleted = CCatalogueWriter::DeleteRecord(k, *loaded); }))
        return;
    if (!deleted) {
        ReloadList(k);
        HarborMessageBox(this,
                         QStringLiteral("%1已在其他窗口或其他电脑上修改或删除,没有删除任何数据。"
                                        "列表已重新读取,请核对后再操作。")
                             .arg(CCatalogueWriter::RowTitle(k, *loaded)),
                         MsgIcon::Exclamation, MsgButtons::Ok, caption);
        return;
    }
    RemoveListRow(k, row);
    HarborMessageBox(this, QStringLiteral("删除数据成功!"), MsgIcon::Information);
}

// An empty code on the path would widen the deletes to every row of the deeper tables.
bool CClassDlg::IsPathComplete(int k) const {
    if (m_tree.m_strCode[1].isEmpty() || m_tree.m_strCode[k].isEmpty())
        return false;
    for (int level = 2; level < k && k < CCatalogueTree::kLevels; ++level) {
        if (m_tree.m_strCode[level].isEmpty())
            return false;
    }
    return true;
}

void CClassDlg::RemoveListRow(int k, int row) {
    CGridCtrl* grid = m_pList[k];
    grid->DeleteRow(row);
    if (row - 1 < m_loaded[k].size())
        m_loaded[k].remove(row - 1);
    for (int other = 1; other < grid->GetRowCount(); ++other)
        grid->SetCellText(other, 0, QString::number(other));
    grid->Refresh();
    ForgetSelection(k);
    ClearListsBelow(k);
    ShowProperties(1); // clears the property row
}

void CClassDlg::ShowProperties(int k) {
    m_pProperties->ShowProperties(k, m_strSpec);
}

void CClassDlg::FillLevelList(int k, const QVector<CatalogueRow>& rows) {
    CGridCtrl* grid = m_pList[k];
    grid->DeleteNonFixedRows();
    m_loaded[k].clear();
    for (const CatalogueRow& node : rows) {
        m_loaded[k].append(node);
        const int row = AppendCatalogueRow(grid);
        grid->SetCellText(row, 0, QString::number(row));
        grid->SetCellText(row, kNameCol, node.name);
        grid->SetCellText(row, CodeColumn(k), node.code);
    }
    grid->Refresh();
}

void CClassDlg::FillSpecList(const QVector<CatalogueRow>& rows) {
    CGridCtrl* grid = m_pList[CCatalogueTree::kLevels];
    grid->DeleteNonFixedRows();
    m_loaded[CCatalogueTree::kLevels].clear();
    for (const CatalogueRow& spec : rows) {
        m_loaded[CCatalogueTree::kLevels].append(spec);
        const int row = AppendCatalogueRow(grid);
        grid->SetCellText(row, 0, QString::number(row));
        SetSpecRow(row, spec, kPackOptions);
    }
    const QVector<QColor> colours = SpecColours(rows);
    for (int i = 0; i < colours.size(); ++i)
        ColourSpecRow(i + 1, colours.at(i));
    grid->Refresh();
}

// Red: no properties yet; yellow: short name, price or stock missing.
QVector<QColor> CClassDlg::SpecColours(const QVector<CatalogueRow>& specs) {
    QVector<QColor> colours;
    for (const CatalogueRow& spec : specs)
        colours.append(CPropertyPanel::StateColour(spec.bh));
    return colours;
}

void CClassDlg::ColourSpecRow(int row, const QColor& colour) {
    CGridCtrl* grid = m_pList[CCatalogueTree::kLevels];
    for (int col = kCountCol; col <= CodeColumn(CCatalogueTree::kLevels); ++col)
        grid->SetCellBackColor(row, col, colour);
}

void CClassDlg::SetSpecRow(int row, const CatalogueRow& spec, const QStringList& packOptions) {
    CGridCtrl* grid = m_pList[CCatalogueTree::kLevels];
    grid->SetCellText(row, kCountCol, spec.count);
    grid->SetCellType<CGridCellCombo>(row, kPackCol);
    grid->SetComboOptions(row, kPackCol, packOptions);
    grid->SetCellText(row, kPackCol, spec.pack);
    grid->SetCellText(row, CodeColumn(CCatalogueTree::kLevels), spec.code);
}

void CClassDlg::ClearListsBelow(int k) {
    for (int level = k + 1; level <= CCatalogueTree::kLevels; ++level) {
        m_pList[level]->DeleteNonFixedRows();
        m_pList[level]->Refresh();
        m_loaded[level].clear();
        m_nSelRow[level] = 0;
    }
    if (k < CCatalogueTree::kLevels)
        m_strSpec.clear();
}

void CClassDlg::ForgetSelection(int k) {
    m_nSelRow[k] = 0;
    m_tree.SelectNode(k, QString(), QString());
    if (k == CCatalogueTree::kLevels)
        m_strSpec.clear();
}

QVector<CatalogueListRow> CClassDlg::ListRows(int k) const {
    const CGridCtrl* grid = m_pList[k];
    QVector<CatalogueListRow> rows;
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        CatalogueListRow item;
        item.shown.code = grid->GetCellText(row, CodeColumn(k));
        if (k < CCatalogueTree::kLevels) {
            item.shown.name = grid->GetCellText(row, kNameCol);
        } else {
            item.shown.count = grid->GetCellText(row, kCountCol);
            item.shown.pack = grid->GetCellText(row, kPackCol);
        }
        item.loaded = m_loaded[k].value(row - 1);
        rows.append(item);
    }
    return rows;
}
