#include "catalogue/PickHandOver.h"

#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/CSelectNameDlg.h"
#include "catalogue/PickerSettings.h"
#include "ui/CDbAction.h"
#include "ui/CPickReceiver.h"
#include "ui/HarborMessageBox.h"
#include "ui/PickArea.h"

bool HandOverPick(QWidget* parent, const QString& name, const QString& code, const QString& spec) {
    PickArea().m_strPickedName = name;
    PickArea().m_strPickedCode = code;
    PickArea().m_strPickedSpec = spec;
    if (name.isEmpty())
        return true;
    CPickReceiver* receiver = FindPickReceiver(PickArea().m_nPickTarget);
    if (!receiver)
        return true; // no document waits for a product (target 0 or its window is closed)

    receiver->m_bNoProperty = false;
    const bool taken =
        RunDbRead(parent, QStringLiteral("添加商品"), [receiver] { receiver->PutPickedProduct(); });
    if (receiver->m_bNoProperty) {
        receiver->m_bNoProperty = false;
        HarborMessageBox(parent, QStringLiteral("所选的商品还未添加规格属性,请先在基础资料中添加"),
                         MsgIcon::Stop);
        return false;
    }
    return taken;
}

bool RunProductPicker(QWidget* parent, int pickTarget, const QString& query) {
    PickArea().m_nPickTarget = pickTarget;
    PickArea().m_strPickQuery = query;
    PickArea().m_strPickedName.clear();
    if (query.isEmpty()) {
        CSelectNameDlg picker(parent);
        picker.exec();
    } else {
        CPinyinSelectDlg picker(parent);
        // One match (a scanned code): taken at once; the list shows when the product is refused.
        if (picker.MatchCount() != 1 || !PickSingleMatchAtOnce() || !picker.PickSelected())
            picker.exec();
    }
    return !PickArea().m_strPickedName.isEmpty();
}
