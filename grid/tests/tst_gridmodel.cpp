// The grid's data model: counts, fixed cells, cell operations, default cells, the position
// index and the clipboard text form.
#include "grid/CGridCell.h"
#include "grid/CGridCellCombo.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/CGridPositionIndex.h"
#include "grid/GridClipboardText.h"

#include <QFontMetrics>
#include <QPixmap>
#include <QTest>

class tst_GridModel : public QObject {
    Q_OBJECT

  private slots:
    void countsGrowAndShrinkWithFixedStates();
    void fixedRowCountGrowsAnEmptyGrid();
    void outOfRangeIndicesDoNothing();
    void cellTextMarksModifiedAndDropsSortMark();
    void cellTypeKeepsContents();
    void appendRowHeights();
    void deleteRowAdjustsFixedFocusAndSelection();
    void rowsAndColumnsMovedDropTheSelection();
    void defaultCellFallbacks();
    void positionIndexFindsEntries();
    void positionIndexAfterChanges();
    void clipboardTextRoundTrip();
    void drawsAnyText();
};

void tst_GridModel::countsGrowAndShrinkWithFixedStates() {
    CGridCtrl grid;
    grid.SetRowCount(5);
    grid.SetColumnCount(4);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    QVERIFY(grid.GetCell(0, 2)->IsFixedRow() && grid.GetCell(0, 2)->IsFixed());
    QVERIFY(grid.GetCell(3, 0)->IsFixedCol() && !grid.GetCell(3, 0)->IsFixedRow());
    QVERIFY(!grid.GetCell(3, 2)->IsFixed());
    QCOMPARE(grid.GetRowHeight(4), grid.GetDefCellHeight());
    QCOMPARE(grid.GetColumnWidth(3), grid.GetDefCellWidth());

    // A row that stops being fixed loses its fixed bits.
    grid.SetFixedRowCount(2);
    QVERIFY(grid.GetCell(1, 2)->IsFixedRow());
    grid.SetFixedRowCount(1);
    QVERIFY(!grid.GetCell(1, 2)->IsFixed());

    grid.SetFocusCell(4, 2);
    grid.SetRowCount(1); // only the header row is left
    QCOMPARE(grid.GetRowCount(), 1);
    QCOMPARE(grid.GetFixedRowCount(), 1);
    QVERIFY(!grid.GetFocusCell().IsValid());
    QCOMPARE(grid.GetCell(1, 1), nullptr);

    grid.SetColumnCount(2);
    grid.SetFixedColumnCount(3); // grows the columns first
    QCOMPARE(grid.GetColumnCount(), 3);
    QVERIFY(grid.GetCell(0, 2)->IsFixedCol());
}

void tst_GridModel::fixedRowCountGrowsAnEmptyGrid() {
    CGridCtrl grid;
    grid.SetColumnCount(3);
    grid.SetFixedRowCount(1);
    QCOMPARE(grid.GetRowCount(), 1);
    QVERIFY(grid.GetCell(0, 1)->IsFixedRow());
}

void tst_GridModel::outOfRangeIndicesDoNothing() {
    CGridCtrl grid(3, 3, 1, 1);
    grid.SetCellText(1, 1, "x");
    for (auto [r, c] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {100, 100}}) {
        QCOMPARE(grid.GetCellText(r, c), QString());
        QVERIFY(!grid.SetCellText(r, c, "y"));
        QVERIFY(!grid.SetCellFormat(r, c, 5));
        QVERIFY(!grid.SetCellTextColor(r, c, Qt::red));
        QVERIFY(!grid.SetCellType<CGridCellCombo>(r, c));
        QVERIFY(!grid.IsCellSelected(r, c));
        QCOMPARE(grid.GetCell(r, c), nullptr);
    }
    QVERIFY(!grid.SetRowHeight(3, 10));
    QVERIFY(!grid.SetColumnWidth(-1, 10));
    QVERIFY(!grid.DeleteRow(7));
    QVERIFY(!grid.SetComboOptions(1, 1, {"a"})); // not a combo cell
    QCOMPARE(grid.GetRowCount(), 3);
    QCOMPARE(grid.GetCellText(1, 1), QString("x"));
}

void tst_GridModel::cellTextMarksModifiedAndDropsSortMark() {
    CGridCtrl grid(3, 3, 1, 1);
    grid.SetModified(false);
    grid.SetSortColumn(2);
    grid.SetCellText(1, 1, "other column");
    QCOMPARE(grid.GetSortColumn(), 2);
    QVERIFY(grid.GetCell(1, 1)->IsModified());
    QVERIFY(grid.GetModified());
    grid.SetCellText(2, 2, "sort column");
    QCOMPARE(grid.GetSortColumn(), -1);
}

void tst_GridModel::cellTypeKeepsContents() {
    CGridCtrl grid(3, 3, 1, 1);
    grid.SetCellText(1, 2, "未结");
    grid.SetCellTextColor(1, 2, Qt::red);
    grid.SetCellData(1, 2, 42);
    grid.SetCellReadOnly(1, 2);
    QVERIFY(grid.SetCellType<CGridCellCombo>(1, 2));
    auto* combo = dynamic_cast<CGridCellCombo*>(grid.GetCell(1, 2));
    QVERIFY(combo);
    QCOMPARE(combo->GetText(), QString("未结"));
    QCOMPARE(combo->GetTextClr(), QColor(Qt::red));
    QCOMPARE(combo->GetData(), qintptr(42));
    QVERIFY(combo->IsReadOnly());
    // The default format becomes the cell's own.
    QCOMPARE(combo->GetFormat(), grid.GetDefaultCell(false, false)->GetFormat());
    QVERIFY(grid.SetComboOptions(1, 2, {"结清", "未结", "欠款"}));
    QCOMPARE(combo->GetOptions(), QStringList({"结清", "未结", "欠款"}));
}

void tst_GridModel::appendRowHeights() {
    CGridCtrl grid;
    grid.SetColumnCount(3);
    grid.SetFixedRowCount(1);
    grid.SetModified(false);
    const int empty = grid.AppendRow();
    QCOMPARE(empty, 1);
    QVERIFY(grid.GetModified());
    const QFontMetrics fm(grid.GetDefaultCell(false, false)->GetFont());
    QCOMPARE(grid.GetRowHeight(empty), fm.height() * 3 / 2);

    const int two = grid.AppendRow("第一行\n第二行");
    QCOMPARE(grid.GetCellText(two, 0), QString("第一行\n第二行"));
    QCOMPARE(grid.GetRowHeight(two),
             grid.GetCell(two, 0)->GetTextExtent("第一行\n第二行").height());
    QCOMPARE(grid.GetRowCount(), 3);

    // A list's rows of one height take it as given, whatever the heading holds.
    const int given = grid.AppendRow("第一行\n第二行\n第三行", 25);
    QCOMPARE(grid.GetRowHeight(given), 25);
    QCOMPARE(grid.GetCellText(given, 0), QString("第一行\n第二行\n第三行"));
    const int inserted = grid.InsertRow("1", 1, 30);
    QCOMPARE(inserted, 1);
    QCOMPARE(grid.GetRowHeight(1), 30);
    QCOMPARE(grid.GetRowHeight(2), fm.height() * 3 / 2); // the rows below moved down
    QCOMPARE(grid.GetRowHeight(given + 1), 25);
    QCOMPARE(grid.GetRowCount(), 5);
}

void tst_GridModel::deleteRowAdjustsFixedFocusAndSelection() {
    CGridCtrl grid(6, 3, 1, 1);
    for (int r = 0; r < 6; ++r)
        grid.SetCellText(r, 1, QString::number(r));
    grid.SetFocusCell(4, 1);
    grid.SetSelectedRange(3, 1, 4, 2);
    grid.SetSortColumn(1);
    QVERIFY(grid.DeleteRow(2));
    QCOMPARE(grid.GetCellText(2, 1), QString("3"));
    QCOMPARE(grid.GetFocusCell(), CCellID(3, 1));
    QVERIFY(grid.IsCellSelected(2, 1) && grid.IsCellSelected(3, 2));
    QCOMPARE(grid.GetSelectedCount(), 4);
    QCOMPARE(grid.GetSortColumn(), -1);

    QVERIFY(grid.DeleteRow(0)); // the fixed header row
    QCOMPARE(grid.GetFixedRowCount(), 0);
    QVERIFY(!grid.GetCell(0, 1)->IsFixedRow());

    grid.SetFixedRowCount(1);
    QVERIFY(grid.DeleteNonFixedRows());
    QCOMPARE(grid.GetRowCount(), 1);
    QCOMPARE(grid.GetSelectedCount(), 0);
    QVERIFY(!grid.GetFocusCell().IsValid());
}

void tst_GridModel::rowsAndColumnsMovedDropTheSelection() {
    // Sorting and inserting a column move cells to other positions: no cell may still show
    // itself selected or focused once the grid has let go of its selection.
    auto noneMarked = [](const CGridCtrl& grid) {
        for (int r = 0; r < grid.GetRowCount(); ++r)
            for (int c = 0; c < grid.GetColumnCount(); ++c)
                if (grid.IsCellSelected(r, c) || grid.GetCell(r, c)->IsFocused())
                    return false;
        return true;
    };
    CGridCtrl grid(5, 3, 1, 1);
    for (int r = 1; r < 5; ++r)
        grid.SetCellText(r, 1, QString::number(r));
    grid.SetFocusCell(1, 2);
    grid.SetSelectedRange(1, 1, 2, 2);
    QVERIFY(grid.IsCellSelected(2, 1));
    QVERIFY(grid.SortTextItems(1, false));
    QCOMPARE(grid.GetCellText(4, 1), QString("1"));
    QCOMPARE(grid.GetSelectedCount(), 0);
    QVERIFY(!grid.GetFocusCell().IsValid());
    QVERIFY(noneMarked(grid));

    grid.SetSelectedRange(1, 1, 4, 1);
    QVERIFY(grid.InsertColumn("new", DT_CENTER, 1) == 1);
    QCOMPARE(grid.GetSelectedCount(), 0);
    QVERIFY(noneMarked(grid));
    // The focus cell moves with its column.
    grid.SetFocusCell(2, 2);
    grid.InsertColumn("left", DT_CENTER, 1);
    QCOMPARE(grid.GetFocusCell(), CCellID(2, 3));
    QVERIFY(grid.GetCell(2, 3)->IsFocused());
}

void tst_GridModel::defaultCellFallbacks() {
    CGridCtrl grid(3, 3, 1, 1);
    CGridCellBase* cell = grid.GetCell(1, 1);
    CGridCellBase* header = grid.GetCell(0, 1);
    QCOMPARE(cell->GetDefaultCell(), grid.GetDefaultCell(false, false));
    QCOMPARE(header->GetDefaultCell(), grid.GetDefaultCell(true, false));
    QCOMPARE(grid.GetCell(0, 0)->GetDefaultCell(), grid.GetDefaultCell(true, true));
    QCOMPARE(grid.GetCell(2, 0)->GetDefaultCell(), grid.GetDefaultCell(false, true));

    const quint32 expected = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    QCOMPARE(cell->GetFormat(), expected);
    grid.GetDefaultCell(false, false)->SetMargin(7);
    QCOMPARE(cell->GetMargin(), 7);
    cell->SetMargin(2);
    QCOMPARE(cell->GetMargin(), 2);
    QFont big = grid.GetDefaultCell(false, false)->GetFont();
    big.setPointSize(big.pointSize() + 6);
    grid.GetDefaultCell(false, false)->SetFont(big);
    QCOMPARE(cell->GetFont(), big);
    QVERIFY(cell->IsDefaultFont());
    QCOMPARE(header->GetFont(), grid.GetDefaultCell(true, false)->GetFont());
    QCOMPARE(grid.GetDefCellMargin(), QFontMetrics(big).horizontalAdvance(' '));

    grid.SetFixedBkColor(Qt::yellow);
    QCOMPARE(grid.GetDefaultCell(true, true)->GetBackClr(), QColor(Qt::yellow));
    QVERIFY(!header->GetBackClr().isValid()); // the marker: drawn with the default's colour
}

void tst_GridModel::positionIndexFindsEntries() {
    CGridPositionIndex index;
    index.Assign({10, 0, 5, 20});
    QCOMPARE(index.Total(), 35LL);
    QCOMPARE(index.Start(2), 10LL);
    QCOMPARE(index.Start(4), 35LL);
    QCOMPARE(index.IndexAt(0), 0);
    QCOMPARE(index.IndexAt(9), 0);
    QCOMPARE(index.IndexAt(10), 2); // the empty entry is never hit
    QCOMPARE(index.IndexAt(15), 3);
    QCOMPARE(index.IndexAt(34), 3);
    QCOMPARE(index.IndexAt(35), -1);
    QCOMPARE(index.IndexAt(-1), -1);
    QCOMPARE(index.IndexAt(5, 2), -1); // before the first searched entry
}

void tst_GridModel::positionIndexAfterChanges() {
    CGridPositionIndex index;
    std::vector<int> sizes;
    for (int i = 0; i < 1000; ++i) {
        const int size = 1 + (i * 7) % 13;
        index.Insert(index.Count(), size);
        sizes.push_back(size);
    }
    index.SetSize(500, 100);
    sizes[500] = 100;
    index.Erase(10);
    sizes.erase(sizes.begin() + 10);
    index.Insert(3, 9);
    sizes.insert(sizes.begin() + 3, 9);
    index.Resize(900, 4);
    sizes.resize(900);
    index.Resize(950, 4);
    sizes.resize(950, 4);

    long long pos = 0;
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
        QCOMPARE(index.Start(i), pos);
        QCOMPARE(index.IndexAt(pos), i);
        QCOMPARE(index.IndexAt(pos + sizes[i] - 1), i);
        pos += sizes[i];
    }
    QCOMPARE(index.Total(), pos);
}

void tst_GridModel::clipboardTextRoundTrip() {
    const QList<QStringList> rows = {{"a", "b"}, {"", "中文"}};
    const QString text = GridClipboardText::Build(rows);
    QCOMPARE(text, QString("a\tb\r\n\t中文\r\n"));
    QCOMPARE(GridClipboardText::Parse(text), rows);
    QCOMPARE(GridClipboardText::Parse(QString("x\ny") + QChar(0)),
             QList<QStringList>({{"x"}, {"y"}}));
    QCOMPARE(GridClipboardText::Parse(""), QList<QStringList>());
}

// Texts of any length and any characters draw without trouble.
void tst_GridModel::drawsAnyText() {
    CGridCtrl grid(4, 3, 1, 1);
    grid.resize(300, 200);
    grid.SetCellText(1, 1, QString(200000, QChar(0x6C49)));
    grid.SetCellText(
        1, 2, QString::fromUtf8("表情 😀👍🏽 𠀀 \xE2\x80\xAE 反向 \t tab \r\n 换行"));
    grid.SetCellText(2, 1, QString(QChar(0xD800))); // a lone surrogate
    grid.SetCellFormat(2, 2, DT_WORDBREAK);
    grid.SetCellText(2, 2, QString(5000, 'w') + "\n" + QString(3000, ' '));
    grid.SetSortColumn(1);
    grid.SetSelectedRange(1, 1, 2, 2);
    const QImage image = grid.grab().toImage();
    QVERIFY(!image.isNull());
    // The long text of cell (1, 1) was drawn: its cell is not plain background.
    const QRect rect = grid.GetCellRect(1, 1).translated(grid.viewport()->pos());
    QVERIFY(image.pixelColor(rect.center()) != image.pixelColor(rect.center() + QPoint(0, 60)));
    QVERIFY(grid.AutoSizeColumn(1));
    QVERIFY(grid.GetColumnWidth(1) > 1000);
}

QTEST_MAIN(tst_GridModel)
#include "tst_gridmodel.moc"
