#include "catalogue/CPrintCodeDlg.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include "app/CConnection.h"
#include "app/CDbAction.h"
#include "app/CHarborApp.h"
#include "app/HarborMessageBox.h"
#include "app/SqlText.h"
#include "catalogue/CCatalogueLists.h"
#include "catalogue/LabelDataSource.h"
#include "grid/CGridCtrl.h"

namespace {

constexpr int kLevels = CCatalogueTree::kLevels;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 32;
constexpr int kBottomMargin = 20;
const char* const kAllLabelsSql =
    "INSERT INTO printcodedata (shortname,spec,code) SELECT shortname,spec,code FROM property";

// The prefix of the class last clicked, kept while the program runs.
QString& RememberedPrefix() {
    static QString prefix;
    return prefix;
}

QString DatabasePath() {
    return theApp.m_pConnection ? QFileInfo(theApp.m_pConnection->DatabasePath()).absoluteFilePath()
                                : QString();
}

} // namespace

CPrintCodeDlg::CPrintCodeDlg(QWidget* parent)
    : CWorkDialog(QStringLiteral("条码打印"), parent), m_strPrintPrefix(RememberedPrefix()),
      m_fnRegister(&LabelDataSource::Register), m_fnOpen(&QDesktopServices::openUrl) {
    m_pLists = new CCatalogueLists(this);
    connect(m_pLists, &CCatalogueLists::nodeChosen, this, &CPrintCodeDlg::OnNodeChosen);
    connect(m_pLists, &CCatalogueLists::specClicked, this, &CPrintCodeDlg::OnSpecClick);
    m_pClassButton = new QPushButton(QStringLiteral("分类打印"), this);
    m_pAllButton = new QPushButton(QStringLiteral("全部打印"), this);
    connect(m_pClassButton, &QPushButton::clicked, this, &CPrintCodeDlg::PrintClassLabels);
    connect(m_pAllButton, &QPushButton::clicked, this, &CPrintCodeDlg::PrintAllLabels);
    resize(1300, 640);
    m_pLists->FillFirstList();
}

CPrintCodeDlg::~CPrintCodeDlg() = default;

CGridCtrl* CPrintCodeDlg::List(int k) const {
    return m_pLists->List(k);
}

SqlStatement CPrintCodeDlg::ClassLabelsSql(const QString& prefix) {
    return {QStringLiteral("INSERT INTO printcodedata (shortname,spec,code) SELECT shortname,spec,"
                           "code FROM property WHERE code LIKE ?"),
            {LikeStartsWith(prefix)}};
}

QString CPrintCodeDlg::LabelDocumentPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ODBC数据源.lsdx");
}

void CPrintCodeDlg::SetPrintPrefix(const QString& prefix) {
    m_strPrintPrefix = prefix;
    RememberedPrefix() = prefix;
}

void CPrintCodeDlg::OnNodeChosen(int k) {
    SetPrintPrefix(m_pLists->Path().CodePrefix(k));
}

// A specification: its full ten-digit code, skipped levels taken as "00".
void CPrintCodeDlg::OnSpecClick(int row, int col) {
    CGridCtrl* list = List(kLevels);
    CCatalogueTree& tree = m_pLists->Path();
    if (!CCatalogueLists::IsDataCell(list, row, col) || tree.m_strCode[1].isEmpty())
        return;
    tree.m_strCode[kLevels] = list->GetCellText(row, 3);
    tree.FillSkippedLevels();
    SetPrintPrefix(tree.FullCode());
}

void CPrintCodeDlg::PrintClassLabels() {
    RunPrintJob(ClassLabelsSql(m_strPrintPrefix));
}

void CPrintCodeDlg::PrintAllLabels() {
    RunPrintJob({QString::fromUtf8(kAllLabelsSql), {}});
}

// The old label rows and the new ones change together; then the label program is started.
void CPrintCodeDlg::RunPrintJob(const SqlStatement& insertSql) {
    const bool filled = RunDbAction(this, QStringLiteral("准备条码数据"), [&] {
        theApp.m_pConnection->Execute(QStringLiteral("delete from printcodedata"));
        theApp.m_pConnection->Execute(insertSql.sql, insertSql.values);
    });
    if (!filled)
        return;
    ConfigureLabelDataSource();
    OpenLabelDocument();
}

void CPrintCodeDlg::ConfigureLabelDataSource() {
    if (!m_fnRegister(DatabasePath()))
        HarborMessageBox(this, QStringLiteral("不能自动配置数据源，请手动配置后再进行条码打印"));
}

void CPrintCodeDlg::OpenLabelDocument() {
    const QString path = LabelDocumentPath();
    if (!QFileInfo(path).isFile()) {
        HarborMessageBox(this,
                         QStringLiteral("找不到条码标签文件“%1”，请把它放在程序所在的文件夹中")
                             .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!m_fnOpen(QUrl::fromLocalFile(path)))
        HarborMessageBox(this,
                         QStringLiteral("不能打开条码标签文件“%1”，请检查是否安装了标签设计程序")
                             .arg(QDir::toNativeSeparators(path)));
}

// The lists fill the window above the two buttons, which stand centred at the bottom.
void CPrintCodeDlg::resizeEvent(QResizeEvent* event) {
    CWorkDialog::resizeEvent(event);
    const int buttonTop = height() - kBottomMargin - kButtonHeight;
    m_pLists->setGeometry(0, 0, width(), buttonTop - 10);
    const int left = width() / 2 - kButtonWidth - 20;
    m_pClassButton->setGeometry(left, buttonTop, kButtonWidth, kButtonHeight);
    m_pAllButton->setGeometry(width() / 2 + 20, buttonTop, kButtonWidth, kButtonHeight);
}
