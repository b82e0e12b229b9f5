#pragma once

#include <QString>
#include <functional>

class QWidget;

// Runs one user action that touches the database as one transaction. When the action raises
// CDbException (or the engine refuses the commit), everything it wrote is rolled back and the
// user sees a short message naming the action, with the engine's text as details. The program
// goes on. Returns true when the action completed and was committed.
//
//   RunDbAction(this, "保存客户", [&] { ... statements ... });
bool RunDbAction(QWidget* parent, const QString& what, const std::function<void()>& action);

// Whether the last RunDbAction failed with its commit sent to the server and never answered:
// its changes may have been stored.
bool LastActionInDoubt();

// The same for actions that only read: no transaction, same error handling.
bool RunDbRead(QWidget* parent, const QString& what, const std::function<void()>& action);

// RunDbRead for a read made while a window paints: a failure is told as soon as the paint is
// over, since a message box inside a paint would have the window painted again under it.
bool RunDbReadWhilePainting(QWidget* parent, const QString& what,
                            const std::function<void()>& action);
