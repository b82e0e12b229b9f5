#include "catalogue/CLabelSetupDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/HarborMessageBox.h"

namespace {

const QList<std::pair<QPageSize::PageSizeId, const char*>> kPapers{
    {QPageSize::A4, "A4 (210×297毫米)"},
    {QPageSize::A5, "A5 (148×210毫米)"},
    {QPageSize::B5, "B5 (176×250毫米)"},
    {QPageSize::Letter, "Letter (216×279毫米)"},
};

QDoubleSpinBox* Length(double value, double minimum) {
    auto* box = new QDoubleSpinBox;
    box->setRange(minimum, 300);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" 毫米"));
    box->setValue(value);
    return box;
}

QSpinBox* Count(int value, int maximum) {
    auto* box = new QSpinBox;
    box->setRange(1, maximum);
    box->setValue(value);
    box->setSuffix(QStringLiteral(" 个"));
    return box;
}

} // namespace

CLabelSetupDlg::CLabelSetupDlg(const LabelSheet& sheet, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("标签设置"));

    m_pPaper = new QComboBox;
    for (const auto& [id, name] : kPapers)
        m_pPaper->addItem(QString::fromUtf8(name), int(id));
    m_pPaper->setCurrentIndex(qMax(0, m_pPaper->findData(int(sheet.paper))));
    m_pWidth = Length(sheet.labelWidth, 10);
    m_pHeight = Length(sheet.labelHeight, 10);
    m_pColumns = Count(sheet.columns, 20);
    m_pRows = Count(sheet.rows, 50);
    m_pLeft = Length(sheet.leftMargin, 0);
    m_pTop = Length(sheet.topMargin, 0);
    m_pColumnGap = Length(sheet.columnGap, 0);
    m_pRowGap = Length(sheet.rowGap, 0);
    m_pBorders = new QCheckBox(QStringLiteral("打印标签边框(普通纸裁剪用)"));
    m_pBorders->setChecked(sheet.borders);
    const QList<std::pair<QWidget*, const char*>> names{
        {m_pPaper, "paper"},     {m_pWidth, "labelWidth"},    {m_pHeight, "labelHeight"},
        {m_pColumns, "columns"}, {m_pRows, "rows"},           {m_pLeft, "leftMargin"},
        {m_pTop, "topMargin"},   {m_pColumnGap, "columnGap"}, {m_pRowGap, "rowGap"},
        {m_pBorders, "borders"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QString::fromLatin1(name));

    auto* labelBox = new QGroupBox(QStringLiteral("标签"));
    auto* labelForm = new QFormLayout(labelBox);
    labelForm->addRow(QStringLiteral("标签宽度:"), m_pWidth);
    labelForm->addRow(QStringLiteral("标签高度:"), m_pHeight);
    labelForm->addRow(QStringLiteral("每行标签数:"), m_pColumns);
    labelForm->addRow(QStringLiteral("每页行数:"), m_pRows);

    auto* paperBox = new QGroupBox(QStringLiteral("纸张"));
    auto* paperForm = new QFormLayout(paperBox);
    paperForm->addRow(QStringLiteral("纸张大小:"), m_pPaper);
    paperForm->addRow(QStringLiteral("左边距:"), m_pLeft);
    paperForm->addRow(QStringLiteral("上边距:"), m_pTop);
    paperForm->addRow(QStringLiteral("列间距:"), m_pColumnGap);
    paperForm->addRow(QStringLiteral("行间距:"), m_pRowGap);

    m_pSummary = new QLabel;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CLabelSetupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLabelSetupDlg::reject);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(labelBox);
    boxes->addWidget(paperBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(m_pBorders);
    layout->addWidget(m_pSummary);
    layout->addWidget(buttons);

    for (QDoubleSpinBox* box : {m_pWidth, m_pHeight, m_pLeft, m_pTop, m_pColumnGap, m_pRowGap})
        connect(box, &QDoubleSpinBox::valueChanged, this, &CLabelSetupDlg::UpdateSummary);
    for (QSpinBox* box : {m_pColumns, m_pRows})
        connect(box, &QSpinBox::valueChanged, this, &CLabelSetupDlg::UpdateSummary);
    connect(m_pPaper, &QComboBox::currentIndexChanged, this, &CLabelSetupDlg::UpdateSummary);
    UpdateSummary();
}

LabelSheet CLabelSetupDlg::Sheet() const {
    LabelSheet sheet;
    sheet.paper = QPageSize::PageSizeId(m_pPaper->currentData().toInt());
    sheet.labelWidth = m_pWidth->value();
    sheet.labelHeight = m_pHeight->value();
    sheet.columns = m_pColumns->value();
    sheet.rows = m_pRows->value();
    sheet.leftMargin = m_pLeft->value();
    sheet.topMargin = m_pTop->value();
    sheet.columnGap = m_pColumnGap->value();
    sheet.rowGap = m_pRowGap->value();
    sheet.borders = m_pBorders->isChecked();
    return sheet;
}

QString CLabelSetupDlg::Summary() const {
    return m_pSummary->text();
}

void CLabelSetupDlg::UpdateSummary() {
    const LabelSheet sheet = Sheet();
    const QSizeF used = sheet.UsedSize();
    QString text = QStringLiteral("每页 %1 个标签，共占 %2 × %3 毫米")
                       .arg(sheet.LabelsPerSheet())
                       .arg(used.width(), 0, 'f', 1)
                       .arg(used.height(), 0, 'f', 1);
    if (!sheet.FitsPaper())
        text += QStringLiteral("，超出纸张");
    m_pSummary->setText(text);
    m_pSummary->setStyleSheet(sheet.FitsPaper() ? QString() : QStringLiteral("color: #c00000;"));
}

void CLabelSetupDlg::accept() {
    const LabelSheet sheet = Sheet();
    if (!sheet.FitsPaper()) {
        HarborMessageBox(this, QStringLiteral("标签超出纸张范围，请减小标签尺寸、行列数或边距"));
        return;
    }
    sheet.Save();
    QDialog::accept();
}
