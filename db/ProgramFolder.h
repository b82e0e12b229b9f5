#pragma once

#include <QString>

// The folder the program keeps beside itself: its executable's, unless the environment variable
// HARBOR_PROGRAM_DIR names another one (read once, at the first call) or SetProgramFolder has
// pointed it elsewhere. The data folder starts from here, so Lanset.ini, the label document
// and backup/ follow it.
QString ProgramFolder();
// Points the program at another folder; an empty folder goes back to the default.
void SetProgramFolder(const QString& folder);
