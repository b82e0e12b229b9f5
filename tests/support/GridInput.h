#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class CGridCtrl;
class CPinyinSelectDlg;
class QLineEdit;

// A user's hand on a grid: the centre of a cell, a click on it, typing into it.
QPoint CellCentre(CGridCtrl* grid, int row, int col);
void ClickCell(CGridCtrl* grid, int row, int col, Qt::MouseButton button = Qt::LeftButton);
// A click, the characters, Enter.
void TypeInCell(CGridCtrl* grid, int row, int col, const QString& text);
// The pinyin picker as a user answers it: the first product found, then 选择.
void PickFirstProduct(CPinyinSelectDlg* picker);
// A product line through a document's search box (see DocumentShop.cpp): the code, Enter, and
// the first product of the picker when one opens.
void AddLineBySearch(QLineEdit* search, const QString& code);
