#include "queries/DocumentDelete.h"

#include "accounts/PermissionCheck.h"
#include "documents/CDocumentStore.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

bool DeleteDocumentAsked(QWidget* parent, const DocumentTable& table, const DeleteWords& words,
                         const QString& oddnum) {
    const QString question =
        QStringLiteral("%1\n单号:%2\n\n是: 删除,%3(本单是误录的)\n否: 删除,库存保持不变"
                       "(只删除旧记录)\n取消: 不删除")
            .arg(words.question, oddnum, words.giveBack);
    const int answer = HarborMessageBox(parent, question, MsgIcon::Exclamation,
                                        MsgButtons::YesNoCancel, words.caption);
    if (answer != IDYES && answer != IDNO)
        return false;
    const bool giveBack = answer == IDYES;
    if (!RequirePermission(parent,
                           giveBack ? Permission::DeleteWithStock : Permission::DeleteDocument))
        return false;
    DocumentWrite write;
    if (!RunDbAction(parent, words.caption,
                     [&] { write = CDocumentStore(table).DeleteDocument(oddnum, giveBack); }))
        return false;
    if (write.result != DocumentWrite::Result::Written) {
        HarborMessageBox(parent, write.message, MsgIcon::Stop, MsgButtons::Ok, words.caption);
        return false;
    }
    if (!write.notice.isEmpty())
        HarborMessageBox(parent, write.notice, MsgIcon::Exclamation, MsgButtons::Ok, words.caption);
    HarborMessageBox(parent,
                     QStringLiteral("已删除单号%1,%2.")
                         .arg(oddnum, giveBack ? words.givenBack : QStringLiteral("库存保持不变")),
                     MsgIcon::Information, MsgButtons::Ok, words.caption);
    return true;
}
