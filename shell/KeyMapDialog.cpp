#include "shell/KeyMapDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "documents/DocumentKeyMap.h"

void ShowKeyMapDialog(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("快捷键一览"));
    auto* text = new QPlainTextEdit(DocumentKeyMap::HelpText(), &dialog);
    text->setReadOnly(true);
    text->setTabStopDistance(200);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("不用鼠标也能开单:"), &dialog));
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
    dialog.resize(560, 360);
    dialog.exec();
}
