#pragma once

#include <QList>
#include <QString>

#include "db/AuditCapture.h"

class CConnection;

// One entry of the log (harbor_audit). Entries are numbered from 1 without gaps; each holds
// the hash of the entry before it and its own hash over all its fields, so an entry changed,
// removed or put in between by hand breaks the chain. The newest number and hash are also
// kept apart from the log: in a file beside the shop file, and on the server in
// harbor_audit_head (filled by a trigger of the log).
struct AuditEntry {
    qint64 seq = 0;
    QString at;          // UTC, ISO 8601 with milliseconds
    QString op;          // the operator signed in ("" without accounts)
    QString authorizer;  // the manager whose password allowed this one action
    QString workstation; // the computer's name
    QString action;      // what the user did: "保存单据", "删除出库单", "登录" ...
    QString object;      // document number, product code or party
    QString before;      // JSON array of the changed rows before
    QString after;       // and after
    QString prevhash;
    QString hash;
};

// The hash of an entry's fields (hex SHA-256), the chain's link.
QString AuditEntryHash(const AuditEntry& entry);

// Builds an entry's images and object from the staged rows.
void FillAuditImages(AuditEntry* entry, const QList<StagedRow>& rows);

struct AuditHead {
    qint64 seq = 0;
    QString hash;
};

// Inside the transaction of the change: numbers and chains the entry and stores it (waits for
// other workstations' appends on the server). Returns the new head.
AuditHead AppendAuditEntry(CConnection& connection, AuditEntry entry);

// The file beside the local shop file that keeps the head ("" on the server).
QString AuditHeadFile(const CConnection& connection);
// After the commit: the head into that file (nothing on the server).
void WriteAuditHead(const CConnection& connection, const AuditHead& head);
// The head kept apart from the log (seq 0 when none).
AuditHead ReadAuditHead(CConnection& connection);
// Makes the kept head that of the log as it is now (a restored or newly made file).
void ResetAuditHead(CConnection& connection);

struct AuditCheck {
    bool ok = true;
    qint64 count = 0;
    qint64 broken = 0; // the first entry that does not hold (0 when ok)
    QString reason;
};

// Reads the whole log and checks the chain and the head.
AuditCheck VerifyAuditLog(CConnection& connection);

// For the commands: the SQLite file, or without one the database Lanset.ini names.
void OpenCommandDatabase(CConnection& connection, const QString& file, const QString& lansetPath);

// `Harbor --audit-verify [FILE]`: the log of the file (or of the database Lanset.ini names).
int AuditVerifyCommand(const QString& file, const QString& lansetPath);
