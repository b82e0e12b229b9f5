#pragma once

#include <QStringList>

#include "db/SchemaUpgrade.h"

class CConnection;

// The program's tables of a database at the schema version (harbor_schema aside): those
// resources/schema.sql creates and those the upgrades up to the version add.
QStringList ShopTables(int version = CurrentSchemaVersion());

// A table a new database starts with rows in (the default permissions of the roles): the rows
// of the shop being copied replace them.
bool StartsWithDefaults(const QString& table);
// A table the server fills itself from another one (the head of its log of changes, kept by a
// trigger as entries are added): never copied onto a server.
bool KeptByServer(const QString& table);

// Copies every row of every shop table from one database (the local file) into another (the
// server's, whose tables must be empty) in one transaction, in the order the rows were stored,
// and checks the row counts afterwards. Returns one line per table ("customer: 12 行").
// Raises CDbException, with nothing copied, when a table is not empty or a count differs.
// With only, just those tables are copied.
QStringList CopyShopTables(CConnection& from, CConnection& to, const QStringList& only = {});

// The number of rows of each shop table, in ShopTables' order.
QList<qint64> ShopRowCounts(CConnection& connection);
