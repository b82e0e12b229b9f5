#include "admin/BackupCommands.h"

#include <functional>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStatusBar>

#include "admin/DatabaseBackup.h"
#include "admin/DatabaseRestore.h"
#include "admin/ServerBackup.h"
#include "db/AuditLog.h"
#include "db/AuditedTransaction.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/Db.h"
#include "db/SqlDialect.h"
#include "ui/CWorkDialog.h"
#include "ui/HarborMessageBox.h"

namespace {

// A logged entry for something done to the whole database (a backup taken, a restore): after
// a restore the kept head becomes that of the restored log first. Says so when it fails.
void LogDatabaseEvent(QWidget* parent, CConnection& connection, const QString& what,
                      const QString& file, bool restored) {
    try {
        if (restored)
            ResetAuditHead(connection);
        RunAuditedTransaction(
            connection, what, [] {}, QString(), QFileInfo(file).fileName());
    } catch (const CDbException& error) {
        HarborMessageBox(
            parent, QStringLiteral("%1已完成,但没能记入操作日志: %2").arg(what, error.Message()));
    }
}

bool g_bBackupRunning = false;

// The connection when it is a local database that can be copied; null otherwise.
CConnection* LocalConnection() {
    CConnection* connection = Db().get();
    if (!connection || !connection->IsOpen() ||
        connection->Dialect().GetEngine() != SqlDialect::Engine::Sqlite)
        return nullptr;
    return connection;
}

// The connection when it is the shop's database server; null otherwise.
CConnection* ServerConnection() {
    CConnection* connection = Db().get();
    if (!connection || !connection->IsOpen() || !connection->IsServer())
        return nullptr;
    return connection;
}

// The server connection when this computer is its host: only the host takes automatic copies.
CConnection* HostedServer() {
    CConnection* connection = ServerConnection();
    return connection && IsServerHost(connection->ServerHost()) ? connection : nullptr;
}

// Paints between the steps of a copy; clicks and keys wait until it is done.
void KeepPainting() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool RefuseWhileRunning(QWidget* parent) {
    if (!g_bBackupRunning)
        return false;
    HarborMessageBox(parent, QStringLiteral("正在备份数据库,请稍候再试"), MsgIcon::Information);
    return true;
}

QString ChooseFile(QWidget* parent, const QString& caption, const QString& proposed, bool save,
                   bool server = false) {
    const QString suffix = server ? QStringLiteral("dump") : QStringLiteral("accdb");
    QFileDialog dialog(parent, caption, proposed,
                       QStringLiteral("数据库备份 (*.%1);;所有文件 (*)").arg(suffix));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

// Closes every work window (each may ask about unsaved work first); false when one stays.
bool CloseWorkWindows() {
    QList<QPointer<CWorkDialog>> open;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* dialog = qobject_cast<CWorkDialog*>(widget))
            open.append(dialog);
    }
    for (const QPointer<CWorkDialog>& dialog : open) {
        if (dialog && !dialog->QueryClose())
            return false;
    }
    for (const QPointer<CWorkDialog>& dialog : open) {
        if (dialog)
            delete dialog->HostWindow();
    }
    return true;
}

QString FactsText(const QString& path, const BackupFacts& facts) {
    return QStringLiteral("备份文件: %1\n备份时间: %2\n商品: %3 种\n单据: %4 张\n\n"
                          "恢复后,当前的数据库将被这份备份替换(替换前当前数据库会先另存一份备份),"
                          "所有打开的窗口将被关闭。\n确定要恢复吗?")
        .arg(QDir::toNativeSeparators(path),
             facts.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
        .arg(facts.products)
        .arg(facts.documents);
}

} // namespace

bool BackupRunning() {
    return g_bBackupRunning;
}

namespace {

// One copy made by hand, under the wait cursor: false (with the message shown) when another
// copy is running or this one failed.
bool RunBackup(QWidget* parent, const std::function<void()>& copy) {
    if (RefuseWhileRunning(parent))
        return false;
    const QScopedValueRollback<bool> running(g_bBackupRunning, true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString problem;
    try {
        copy();
    } catch (const CDbException& error) {
        problem = error.Message();
    }
    QApplication::restoreOverrideCursor();
    if (problem.isEmpty())
        return true;
    HarborMessageBox(parent, QStringLiteral("备份数据库失败: %1").arg(problem), MsgIcon::Stop);
    return false;
}

// 备份数据库 on the server: pg_dump into the chosen file. Other workstations than the host are
// told that they take no automatic copies.
bool BackupServerNow(QWidget* parent, CConnection& connection, const QString& target) {
    if (!RunBackup(parent, [&] { DumpServerDatabase(connection.Server(), target, KeepPainting); }))
        return false;
    QString text = QStringLiteral("数据库已备份到 %1").arg(QDir::toNativeSeparators(target));
    if (!IsServerHost(connection.ServerHost()))
        text += QStringLiteral("\n\n自动备份只在数据库服务器主机(%1)上进行,这台电脑不自动备份。")
                    .arg(connection.ServerHost());
    HarborMessageBox(parent, text, MsgIcon::Information);
    return true;
}

} // namespace

bool BackupNow(QWidget* parent, const QString& target) {
    if (CConnection* server = ServerConnection())
        return BackupServerNow(parent, *server, target);
    CConnection* connection = LocalConnection();
    if (!connection) {
        HarborMessageBox(parent, QStringLiteral("没有打开的本机数据库,不能备份"));
        return false;
    }
    if (!RunBackup(parent, [&] {
            BackupDatabaseTo(*connection, target, [](int, int) { KeepPainting(); });
        }))
        return false;
    LogDatabaseEvent(parent, *connection, QStringLiteral("备份数据库"), target, false);
    HarborMessageBox(parent,
                     QStringLiteral("数据库已备份到 %1").arg(QDir::toNativeSeparators(target)),
                     MsgIcon::Information);
    return true;
}

void OnBackupDatabase(QWidget* parent) {
    if (CConnection* server = ServerConnection()) {
        // The host proposes its backup folder; another workstation its own program folder's.
        const QString anchor = ServerBackupAnchor();
        QDir().mkpath(BackupFolderFor(anchor));
        const QFileInfo automatic(BackupFileName(anchor, QDateTime::currentDateTime()));
        const QString proposed = QDir(BackupFolderFor(anchor))
                                     .filePath(automatic.completeBaseName() +
                                               QStringLiteral("-手动.") + automatic.suffix());
        const QString target =
            ChooseFile(parent, QStringLiteral("备份数据库"), proposed, true, true);
        if (!target.isEmpty())
            BackupServerNow(parent, *server, target);
        return;
    }
    CConnection* connection = LocalConnection();
    if (!connection) {
        HarborMessageBox(parent, QStringLiteral("没有打开的本机数据库,不能备份"));
        return;
    }
    const QString database = connection->DatabasePath();
    QDir().mkpath(BackupFolderFor(database));
    // Named apart from the automatic copies, so that their retention never removes it.
    const QFileInfo automatic(BackupFileName(database, QDateTime::currentDateTime()));
    const QString proposed =
        QDir(BackupFolderFor(database))
            .filePath(automatic.completeBaseName() + QStringLiteral("-手动.") + automatic.suffix());
    const QString target = ChooseFile(parent, QStringLiteral("备份数据库"), proposed, true);
    if (!target.isEmpty())
        BackupNow(parent, target);
}

bool RestoreFrom(QWidget* parent, const QString& copyPath) {
    CConnection* server = ServerConnection();
    CConnection* connection = server ? server : LocalConnection();
    if (!connection) {
        HarborMessageBox(parent, QStringLiteral("没有打开的本机数据库,不能恢复"));
        return false;
    }
    if (RefuseWhileRunning(parent))
        return false;
    // Checking and copying a large file takes a while: the wait cursor, except while asking.
    const auto confirm = [&](const BackupFacts& facts) {
        QApplication::restoreOverrideCursor();
        const bool yes =
            HarborMessageBox(parent, FactsText(copyPath, facts), MsgIcon::Question,
                             MsgButtons::YesNo, QStringLiteral("恢复数据库")) == IDYES &&
            CloseWorkWindows();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return yes;
    };
    const QScopedValueRollback<bool> running(g_bBackupRunning, true);
    RestoreResult result;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        result =
            server ? RestoreServerDatabase(*server, copyPath, confirm, ServerBackupAnchor(),
                                           QDateTime::currentDateTime(), KeepPainting)
                   : RestoreDatabase(*connection, copyPath, confirm, QDateTime::currentDateTime());
        QApplication::restoreOverrideCursor();
    } catch (const CDbException& error) {
        QApplication::restoreOverrideCursor();
        // The database as it was could not be opened again.
        HarborMessageBox(parent,
                         QStringLiteral("恢复数据库后不能重新连接: %1").arg(error.Message()),
                         MsgIcon::Stop);
        return false;
    }
    switch (result.outcome) {
    case RestoreResult::Restored:
        LogDatabaseEvent(parent, *connection, QStringLiteral("恢复数据库"), copyPath, true);
        HarborMessageBox(parent, result.message, MsgIcon::Information);
        return true;
    case RestoreResult::Cancelled:
        return false;
    case RestoreResult::Refused:
    case RestoreResult::Failed:
        HarborMessageBox(parent, result.message, MsgIcon::Stop);
        return false;
    }
    return false;
}

void OnRestoreDatabase(QWidget* parent) {
    if (ServerConnection()) {
        const QString path = ChooseFile(parent, QStringLiteral("选择要恢复的数据库备份"),
                                        BackupFolderFor(ServerBackupAnchor()), false, true);
        if (!path.isEmpty())
            RestoreFrom(parent, path);
        return;
    }
    CConnection* connection = LocalConnection();
    if (!connection) {
        HarborMessageBox(parent, QStringLiteral("没有打开的本机数据库,不能恢复"));
        return;
    }
    const QString path = ChooseFile(parent, QStringLiteral("选择要恢复的数据库备份"),
                                    BackupFolderFor(connection->DatabasePath()), false);
    if (!path.isEmpty())
        RestoreFrom(parent, path);
}

QString RunStartupBackup(QStatusBar* bar, const QDateTime& now) {
    CConnection* server = HostedServer();
    CConnection* connection = server ? server : LocalConnection();
    const QString anchor =
        server ? ServerBackupAnchor() : (connection ? connection->DatabasePath() : QString());
    if (!connection || g_bBackupRunning || !StartupBackupDue(NewestBackup(anchor), now))
        return QString();
    const QScopedValueRollback<bool> running(g_bBackupRunning, true);
    QPointer<QStatusBar> status(bar);
    const auto show = [&](const QString& text, int timeout = 0) {
        if (status)
            status->showMessage(text, timeout);
    };
    show(QStringLiteral("正在自动备份数据库..."));
    KeepPainting();
    try {
        const QString copy =
            server ? TakeAutomaticServerBackup(server->Server(), anchor, now, KeepPainting)
                   : TakeAutomaticBackup(*connection, now, [&](int done, int total) {
                         show(QStringLiteral("正在自动备份数据库... %1%")
                                  .arg(total > 0 ? done * 100 / total : 0));
                         KeepPainting();
                     });
        show(QStringLiteral("数据库已自动备份到 %1").arg(QDir::toNativeSeparators(copy)), 10000);
        return copy;
    } catch (const CDbException& error) {
        show(QStringLiteral("自动备份数据库失败: %1").arg(error.Message()), 30000);
    }
    return QString();
}

QString RunExitBackup(const QDateTime& now) {
    CConnection* server = HostedServer();
    CConnection* connection = server ? server : LocalConnection();
    if (!connection)
        return QString();
    try {
        if (server)
            return TakeAutomaticServerBackup(server->Server(), ServerBackupAnchor(), now);
        return TakeAutomaticBackup(*connection, now);
    } catch (const CDbException& error) {
        HarborMessageBox(nullptr,
                         QStringLiteral("退出时自动备份数据库失败: %1").arg(error.Message()),
                         MsgIcon::Stop);
    }
    return QString();
}
