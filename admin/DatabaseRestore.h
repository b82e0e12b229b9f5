#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

#include "admin/DatabaseBackup.h"

class CConnection;

// What a restore did, for the user.
struct RestoreResult {
    enum Outcome {
        Restored,  // the copy is now the database
        Cancelled, // the user said no; nothing changed
        Refused,   // the copy or the situation does not allow it; nothing changed
        Failed,    // the copy could not be opened after all; the database as it was is back
    };
    Outcome outcome = Refused;
    QString message;    // what happened, or why nothing did
    QString safetyCopy; // where the database as it was before went
};

// Shown the facts of a sound copy, says whether to go on.
using RestoreConfirm = std::function<bool(const BackupFacts&)>;

// Replaces the database that the connection has open by a copy:
//  1. stages the copy beside the database and checks it (integrity, a shop database, not
//     newer than the program); a damaged copy is refused and nothing is replaced;
//  2. asks through confirm, with the copy's date and its numbers of products and documents;
//  3. keeps the current database as an automatic copy in the backup folder;
//  4. closes the connection and makes sure no other connection uses the file (it would be cut
//     off): then nothing is replaced and the connection opens again;
//  5. puts the copy in place of the database (no write-ahead log of the old one is left beside
//     it) and opens it through the same checks as at start-up.
// The connection is open on return whenever it was before.
RestoreResult RestoreDatabase(CConnection& connection, const QString& copyPath,
                              const RestoreConfirm& confirm, const QDateTime& now);
