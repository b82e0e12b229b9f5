#include "accounts/CAuditLogDlg.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accounts/AuditLogQuery.h"
#include "db/CSqlReader.h"
#include "ui/CDbAction.h"
#include "text/HarborClock.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"

namespace {

const QStringList kHeaders = {QStringLiteral("序号"),   QStringLiteral("时间"),
                              QStringLiteral("操作员"), QStringLiteral("授权人"),
                              QStringLiteral("工作站"), QStringLiteral("操作"),
                              QStringLiteral("对象")};

const ExportKinds kKinds = {{QStringLiteral("序号"), ExportKind::Number, 0},
                            {QStringLiteral("时间"), ExportKind::Date}};

} // namespace

CAuditLogDlg::CAuditLogDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("操作日志"));
    m_pFrom = new QDateEdit(HarborToday().addMonths(-1), this);
    m_pTo = new QDateEdit(HarborToday(), this);
    for (QDateEdit* box : {m_pFrom, m_pTo}) {
        box->setCalendarPopup(true);
        box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_pOperator = new QLineEdit(this);
    m_pAction = new QLineEdit(this);
    m_pObject = new QLineEdit(this);
    m_pQuery = new QPushButton(QStringLiteral("查询"), this);
    m_pQuery->setDefault(true);
    auto* top = new QHBoxLayout;
    const QList<QPair<QString, QWidget*>> fields = {{QStringLiteral("日期从"), m_pFrom},
                                                    {QStringLiteral("到"), m_pTo},
                                                    {QStringLiteral("操作员"), m_pOperator},
                                                    {QStringLiteral("操作"), m_pAction},
                                                    {QStringLiteral("单号/编码"), m_pObject}};
    for (const auto& field : fields) {
        top->addWidget(new QLabel(field.first, this));
        top->addWidget(field.second);
    }
    top->addWidget(m_pQuery);
    m_pList = new CGridCtrl(this);
    m_pList->SetEditable(false);
    m_pList->SetListMode(true);
    m_pList->SetSingleRowSelection(true);
    m_pList->SetColumnCount(int(kHeaders.size()));
    m_pList->SetRowCount(1);
    m_pList->SetFixedRowCount(1);
    for (int c = 0; c < kHeaders.size(); ++c)
        m_pList->SetCellText(0, c, kHeaders[c]);
    m_pImages = new QPlainTextEdit(this);
    m_pImages->setReadOnly(true);
    auto* exportButton = new QPushButton(QStringLiteral("导出..."), this);
    exportButton->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pList, 3);
    layout->addWidget(m_pImages, 1);
    layout->addWidget(exportButton, 0, Qt::AlignRight);
    connect(m_pQuery, &QPushButton::clicked, this, &CAuditLogDlg::Query);
    connect(exportButton, &QPushButton::clicked, this,
            [this] { ExportGrid(this, m_pList, kKinds); });
    connect(m_pList, &CGridCtrl::click, this,
            [this](int row, int, CGridResult*) { ShowImages(row); });
    AttachGridExport(m_pList, kKinds, windowTitle());
    resize(1000, 700);
}

void CAuditLogDlg::Query() {
    const AuditLogFilter filter{m_pFrom->date(), m_pTo->date(), m_pOperator->text(),
                                m_pAction->text(), m_pObject->text()};
    m_before.clear();
    m_after.clear();
    m_pList->SetRowCount(1);
    m_pImages->clear();
    RunDbRead(this, QStringLiteral("查询操作日志"), [&] {
        CSqlReader reader(AuditLogStatement(filter));
        int row = 1;
        while (reader.Next()) {
            m_pList->SetRowCount(row + 1);
            m_pList->SetCellText(row, 0, reader.Text(0));
            m_pList->SetCellText(row, 1, AuditLocalTime(reader.Text(1)));
            for (int c = 2; c < kHeaders.size(); ++c)
                m_pList->SetCellText(row, c, reader.Text(c));
            m_before.append(reader.Text(7));
            m_after.append(reader.Text(8));
            ++row;
        }
    });
    m_pList->update();
}

void CAuditLogDlg::ShowImages(int row) {
    if (row < 1 || row > m_before.size())
        return;
    m_pImages->setPlainText(
        QStringLiteral("修改前: %1\n修改后: %2").arg(m_before[row - 1], m_after[row - 1]));
}
