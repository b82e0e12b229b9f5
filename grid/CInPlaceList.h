// The drop-down list that edits a combo cell, with its edit part CComboEdit.
#pragma once

#include <QComboBox>
#include <QLineEdit>

class CGridCtrl;
class CInPlaceList;

// The typing part of a CInPlaceList (control id 1001): passes Enter, Tab and Escape to the list.
class CComboEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit CComboEdit(CInPlaceList* pList);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

  private:
    CInPlaceList* m_pList;
};

class CInPlaceList : public QComboBox {
    Q_OBJECT

  public:
    // nStyle: 2 typing allowed, 3 pick only. Opens over rect and drops the list down.
    CInPlaceList(CGridCtrl* pGrid, const QRect& rect, int nStyle, int nID, int nRow, int nColumn,
                 const QStringList& Items, const QString& sInitText, int nFirstChar);

    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }
    int GetLastKey() const { return m_nLastChar; }
    QString GetInitialText() const { return m_sInitText; }
    int GetStyle() const { return m_nStyle; }
    static constexpr int VisibleItems = 4;

    void EndEdit();
    // Keys from the grid side and the edit part: Enter, Tab, Escape and Ctrl+move keys.
    bool HandleEndKey(QKeyEvent* event);
    void OnFocusLost(Qt::FocusReason reason);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    // Keys in the open drop-down: Enter, Tab and Ctrl+move keys take the highlighted option
    // and end editing, Escape cancels, all with one press.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CGridCtrl* m_pGrid;
    int m_nRow;
    int m_nColumn;
    int m_nStyle;
    QString m_sInitText;
    int m_nLastChar = 0;
    bool m_bAlreadyEnding = false;
};
