#include "shell/CHarborApplication.h"

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "shell/CHarborApp.h"
#include "ui/HarborMessageBox.h"

CHarborApplication::CHarborApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool CHarborApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const CDbException& error) {
        if (CConnection* connection = theApp.m_pConnection.get()) {
            while (connection->InTransaction())
                connection->Rollback();
        }
        HarborMessageBox(nullptr,
                         QStringLiteral("数据库操作失败,所做的修改没有保存。\n\n数据库信息: %1")
                             .arg(error.Message()),
                         MsgIcon::Stop);
    }
    return false;
}
