#pragma once

#include <QStringList>

class QWidget;

// What a user would see as a broken window, one line per fault (empty when the window is sound):
// - a visible control outside its parent's contents (a group box's title included),
// - a control smaller than its minimumSizeHint: a cut label, button, check box or drop list;
//   a line edit narrower than the text it shows; a wrapped label lower than its lines need,
// - two visible controls of one parent lying over each other.
// The window itself must be at least as large as its own minimumSizeHint. The insides of
// controls (a grid's viewport, a drop list's edit box) are the controls' own business.
QStringList ClippedWidgets(QWidget* window);
