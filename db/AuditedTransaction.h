#pragma once

#include <QString>
#include <functional>

class CConnection;

// Runs an action as one transaction that also writes its log entry: the rows it changed are
// collected while it runs, and the entry (when, operator, workstation, action, object, the
// images) is appended just before the commit, so the change and its entry land together or
// not at all. Raises CDbException (everything rolled back) on failure. Inside a transaction
// already open, only runs the action: the outer one writes the entry.
//
// operatorName: who the entry names instead of the operator signed in (the one signing in,
// the computer's owner resetting a password); object: what
// the entry is about when the changed rows do not tell it.
void RunAuditedTransaction(CConnection& connection, const QString& what,
                           const std::function<void()>& action,
                           const QString& operatorName = QString(),
                           const QString& object = QString());
