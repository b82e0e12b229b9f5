#pragma once

#include <QList>
#include <QStringList>

class CConnection;

// The schema version this program writes and reads. A new database is created at version 1
// (resources/schema.sql) and brought up to this version by the upgrade steps, so a new file
// and an upgraded old one are the same.
int CurrentSchemaVersion();

// One numbered upgrade: the statements that take a database from version - 1 to version.
// Upgrades only add or widen indexes and add tables of our own; they never change the tables other
// workstations and the label program read.
struct SchemaUpgradeStep {
    int version = 0;
    QStringList statements;
};

// The program's upgrade steps, in order (resources/upgrade-N.sql).
const QList<SchemaUpgradeStep>& SchemaUpgradeSteps();

// Applies the steps above the database's version in one transaction and records the new
// version; returns it. Raises CDbException (nothing changed) on failure, and when the
// database is newer than the steps know.
int UpgradeSchema(CConnection& connection, int fromVersion,
                  const QList<SchemaUpgradeStep>& steps = SchemaUpgradeSteps());

// The statements of an SQL file of the resources: separated by lines that end with ";",
// "--" comments skipped.
QStringList SqlFileStatements(const QString& resource);
