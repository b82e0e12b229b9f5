#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// 导入扫描枪数据: where the clerk pastes what the scanner exported, with its format explained.
class ScannerPasteDlg : public QDialog {
    Q_OBJECT
  public:
    explicit ScannerPasteDlg(QWidget* parent = nullptr);

    QPlainTextEdit* TextBox() const { return m_pText; }
    QPushButton* ImportButton() const { return m_pImport; }
    QString Text() const;

  private:
    QPlainTextEdit* m_pText = nullptr;
    QPushButton* m_pImport = nullptr;
};
