#include "ui/CPickReceiver.h"

#include "ui/CWorkDialog.h"

QString PickTargetTitle(int pickTarget) {
    switch (pickTarget) {
    case 1:
        return QStringLiteral("采购入库");
    case 2:
        return QStringLiteral("销售出库");
    case 3:
        return QStringLiteral("销售退货");
    default:
        return QString();
    }
}

CPickReceiver* FindPickReceiver(int pickTarget) {
    const QString title = PickTargetTitle(pickTarget);
    if (title.isEmpty())
        return nullptr;
    return dynamic_cast<CPickReceiver*>(FindWorkWindow(title));
}
