#include "parties/CTableGridDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "accounts/PermissionCheck.h"
#include "db/CRecordset.h"
#include "db/SqlText.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "text/PinyinInitials.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

const char* const kNote = "说明:新增和修改后需点击保存按扭才能存入数据库中,"
                          "删除不需保存可直接删除数据库相应记录.";

// Phone and staff numbers keep their leading zeros in an export; every column is text.
const ExportKinds kExportKinds = {{"电话", ExportKind::Text}, {"工号", ExportKind::Text}};

// An empty cell is stored as empty text, never as NULL.
QString StoredText(const QString& text) {
    return text.isNull() ? QString("") : text;
}

} // namespace

CTableGridDlg::CTableGridDlg(const QString& title, const TableGridSetup& setup, QWidget* parent)
    : CWorkDialog(title, parent), m_setup(setup) {
    CreateControls();
    SetupGrid();
    LoadGrid();
}

CTableGridDlg::~CTableGridDlg() = default;

QSize CTableGridDlg::sizeHint() const {
    return {m_setup.width, 600};
}

void CTableGridDlg::CreateControls() {
    m_pButtonBox = new QGroupBox(this);
    m_pAdd = new QPushButton(QStringLiteral("新增"), m_pButtonBox);
    m_pSave = new QPushButton(QStringLiteral("保存"), m_pButtonBox);
    m_pDelete = new QPushButton(QStringLiteral("删除"), m_pButtonBox);
    m_pExport = new QPushButton(QStringLiteral("导出..."), m_pButtonBox);
    auto* note = new QLabel(QString::fromUtf8(kNote), m_pButtonBox);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #1f4e8c;"));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    for (QPushButton* button : {m_pAdd, m_pSave, m_pDelete, m_pExport}) {
        button->setAutoDefault(false);
        button->setMinimumSize(72, 26);
        buttons->addWidget(button);
    }
    QBoxLayout* boxLayout = nullptr;
    if (m_setup.noteBelowButtons) {
        buttons->addStretch(1);
        boxLayout = new QVBoxLayout(m_pButtonBox);
        boxLayout->addLayout(buttons);
    } else {
        boxLayout = new QHBoxLayout(m_pButtonBox);
        boxLayout->addLayout(buttons);
        boxLayout->addSpacing(16);
    }
    boxLayout->addWidget(note, 1);
    boxLayout->setContentsMargins(8, 6, 8, 6);

    m_pGrid = new CGridCtrl(this);
    m_pGrid->SetDlgCtrlID(100);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(m_pButtonBox);
    layout->addWidget(m_pGrid, 1);

    connect(m_pAdd, &QPushButton::clicked, this, &CTableGridDlg::OnAdd);
    connect(m_pSave, &QPushButton::clicked, this, &CTableGridDlg::OnSave);
    connect(m_pDelete, &QPushButton::clicked, this, &CTableGridDlg::OnDelete);
    connect(m_pGrid, &CGridCtrl::click, this, &CTableGridDlg::OnGridClick);
    connect(m_pExport, &QPushButton::clicked, this,
            [this] { ExportGrid(this, m_pGrid, kExportKinds); });
    AttachGridExport(m_pGrid, kExportKinds);
    m_pGrid->viewport()->installEventFilter(this);
}

void CTableGridDlg::SetupGrid() {
    m_pGrid->SetUpForDialog();
    m_pGrid->SetEditable(true);
    m_pGrid->SetRowCount(1);
    m_pGrid->SetColumnCount(m_setup.headers.size());
    m_pGrid->SetFixedRowCount(1);
    m_pGrid->SetFixedColumnCount(1);
    m_pGrid->SetRowHeight(0, kRowHeight);
    for (int col = 0; col < m_setup.headers.size(); ++col) {
        m_pGrid->SetColumnWidth(col, m_setup.widths.value(col));
        m_pGrid->SetCellText(0, col, m_setup.headers[col]);
        m_pGrid->SetCellFormat(0, col, kCentred);
    }
}

void CTableGridDlg::AppendGridRow(const QStringList& values, int centredColumns) {
    const int row = m_pGrid->GetRowCount();
    m_pGrid->SetRowCount(row + 1);
    m_pGrid->SetRowHeight(row, kRowHeight);
    for (int col = 0; col < centredColumns; ++col)
        m_pGrid->SetCellFormat(row, col, kCentred);
    m_pGrid->SetCellText(row, 0, QString::number(row));
    for (int i = 0; i < values.size(); ++i)
        m_pGrid->SetCellText(row, i + 1, values[i]);
}

void CTableGridDlg::Renumber() {
    for (int row = 1; row < m_pGrid->GetRowCount(); ++row)
        m_pGrid->SetCellText(row, 0, QString::number(row));
}

QStringList CTableGridDlg::ReadRecord(const CRecordset& rs) const {
    QStringList values;
    for (const QString& field : m_setup.fields)
        values.append(rs.GetCollect(field));
    return values;
}

void CTableGridDlg::WriteRecord(CRecordset& rs, const QStringList& values) const {
    for (int i = 0; i < m_setup.fields.size(); ++i)
        rs.PutCollect(m_setup.fields[i], StoredText(values[i]));
    if (!m_setup.pinyinField.isEmpty())
        rs.PutCollect(m_setup.pinyinField, GetPinyinInitials(values.value(0)));
    rs.Update();
}

void CTableGridDlg::LoadGrid() {
    QList<QStringList> records;
    RunDbRead(this, QStringLiteral("读取%1").arg(m_setup.noun), [&] {
        CRecordset rs;
        rs.Open(m_setup.selectSql);
        for (; !rs.IsEOF(); rs.MoveNext())
            records.append(ReadRecord(rs));
        rs.Close();
    });
    m_pGrid->SetRowCount(1);
    m_stored.clear();
    for (const QStringList& values : records) {
        AppendGridRow(values, m_setup.centredLoadedColumns);
        m_stored.push_back(values);
    }
    m_pGrid->Refresh();
}

void CTableGridDlg::OnAdd() {
    AppendGridRow({}, m_setup.headers.size());
    m_stored.push_back(std::nullopt);
    m_pGrid->EnsureVisible(m_pGrid->GetRowCount() - 1, 1);
    m_pGrid->Refresh();
}

std::vector<TableRow> CTableGridDlg::GridRows() const {
    std::vector<TableRow> rows;
    for (int row = 1; row < m_pGrid->GetRowCount(); ++row) {
        TableRow tableRow;
        for (int col = 1; col <= m_setup.fields.size(); ++col)
            tableRow.values.append(m_pGrid->GetCellText(row, col));
        tableRow.stored = m_stored[row - 1];
        rows.push_back(tableRow);
    }
    return rows;
}

// Rewrites the record of every row that has one and adds the others; blank added rows stay
// out. A row whose record no longer holds the values it was loaded with is left alone and
// named in stale. Marks in written the rows that now stand for a record.
void CTableGridDlg::SaveRows(const std::vector<TableRow>& rows, std::vector<bool>& written,
                             QStringList& stale) {
    CRecordset rs;
    rs.Open(m_setup.selectSql);
    QList<QStringList> records;
    for (; !rs.IsEOF(); rs.MoveNext())
        records.append(ReadRecord(rs));
    const std::vector<int> matches = MatchRowsToRecords(rows, records);

    std::vector<int> rowOfRecord(records.size(), -1);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (matches[r] >= 0)
            rowOfRecord[matches[r]] = int(r);
        else if (rows[r].stored)
            stale.append(rows[r].stored->value(0));
    }
    rs.MoveFirst();
    for (int record = 0; !rs.IsEOF(); rs.MoveNext(), ++record) {
        const int r = rowOfRecord[record];
        if (r >= 0) {
            WriteRecord(rs, rows[r].values);
            written[r] = true;
        }
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].stored || IsBlankAddedRow(rows[r]))
            continue;
        rs.AddNew();
        WriteRecord(rs, rows[r].values);
        written[r] = true;
    }
    rs.Close();
}

void CTableGridDlg::OnSave() {
    m_pGrid->EndEditing();
    const std::vector<TableRow> rows = GridRows();
    const int nameless = FirstNamelessRow(rows);
    if (nameless >= 0) {
        m_pGrid->SetFocusCell(nameless + 1, 1);
        m_pGrid->EnsureVisible(nameless + 1, 1);
        HarborMessageBox(this, m_setup.namelessMessage, MsgIcon::Exclamation);
        return;
    }
    QString problem;
    int column = 0;
    int bad = FirstBadNameRow(rows, m_setup.names, &problem);
    if (bad < 0)
        bad = FirstBadTextRow(rows, m_setup.headers.mid(1), &column, &problem);
    if (bad >= 0) {
        m_pGrid->SetFocusCell(bad + 1, column + 1);
        m_pGrid->EnsureVisible(bad + 1, column + 1);
        HarborMessageBox(this, problem, MsgIcon::Exclamation);
        return;
    }
    if (!RequirePermission(this, Permission::Parties))
        return;
    std::vector<bool> written(rows.size(), false);
    QStringList stale;
    const bool saved = RunDbAction(this, QStringLiteral("保存%1").arg(m_setup.noun),
                                   [&] { SaveRows(rows, written, stale); });
    if (!saved)
        return;
    if (!stale.isEmpty()) {
        HarborMessageBox(this,
                         QStringLiteral("%1<%2>在本窗口打开后已被修改或删除,这些行没有保存;"
                                        "其余各行已保存.列表已重新读取,请核对后再修改.")
                             .arg(m_setup.noun, stale.join(QStringLiteral(">、<"))),
                         MsgIcon::Exclamation);
        LoadGrid();
        return;
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        if (written[r])
            m_stored[r] = rows[r].values;
    }
    HarborMessageBox(this, QStringLiteral("已成功保存到数据库"), MsgIcon::Information);
}

// Removes the first record holding exactly the stored values; false when none is left.
bool CTableGridDlg::DeleteRecord(const QStringList& stored) {
    CRecordset rs;
    rs.Open(QString::fromUtf8(m_setup.deleteFormat), {stored.value(0)});
    bool found = false;
    for (; !rs.IsEOF() && !found; rs.MoveNext()) {
        if (ReadRecord(rs) == stored) {
            rs.Delete();
            found = true;
        }
    }
    rs.Close();
    return found;
}

void CTableGridDlg::OnDelete() {
    const int row = m_nClickRow;
    if (row <= 0 || row >= m_pGrid->GetRowCount())
        return;
    m_pGrid->EndEditing();
    const std::optional<QStringList> stored = m_stored[row - 1];
    bool found = true;
    if (stored && !RequirePermission(this, Permission::Parties))
        return;
    if (stored && !RunDbAction(this, QStringLiteral("删除%1").arg(m_setup.noun),
                               [&] { found = DeleteRecord(*stored); }))
        return;
    if (!found) {
        HarborMessageBox(this,
                         QStringLiteral("%1<%2>在本窗口打开后已被修改或删除,没有删除.列表已重新"
                                        "读取,请核对.")
                             .arg(m_setup.noun, stored->value(0)),
                         MsgIcon::Exclamation);
        LoadGrid();
        return;
    }
    m_pGrid->DeleteRow(row);
    m_stored.erase(m_stored.begin() + (row - 1));
    Renumber();
    m_pGrid->Refresh();
}

void CTableGridDlg::OnGridClick(int row, int col) {
    m_nClickRow = row;
    m_nClickCol = col;
}

bool CTableGridDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pGrid->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const CCellID cell = m_pGrid->GetCellFromPt(mouse->position().toPoint());
        // A click on the focus cell opens its editor without a click notice: it is the
        // clicked row all the same.
        if (mouse->button() == Qt::LeftButton &&
            (!cell.IsValid() || cell == m_pGrid->GetFocusCell())) {
            m_nClickRow = cell.row;
            m_nClickCol = cell.col;
        }
    }
    return CWorkDialog::eventFilter(watched, event);
}
