#include "shell/CHarborApp.h"

#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTimer>

#include "accounts/OperatorCommands.h"
#include "admin/BackupCommands.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/ConnectionString.h"
#include "db/LansetFile.h"
#include "shell/CHarborView.h"
#include "shell/CLansetDlg.h"
#include "shell/CMainFrame.h"
#include "shell/KeyTips.h"
#include "ui/HarborMessageBox.h"
#include "text/HarborClock.h"

CHarborApp theApp;

CHarborApp::CHarborApp() {
    SetShellLink(this);
}

CHarborApp::~CHarborApp() {
    SetShellLink(nullptr);
}

bool CHarborApp::InitInstance() {
    m_strStartDate = HarborToday().toString(QStringLiteral("yyyy-MM-dd"));
    m_pMainWnd = new CMainFrame;
    m_pMainWnd->showMaximized();
    m_pMainWnd->RepaintNow();
    const QString secretWarning = MoveServerPasswordOutOfSettings();
    if (!secretWarning.isEmpty())
        HarborMessageBox(m_pMainWnd, secretWarning);
    ConnectDatabase();
    if (!SignInAtStart(m_pMainWnd))
        return false;
    WatchIdleOperator(m_pMainWnd);
    new CKeyTips(m_pMainWnd);
    // The day's copy is taken once the window is up, with its progress in the status bar.
    QTimer::singleShot(0, m_pMainWnd, [this] { RunStartupBackup(m_pMainWnd->statusBar()); });
    return true;
}

int CHarborApp::ExitInstance() {
    RunExitBackup();
    if (m_pConnection) {
        m_pConnection->Close();
        m_pConnection.reset();
    }
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
    return 0;
}

QString CHarborApp::LansetFilePath() const {
    return m_strLansetPath.isEmpty() ? LansetPath() : m_strLansetPath;
}

bool CHarborApp::TryConnect(QString* problem) {
    const QString path = LansetFilePath();
    QByteArray content;
    const LansetRead read = ReadLansetFile(path, &content);
    if (read != LansetRead::Ok) {
        *problem = LansetReadProblem(read, path);
        return false;
    }
    const QString connectionString = ConnectionStringFromLanset(content);
    m_pConnection = std::make_shared<CConnection>();
    try {
        m_pConnection->Open(connectionString);
        return true;
    } catch (const CDbException& error) {
        *problem = error.Message();
        if (error.GetKind() == CDbException::Kind::Busy)
            return WaitWhileBusy(connectionString, problem);
    }
    return false;
}

// Another workstation holds the database while it writes: wait in sight of the user and try
// again, until the database is free, the time is up or the user stops waiting.
bool CHarborApp::WaitWhileBusy(const QString& connectionString, QString* problem) {
    QProgressDialog waiting(QStringLiteral("数据库正被另一台电脑使用,正在等待它写完..."),
                            QStringLiteral("不再等待"), 0, kBusyAttempts, m_pMainWnd);
    waiting.setWindowTitle(QString::fromUtf8(kAppTitle));
    waiting.setWindowModality(Qt::WindowModal);
    waiting.setMinimumDuration(0);
    for (int attempt = 1; attempt <= kBusyAttempts; ++attempt) {
        waiting.setValue(attempt);
        QCoreApplication::processEvents();
        if (waiting.wasCanceled())
            break;
        try {
            m_pConnection->Open(connectionString);
            return true;
        } catch (const CDbException& error) {
            *problem = error.Message();
            if (error.GetKind() != CDbException::Kind::Busy)
                return false;
        }
    }
    return false;
}

void CHarborApp::ConnectDatabase() {
    // A save in the LAN dialog of a running failure path lands here again: the loop below makes
    // the next attempt once that dialog has closed, so no second dialog opens inside the first.
    if (m_bConnecting)
        return;
    const QScopedValueRollback<bool> connecting(m_bConnecting, true);
    QString problem;
    while (!TryConnect(&problem)) {
        HarborMessageBox(
            m_pMainWnd,
            QStringLiteral("连接数据库失败!,请重新进行局域网连接设置\r\n错误信息:%1").arg(problem),
            MsgIcon::None);
        CLansetDlg dialog(m_pMainWnd);
        // Leaving the dialog without saving changes nothing, so trying again would only fail
        // again: the program then runs without a connection instead of trapping the user.
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
}

CHarborView* CHarborApp::HomeView() const {
    return m_pMainWnd ? m_pMainWnd->View() : nullptr;
}

ListPrintData* CHarborApp::PrintList(int kind) {
    CHarborView* view = HomeView();
    return view ? &view->PrintList(kind) : nullptr;
}

void CHarborApp::SelectPrintKind(int kind) {
    if (CHarborView* view = HomeView())
        view->m_nPrintKind = (kind >= 1 && kind <= 4) ? kind : 0;
}

void CHarborApp::SetPagedPrinting(bool paged) {
    if (CHarborView* view = HomeView())
        view->m_bPaged = paged;
}

bool CHarborApp::IsPagedPrinting() const {
    CHarborView* view = HomeView();
    return view && view->m_bPaged;
}

bool CHarborApp::RunCommand(int id) {
    if (!m_pMainWnd)
        return false;
    m_pMainWnd->OnCommand(id);
    return true;
}

void CHarborApp::ReconnectFromSettings() {
    if (m_pConnection)
        m_pConnection->Close();
    CLansetDlg dialog(m_pMainWnd);
    dialog.exec(); // saving the settings connects again
}
