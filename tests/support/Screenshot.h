#pragma once

#include <QImage>
#include <QString>

class QWidget;

// A picture of a window as the user sees it. Kept as NAME.png in the folder HARBOR_SHOT_DIR
// names, for looking at a change by eye; written nowhere when that is not set.
QImage Snapshot(QWidget* window, const QString& name);

// True when the part is on the window's picture whole: shown, inside every widget it sits in
// (not cut off by an edge at the window's size) and painted with more than one colour.
bool ShowsWhole(QWidget* window, QWidget* part);
