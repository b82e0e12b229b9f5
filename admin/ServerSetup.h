#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// `Harbor --setup-host`: makes this computer the host of the shop's database server.
//   install PostgreSQL from Debian when missing, find (or create) its cluster and start it,
//   let only the local network in (private ranges, scram-sha-256 passwords, never trust),
//   listen on the LAN address, create the program's role and database, load the schema and,
//   with --from, copy a local shop database into it.
// Each step says what it did; running it again changes nothing and says so.
struct SetupOptions {
    QString fromFile;  // --from: a local Harbor.accdb to copy
    QString password;  // --password: the role's password when the shop chose its own
    QString dataDir;   // --data-dir: the cluster's data folder (default: Debian's cluster)
    QString configDir; // --config-dir: where postgresql.conf and pg_hba.conf are
    QString socketDir; // --socket-dir: the server's Unix socket folder
    QString listen;    // --listen: the LAN address to listen on (default: found)
    int port = 0;      // --port (default: the cluster's)
};

// Reads the options after "--setup-host"; false with a message for anything unknown.
bool ParseSetupOptions(const QStringList& args, SetupOptions* options, QString* error);

// The marked block of the program in a configuration file, replaced or added.
inline const char* const kSetupMark = "# 远航五交化销售管理系统 (Harbor --setup-host)";
// pg_hba.conf with the program's lines first: the private ranges with scram-sha-256 for the
// program's database, everything else refused for it.
QString HbaWithHarbor(const QString& current);
// postgresql.conf with the program's settings last (the last setting counts).
QString ConfWithHarbor(const QString& current, const QString& listen, int port);
// The lines of the program's block in a file, without the mark (empty when there is none).
QStringList HarborBlock(const QString& content);

// True for 10/8, 172.16/12, 192.168/16 (and loopback, for a host tried on itself).
bool IsPrivateAddress(const QString& address);
// This computer's first private IPv4 address on a network interface (empty when none).
QString LanAddress();

// Runs the setup, printing each step to out; returns the exit code.
int RunServerSetup(const SetupOptions& options, const std::function<void(const QString&)>& out);
