#pragma once

#include <QString>

// The folder that holds this computer's shop: Lanset.ini, the local Harbor.accdb, the label
// document and the backups. A copy of the program in a folder it can write to keeps them beside
// itself; an installed program (its folder belongs to the system) keeps them in the user's data
// folder.
QString DataFolder();
// True when the program's own folder is the data folder.
bool IsPortableCopy();

// The decision itself, for a program folder and the user's data folder: the program folder
// when it already holds a Lanset.ini, or when it can be written and is none of the system's
// folders (/usr/..., /bin, /sbin).
QString ChooseDataFolder(const QString& programFolder, const QString& userFolder);

// The outcome of preparing the data folder.
struct DataFolderSetup {
    bool ok = true;
    bool madeShop = false; // an empty shop was made now
    QString message;       // where the shop was made, or why it could not be
};

// Makes the folder, and, when it holds no Lanset.ini yet, an empty shop database and a
// Lanset.ini for it (an existing Harbor.accdb is kept). Afterwards the folder is the current
// directory, where the local connection looks for Harbor.accdb.
DataFolderSetup PrepareDataFolder(const QString& folder);

// An installed program works in the data folder; a portable copy keeps the current directory
// it was started in.
void EnterDataFolder();
