#pragma once

#include "db/Permission.h"

class QWidget;

// Before an action that needs a permission: true when the operator holds it (or the shop has
// no operator accounts). Otherwise says which permission is missing and offers 店长授权:
// someone who holds it types their own password, and the next logged action names them too.
//   if (!RequirePermission(this, Permission::DeleteDocument)) return;
bool RequirePermission(QWidget* parent, Permission permission);
