#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "admin/DatabaseBackup.h"
#include "admin/DatabaseRestore.h"
#include "db/CConnection.h"

// Copies of the shop's database on the server (LAN mode), taken with pg_dump in its custom
// format. The workstation that runs the server (the host) keeps the automatic copies in
// backup/ in the program's folder, the same folder a local shop's copies are in, named
// HarborServer-2026-12-07-1830.dump; the same retention as for local copies applies. The
// password reaches pg_dump and pg_restore through their environment (PGPASSWORD), never on
// their command line, where every user of the computer could read it.

// Called while a tool runs (to keep the window painting); may be empty.
using ToolWait = std::function<void()>;

// The name automatic server copies are named after, in the folder given: its backup/ holds
// them ("<folder>/HarborServer.dump").
QString ServerBackupAnchor(const QString& programFolder);
// The same for the program's own folder.
QString ServerBackupAnchor();

// Whether the host names this computer: loopback ("localhost", 127.0.0.0/8, ::1) or one of
// the addresses given (as "192.168.1.20").
bool IsThisComputer(const QString& host, const QStringList& ownAddresses);
// The IPv4 and IPv6 addresses of this computer's network interfaces.
QStringList OwnAddresses();
// The same with the addresses of this computer's network interfaces.
bool IsServerHost(const QString& host);

// The PostgreSQL tool of the newest version in /usr/lib/postgresql/*/bin, else the one on the
// search path; empty when there is none.
QString PgToolPath(const QString& tool);

// Takes a copy of the server's database with pg_dump -Fc into target (written under a
// temporary name and put in place when complete). pg_dump reads everything in one snapshot,
// so the copy holds one consistent state while other workstations write. Raises CDbException.
void DumpServerDatabase(const ServerAddress& address, const QString& target,
                        const ToolWait& wait = {});

// An automatic copy into the backup folder of the anchor (made when missing), then the
// retention rule. Returns the new copy's path. Raises CDbException.
QString TakeAutomaticServerBackup(const ServerAddress& address, const QString& anchor,
                                  const QDateTime& now, const ToolWait& wait = {});

// Counts the data of a dump as pg_restore writes it out as SQL text (COPY blocks): the
// products, the documents (distinct numbers of saleout, salein and entry) and the schema
// version. Feed it line by line.
class DumpDataCounter {
  public:
    void Feed(const QString& line);
    // Sets facts' numbers, or its problem when the text is no shop database.
    void Finish(BackupFacts* facts) const;
    // The tables whose data the dump holds, in lower case.
    QStringList Tables() const { return m_seenTables; }

  private:
    QString m_strTable;        // the table of the COPY block being read, empty outside
    int m_nOddnumColumn = -1;  // where oddnum is in the block's rows
    int m_nVersionColumn = -1; // where version is in harbor_schema's rows
    QStringList m_seenTables;  // every table whose data the dump holds
    int m_nProducts = 0;
    QStringList m_oddnums; // table + oddnum, sorted later for the count
    int m_nVersion = 0;
};

// Checks a dump that may be restored: pg_restore can read its table of contents and all its
// data, it is a shop database, and not of a newer version than this program. tables, when
// given, gets the tables the dump holds.
BackupFacts InspectServerDump(const QString& path, const ToolWait& wait = {},
                              QStringList* tables = nullptr);

// The tables of the program's schema and its upgrade steps that a dump holding the given
// tables lacks: a copy of an older version has none of the later tables, which the restore
// drops so that the upgrade steps make them anew.
QStringList TablesMissingFromDump(const QStringList& dumpTables);

// Other connections to the server's database than this one (other workstations).
int OtherConnections();

// Replaces the server's database by a dump, on the program's connection:
//  1. checks the dump (InspectServerDump); a damaged one is refused and nothing is replaced;
//  2. refuses while other workstations are connected, naming how many;
//  3. asks through confirm, with the dump's date and its numbers of products and documents;
//  4. keeps the current database as an automatic copy in the anchor's backup folder;
//  5. restores the dump in one transaction (pg_restore's script run by psql with
//     --single-transaction, after dropping the tables the dump lacks): when it fails, the
//     database stays as it was;
//  6. opens the connection again (with the upgrade steps of a start-up).
RestoreResult RestoreServerDatabase(CConnection& connection, const QString& dumpPath,
                                    const RestoreConfirm& confirm, const QString& anchor,
                                    const QDateTime& now, const ToolWait& wait = {});
