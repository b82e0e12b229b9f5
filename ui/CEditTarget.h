#pragma once

#include <QPointer>

class CGridCtrl;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QWidget;

// What the "编辑" popup cuts, copies and pastes in: the grid or the text box that has the
// keyboard focus. Invalid when the focus is on neither.
class CEditTarget {
  public:
    static CEditTarget Of(QWidget* focus);
    static CEditTarget Focused();

    bool IsValid() const;
    bool CanCut() const;
    bool CanCopy() const;
    bool CanPaste() const;
    void Cut();
    void Copy();
    void Paste();

  private:
    QPointer<CGridCtrl> m_pGrid;
    QPointer<QLineEdit> m_pLine;
    QPointer<QTextEdit> m_pText;
    QPointer<QPlainTextEdit> m_pPlain;
};
