// The grid and the mouse: selection, notices with row and column, header clicks, resizing,
// double clicks, the wheel and title tips.
#include "GridTestSupport.h"
#include "grid/CTitleTip.h"

#include <QScrollBar>
#include <QWheelEvent>

class tst_GridMouse : public QObject {
    Q_OBJECT

  private slots:
    void listModeClickSelectsRow();
    void shiftAndCtrlClicks();
    void cellModeDragSelectsBlock();
    void rightClicks();
    void headerClickSelectsColumnAndSorts();
    void columnResizedToNothingAndBack();
    void rowResizeAndDoubleClickSizing();
    void doubleClickNotifies();
    void wheelScrollsAndHitTestsFollow();
    void dragBelowScrollsAndExtends();
    void titleTipForNarrowCell();
};

void tst_GridMouse::listModeClickSelectsRow() {
    ShownGrid g(6, 5);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.Click(3, 2);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 2));
    for (int c = 1; c < 5; ++c)
        QVERIFY(g.grid->IsCellSelected(3, c));
    QVERIFY(!g.grid->IsCellSelected(2, 2));
    QVERIFY(!g.grid->IsCellSelected(3, 0)); // the line-number column stays unselected
    QCOMPARE(
        rec.notices,
        QList<GridNotice>({{GVN_SELCHANGING, 3, 2}, {GVN_SELCHANGED, 3, 2}, {GVN_CLICK, 3, 2}}));
    // Another row replaces the selection.
    g.Click(5, 4);
    QVERIFY(!g.grid->IsCellSelected(3, 2));
    QVERIFY(g.grid->IsCellSelected(5, 1));
    QCOMPARE(rec.Of(GVN_CLICK).last(), GridNotice({GVN_CLICK, 5, 4}));
    // A second click on the focus cell of a read-only grid is still a click.
    g.grid->SetEditable(false);
    rec.Clear();
    g.Click(5, 4);
    QCOMPARE(rec.Of(GVN_CLICK), QList<GridNotice>({{GVN_CLICK, 5, 4}}));
}

void tst_GridMouse::shiftAndCtrlClicks() {
    ShownGrid g(8, 4);
    QVERIFY(g.ready);
    g.Click(2, 1);
    g.Click(4, 3, Qt::ShiftModifier);
    for (int r = 2; r <= 4; ++r)
        QVERIFY(g.grid->IsCellSelected(r, 2));
    QVERIFY(!g.grid->IsCellSelected(5, 2));
    g.Click(7, 1, Qt::ControlModifier);
    QVERIFY(g.grid->IsCellSelected(3, 1));
    QVERIFY(g.grid->IsCellSelected(7, 1));
    QVERIFY(!g.grid->IsCellSelected(6, 1));
    QCOMPARE(g.grid->GetSelectedCount(), 4 * 3);

    g.grid->SetSingleRowSelection(true);
    g.Click(2, 1);
    g.Click(5, 1, Qt::ShiftModifier);
    QVERIFY(g.grid->IsCellSelected(5, 1));
    QVERIFY(!g.grid->IsCellSelected(4, 1));
}

void tst_GridMouse::cellModeDragSelectsBlock() {
    ShownGrid g(8, 6, false);
    QVERIFY(g.ready);
    QTest::mousePress(g.Viewport(), Qt::LeftButton, {}, g.Center(2, 2));
    QTest::mouseMove(g.Viewport(), g.Center(3, 4));
    QTest::mouseRelease(g.Viewport(), Qt::LeftButton, {}, g.Center(3, 4));
    QCOMPARE(g.grid->GetSelectedRange(), CCellRange(2, 2, 3, 4));
    QCOMPARE(g.grid->GetSelectedCount(), 6);
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 4));
}

void tst_GridMouse::rightClicks() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    g.Click(1, 1);
    rec.Clear();
    const QPoint below(g.Center(3, 2).x(), g.grid->GetCellRect(3, 2).bottom() + 40);
    QTest::mouseClick(g.Viewport(), Qt::RightButton, {}, below);
    QCOMPARE(rec.notices, QList<GridNotice>({{GVN_RCLICK, -1, -1}}));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 1));
    QVERIFY(g.grid->IsCellSelected(1, 2));

    rec.Clear();
    QTest::mouseClick(g.Viewport(), Qt::RightButton, {}, g.Center(3, 2));
    QCOMPARE(rec.notices, QList<GridNotice>({{GVN_RCLICK, 3, 2}}));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(3, 2));

    // On a header the focus goes no further up than the first non-fixed row.
    rec.Clear();
    QTest::mouseClick(g.Viewport(), Qt::RightButton, {}, g.Center(0, 3));
    QCOMPARE(rec.notices, QList<GridNotice>({{GVN_RCLICK, 0, 3}}));
    QCOMPARE(g.grid->GetFocusCell(), CCellID(1, 3));
}

void tst_GridMouse::headerClickSelectsColumnAndSorts() {
    ShownGrid g(5, 4, false);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    const QStringList texts = {"b", "d", "a", "c"};
    for (int r = 1; r < 5; ++r)
        g.grid->SetCellText(r, 2, texts[r - 1]);
    g.Click(0, 2);
    for (int r = 1; r < 5; ++r)
        QVERIFY(g.grid->IsCellSelected(r, 2));
    QVERIFY(!g.grid->IsCellSelected(1, 1));
    QCOMPARE(rec.Of(GVN_CLICK), QList<GridNotice>({{GVN_CLICK, 0, 2}}));

    g.grid->SetHeaderSort(true);
    g.Click(0, 2);
    QCOMPARE(g.grid->GetSortColumn(), 2);
    QVERIFY(g.grid->GetSortAscending());
    QCOMPARE(g.grid->GetCellText(1, 2), QString("a"));
    QCOMPARE(g.grid->GetCellText(4, 2), QString("d"));
    QCOMPARE(g.grid->GetCellText(1, 1), QString("3,1")); // whole rows moved
    g.Click(0, 2);
    QVERIFY(!g.grid->GetSortAscending());
    QCOMPARE(g.grid->GetCellText(1, 2), QString("d"));
}

void tst_GridMouse::columnResizedToNothingAndBack() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    NoticeRecorder rec(g.grid);
    const QRect col2 = g.grid->GetCellRect(0, 2);
    const int y = col2.center().y();
    const int border = col2.left() + col2.width();
    QTest::mousePress(g.Viewport(), Qt::LeftButton, {}, QPoint(border - 1, y));
    QTest::mouseMove(g.Viewport(), QPoint(col2.left() - 30, y));
    QTest::mouseRelease(g.Viewport(), Qt::LeftButton, {}, QPoint(col2.left() - 30, y));
    QCOMPARE(g.grid->GetColumnWidth(2), 1);
    QVERIFY(rec.Of(GVN_CLICK).isEmpty());

    // The squeezed column is caught just right of its border and widened again.
    const int left = g.grid->GetCellRect(0, 2).left();
    QTest::mousePress(g.Viewport(), Qt::LeftButton, {}, QPoint(left + 2, y));
    QTest::mouseMove(g.Viewport(), QPoint(left + 60, y));
    QTest::mouseRelease(g.Viewport(), Qt::LeftButton, {}, QPoint(left + 60, y));
    QCOMPARE(g.grid->GetColumnWidth(2), 60);
    QCOMPARE(g.grid->GetColumnWidth(1), g.grid->GetDefCellWidth());

    // No resizing when the grid does not allow it: the press is a header click.
    g.grid->SetColumnResize(false);
    const int edge = g.grid->GetCellRect(0, 2).right() + 1;
    QTest::mousePress(g.Viewport(), Qt::LeftButton, {}, QPoint(edge - 1, y));
    QTest::mouseRelease(g.Viewport(), Qt::LeftButton, {}, QPoint(edge - 40, y));
    QCOMPARE(g.grid->GetColumnWidth(2), 60);
}

void tst_GridMouse::rowResizeAndDoubleClickSizing() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    const QRect row2 = g.grid->GetCellRect(2, 0);
    const int x = row2.center().x();
    QTest::mousePress(g.Viewport(), Qt::LeftButton, {}, QPoint(x, row2.bottom()));
    QTest::mouseMove(g.Viewport(), QPoint(x, row2.top() + 50));
    QTest::mouseRelease(g.Viewport(), Qt::LeftButton, {}, QPoint(x, row2.top() + 50));
    QCOMPARE(g.grid->GetRowHeight(2), 50);

    // Double click on a column border sizes the column to its widest text.
    g.grid->SetCellText(3, 1, "一段比默认列宽长得多的文字内容");
    const QRect col1 = g.grid->GetCellRect(0, 1);
    const QPoint border(col1.right() + 1, col1.center().y());
    QTest::mouseDClick(g.Viewport(), Qt::LeftButton, {}, border);
    QCOMPARE(g.grid->GetColumnWidth(1), g.grid->GetCell(3, 1)->GetCellExtent().width());
    QVERIFY(g.grid->GetColumnWidth(1) > g.grid->GetDefCellWidth());
}

void tst_GridMouse::doubleClickNotifies() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    g.grid->SetEditable(false);
    NoticeRecorder rec(g.grid);
    g.Click(2, 3);
    QTest::mouseDClick(g.Viewport(), Qt::LeftButton, {}, g.Center(2, 3));
    QTest::mouseRelease(g.Viewport(), Qt::LeftButton, {}, g.Center(2, 3));
    QCOMPARE(rec.Of(GVN_DBLCLK), QList<GridNotice>({{GVN_DBLCLK, 2, 3}}));
    QCOMPARE(rec.Of(GVN_CLICK).size(), 1); // the release after the double click is no click
    QCOMPARE(g.grid->GetEditWnd(), nullptr);
}

void tst_GridMouse::wheelScrollsAndHitTestsFollow() {
    ShownGrid g(200, 4);
    QVERIFY(g.ready);
    QScrollBar* bar = g.grid->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(g.grid->horizontalScrollBar()->maximum(), 0); // the columns fit
    const QPoint at = g.Center(2, 1);
    QWheelEvent wheel(at, g.Viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.Viewport(), &wheel);
    const int scrolled = g.grid->GetWheelScrollLines() * g.grid->GetDefCellHeight();
    QCOMPARE(bar->value(), scrolled);
    const CCellID hit = g.grid->GetCellFromPt(at);
    QCOMPARE(hit.row, 2 + g.grid->GetWheelScrollLines());
    QCOMPARE(g.grid->GetCellFromPt(QPoint(at.x(), 2)).row, 0); // the header stays

    // Scroll to the end: the last row is hit at the bottom.
    g.grid->EnsureVisible(199, 1);
    const QRect last = g.grid->GetCellRect(199, 1);
    QVERIFY(last.bottom() < g.Viewport()->height());
    QCOMPARE(g.grid->GetCellFromPt(last.center()), CCellID(199, 1));
}

void tst_GridMouse::dragBelowScrollsAndExtends() {
    ShownGrid g(100, 4);
    QVERIFY(g.ready);
    QTest::mousePress(g.Viewport(), Qt::LeftButton, {}, g.Center(2, 1));
    QTest::mouseMove(g.Viewport(), QPoint(g.Center(2, 1).x(), g.Viewport()->height() + 20));
    QTRY_VERIFY(g.grid->GetFocusCell().row > 20);
    QTest::mouseRelease(g.Viewport(), Qt::LeftButton, {},
                        QPoint(g.Center(2, 1).x(), g.Viewport()->height() + 20));
    const int last = g.grid->GetFocusCell().row;
    QVERIFY(g.grid->verticalScrollBar()->value() > 0);
    QVERIFY(g.grid->IsCellSelected(2, 1) && g.grid->IsCellSelected(last, 3));
    QVERIFY(g.grid->IsCellVisible(last, 1));
    // The scrolling stopped with the release.
    QVERIFY(!g.grid->IsAutoScrolling());
    QCOMPARE(g.grid->GetFocusCell().row, last);
}

void tst_GridMouse::titleTipForNarrowCell() {
    ShownGrid g(4, 4);
    QVERIFY(g.ready);
    const QString longText = "这是一段很长很长的商品名称，放不进这一格";
    g.grid->SetCellText(2, 2, longText);
    QTest::mouseMove(g.Viewport(), g.Center(1, 1));
    QTest::mouseMove(g.Viewport(), g.Center(2, 2));
    QTRY_VERIFY(g.grid->GetTitleTip() && g.grid->GetTitleTip()->isVisible());
    QCOMPARE(g.grid->GetTitleTip()->GetText(), longText);

    // The tip goes when the mouse leaves the cell, and a text that fits gets none.
    QTest::mouseMove(g.Viewport(), g.Center(1, 3));
    QTRY_VERIFY(!g.grid->GetTitleTip()->isVisible());
    // The wait on the new cell ends without a tip.
    QTRY_VERIFY(!g.grid->IsHoverPending());
    QVERIFY(!g.grid->GetTitleTip()->isVisible());
}

QTEST_MAIN(tst_GridMouse)
#include "tst_gridmouse.moc"
