#pragma once

#include <QStringList>

class CConnection;

// The tables of the shop database as resources/schema.sql creates them (harbor_schema aside).
QStringList ShopTables();

// Copies every row of every shop table from one database (the local file) into another (the
// server's, whose tables must be empty) in one transaction, in the order the rows were stored,
// and checks the row counts afterwards. Returns one line per table ("customer: 12 行").
// Raises CDbException, with nothing copied, when a table is not empty or a count differs.
QStringList CopyShopTables(CConnection& from, CConnection& to);

// The number of rows of each shop table, in ShopTables' order.
QList<qint64> ShopRowCounts(CConnection& connection);
