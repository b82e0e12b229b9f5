// The grid and the keyboard: moving the focus cell, selection by key, the clipboard keys.
#include "GridTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>

class tst_GridKeyboard : public QObject {
    Q_OBJECT

  private slots:
    void arrowsStopAtTheEdges();
    void arrowsSkipHiddenRowsAndColumns();
    void moveNoticesAndListModeSelection();
    void shiftExtendsFromAnchor();
    void tabWalksRowsAndStops();
    void deleteWithoutFocusCellDoesNothing();
    void homeEndAndPages();
    void copyTwoByTwo();
    void pasteStopsAtTheEdge();
    void cutDeleteAndReadOnly();
    void pasteAndDeleteAreEndsOfEdit();
    void selectAllAndAutoSize();
};

void tst_GridKeyboard::arrowsStopAtTheEdges() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.Key(Qt::Key_Down); // nothing without a focus cell
    QVERIFY(!g.grid->GetFocusCell().IsValid());
    g.Click(3, 3);
    rec.Clear();
    g.Key(Qt::Key_Down);
    g.Key(Qt::Key_Right);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 3));
    QVERIFY(rec.notices.isEmpty());
    g.Click(1, 1);
    g.Key(Qt::Key_Up);
    g.Key(Qt::Key_Left); // never into the fixed row or column
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 1));
}

void tst_GridKeyboard::arrowsSkipHiddenRowsAndColumns() {
    ShownGrid g(6, 6, false);
    QVERIFY(g.ready);
    g.grid->EnableHiddenColUnhide(true);
    g.grid->SetRowHeight(2, 0);
    g.grid->SetColumnWidth(3, 0);
    g.Click(1, 2);
    g.Key(Qt::Key_Down);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 2));
    g.Key(Qt::Key_Right);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 4));
}

void tst_GridKeyboard::moveNoticesAndListModeSelection() {
    ShownGrid g(5, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.Click(1, 2);
    rec.Clear();
    g.Key(Qt::Key_Down);
    QCOMPARE(rec.notices, QList<GridNotice>({{GVN_SELCHANGING, 2, 2}, {GVN_SELCHANGED, 2, 2}}));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(2, 2));
    QVERIFY(g.grid->IsCellSelected(2, 1) && g.grid->IsCellSelected(2, 3));
    QVERIFY(!g.grid->IsCellSelected(1, 2));
}

void tst_GridKeyboard::shiftExtendsFromAnchor() {
    ShownGrid g(8, 5, false);
    QVERIFY(g.ready);
    g.Click(2, 2);
    g.Key(Qt::Key_Down, Qt::ShiftModifier);
    g.Key(Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(g.grid->GetSelectedRange(), CCellRange(2, 2, 3, 3));
    QCOMPARE(g.grid->GetSelectedCount(), 4);
    g.Key(Qt::Key_Down); // without Shift the selection starts again
    QCOMPARE(g.grid->GetSelectedRange(), CCellRange(4, 3, 4, 3));
}

void tst_GridKeyboard::tabWalksRowsAndStops() {
    ShownGrid g(3, 4);
    QVERIFY(g.ready);
    g.Click(1, 3);
    g.Key(Qt::Key_Tab); // past the row's end, and the next cell's editor opens
    QCOMPARE(g.grid->GetFocusCell(), CCellID(2, 1));
    QVERIFY(g.grid->IsCellSelected(2, 2));
    auto* edit = qobject_cast<QLineEdit*>(g.grid->GetEditWnd());
    QVERIFY(edit);
    QCOMPARE(edit->selectedText(), QString("2,1")); // the whole text, nothing typed
    QTest::keyClicks(edit, "n");
    g.Key(Qt::Key_Backtab, Qt::ShiftModifier); // from the editor: back into the last row
    QCOMPARE(g.grid->GetCellText(2, 1), QString("n"));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 3));
    QVERIFY(g.grid->GetEditWnd());
    g.Key(Qt::Key_Escape);
    QVERIFY(g.grid->hasFocus());
    QCOMPARE(g.grid->GetCellText(1, 3), QString("1,3"));

    // Past the last cell the focus stays, and Tab edits that cell.
    auto* next = new QLineEdit(g.window.get());
    next->setGeometry(10, 395, 100, 20);
    next->show();
    g.Click(2, 3);
    g.Key(Qt::Key_Tab);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(2, 3));
    QVERIFY(g.grid->GetEditWnd());
    g.Key(Qt::Key_Escape);
    QVERIFY(g.grid->hasFocus());

    // A grid that tabs to the next control moves without editing, and leaves after the last cell.
    g.grid->SetTabToNextControl(true);
    g.Click(1, 2);
    g.Key(Qt::Key_Tab);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 3));
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
    g.Click(2, 3);
    g.Key(Qt::Key_Tab);
    QTRY_VERIFY(next->hasFocus());
    QCOMPARE(g.grid->GetFocusCell(), CCellID(2, 3));
    QCOMPARE(g.grid->GetEditWnd(), nullptr);

    // The same from an open editor: Tab on the last cell goes to the next control.
    g.Click(2, 2);
    g.Key(Qt::Key_Right);
    QTest::keyClicks(g.grid, "t");
    QVERIFY(g.grid->GetEditWnd());
    g.Key(Qt::Key_Tab);
    QCOMPARE(g.grid->GetCellText(2, 3), QString("t"));
    QTRY_VERIFY(next->hasFocus());
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
}

// Delete and Ctrl+X change nothing while no cell has the focus, whatever is selected.
void tst_GridKeyboard::deleteWithoutFocusCellDoesNothing() {
    ShownGrid g(4, 4, false);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.grid->SetSelectedRange(1, 1, 2, 2);
    QCOMPARE(g.grid->GetFocusCell(), CCellID());
    QVERIFY(g.grid->hasFocus());
    g.Key(Qt::Key_Delete);
    g.Key(Qt::Key_X, Qt::ControlModifier);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c)
            QCOMPARE(g.grid->GetCellText(r, c), QStringLiteral("%1,%2").arg(r).arg(c));
    QVERIFY(rec.Of(GVN_ENDLABELEDIT).isEmpty());

    // The dialog's own Delete key still works while the grid has no focus cell.
    QWidget* window = g.window.get();
    int deletes = 0;
    auto* action = new QAction(window);
    action->setShortcut(QKeySequence(Qt::Key_Delete));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, [&] { ++deletes; });
    window->addAction(action);
    g.Key(Qt::Key_Delete);
    QCOMPARE(deletes, 1);
    g.Click(1, 1); // with a focus cell the grid takes the key
    g.Key(Qt::Key_Delete);
    QCOMPARE(deletes, 1);
    QCOMPARE(g.grid->GetCellText(1, 1), QString());
}

void tst_GridKeyboard::homeEndAndPages() {
    ShownGrid g(300, 5);
    QVERIFY(g.ready);
    g.Click(5, 2);
    g.Key(Qt::Key_End);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(5, 4));
    g.Key(Qt::Key_Home);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(5, 1));
    g.Key(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(299, 4));
    QVERIFY(g.grid->IsCellVisible(299, 4));
    g.Key(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 1));
    QCOMPARE(g.grid->verticalScrollBar()->value(), 0);

    g.Key(Qt::Key_PageDown);
    const int afterPage = g.grid->GetFocusCell().row;
    QVERIFY(afterPage > 5);
    QVERIFY(g.grid->IsCellVisible(afterPage, 1));
    QVERIFY(g.grid->verticalScrollBar()->value() > 0);
    g.Key(Qt::Key_PageUp);
    g.Key(Qt::Key_PageUp);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 1)); // clamped to the first non-fixed row
}

void tst_GridKeyboard::copyTwoByTwo() {
    ShownGrid g(5, 5, false);
    QVERIFY(g.ready);
    g.grid->SetCellText(3, 3, "中文");
    g.Click(2, 2);
    g.Click(3, 3, Qt::ShiftModifier);
    g.Key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("2,2\t2,3\r\n3,2\t中文\r\n"));
    QApplication::clipboard()->clear();
    g.Key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("2,2\t2,3\r\n3,2\t中文\r\n"));
}

void tst_GridKeyboard::pasteStopsAtTheEdge() {
    ShownGrid g(4, 4, false);
    QVERIFY(g.ready);
    g.grid->SetCellReadOnly(3, 3);
    g.Click(2, 2);
    QApplication::clipboard()->setText("a\tb\tc\td\r\ne\tf\tg\r\nh\ti\r\nj\r\n");
    g.Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(g.grid->GetCellText(2, 2), QString("a"));
    QCOMPARE(g.grid->GetCellText(2, 3), QString("b"));
    QCOMPARE(g.grid->GetCellText(3, 2), QString("e"));
    QCOMPARE(g.grid->GetCellText(3, 3), QString("3,3")); // read-only
    QCOMPARE(g.grid->GetRowCount(), 4);
    QCOMPARE(g.grid->GetColumnCount(), 4);
    QCOMPARE(g.grid->GetCellText(1, 2), QString("1,2"));

    // Nothing is pasted into a grid that is not editable.
    g.grid->SetEditable(false);
    QApplication::clipboard()->setText("z");
    g.Key(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(g.grid->GetCellText(2, 2), QString("a"));
}

void tst_GridKeyboard::cutDeleteAndReadOnly() {
    ShownGrid g(4, 4, false);
    QVERIFY(g.ready);
    g.grid->SetCellReadOnly(1, 2);
    g.Click(1, 1);
    g.Click(1, 2, Qt::ShiftModifier);
    g.Key(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("1,1\t1,2\r\n"));
    QCOMPARE(g.grid->GetCellText(1, 1), QString());
    QCOMPARE(g.grid->GetCellText(1, 2), QString("1,2"));

    g.Click(2, 3);
    g.Key(Qt::Key_Delete);
    QCOMPARE(g.grid->GetCellText(2, 3), QString());
    g.grid->SetEditable(false);
    g.Click(3, 3);
    g.Key(Qt::Key_Delete);
    QCOMPARE(g.grid->GetCellText(3, 3), QString("3,3"));
}

// A paste, cut or Delete changes cells as an edit does: the parent hears -106 for each changed
// cell and can veto it, so a dialog recomputes what depends on the cell.
void tst_GridKeyboard::pasteAndDeleteAreEndsOfEdit() {
    ShownGrid g(4, 4, false);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.Click(1, 1);
    rec.Clear();
    QApplication::clipboard()->setText("x\t1,2\r\n"); // the second cell keeps its text
    g.Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT), QList<GridNotice>({{GVN_ENDLABELEDIT, 1, 1}}));
    QCOMPARE(rec.texts.last(), QString("x")); // the handler sees the new text

    rec.answers[GVN_ENDLABELEDIT] = -1;
    rec.Clear();
    QApplication::clipboard()->setText("y");
    g.Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT).size(), 1);
    QCOMPARE(g.grid->GetCellText(1, 1), QString("x")); // vetoed: the old text is back
    g.Key(Qt::Key_Delete);
    QCOMPARE(g.grid->GetCellText(1, 1), QString("x"));

    rec.answers.clear();
    rec.Clear();
    g.Key(Qt::Key_Delete);
    QCOMPARE(g.grid->GetCellText(1, 1), QString());
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT), QList<GridNotice>({{GVN_ENDLABELEDIT, 1, 1}}));
}

void tst_GridKeyboard::selectAllAndAutoSize() {
    ShownGrid g(5, 4, false);
    QVERIFY(g.ready);
    g.Click(2, 2);
    g.Key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(g.grid->GetSelectedRange(), CCellRange(1, 1, 4, 3));
    QCOMPARE(g.grid->GetSelectedCount(), 12);

    g.grid->SetCellText(2, 3, "一段很长很长很长很长的文字");
    g.Key(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(g.grid->GetColumnWidth(3), g.grid->GetCell(2, 3)->GetCellExtent().width());
    QVERIFY(g.grid->GetColumnWidth(3) > g.grid->GetColumnWidth(2));
}

QTEST_MAIN(tst_GridKeyboard)
#include "tst_gridkeyboard.moc"
