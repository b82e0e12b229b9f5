#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <Qt>

class CGridCtrl;
class CPinyinSelectDlg;
class QLineEdit;

// A user's hand on a grid: the centre of a cell, a click on it, typing into it, a choice in its
// drop list; and the texts a user reads off it.
QPoint CellCentre(CGridCtrl* grid, int row, int col);
void ClickCell(CGridCtrl* grid, int row, int col, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {});
void DoubleClickCell(CGridCtrl* grid, int row, int col);
// Selects a row by a click on a data cell that is not the focus cell (a click on the focus cell
// edits it).
void ChooseRow(CGridCtrl* grid, int row);
// A click, the characters (Latin-1 keys, the first one opening the editor), Enter.
void TypeInCell(CGridCtrl* grid, int row, int col, const QString& text);
// A click, the cell's editor opened when the click did not, its text replaced by the text as an
// input method commits it, Enter. Returns what the editor showed before Enter (its checks may
// have refused characters).
QString ReplaceInCell(CGridCtrl* grid, int row, int col, const QString& text);
// Chooses an entry of a drop-list cell with the keyboard.
void ChooseInCell(CGridCtrl* grid, int row, int col, const QString& option);
// The texts of a column from the first row below the fixed ones.
QStringList ColumnTexts(CGridCtrl* grid, int col);
// The texts of a row, the fixed column included.
QStringList RowTexts(CGridCtrl* grid, int row);
// The pinyin picker as a user answers it: the first product found, then 选择.
void PickFirstProduct(CPinyinSelectDlg* picker);
// A product line through a document's search box (see DocumentShop.cpp): the code, Enter, and
// the first product of the picker when one opens.
void AddLineBySearch(QLineEdit* search, const QString& code);
