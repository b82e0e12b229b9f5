#pragma once

#include <QDialog>

class CGridCtrl;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// 操作日志: the log's entries by period, operator, action and number or code, newest first,
// with the rows before and after of the entry clicked; exports like every other list.
class CAuditLogDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAuditLogDlg(QWidget* parent = nullptr);

    CGridCtrl* List() const { return m_pList; }
    QDateEdit* FromBox() const { return m_pFrom; }
    QDateEdit* ToBox() const { return m_pTo; }
    QLineEdit* OperatorBox() const { return m_pOperator; }
    QLineEdit* ActionBox() const { return m_pAction; }
    QLineEdit* ObjectBox() const { return m_pObject; }
    QPushButton* QueryButton() const { return m_pQuery; }
    QPlainTextEdit* ImagesBox() const { return m_pImages; }
    // Shows the images of a list row.
    void ShowImages(int row);

  private:
    void Query();

    CGridCtrl* m_pList = nullptr;
    QDateEdit* m_pFrom = nullptr;
    QDateEdit* m_pTo = nullptr;
    QLineEdit* m_pOperator = nullptr;
    QLineEdit* m_pAction = nullptr;
    QLineEdit* m_pObject = nullptr;
    QPushButton* m_pQuery = nullptr;
    QPlainTextEdit* m_pImages = nullptr;
    QStringList m_before;
    QStringList m_after;
};
