#include "documents/ScannerPasteDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ScannerPasteDlg::ScannerPasteDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("导入扫描枪数据"));
    auto* format =
        new QLabel(QStringLiteral("把扫描枪导出的文字粘贴在下面(Ctrl+V),然后按 导入 (Ctrl+Enter).\n"
                                  "格式: 第一行先写员工工号,每个商品一行: #十位条码,数量\n"
                                  "例如:\n    12#0101000001,3\n    #0102000001,2.5"),
                   this);
    format->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pText = new QPlainTextEdit(this);
    m_pText->setWordWrapMode(QTextOption::WrapAnywhere);
    m_pText->setTabChangesFocus(true);
    auto* buttons = new QDialogButtonBox(this);
    m_pImport = buttons->addButton(QStringLiteral("导入"), QDialogButtonBox::AcceptRole);
    m_pImport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(format);
    layout->addWidget(m_pText, 1);
    layout->addWidget(buttons);
    resize(520, 400);
    m_pText->setFocus();
}

QString ScannerPasteDlg::Text() const {
    return m_pText->toPlainText();
}
