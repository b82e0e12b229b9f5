// The grid in virtual mode: rows asked from a row source as they are painted, a few blocks
// kept, the selection as ranges across blocks, copy, and a source that fails on a later block.
#include "GridTestSupport.h"

#include "grid/CGridRowSource.h"
#include "grid/CGridSelection.h"
#include "grid/CInPlaceList.h"

#include <QClipboard>
#include <QScrollBar>

namespace {

// Rows "r,c" as a stored ShownGrid has them (r counts the header row), every read logged.
class NumberedSource : public CGridRowSource {
  public:
    NumberedSource(int rows, int cols) : m_nRows(rows), m_nCols(cols) {}
    int RowCount() const override { return m_nRows; }
    bool ReadRows(int first, int count, QList<QStringList>& rows) override {
        reads.append(first);
        if (failFrom >= 0 && first + count > failFrom) {
            ++failures;
            return false;
        }
        for (int i = first; i < std::min(first + count, m_nRows); ++i) {
            QStringList texts;
            for (int c = 0; c < m_nCols; ++c)
                texts << QStringLiteral("%1,%2").arg(i + 1).arg(c);
            rows.append(texts);
        }
        return true;
    }

    QList<int> reads;  // first row of each read
    int failFrom = -1; // reads that reach this row fail
    int failures = 0;

  private:
    int m_nRows;
    int m_nCols;
};

// A shown list-mode grid with a header row, a number column and a source of rows.
struct VirtualGrid {
    VirtualGrid(int rows, int cols) : shown(1, cols) {
        source = std::make_shared<NumberedSource>(rows, cols);
        shown.grid->SetRowSource(source, 20);
        shown.grid->SetSingleRowSelection(false);
    }
    CGridCtrl* Grid() const { return shown.grid; }
    void Paint() const {
        shown.grid->viewport()->repaint();
        QCoreApplication::processEvents();
    }

    ShownGrid shown;
    std::shared_ptr<NumberedSource> source;
};

} // namespace

class tst_GridVirtual : public QObject {
    Q_OBJECT

  private slots:
    void paintsAskingOnlyForTheRowsInView();
    void endShowsTheLastRowAndTheCacheStaysSmall();
    void selectionOfRangesAcrossBlocks();
    void copyReadsTheSelectedRows();
    void laterBlockThatFailsIsAskedOnce();
    void storedRowsComeBackAfterTheSource();
    void selectionRangesFollowRowChanges();
    void editableColumnsTakeTheUsersTextUntilTheRowsAreRead();
};

void tst_GridVirtual::paintsAskingOnlyForTheRowsInView() {
    VirtualGrid v(100000, 5);
    QVERIFY(v.shown.ready);
    CGridCtrl* grid = v.Grid();
    QCOMPARE(grid->GetRowCount(), 100001);
    QCOMPARE(grid->GetRowHeight(50000), 20);
    QCOMPARE(grid->GetVirtualHeight(), grid->GetRowHeight(0) + 100000LL * 20);
    v.Paint();
    QVERIFY(grid->verticalScrollBar()->maximum() > 1900000);
    QCOMPARE(v.source->reads, QList<int>{0});
    QCOMPARE(grid->GetCellText(0, 1), QStringLiteral("0,1")); // the stored header row
    QCOMPARE(grid->GetCellText(1, 1), QStringLiteral("1,1"));
    QCOMPARE(grid->GetCellText(17, 4), QStringLiteral("17,4"));
    QVERIFY(!grid->IsCellEditable(3, 2));
    QVERIFY(grid->IsCellFixed(3, 0));

    // A click marks the whole row and tells the parent, as with stored rows.
    NoticeRecorder notices(grid);
    v.shown.Click(4, 2);
    QCOMPARE(grid->GetFocusCell(), CCellID(4, 2));
    QVERIFY(grid->IsCellSelected(4, 1) && grid->IsCellSelected(4, 4));
    QVERIFY(!grid->IsCellSelected(5, 2));
    QCOMPARE(notices.Of(GVN_CLICK), QList<GridNotice>({{GVN_CLICK, 4, 2}}));
    QTest::mouseDClick(v.shown.Viewport(), Qt::LeftButton, {}, v.shown.Center(6, 3));
    QCOMPARE(notices.Of(GVN_DBLCLK).size(), 1);
    QCOMPARE(notices.texts.last(), QStringLiteral("6,3"));
    QCOMPARE(v.source->reads, QList<int>{0});
}

void tst_GridVirtual::endShowsTheLastRowAndTheCacheStaysSmall() {
    VirtualGrid v(100000, 5);
    QVERIFY(v.shown.ready);
    CGridCtrl* grid = v.Grid();
    v.shown.Click(2, 1);
    v.shown.Key(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid->GetFocusCell(), CCellID(100000, 4));
    QVERIFY(grid->IsCellVisible(100000, 4));
    v.Paint();
    QCOMPARE(grid->GetCellText(100000, 3), QStringLiteral("100000,3"));
    // The first block and the one or two blocks at the end, nothing in between.
    QVERIFY2(v.source->reads.size() <= 3, qPrintable(QString::number(v.source->reads.size())));
    QCOMPARE(v.source->reads.first(), 0);
    QVERIFY(v.source->reads.last() >= 99800);

    v.shown.Key(Qt::Key_PageUp);
    QVERIFY(grid->GetFocusCell().row < 100000);
    QVERIFY(grid->IsCellVisible(grid->GetFocusCell().row, 4));

    // Paging through many blocks keeps only a few: the first block is read again at the top.
    for (int i = 0; i < 40; ++i) {
        grid->verticalScrollBar()->setValue(i * 1000 * 20);
        v.Paint();
    }
    v.source->reads.clear();
    v.shown.Key(Qt::Key_Home, Qt::ControlModifier);
    v.Paint();
    QCOMPARE(grid->GetFocusCell(), CCellID(1, 1));
    QCOMPARE(v.source->reads, QList<int>{0});
    QCOMPARE(grid->GetCellText(1, 2), QStringLiteral("1,2"));
}

void tst_GridVirtual::selectionOfRangesAcrossBlocks() {
    VirtualGrid v(250000, 5);
    QVERIFY(v.shown.ready);
    CGridCtrl* grid = v.Grid();
    v.shown.Click(3, 2);
    v.shown.Key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    // Rows 3 to the last, the number column left out: four columns of 249,998 rows.
    QCOMPARE(grid->GetSelectedRange(), CCellRange(3, 1, 250000, 4));
    QCOMPARE(grid->GetSelectedCount(), 249998 * 4);
    QVERIFY(grid->IsCellSelected(123456, 3));
    QVERIFY(!grid->IsCellSelected(2, 3));
    QVERIFY(grid->GetCellState(200000, 2) & GVIS_SELECTED);

    // Ctrl+click adds a row to the selection; Ctrl+A takes every row at once.
    v.shown.Key(Qt::Key_Home, Qt::ControlModifier);
    v.shown.Click(1, 2, Qt::ControlModifier);
    QVERIFY(grid->IsCellSelected(1, 4));
    QCOMPARE(grid->GetSelectedCount(), 4);
    v.shown.Click(5, 2, Qt::ControlModifier);
    QCOMPARE(grid->GetSelectedCount(), 8);
    QVERIFY(!grid->IsCellSelected(3, 2));
    v.shown.Key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(grid->GetSelectedCount(), 250000 * 4);
    QVERIFY(v.source->reads.size() <= 4);
}

void tst_GridVirtual::copyReadsTheSelectedRows() {
    VirtualGrid v(1000, 4);
    QVERIFY(v.shown.ready);
    CGridCtrl* grid = v.Grid();
    grid->SetSelectedRange(98, 1, 102, 3); // rows from two blocks
    QString expected;
    for (int r = 98; r <= 102; ++r)
        expected += QStringLiteral("%1,1\t%1,2\t%1,3\r\n").arg(r);
    QCOMPARE(grid->CopyTextFromGrid(), expected);
    QApplication::clipboard()->clear();
    v.shown.Key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), expected);
    // The source's rows take no text.
    QVERIFY(!grid->SetCellText(99, 2, QStringLiteral("x")));
    QCOMPARE(grid->GetCellText(99, 2), QStringLiteral("99,2"));
}

void tst_GridVirtual::laterBlockThatFailsIsAskedOnce() {
    VirtualGrid v(5000, 4);
    QVERIFY(v.shown.ready);
    CGridCtrl* grid = v.Grid();
    v.source->failFrom = 300;
    v.Paint();
    QCOMPARE(grid->GetCellText(5, 1), QStringLiteral("5,1"));
    v.shown.Click(2, 1);
    v.shown.Key(Qt::Key_End, Qt::ControlModifier);
    v.Paint();
    QCOMPARE(v.source->failures, 1);
    QCOMPARE(grid->GetCellText(5000, 1), QString());
    for (int i = 0; i < 10; ++i) {
        v.shown.Key(Qt::Key_PageUp);
        v.Paint();
    }
    grid->CopyTextFromGrid();
    QCOMPARE(v.source->failures, 1);

    // The window goes on: the rows read stay, a click still selects, and a reload reads again.
    v.shown.Key(Qt::Key_Home, Qt::ControlModifier);
    v.Paint();
    QCOMPARE(grid->GetCellText(3, 2), QStringLiteral("3,2"));
    v.shown.Click(4, 1);
    QVERIFY(grid->IsCellSelected(4, 3));
    v.source->failFrom = -1;
    grid->ReloadRowSource();
    QCOMPARE(grid->GetCellText(5000, 1), QStringLiteral("5000,1"));
}

void tst_GridVirtual::storedRowsComeBackAfterTheSource() {
    VirtualGrid v(300, 3);
    QVERIFY(v.shown.ready);
    CGridCtrl* grid = v.Grid();
    grid->SetColumnFormat(2, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    QCOMPARE(grid->GetCellFormat(10, 2), quint32(DT_RIGHT | DT_VCENTER | DT_SINGLELINE));
    QVERIFY(!grid->SortTextItems(1, false)); // the source gives the order
    QVERIFY(!grid->DeleteRow(10));
    QCOMPARE(grid->GetRowCount(), 301);

    grid->DeleteNonFixedRows();
    QVERIFY(!grid->GetVirtualMode());
    QCOMPARE(grid->GetRowCount(), 1);
    QCOMPARE(grid->GetCellText(0, 2), QStringLiteral("0,2"));
    const int row = grid->AppendRow(QStringLiteral("1"), 25);
    grid->SetCellText(row, 2, QStringLiteral("stored"));
    QCOMPARE(grid->GetCellText(1, 2), QStringLiteral("stored"));
    QCOMPARE(grid->GetRowHeight(1), 25);

    // A source again drops the stored rows below the header.
    grid->SetRowSource(v.source);
    QCOMPARE(grid->GetRowCount(), 301);
    QCOMPARE(grid->GetCellText(1, 2), QStringLiteral("1,2"));
    QCOMPARE(grid->GetRowHeight(1), grid->GetDefCellHeight());
}

void tst_GridVirtual::selectionRangesFollowRowChanges() {
    CGridSelection selection;
    selection.Add(CCellRange(2, 1, 6, 3));
    selection.Add(CCellRange(4, 2, 9, 5)); // overlaps the first
    selection.Add(CCellRange(3, 1, 4, 2)); // inside the first: nothing new
    QCOMPARE(selection.Ranges().size(), 2);
    QCOMPARE(selection.Count(), 5 * 3 + 6 * 4 - 3 * 2);
    QCOMPARE(selection.Bounds(), CCellRange(2, 1, 9, 5));

    selection.InsertRow(4); // splits both around the new row
    QVERIFY(!selection.Contains(4, 2));
    QVERIFY(selection.Contains(3, 1) && selection.Contains(5, 1) && selection.Contains(10, 5));
    QCOMPARE(selection.Count(), 5 * 3 + 6 * 4 - 3 * 2);
    selection.RemoveRow(4);
    QCOMPARE(selection.Count(), 5 * 3 + 6 * 4 - 3 * 2);
    selection.RemoveRow(2);
    QVERIFY(selection.Contains(2, 1) && !selection.Contains(6, 1));
    selection.ClipTo(5, 3);
    QCOMPARE(selection.Bounds(), CCellRange(2, 1, 4, 2));
    selection.Clear();
    QVERIFY(selection.IsEmpty() && !selection.Bounds().IsValid());
}

// A list whose amount and state the user changes in place (the document queries): typing and
// choosing go through the end-edit handler, a refused edit shows the source's text again, and
// a handler that reads the rows anew leaves the new rows alone.
void tst_GridVirtual::editableColumnsTakeTheUsersTextUntilTheRowsAreRead() {
    VirtualGrid v(900, 4);
    QVERIFY(v.shown.ready);
    CGridCtrl* grid = v.Grid();
    grid->SetEditable(true);
    grid->SetColumnEditable(2);
    grid->SetColumnEditable(3, {QStringLiteral("结清"), QStringLiteral("未结")});
    grid->SetColumnEditable(0); // the fixed column stays as it is
    QVERIFY(!grid->IsCellEditable(700, 1));
    QVERIFY(!grid->IsCellEditable(700, 0));
    QVERIFY(grid->IsCellEditable(700, 2) && grid->IsCellEditable(700, 3));

    enum class Answer { Keep, Refuse, Reread };
    Answer answer = Answer::Keep;
    QStringList seen;
    connect(grid, &CGridCtrl::endEdit, this, [&](int row, int col, CGridResult* result) {
        seen << QStringLiteral("%1:%2=%3").arg(row).arg(col).arg(grid->GetCellText(row, col));
        if (answer == Answer::Refuse)
            result->Cancel();
        else if (answer == Answer::Reread)
            grid->SetRowSource(v.source, 20);
    });

    // Far down the list: typed, told to the handler, kept over the source's text.
    grid->EnsureVisible(700, 2);
    v.Paint();
    TypeInCell(grid, 700, 2, QStringLiteral("12.5"));
    QCOMPARE(seen, QStringList{QStringLiteral("700:2=12.5")});
    v.Paint();
    QCOMPARE(grid->GetCellText(700, 2), QStringLiteral("12.5"));
    QCOMPARE(grid->GetCellText(701, 2), QStringLiteral("701,2"));

    // Refused: the text goes back to what the source gives.
    answer = Answer::Refuse;
    TypeInCell(grid, 701, 2, QStringLiteral("9"));
    QCOMPARE(seen.last(), QStringLiteral("701:2=9"));
    QCOMPARE(grid->GetCellText(701, 2), QStringLiteral("701,2"));

    // The drop list offers the column's options and ends through the handler, which reads the
    // rows anew: what the user set is forgotten and the new rows keep their texts.
    answer = Answer::Reread;
    grid->SetFocusCell(702, 3);
    grid->EditCell(702, 3);
    auto* list = qobject_cast<CInPlaceList*>(grid->GetEditWnd());
    QVERIFY(list);
    QCOMPARE(list->count(), 2);
    list->hidePopup();
    list->setCurrentIndex(list->findText(QStringLiteral("未结")));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(seen.last(), QStringLiteral("702:3=未结"));
    QCOMPARE(grid->GetCellText(702, 3), QStringLiteral("702,3"));
    QCOMPARE(grid->GetCellText(700, 2), QStringLiteral("700,2"));
    QVERIFY(!grid->GetEditWnd());

    // A set text lasts until a reload; copying reads it like any other.
    answer = Answer::Keep;
    QVERIFY(grid->SetCellText(5, 2, QStringLiteral("x")));
    QVERIFY(!grid->SetCellText(5, 1, QStringLiteral("y")));
    QCOMPARE(grid->GetCellText(5, 1), QStringLiteral("5,1"));
    grid->SetSelectedRange(5, 1, 5, 2);
    QCOMPARE(grid->CopyTextFromGrid(), QStringLiteral("5,1\tx\r\n"));
    grid->ReloadRowSource();
    QCOMPARE(grid->GetCellText(5, 2), QStringLiteral("5,2"));
}

QTEST_MAIN(tst_GridVirtual)
#include "tst_gridvirtual.moc"
