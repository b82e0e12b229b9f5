#include "ui/CEditTarget.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "grid/CGridCtrl.h"

namespace {

bool ClipboardHasText() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

} // namespace

CEditTarget CEditTarget::Of(QWidget* focus) {
    CEditTarget target;
    if (!focus)
        return target;
    if (auto* line = qobject_cast<QLineEdit*>(focus))
        target.m_pLine = line;
    else if (auto* text = qobject_cast<QTextEdit*>(focus))
        target.m_pText = text;
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus))
        target.m_pPlain = plain;
    else if (auto* grid = qobject_cast<CGridCtrl*>(focus))
        target.m_pGrid = grid;
    return target;
}

CEditTarget CEditTarget::Focused() {
    return Of(QApplication::focusWidget());
}

bool CEditTarget::IsValid() const {
    return m_pGrid || m_pLine || m_pText || m_pPlain;
}

bool CEditTarget::CanCut() const {
    if (m_pGrid)
        return m_pGrid->IsEditable() && m_pGrid->IsValid(m_pGrid->GetFocusCell()) &&
               m_pGrid->GetSelectedCount() > 0;
    if (m_pLine)
        return !m_pLine->isReadOnly() && m_pLine->hasSelectedText() &&
               m_pLine->echoMode() == QLineEdit::Normal;
    if (m_pText)
        return !m_pText->isReadOnly() && m_pText->textCursor().hasSelection();
    if (m_pPlain)
        return !m_pPlain->isReadOnly() && m_pPlain->textCursor().hasSelection();
    return false;
}

bool CEditTarget::CanCopy() const {
    if (m_pGrid)
        return m_pGrid->GetSelectedCount() > 0;
    if (m_pLine)
        return m_pLine->hasSelectedText() && m_pLine->echoMode() == QLineEdit::Normal;
    if (m_pText)
        return m_pText->textCursor().hasSelection();
    if (m_pPlain)
        return m_pPlain->textCursor().hasSelection();
    return false;
}

bool CEditTarget::CanPaste() const {
    if (!ClipboardHasText())
        return false;
    if (m_pGrid)
        return m_pGrid->IsEditable() && m_pGrid->IsValid(m_pGrid->GetFocusCell());
    if (m_pLine)
        return !m_pLine->isReadOnly();
    if (m_pText)
        return !m_pText->isReadOnly();
    if (m_pPlain)
        return !m_pPlain->isReadOnly();
    return false;
}

void CEditTarget::Cut() {
    if (!CanCut())
        return;
    if (m_pGrid)
        m_pGrid->OnEditCut();
    else if (m_pLine)
        m_pLine->cut();
    else if (m_pText)
        m_pText->cut();
    else if (m_pPlain)
        m_pPlain->cut();
}

void CEditTarget::Copy() {
    if (!CanCopy())
        return;
    if (m_pGrid)
        m_pGrid->OnEditCopy();
    else if (m_pLine)
        m_pLine->copy();
    else if (m_pText)
        m_pText->copy();
    else if (m_pPlain)
        m_pPlain->copy();
}

void CEditTarget::Paste() {
    if (!CanPaste())
        return;
    if (m_pGrid)
        m_pGrid->OnEditPaste();
    else if (m_pLine)
        m_pLine->paste();
    else if (m_pText)
        m_pText->paste();
    else if (m_pPlain)
        m_pPlain->paste();
}
