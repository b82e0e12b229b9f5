#include "catalogue/CPrintCodeDlg.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>

#include "catalogue/CCatalogueLists.h"
#include "catalogue/CLabelSetupDlg.h"
#include "catalogue/LabelDataSource.h"
#include "catalogue/LabelPrinter.h"
#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/DataFolder.h"
#include "db/Db.h"
#include "db/SqlText.h"
#include "grid/CGridCtrl.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

namespace {

constexpr int kLevels = CCatalogueTree::kLevels;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 32;
constexpr int kBottomMargin = 20;
constexpr int kSideMargin = 25;
const char* const kAllLabelsSql =
    "INSERT INTO printcodedata (shortname,spec,code) SELECT shortname,spec,code FROM property";
// The labels of the job with each product's price, in code order.
const char* const kLabelRowsSql =
    "SELECT shortname, spec, code, (SELECT MAX(price) FROM property WHERE property.code = "
    "printcodedata.code) FROM printcodedata ORDER BY code";

// The prefix of the class last clicked, kept while the program runs.
QString& RememberedPrefix() {
    static QString prefix;
    return prefix;
}

QString DatabasePath() {
    return Db() ? QFileInfo(Db()->DatabasePath()).absoluteFilePath() : QString();
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
    m_pSetupButton = new QPushButton(QStringLiteral("标签设置"), this);
    connect(m_pSetupButton, &QPushButton::clicked, this, &CPrintCodeDlg::SetupLabels);
    m_pSheetText = new QLabel(this);
    m_pSheetText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ShowSheet();
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
    return DataFolder() + QStringLiteral("/ODBC数据源.lsdx");
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

QList<ProductLabel> CPrintCodeDlg::ReadLabels() {
    QList<ProductLabel> labels;
    CSqlReader reader(QString::fromUtf8(kLabelRowsSql));
    while (reader.Next())
        labels.append({reader.Text(0), reader.Text(1), reader.Text(3), reader.Text(2)});
    return labels;
}

// The old label rows and the new ones change together; then the user chooses who prints them:
// this program, or the label program through the label document.
void CPrintCodeDlg::RunPrintJob(const SqlStatement& insertSql) {
    QList<ProductLabel> labels;
    const bool filled = RunDbAction(this, QStringLiteral("准备条码数据"), [&] {
        Db()->Execute(QStringLiteral("delete from printcodedata"));
        Db()->Execute(insertSql.sql, insertSql.values);
        labels = ReadLabels();
    });
    if (!filled)
        return;
    if (labels.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("所选商品还没有保存商品属性，没有可打印的条码"),
                         MsgIcon::Information);
        return;
    }
    const int answer =
        HarborMessageBox(this,
                         QStringLiteral("已准备好 %1 个商品的条码标签。是否由本程序直接打印？\n\n"
                                        "是：先预览，再打印到打印机或 PDF 文件\n"
                                        "否：用标签设计程序打开“ODBC数据源.lsdx”")
                             .arg(labels.size()),
                         MsgIcon::Question, MsgButtons::YesNoCancel);
    if (answer == IDYES) {
        PreviewLabels(labels);
    } else if (answer == IDNO) {
        ConfigureLabelDataSource();
        OpenLabelDocument();
    }
}

void CPrintCodeDlg::PreviewLabels(const QList<ProductLabel>& labels) {
    const LabelSheet sheet = LabelSheet::Load();
    QPrinter printer(QPrinter::HighResolution);
    SetupLabelPrinter(printer, sheet);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("条码标签预览"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&](QPrinter* target) { PrintLabels(*target, labels, sheet); });
    // Beside the preview's own print button, which goes to a printer or a file: one click
    // straight to a PDF file.
    if (auto* tools = preview.findChild<QToolBar*>()) {
        tools->addSeparator();
        QAction* save = tools->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                         QStringLiteral("保存为PDF文件"));
        connect(save, &QAction::triggered, &preview,
                [&] { SaveLabelsPdf(&preview, labels, sheet); });
    }
    preview.resize(900, 700);
    preview.exec();
}

void CPrintCodeDlg::SaveLabelsPdf(QWidget* parent, const QList<ProductLabel>& labels,
                                  const LabelSheet& sheet) {
    QFileDialog dialog(parent, QStringLiteral("保存为PDF文件"),
                       QDir::home().filePath(QStringLiteral("条码标签.pdf")),
                       QStringLiteral("PDF 文件 (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    SetupLabelPrinter(pdf, sheet);
    if (PrintLabels(pdf, labels, sheet) == 0)
        HarborMessageBox(parent, QStringLiteral("不能写入文件“%1”，请换一个文件夹或文件名")
                                     .arg(QDir::toNativeSeparators(path)));
}

void CPrintCodeDlg::SetupLabels() {
    CLabelSetupDlg setup(LabelSheet::Load(), this);
    if (setup.exec() == QDialog::Accepted)
        ShowSheet();
}

void CPrintCodeDlg::ShowSheet() {
    const LabelSheet sheet = LabelSheet::Load();
    m_pSheetText->setText(QStringLiteral("%1 纸，每页 %2×%3 个，%4×%5 毫米")
                              .arg(QPageSize(sheet.paper).name())
                              .arg(sheet.columns)
                              .arg(sheet.rows)
                              .arg(sheet.labelWidth)
                              .arg(sheet.labelHeight));
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

// The lists fill the window above the two print buttons, which stand centred at the bottom;
// the label setup stands at the right, after the sheet it prints on.
void CPrintCodeDlg::resizeEvent(QResizeEvent* event) {
    CWorkDialog::resizeEvent(event);
    const int buttonTop = height() - kBottomMargin - kButtonHeight;
    m_pLists->setGeometry(0, 0, width(), buttonTop - 10);
    const int left = width() / 2 - kButtonWidth - 20;
    m_pClassButton->setGeometry(left, buttonTop, kButtonWidth, kButtonHeight);
    m_pAllButton->setGeometry(width() / 2 + 20, buttonTop, kButtonWidth, kButtonHeight);
    const int setupLeft = width() - kSideMargin - kButtonWidth;
    m_pSetupButton->setGeometry(setupLeft, buttonTop, kButtonWidth, kButtonHeight);
    const int textLeft = m_pAllButton->geometry().right() + kSideMargin;
    m_pSheetText->setGeometry(textLeft, buttonTop, qMax(0, setupLeft - 10 - textLeft),
                              kButtonHeight);
}
