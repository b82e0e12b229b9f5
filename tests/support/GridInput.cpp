#include "GridInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "UserInput.h"
#include "catalogue/CPinyinSelectDlg.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceList.h"

QPoint CellCentre(CGridCtrl* grid, int row, int col) {
    QRect rect;
    if (!grid->GetCellRect(row, col, rect))
        qWarning("cell %d,%d has no rectangle", row, col);
    return rect.center();
}

void ClickCell(CGridCtrl* grid, int row, int col, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(grid->viewport(), button, modifiers, CellCentre(grid, row, col));
}

void DoubleClickCell(CGridCtrl* grid, int row, int col) {
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, row, col));
}

void ChooseRow(CGridCtrl* grid, int row) {
    const CCellID focus = grid->GetFocusCell();
    ClickCell(grid, row, focus.row == row && focus.col == 1 ? 2 : 1);
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

QString ReplaceInCell(CGridCtrl* grid, int row, int col, const QString& text) {
    ClickCell(grid, row, col);
    if (!grid->GetEditWnd())
        grid->EditCell(row, col);
    QWidget* editor = grid->GetEditWnd();
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        line = combo->lineEdit();
    if (!line) {
        QTest::qFail(qPrintable(QStringLiteral("no text editor in cell %1,%2").arg(row).arg(col)),
                     __FILE__, __LINE__);
        return QString();
    }
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Backspace);
    line->insert(text); // what an input method commits; it passes the editor's checks
    const QString shown = line->text();
    QTest::keyClick(line, Qt::Key_Return);
    return shown;
}

void ChooseInCell(CGridCtrl* grid, int row, int col, const QString& option) {
    grid->SetFocusCell(row, col);
    grid->EditCell(row, col);
    auto* list = qobject_cast<CInPlaceList*>(grid->GetEditWnd());
    QVERIFY(list);
    list->hidePopup();
    list->setCurrentIndex(list->findText(option));
    QTest::keyClick(list, Qt::Key_Return);
}

QStringList ColumnTexts(CGridCtrl* grid, int col) {
    QStringList texts;
    for (int row = grid->GetFixedRowCount(); row < grid->GetRowCount(); ++row)
        texts << grid->GetCellText(row, col);
    return texts;
}

QStringList RowTexts(CGridCtrl* grid, int row) {
    QStringList texts;
    for (int col = 0; col < grid->GetColumnCount(); ++col)
        texts << grid->GetCellText(row, col);
    return texts;
}

void PickFirstProduct(CPinyinSelectDlg* picker) {
    ClickCell(picker->Grid(), 1, 1);
    QTest::mouseClick(picker->SelectButton(), Qt::LeftButton);
}
