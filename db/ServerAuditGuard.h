#pragma once

#include <QString>
#include <QStringList>

class CConnection;

// On the server the log belongs to the owner role that set the host up (the superuser of
// --setup-host), not to the program's role: the program's role may read the log and add to
// it, never change or remove an entry, and cannot touch the kept head, which the log's own
// trigger (running with the owner's rights) writes.

// The statements, to be run by the owner on the shop's database (after the schema is loaded).
QStringList ServerAuditGuardStatements(const QString& programRole);
// Runs them on a connection opened as the owner.
void GuardServerAudit(CConnection& ownerConnection, const QString& programRole);
