#include "app/CHarborApp.h"

#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QFile>

#include "app/CConnection.h"
#include "app/CDbException.h"
#include "app/CLansetDlg.h"
#include "app/CMainFrame.h"
#include "app/HarborMessageBox.h"
#include "app/LansetFile.h"

CHarborApp theApp;

CHarborApp::CHarborApp() = default;
CHarborApp::~CHarborApp() {
    // After the Qt application is gone the SQL drivers are gone too: a connection still held
    // here (a test that did not release it) is left to the process's end.
    if (m_pConnection && !QCoreApplication::instance())
        new std::shared_ptr<CConnection>(std::move(m_pConnection));
}

bool CHarborApp::InitInstance() {
    m_strStartDate = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    m_pMainWnd = new CMainFrame;
    m_pMainWnd->showMaximized();
    m_pMainWnd->RepaintNow();
    ConnectDatabase();
    return true;
}

int CHarborApp::ExitInstance() {
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

CHarborApp::Attempt CHarborApp::TryConnect() {
    QFile file(LansetFilePath());
    if (!file.exists() || !file.open(QIODevice::ReadWrite))
        return Attempt::NoSettings;
    const QByteArray content = file.read(file.size());
    file.close();

    const QString connectionString = ConnectionStringFromLanset(content);
    m_pConnection = std::make_shared<CConnection>();
    try {
        m_pConnection->Open(connectionString);
        return Attempt::Connected;
    } catch (const CDbException& error) {
        HarborMessageBox(
            m_pMainWnd,
            QStringLiteral("连接数据库失败!,请重新进行局域网连接设置\r\n错误信息:%1").arg(error.Message()),
            MsgIcon::None);
    }
    return Attempt::Failed;
}

void CHarborApp::ConnectDatabase() {
    while (TryConnect() == Attempt::Failed) {
        CLansetDlg dialog(m_pMainWnd);
        // Leaving the dialog without saving changes nothing, so trying again would only fail
        // again: the program then runs without a connection instead of trapping the user.
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
}

void CHarborApp::ReconnectFromSettings() {
    if (m_pConnection)
        m_pConnection->Close();
    CLansetDlg dialog(m_pMainWnd);
    dialog.exec();  // saving the settings connects again
}
