#include "documents/DocumentWriteReport.h"

#include "ui/HarborMessageBox.h"

bool ReportDocumentWrite(QWidget* parent, const DocumentWrite& write, const QString& notDone) {
    switch (write.result) {
    case DocumentWrite::Result::Written:
        if (!write.notice.isEmpty())
            HarborMessageBox(parent, write.notice, MsgIcon::Exclamation);
        return true;
    case DocumentWrite::Result::Refused:
        HarborMessageBox(parent, write.message, MsgIcon::Stop);
        return false;
    case DocumentWrite::Result::Conflict:
        HarborMessageBox(parent,
                         QStringLiteral("本单已在其他窗口中被修改或删除,%1:\n%2\n"
                                        "现在显示的是本单保存在数据库中的内容.")
                             .arg(notDone, write.message),
                         MsgIcon::Stop);
        return false;
    }
    return false;
}
