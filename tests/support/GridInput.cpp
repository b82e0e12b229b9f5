#include "GridInput.h"

#include <QPushButton>
#include <QtTest>

#include "catalogue/CPinyinSelectDlg.h"
#include "grid/CGridCtrl.h"

QPoint CellCentre(CGridCtrl* grid, int row, int col) {
    QRect rect;
    if (!grid->GetCellRect(row, col, rect))
        qWarning("cell %d,%d has no rectangle", row, col);
    return rect.center();
}

void ClickCell(CGridCtrl* grid, int row, int col, Qt::MouseButton button) {
    QTest::mouseClick(grid->viewport(), button, {}, CellCentre(grid, row, col));
}

void TypeInCell(CGridCtrl* grid, int row, int col, const QString& text) {
    ClickCell(grid, row, col);
    if (QWidget* open = grid->GetEditWnd())
        QTest::keyClick(open, Qt::Key_Escape);
    QTest::keyClick(grid, text.at(0).toLatin1());
    QWidget* editor = grid->GetEditWnd();
    QVERIFY(editor);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
}

void PickFirstProduct(CPinyinSelectDlg* picker) {
    QTest::mouseClick(picker->Grid()->viewport(), Qt::LeftButton, {},
                      CellCentre(picker->Grid(), 1, 1));
    QTest::mouseClick(picker->SelectButton(), Qt::LeftButton);
}
