#pragma once

#include <QList>
#include <QString>

class CConnection;

// Collects the before and after images of every row an action changes, for its log entry,
// without anything at the places that write: triggers copy each changed row as JSON into a
// staging table while a capture is open.
//   the local file: temporary triggers and a temporary table, made for each connection;
//   the server: one trigger function and a trigger per table, made once, staging the rows
//   under the entry key that the transaction sets (set_config('harbor.audit_entry', ...)).
// A password hash never goes into an image.

// The tables whose changes are logged.
const QStringList& AuditedTables();

// Sets up the triggers on a connection just opened (schema at the current version).
void InstallAuditCapture(CConnection& connection);

struct StagedRow {
    QString table;
    QString op;     // INSERT, UPDATE or DELETE
    QString before; // the row as JSON, empty for an insert
    QString after;  // empty for a delete
};

// Inside the action's transaction: starts collecting (nothing staged before counts).
void BeginAuditCapture(CConnection& connection);
// The rows staged since, in the order they changed; stops collecting and clears them.
QList<StagedRow> EndAuditCapture(CConnection& connection);
