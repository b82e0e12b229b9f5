#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

// "局域网连接设置": whether this machine uses its own database or the LAN host's.
class CLansetDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CLansetDlg(QWidget* parent = nullptr);

    int m_nMode = 0;
    quint32 m_dwHostIp = 0;
    int m_nPort = 0; // the server's port when it is not PostgreSQL's own; 0: none

    // Loads Lanset.ini into the controls (also done on every opening).
    void LoadSettings();
    // "保存": checks the address, writes Lanset.ini (creating it when missing) and reconnects.
    void OnSave();

    QRadioButton* LocalRadio() const { return m_pLocal; }
    QRadioButton* LanRadio() const { return m_pLan; }
    QLineEdit* AddressEdit() const { return m_pAddress; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void OnModeClicked();
    void PutToControls();
    // False when the address box holds no complete address (an empty one is fine in local mode).
    bool TakeFromControls();

    QRadioButton* m_pLocal;
    QRadioButton* m_pLan;
    QLineEdit* m_pAddress;
};
