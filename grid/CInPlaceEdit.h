// The single-line editor that opens over a cell.
#pragma once

#include <QLineEdit>

class CGridCtrl;

// Puts the caret or types the start character of an edit into an editor showing the cell text.
void ApplyStartChar(QLineEdit* pEdit, int nFirstChar);

class CInPlaceEdit : public QLineEdit {
    Q_OBJECT

  public:
    // Opens over rect (grid viewport coordinates) with the text and handles the start
    // character; nID is the control id (8).
    CInPlaceEdit(CGridCtrl* pGrid, const QRect& rect, int nID, int nRow, int nColumn,
                 const QString& sInitText, int nFirstChar);

    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }
    int GetLastKey() const { return m_nLastChar; }
    QString GetInitialText() const { return m_sInitText; }
    bool ExitOnArrows() const { return m_bExitOnArrows; }

    // Sends the end-edit record to the grid once and closes the editor.
    void EndEdit();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void WidenToText();

    CGridCtrl* m_pGrid;
    int m_nRow;
    int m_nColumn;
    QString m_sInitText;
    int m_nLastChar = 0;
    bool m_bExitOnArrows;
    bool m_bAlreadyEnding = false;
    QRect m_Rect;
};
