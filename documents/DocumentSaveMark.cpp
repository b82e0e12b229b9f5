#include "documents/DocumentSaveMark.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "grid/CGridCtrl.h"

namespace {

const QString kSavedSuffix = QStringLiteral(" (已保存)");
const QString kSavedStyle = QStringLiteral("QLineEdit { background: #e2f4e2; }");

} // namespace

DocumentSaveMark::DocumentSaveMark(QWidget* window, QGroupBox* frame, QLineEdit* number,
                                   QPushButton* save)
    : QObject(window), m_pFrame(frame), m_pNumber(number), m_pSave(save),
      m_pStatus(new QLabel(window)), m_strCaption(frame->title()) {
    m_pStatus->setObjectName(QStringLiteral("documentStatusLine"));
    m_pStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pStatus->setWordWrap(true);
}

void DocumentSaveMark::Watch(std::initializer_list<QObject*> controls) {
    for (QObject* control : controls) {
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            connect(edit, &QLineEdit::textEdited, this, &DocumentSaveMark::MarkChanged);
        else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            connect(combo, &QComboBox::editTextChanged, this, &DocumentSaveMark::MarkChanged);
            connect(combo, &QComboBox::activated, this, &DocumentSaveMark::MarkChanged);
        } else if (auto* grid = qobject_cast<CGridCtrl*>(control))
            connect(grid, &CGridCtrl::endEdit, this, &DocumentSaveMark::MarkChanged);
    }
}

void DocumentSaveMark::MarkSaved(const QString& text) {
    m_bMarked = true;
    m_pFrame->setTitle(m_strCaption + kSavedSuffix);
    m_pNumber->setStyleSheet(kSavedStyle);
    m_pNumber->setToolTip(QStringLiteral("已保存"));
    m_pSave->setEnabled(false);
    if (!text.isEmpty())
        Tell(text);
}

void DocumentSaveMark::MarkChanged() {
    if (!m_bMarked)
        return;
    Clear();
}

void DocumentSaveMark::Clear() {
    m_bMarked = false;
    m_pFrame->setTitle(m_strCaption);
    m_pNumber->setStyleSheet(QString());
    m_pNumber->setToolTip(QString());
    m_pSave->setEnabled(true);
    m_pStatus->clear();
}

void DocumentSaveMark::Tell(const QString& text) {
    m_pStatus->setText(text);
    m_pStatus->setToolTip(text);
}
