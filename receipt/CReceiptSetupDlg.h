#pragma once

#include <QDialog>

#include "receipt/ReceiptSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// 小票设置: the roll (58 mm or 80 mm) and how receipts reach the printer, kept on "确定".
class CReceiptSetupDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CReceiptSetupDlg(QWidget* parent = nullptr);

    // What the controls hold now.
    ReceiptSettings Chosen() const;

    QRadioButton* Roll58() const { return m_pRoll58; }
    QRadioButton* Roll80() const { return m_pRoll80; }
    QComboBox* OutputBox() const { return m_pOutput; }
    QComboBox* PrinterBox() const { return m_pPrinter; }
    QLineEdit* DeviceBox() const { return m_pDevice; }
    QCheckBox* DrawerBox() const { return m_pDrawer; }

    void accept() override;

  private:
    void Show(const ReceiptSettings& settings);
    void EnableForOutput();

    QRadioButton* m_pRoll58 = nullptr;
    QRadioButton* m_pRoll80 = nullptr;
    QComboBox* m_pOutput = nullptr;
    QComboBox* m_pPrinter = nullptr;
    QLineEdit* m_pDevice = nullptr;
    QCheckBox* m_pDrawer = nullptr;
};
