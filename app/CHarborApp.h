#pragma once

#include <QRect>
#include <QString>
#include <memory>

class CConnection;
class CMainFrame;

// The application object: owns the shared connection and the hand-over area between the
// document windows and the pickers.
class CHarborApp {
  public:
    CHarborApp();
    ~CHarborApp();

    // Creates and shows the main window, then connects. False ends the program.
    bool InitInstance();
    int ExitInstance();

    // Reads Lanset.ini and opens the connection. When the file cannot be read or the open
    // fails, tells the user, opens the LAN settings and tries again after each save, until an
    // open succeeds or the user leaves the settings with 退出.
    void ConnectDatabase();
    // The database went away under the program: close it, show the LAN settings and connect
    // again when they are saved.
    void ReconnectFromSettings();

    // Lanset.ini beside the program, or where a test pointed m_strLansetPath.
    QString LansetFilePath() const;

    unsigned m_nAppLook = 215;
    QRect m_rcWorkArea; // global coordinates of the home view's work area
    QString m_strPickedName;
    QString m_strPickedCode;
    QString m_strPickedSpec;
    int m_nPickTarget = 0; // 1 stock-in, 2 sales-out, 3 sales-return
    std::shared_ptr<CConnection> m_pConnection;
    QString m_strPickQuery;

    CMainFrame* m_pMainWnd = nullptr;
    // Where Lanset.ini is read; beside the program unless a test points elsewhere.
    QString m_strLansetPath;
    QString m_strStartDate;

  private:
    // One attempt; false with what went wrong.
    bool TryConnect(QString* problem);
    bool WaitWhileBusy(const QString& connectionString, QString* problem);
    // Opens tried while another workstation holds the database (each waits its busy timeout).
    static constexpr int kBusyAttempts = 6;

    bool m_bConnecting = false; // the failure path is running
};

extern CHarborApp theApp;
