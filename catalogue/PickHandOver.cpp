#include "catalogue/PickHandOver.h"

#include "app/CDbAction.h"
#include "app/CHarborApp.h"
#include "app/CPickReceiver.h"
#include "app/HarborMessageBox.h"
#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/CSelectNameDlg.h"
#include "catalogue/PickerSettings.h"

bool HandOverPick(QWidget* parent, const QString& name, const QString& code, const QString& spec) {
    theApp.m_strPickedName = name;
    theApp.m_strPickedCode = code;
    theApp.m_strPickedSpec = spec;
    if (name.isEmpty())
        return true;
    CPickReceiver* receiver = FindPickReceiver(theApp.m_nPickTarget);
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
    theApp.m_nPickTarget = pickTarget;
    theApp.m_strPickQuery = query;
    theApp.m_strPickedName.clear();
    if (query.isEmpty()) {
        CSelectNameDlg picker(parent);
        picker.exec();
    } else {
        CPinyinSelectDlg picker(parent);
        // One match (a scanned code): taken at once; the list shows when the product is refused.
        if (picker.MatchCount() != 1 || !PickSingleMatchAtOnce() || !picker.PickSelected())
            picker.exec();
    }
    return !theApp.m_strPickedName.isEmpty();
}
