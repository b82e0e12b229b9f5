#include "documents/UnconfirmedSave.h"

#include "documents/CDocumentStore.h"
#include "ui/CDbAction.h"

void UnconfirmedSave::AfterFailedFirstSave(const QString& oddnum) {
    m_strNumber = LastActionInDoubt() ? oddnum : QString();
}

void UnconfirmedSave::Forget() {
    m_strNumber.clear();
}

UnconfirmedSave::Found UnconfirmedSave::Look(QWidget* parent, const CDocumentStore& store) {
    if (m_strNumber.isEmpty())
        return Found::Nothing;
    bool stored = false;
    if (!RunDbRead(parent, QStringLiteral("核对上次的保存"),
                   [&] { stored = !store.ReadRows(m_strNumber).isEmpty(); }))
        return Found::Unknown;
    if (stored)
        return Found::Stored;
    m_strNumber.clear();
    return Found::Nothing;
}

QString UnconfirmedSave::StoredMessage(const QString& oddnum) {
    return QStringLiteral("上次没有得到确认的保存已经存入数据库,单号 %1。窗口已重新读取这张单据,"
                          "请核对;要改动时改好再保存。")
        .arg(oddnum);
}
