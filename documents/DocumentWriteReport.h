#pragma once

#include <QString>

#include "documents/CDocumentStore.h"

class QWidget;

// Tells the user why a document write did not land: the store's own reason when it refused,
// or that the stored document changed in another window (what was not done named by
// notDone, e.g. "本次没有保存"). Returns true when the write landed (after telling which lines
// could not move the stock of a product that no longer exists); on a conflict the caller shows
// the stored document again.
bool ReportDocumentWrite(QWidget* parent, const DocumentWrite& write, const QString& notDone);
