#pragma once

#include "ui/PickArea.h"
#include <QString>

// What a document window offers to the pickers and the party dialogs. A picker finds the
// document window by its title (FindWorkWindow) and hands over through this interface.
class CPickReceiver {
  public:
    virtual ~CPickReceiver() = default;
    // Takes PickArea().m_strPickedName, m_strPickedCode and m_strPickedSpec into the document's
    // new line. Raises m_bNoProperty when property has no row for the picked code.
    virtual void PutPickedProduct() = 0;
    // Puts a chosen customer or supplier name into the document's party box.
    virtual void PutPickedParty(const QString& name) = 0;

    // Raised by PutPickedProduct for a product without properties; the picker reads and
    // lowers it, tells the user and stays open.
    bool m_bNoProperty = false;
};

// The title of the document window that receives picks for a pick target
// (1 "采购入库", 2 "销售出库", 3 "销售退货"; empty for anything else).
QString PickTargetTitle(int pickTarget);

// The receiver for a pick target, or null when that document window is not open.
CPickReceiver* FindPickReceiver(int pickTarget);
