// In-place editing: start characters, the editor's keys, ending the edit, the parent's
// answers, read-only cells and combo cells.
#include "GridTestSupport.h"
#include "grid/CGridCellCombo.h"
#include "grid/CInPlaceEdit.h"
#include "grid/CInPlaceList.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <functional>

class tst_GridEdit : public QObject {
    Q_OBJECT

  private slots:
    void typedCharacterReplacesText();
    void f2AndClickKeepText();
    void startCharacters();
    void escapeRestoresText();
    void enterEndsAndNotifies();
    void tabWalksToNextRowInEditMode();
    void arrowsEndTypedEditOnly();
    void moveKeyAtTheEdgeKeepsTheEditor();
    void focusLossEndsEdit();
    void windowClosingWhileEditing();
    void rowsChangingUnderAnOpenEditor();
    void readOnlyNeverEdits();
    void beginEditVeto();
    void endEditVetoRestoresText();
    void editorWidensWhileTyping();
    void comboTextOutsideOptions();
    void comboPickAndKeys();
    void comboAnswersTheFirstEnterAndEscape();
};

namespace {

CInPlaceEdit* Editor(const ShownGrid& g) {
    return qobject_cast<CInPlaceEdit*>(g.grid->GetEditWnd());
}

} // namespace

void tst_GridEdit::typedCharacterReplacesText() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.grid->SetCellText(2, 2, "12");
    g.Click(2, 2);
    QTest::keyClicks(g.grid, "5");
    CInPlaceEdit* edit = Editor(g);
    QVERIFY(edit);
    QCOMPARE(edit->text(), QString("5"));
    QVERIFY(edit->hasFocus());
    QVERIFY(g.grid->GetCell(2, 2)->IsEditing());
    g.Key(Qt::Key_Return);
    QCOMPARE(g.grid->GetCellText(2, 2), QString("5"));
    QVERIFY(g.grid->GetCell(2, 2)->IsModified());
    QVERIFY(!g.grid->GetCell(2, 2)->IsEditing());
    QVERIFY(g.grid->hasFocus());
    QCOMPARE(g.grid->GetFocusCell(), CCellID(2, 2)); // Enter leaves the focus where it is
}

void tst_GridEdit::f2AndClickKeepText() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.grid->SetCellText(2, 2, "12");
    g.Click(2, 2);
    g.Key(Qt::Key_F2);
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->text(), QString("12"));
    QCOMPARE(Editor(g)->cursorPosition(), 2);
    QVERIFY(!Editor(g)->hasSelectedText());
    QVERIFY(!Editor(g)->ExitOnArrows());
    g.Key(Qt::Key_Escape);
    QTRY_COMPARE(g.grid->GetEditWnd(), nullptr);

    // A click on the focus cell opens it the same way, on release.
    QTest::mousePress(g.Viewport(), Qt::LeftButton, {}, g.Center(2, 2));
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
    QTest::mouseRelease(g.Viewport(), Qt::LeftButton, {}, g.Center(2, 2));
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->text(), QString("12"));
    QCOMPARE(Editor(g)->cursorPosition(), 2);
    // A double click on another cell's text opens that one.
    g.Key(Qt::Key_Return);
    QTest::mouseDClick(g.Viewport(), Qt::LeftButton, {}, g.Center(3, 1));
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->GetRow(), 3);
    QCOMPARE(Editor(g)->text(), QString("3,1"));
}

void tst_GridEdit::startCharacters() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.grid->SetCellText(1, 1, "abc");
    g.Click(1, 1);
    g.Key(Qt::Key_Backspace);
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->text(), QString("ab"));
    g.Key(Qt::Key_Escape);
    QCOMPARE(g.grid->GetCellText(1, 1), QString("abc"));

    g.Key(Qt::Key_Space);
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->text(), QString("abc"));
    QCOMPARE(Editor(g)->selectedText(), QString("abc"));
    g.Key(Qt::Key_Escape);

    g.Key(Qt::Key_Return);
    QVERIFY(Editor(g));
    QVERIFY(!Editor(g)->hasSelectedText());
    QCOMPARE(Editor(g)->cursorPosition(), 3);
    g.Key(Qt::Key_Escape);

    // A character outside the basic plane, as an input method delivers it.
    QInputMethodEvent ime;
    ime.setCommitString(QString::fromUtf8("😀好"));
    QApplication::sendEvent(g.grid, &ime);
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->text(), QString::fromUtf8("😀好"));
    g.Key(Qt::Key_Return);
    QCOMPARE(g.grid->GetCellText(1, 1), QString::fromUtf8("😀好"));
}

void tst_GridEdit::escapeRestoresText() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.grid->SetCellText(2, 1, "原文");
    g.grid->GetCell(2, 1)->SetState(g.grid->GetCell(2, 1)->GetState() & ~GVIS_MODIFIED);
    NoticeRecorder rec(g.grid);
    g.Click(2, 1);
    QTest::keyClicks(g.grid, "x");
    QTest::keyClicks(Editor(g), "yz");
    QCOMPARE(Editor(g)->text(), QString("xyz"));
    rec.Clear();
    g.Key(Qt::Key_Escape);
    QCOMPARE(g.grid->GetCellText(2, 1), QString("原文"));
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT), QList<GridNotice>({{GVN_ENDLABELEDIT, 2, 1}}));
    QCOMPARE(rec.texts.last(), QString("原文"));
    QVERIFY(!g.grid->GetCell(2, 1)->IsModified());
    QTRY_COMPARE(g.grid->GetEditWnd(), nullptr);
}

void tst_GridEdit::enterEndsAndNotifies() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.Click(1, 2);
    rec.Clear();
    QTest::keyClicks(g.grid, "7");
    QCOMPARE(rec.notices, QList<GridNotice>({{GVN_BEGINLABELEDIT, 1, 2}}));
    g.Key(Qt::Key_Enter);
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT), QList<GridNotice>({{GVN_ENDLABELEDIT, 1, 2}}));
    QCOMPARE(rec.texts.last(), QString("7")); // the new text is in the cell by then
    QVERIFY(g.grid->GetModified());
}

void tst_GridEdit::tabWalksToNextRowInEditMode() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.Click(1, 2);
    QTest::keyClicks(g.grid, "a");
    g.Key(Qt::Key_Tab);
    QCOMPARE(g.grid->GetCellText(1, 2), QString("a"));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 3));
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->GetColumn(), 3);
    QTest::keyClicks(Editor(g), "b");
    g.Key(Qt::Key_Tab); // past the row's end: first non-fixed column of the next row
    QCOMPARE(g.grid->GetCellText(1, 3), QString("b"));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(2, 1));
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->GetRow(), 2);
    QCOMPARE(Editor(g)->GetColumn(), 1);
    QCOMPARE(Editor(g)->selectedText(), QString("2,1"));
    g.Key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 3));
    QVERIFY(Editor(g));
    g.Key(Qt::Key_Escape);
    QCOMPARE(g.grid->GetCellText(1, 3), QString("b"));
}

void tst_GridEdit::arrowsEndTypedEditOnly() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.Click(1, 1);
    QTest::keyClicks(g.grid, "q");
    g.Key(Qt::Key_Down); // a typed start: the arrow ends and walks on in edit mode
    QCOMPARE(g.grid->GetCellText(1, 1), QString("q"));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(2, 1));
    QVERIFY(Editor(g));
    g.Key(Qt::Key_Escape);

    g.Key(Qt::Key_F2); // a mouse-like start: arrows move the caret
    g.Key(Qt::Key_Left);
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->cursorPosition(), 2);
    g.Key(Qt::Key_Up, Qt::ControlModifier); // unless Ctrl is held
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 1));
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->GetRow(), 1);
}

// A move key that leads nowhere ends the edit and opens the same cell's editor again.
void tst_GridEdit::moveKeyAtTheEdgeKeepsTheEditor() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.Click(3, 3);
    rec.Clear();
    QTest::keyClicks(g.grid, "q");
    g.Key(Qt::Key_Down); // the last row
    QCOMPARE(g.grid->GetCellText(3, 3), QString("q"));
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT), QList<GridNotice>({{GVN_ENDLABELEDIT, 3, 3}}));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 3));
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->GetRow(), 3);
    QCOMPARE(Editor(g)->GetColumn(), 3);
    QCOMPARE(Editor(g)->selectedText(), QString("q"));
    QTest::keyClicks(Editor(g), "r");
    g.Key(Qt::Key_Right); // the last column
    QCOMPARE(g.grid->GetCellText(3, 3), QString("r"));
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->GetColumn(), 3);
    g.Key(Qt::Key_Left); // and it still walks where there is a cell
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 2));
    QVERIFY(Editor(g));
    QCOMPARE(Editor(g)->GetColumn(), 2);
    g.Key(Qt::Key_Escape);
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
}

void tst_GridEdit::focusLossEndsEdit() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.Click(1, 1);
    QTest::keyClicks(g.grid, "m");
    QVERIFY(Editor(g));
    g.Click(3, 3); // the click elsewhere takes the focus away from the editor
    QCOMPARE(g.grid->GetCellText(1, 1), QString("m"));
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT).size(), 1);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 3));
    QTRY_COMPARE(g.grid->GetEditWnd(), nullptr);

    QTest::keyClicks(g.grid, "n");
    QVERIFY(Editor(g));
    g.grid->EndEditing();
    QCOMPARE(g.grid->GetCellText(3, 3), QString("n"));
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT).size(), 2);
}

namespace {
// A dialog that says when its own destructor has run.
class ClosingDialog : public QWidget {
  public:
    ~ClosingDialog() override { *alive = false; }
    bool* alive = nullptr;
};
} // namespace

void tst_GridEdit::windowClosingWhileEditing() {
    // Another window taking the activation ends the edit, a moment later.
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.Click(1, 1);
    QTest::keyClicks(g.grid, "4");
    QVERIFY(Editor(g));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_COMPARE(g.grid->GetCellText(1, 1), QString("4"));
    QTRY_COMPARE(g.grid->GetEditWnd(), nullptr);

    // A dialog destroyed with an open editor hears nothing after its destructor ran.
    bool alive = true, calledWhenGone = false;
    auto* dialog = new ClosingDialog;
    dialog->alive = &alive;
    dialog->resize(400, 300);
    auto* grid = new CGridCtrl(4, 4, 1, 1, dialog);
    grid->setGeometry(0, 0, 400, 300);
    connect(grid, &CGridCtrl::endEdit, dialog, [&] { calledWhenGone = !alive; });
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    grid->setFocus();
    grid->SetFocusCell(1, 1);
    grid->EditCell(1, 1);
    QVERIFY(grid->GetEditWnd() && grid->GetEditWnd()->hasFocus());
    delete dialog;
    DeliverPostedEvents(); // what the editor had queued when it lost its focus
    QVERIFY(!calledWhenGone);
}

void tst_GridEdit::rowsChangingUnderAnOpenEditor() {
    ShownGrid g(6, 4);
    QVERIFY(g.ready);

    // Shrinking past the edited row ends the edit and drops the focus cell with the row.
    g.Click(4, 1);
    QTest::keyClicks(g.grid, "x");
    QVERIFY(Editor(g));
    QVERIFY(g.grid->SetRowCount(3));
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
    QCOMPARE(g.grid->GetFocusCell(), CCellID());
    QCOMPARE(g.grid->GetSelectedCount(), 0);
    DeliverPostedEvents();

    // Shrinking below other rows leaves the editor where it is.
    g.Click(1, 2);
    QTest::keyClicks(g.grid, "y");
    QVERIFY(g.grid->SetRowCount(2));
    QVERIFY(Editor(g));
    g.Key(Qt::Key_Return);
    QCOMPARE(g.grid->GetCellText(1, 2), QString("y"));

    // Deleting or sorting rows first puts the typed text into the row it was typed in.
    g.grid->SetRowCount(5);
    for (int r = 2; r < 5; ++r)
        g.grid->SetCellText(r, 1, QString::number(r));
    g.Click(3, 2);
    QTest::keyClicks(g.grid, "z");
    QVERIFY(g.grid->DeleteRow(1));
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
    QCOMPARE(g.grid->GetCellText(2, 1), QString("3"));
    QCOMPARE(g.grid->GetCellText(2, 2), QString("z"));
    g.Click(1, 2);
    QTest::keyClicks(g.grid, "w");
    QVERIFY(g.grid->SortTextItems(1, false));
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
    QCOMPARE(g.grid->GetCellText(3, 1), QString("2"));
    QCOMPARE(g.grid->GetCellText(3, 2), QString("w"));

    // An end-edit handler that empties the grid while rows, columns or cells change.
    auto whileEmptying = [&](const std::function<void()>& change) {
        g.grid->SetRowCount(5);
        g.grid->SetColumnCount(4);
        g.Click(3, 2);
        QTest::keyClicks(g.grid, "v");
        QVERIFY(Editor(g));
        auto clear = connect(g.grid, &CGridCtrl::endEdit, g.grid, [&] {
            g.grid->SetRowCount(1);
            g.grid->SetColumnCount(2);
        });
        change();
        disconnect(clear);
        QCOMPARE(g.grid->GetEditWnd(), nullptr);
        for (int r = 0; r < g.grid->GetRowCount(); ++r)
            for (int c = 0; c < g.grid->GetColumnCount(); ++c)
                QVERIFY(g.grid->GetCell(r, c));
        g.grid->repaint();
    };
    whileEmptying([&] { g.grid->SetRowCount(2); });
    whileEmptying([&] { g.grid->SetColumnCount(2); });
    whileEmptying([&] { g.grid->InsertRow("new", 4); });
    whileEmptying([&] { g.grid->InsertColumn("new", DT_CENTER, 3); });
    whileEmptying([&] { g.grid->DeleteColumn(3); });
    whileEmptying([&] { g.grid->SetCellType<CGridCellCombo>(3, 2); });
    whileEmptying([&] { g.grid->SortTextItems(3, true); });

    // A grid destroyed with its editor open takes the editor with it.
    g.grid->SetRowCount(4);
    g.grid->SetColumnCount(4);
    g.Click(2, 2);
    QTest::keyClicks(g.grid, "u");
    QPointer<QWidget> editor = g.grid->GetEditWnd();
    QVERIFY(editor);
    delete g.grid;
    g.grid = nullptr;
    QVERIFY(!editor);
    DeliverPostedEvents(); // nothing queued for the grid or its editor runs on them gone
}

void tst_GridEdit::readOnlyNeverEdits() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.grid->SetCellReadOnly(2, 2);
    g.Click(2, 2);
    for (int key : {int(Qt::Key_5), int(Qt::Key_F2), int(Qt::Key_Return), int(Qt::Key_Backspace)})
        g.Key(key);
    g.Click(2, 2);
    QTest::mouseDClick(g.Viewport(), Qt::LeftButton, {}, g.Center(2, 2));
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
    QVERIFY(rec.Of(GVN_BEGINLABELEDIT).isEmpty());
    QCOMPARE(g.grid->GetCellText(2, 2), QString("2,2"));

    // Nor does a grid that is not editable, nor a fixed cell.
    g.grid->SetEditable(false);
    g.Click(1, 1);
    g.Key(Qt::Key_5);
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
    g.grid->SetEditable(true);
    g.grid->EditCell(0, 1);
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
}

void tst_GridEdit::beginEditVeto() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    rec.answers[GVN_BEGINLABELEDIT] = -1;
    g.Click(1, 1);
    g.Key(Qt::Key_5);
    QCOMPARE(rec.Of(GVN_BEGINLABELEDIT).size(), 1);
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
    QVERIFY(!g.grid->GetCell(1, 1)->IsEditing());
    QCOMPARE(g.grid->GetCellText(1, 1), QString("1,1"));
}

void tst_GridEdit::endEditVetoRestoresText() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.grid->SetCellText(1, 2, "10");
    g.grid->GetCell(1, 2)->SetState(g.grid->GetCell(1, 2)->GetState() & ~GVIS_MODIFIED);
    NoticeRecorder rec(g.grid);
    rec.answers[GVN_ENDLABELEDIT] = -1;
    g.Click(1, 2);
    QTest::keyClicks(g.grid, "9");
    g.Key(Qt::Key_Return);
    QCOMPARE(rec.texts.last(), QString("9")); // the parent saw the new text
    QCOMPARE(g.grid->GetCellText(1, 2), QString("10"));
    QVERIFY(!g.grid->GetCell(1, 2)->IsModified());

    rec.answers.remove(GVN_ENDLABELEDIT);
    g.Key(Qt::Key_8);
    g.Key(Qt::Key_Return);
    QCOMPARE(g.grid->GetCellText(1, 2), QString("8"));
    QVERIFY(g.grid->GetCell(1, 2)->IsModified());
}

void tst_GridEdit::editorWidensWhileTyping() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.Click(1, 1);
    g.Key(Qt::Key_F2);
    CInPlaceEdit* edit = Editor(g);
    QVERIFY(edit);
    const int start = edit->width();
    TypeKeys(edit, "一些很长的文字让编辑框变宽");
    QVERIFY(edit->width() > start);
    QTest::keyClicks(edit, QString(200, 'W'));
    QCOMPARE(edit->geometry().right(), g.Viewport()->width() - 1); // never past the grid's edge
}

void tst_GridEdit::comboTextOutsideOptions() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    QVERIFY(g.grid->SetCellType<CGridCellCombo>(1, 2));
    g.grid->SetComboOptions(1, 2, {"结清", "未结", "欠款"});
    g.grid->SetCellText(1, 2, "已退货");
    g.Click(1, 2);
    g.Key(Qt::Key_F2);
    auto* list = qobject_cast<CInPlaceList*>(g.grid->GetEditWnd());
    QVERIFY(list);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentIndex(), -1);
    QVERIFY(list->lineEdit());
    QCOMPARE(list->lineEdit()->text(), QString("已退货"));
    QCOMPARE(list->maxVisibleItems(), 4);
    QTRY_VERIFY(list->view()->isVisible()); // dropped down at once
    QTest::keyClick(list->lineEdit(), Qt::Key_Escape);
    QCOMPARE(g.grid->GetCellText(1, 2), QString("已退货"));
    QTRY_COMPARE(g.grid->GetEditWnd(), nullptr);

    // Typing in the edit part puts a new text into the cell.
    g.Key(Qt::Key_F2);
    list = qobject_cast<CInPlaceList*>(g.grid->GetEditWnd());
    QVERIFY(list);
    list->hidePopup();
    list->lineEdit()->selectAll();
    TypeKeys(list->lineEdit(), "欠");
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    QCOMPARE(g.grid->GetCellText(1, 2), QString("欠"));
}

void tst_GridEdit::comboPickAndKeys() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    QVERIFY(g.grid->SetCellType<CGridCellCombo>(2, 3));
    auto* cell = dynamic_cast<CGridCellCombo*>(g.grid->GetCell(2, 3));
    cell->SetStyle(CBS_DROPDOWNLIST);
    g.grid->SetComboOptions(2, 3, {"结清", "未结", "欠款"});
    g.grid->SetCellText(2, 3, "未结");
    g.Click(2, 3);
    g.Key(Qt::Key_F2);
    auto* list = qobject_cast<CInPlaceList*>(g.grid->GetEditWnd());
    QVERIFY(list);
    QVERIFY(!list->isEditable());
    QCOMPARE(list->currentIndex(), 1);
    list->hidePopup();
    list->setCurrentIndex(2);
    QTest::keyClick(list, Qt::Key_Tab); // Tab ends and walks to the next row
    QCOMPARE(g.grid->GetCellText(2, 3), QString("欠款"));
    QCOMPARE(rec.Of(GVN_ENDLABELEDIT).last(), GridNotice({GVN_ENDLABELEDIT, 2, 3}));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 1));
    QVERIFY(Editor(g)); // an ordinary cell opens an ordinary editor
    g.Key(Qt::Key_Escape);

    // A pick-only list with nothing picked keeps the cell's text.
    g.grid->SetCellText(2, 3, "已退货");
    g.grid->SetFocusCell(2, 3);
    g.grid->EditCell(2, 3);
    list = qobject_cast<CInPlaceList*>(g.grid->GetEditWnd());
    QVERIFY(list);
    QCOMPARE(list->currentIndex(), -1);
    list->hidePopup();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(g.grid->GetCellText(2, 3), QString("已退货"));

    // Move keys end the list only with Ctrl.
    g.grid->EditCell(2, 3);
    list = qobject_cast<CInPlaceList*>(g.grid->GetEditWnd());
    list->hidePopup();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(g.grid->GetEditWnd(), list);
    QCOMPARE(list->currentIndex(), 0);
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(g.grid->GetCellText(2, 3), QString("结清"));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 3));
}

// The open drop-down does not swallow the first Enter or Escape: F2, Down, Enter commits the
// next option with one end-edit notice, and one Escape cancels, in both list styles.
void tst_GridEdit::comboAnswersTheFirstEnterAndEscape() {
    for (int style : {CBS_DROPDOWNLIST, CBS_DROPDOWN}) {
        ShownGrid g(4, 4);
        QVERIFY(g.ready);
        QVERIFY(g.grid->SetCellType<CGridCellCombo>(2, 3));
        dynamic_cast<CGridCellCombo*>(g.grid->GetCell(2, 3))->SetStyle(style);
        g.grid->SetComboOptions(2, 3, {"结清", "未结", "欠款"});
        g.grid->SetCellText(2, 3, "结清");
        g.Click(2, 3);
        NoticeRecorder rec(g.grid);

        g.Key(Qt::Key_F2);
        auto* list = qobject_cast<CInPlaceList*>(g.grid->GetEditWnd());
        QVERIFY(list);
        QTRY_VERIFY(list->view()->isVisible());
        g.Key(Qt::Key_Down);
        g.Key(Qt::Key_Return);
        QCOMPARE(g.grid->GetEditWnd(), nullptr);
        QCOMPARE(g.grid->GetCellText(2, 3), QString("未结"));
        QCOMPARE(rec.Of(GVN_ENDLABELEDIT), QList<GridNotice>({{GVN_ENDLABELEDIT, 2, 3}}));
        QCOMPARE(rec.texts.last(), QString("未结"));
        QCOMPARE(g.grid->GetFocusCell(), CCellID(2, 3)); // Enter leaves the focus where it is
        QTRY_VERIFY(!list->view()->isVisible() || g.grid->GetEditWnd() == nullptr);
        QVERIFY(g.grid->hasFocus());

        rec.Clear();
        g.Key(Qt::Key_F2);
        list = qobject_cast<CInPlaceList*>(g.grid->GetEditWnd());
        QVERIFY(list);
        QTRY_VERIFY(list->view()->isVisible());
        g.Key(Qt::Key_Down);
        g.Key(Qt::Key_Escape);
        QCOMPARE(g.grid->GetEditWnd(), nullptr);
        QCOMPARE(g.grid->GetCellText(2, 3), QString("未结"));
        QCOMPARE(rec.Of(GVN_ENDLABELEDIT), QList<GridNotice>({{GVN_ENDLABELEDIT, 2, 3}}));
        QVERIFY(g.grid->hasFocus());

        // Tab in the open drop-down takes the choice and walks on in edit mode.
        rec.Clear();
        g.Key(Qt::Key_F2);
        QTRY_VERIFY(qobject_cast<CInPlaceList*>(g.grid->GetEditWnd()));
        g.Key(Qt::Key_Down);
        g.Key(Qt::Key_Tab);
        QCOMPARE(g.grid->GetCellText(2, 3), QString("欠款"));
        QCOMPARE(rec.Of(GVN_ENDLABELEDIT).size(), 1);
        QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 1));
        QVERIFY(Editor(g));
    }
}

QTEST_MAIN(tst_GridEdit)
#include "tst_gridedit.moc"
