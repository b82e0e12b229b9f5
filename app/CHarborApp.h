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

    // Reads Lanset.ini and opens the connection; on failure tells the user, opens the LAN
    // settings and tries again after each save, until an open succeeds, the file cannot be
    // read or the user leaves the settings without saving.
    void ConnectDatabase();
    // The database went away under the program: close it, show the LAN settings and connect
    // again when they are saved.
    void ReconnectFromSettings();

    // Lanset.ini beside the program, or where a test pointed m_strLansetPath.
    QString LansetFilePath() const;

    unsigned m_nAppLook = 215;
    QRect m_rcWorkArea;  // global coordinates of the home view's work area
    QString m_strPickedName;
    QString m_strPickedCode;
    QString m_strPickedSpec;
    int m_nPickTarget = 0;  // 1 stock-in, 2 sales-out, 3 sales-return
    std::shared_ptr<CConnection> m_pConnection;
    QString m_strPickQuery;

    CMainFrame* m_pMainWnd = nullptr;
    // Where Lanset.ini is read; beside the program unless a test points elsewhere.
    QString m_strLansetPath;
    QString m_strStartDate;

private:
    // One attempt; returns false when the failure path should run (message already shown).
    enum class Attempt { Connected, NoSettings, Failed };
    Attempt TryConnect();
};

extern CHarborApp theApp;
