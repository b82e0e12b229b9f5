#pragma once

#include <QRect>
#include <QString>
#include <memory>

#include "db/Db.h"
#include "ui/PickArea.h"
#include "ui/ShellLink.h"

class CConnection;
class CMainFrame;

// The application object: connects the shop database (db's Db()), keeps the main window and
// is the windows' link to it. Its connection and pick members are the program's one
// connection and one hand-over area, under the names the windows always used.
class CHarborApp : public CShellLink {
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
    void ReconnectFromSettings() override;

    ListPrintData* PrintList(int kind) override;
    void SelectPrintKind(int kind) override;
    void SetPagedPrinting(bool paged) override;
    bool IsPagedPrinting() const override;
    bool RunCommand(int id) override;
    QRect WorkArea() const override { return m_rcWorkArea; }

    // Lanset.ini beside the program, or where a test pointed m_strLansetPath.
    QString LansetFilePath() const;

    unsigned m_nAppLook = 215;
    QRect m_rcWorkArea; // global coordinates of the home view's work area
    QString& m_strPickedName = PickArea().m_strPickedName;
    QString& m_strPickedCode = PickArea().m_strPickedCode;
    QString& m_strPickedSpec = PickArea().m_strPickedSpec;
    int& m_nPickTarget = PickArea().m_nPickTarget; // 1 stock-in, 2 sales-out, 3 sales-return
    std::shared_ptr<CConnection>& m_pConnection = Db();
    QString& m_strPickQuery = PickArea().m_strPickQuery;

    CMainFrame* m_pMainWnd = nullptr;
    // Where Lanset.ini is read; beside the program unless a test points elsewhere.
    QString m_strLansetPath;
    QString m_strStartDate;

  private:
    class CHarborView* HomeView() const;
    // One attempt; false with what went wrong.
    bool TryConnect(QString* problem);
    bool WaitWhileBusy(const QString& connectionString, QString* problem);
    // Opens tried while another workstation holds the database (each waits its busy timeout).
    static constexpr int kBusyAttempts = 6;

    bool m_bConnecting = false; // the failure path is running
};

extern CHarborApp theApp;
