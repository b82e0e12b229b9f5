// Timings of the grid with many rows.
//
// First the comparison: 100000 rows of 10 columns appended to a shown CGridCtrl, then the event
// loop drained, against a QTableWidget doing the same work; medians of 7 interleaved runs and
// their ratio. Then single timings of scrolling, painting and hit tests on the filled grid.
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPixmap>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Rows = 100000;
constexpr int Cols = 10;
constexpr int Runs = 7;

void Report(const char* what, const QElapsedTimer& timer) {
    std::printf("%-45s %8.1f ms\n", what, timer.nsecsElapsed() / 1e6);
}

// Everything the appends queued (layouts, repaints, scroll bar updates) is done.
void DrainEventLoop() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

// The texts are made once, before any clock runs: both tables get the same strings.
const std::vector<QString>& Texts() {
    static const std::vector<QString> texts = [] {
        std::vector<QString> all;
        all.reserve(std::size_t(Rows + 1) * Cols);
        for (int r = 0; r <= Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                all.push_back(c == 0 ? QString::number(r)
                                     : QStringLiteral("第%1行第%2列").arg(r).arg(c));
        return all;
    }();
    return texts;
}

const QString& CellText(int r, int c) {
    return Texts()[std::size_t(r) * Cols + c];
}

// A grid set up as the dialogs do it, shown, with a header row and a line-number column.
void SetUpGrid(CGridCtrl& grid) {
    grid.resize(900, 600);
    grid.SetColumnCount(Cols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.ClearSelection();
    grid.SetListMode(true);
    grid.SetGridBkColor(Qt::white);
    for (int c = 1; c < Cols; ++c)
        grid.SetCellText(0, c, QStringLiteral("第%1列").arg(c));
    grid.show();
    DrainEventLoop();
}

void FillGrid(CGridCtrl& grid) {
    for (int r = 1; r <= Rows; ++r) {
        const int row = grid.AppendRow(CellText(r, 0));
        for (int c = 1; c < Cols; ++c)
            grid.SetCellText(row, c, CellText(r, c));
    }
}

double TimeGrid() {
    CGridCtrl grid;
    SetUpGrid(grid);
    QElapsedTimer timer;
    timer.start();
    FillGrid(grid);
    DrainEventLoop();
    return timer.nsecsElapsed() / 1e6;
}

// The same table in a QTableWidget: a header label per column, one item per cell (the row
// number in the first).
double TimeTableWidget() {
    QTableWidget table;
    table.resize(900, 600);
    table.setColumnCount(Cols);
    QStringList labels;
    for (int c = 0; c < Cols; ++c)
        labels << QStringLiteral("第%1列").arg(c);
    table.setHorizontalHeaderLabels(labels);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.show();
    DrainEventLoop();
    QElapsedTimer timer;
    timer.start();
    for (int r = 1; r <= Rows; ++r) {
        const int row = table.rowCount();
        table.insertRow(row);
        table.setItem(row, 0, new QTableWidgetItem(CellText(r, 0)));
        for (int c = 1; c < Cols; ++c)
            table.setItem(row, c, new QTableWidgetItem(CellText(r, c)));
    }
    DrainEventLoop();
    return timer.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void CompareWithTableWidget() {
    Texts();
    std::vector<double> grid, table;
    for (int run = 0; run < Runs; ++run) {
        grid.push_back(TimeGrid());
        table.push_back(TimeTableWidget());
        std::printf("run %d: grid %8.1f ms, QTableWidget %8.1f ms\n", run + 1, grid.back(),
                    table.back());
        std::fflush(stdout);
    }
    const double g = Median(grid), t = Median(table);
    std::printf("append %d rows x %d columns and drain the event loop (median of %d runs)\n", Rows,
                Cols, Runs);
    std::printf("grid time:          %8.1f ms\n", g);
    std::printf("QTableWidget time:  %8.1f ms\n", t);
    std::printf("ratio grid/table:   %8.2f\n", g / t);
}

void SingleTimings() {
    Texts();
    CGridCtrl grid;
    SetUpGrid(grid);
    QElapsedTimer timer;
    timer.start();
    FillGrid(grid);
    DrainEventLoop();
    Report("append 100000 rows x 10 columns with texts", timer);

    timer.restart();
    grid.EnsureVisible(grid.GetRowCount() - 1, Cols - 1);
    grid.SetFocusCell(grid.GetRowCount() - 1, Cols - 1);
    DrainEventLoop();
    Report("scroll to the end", timer);

    timer.restart();
    const QPixmap picture = grid.grab();
    Report("full paint via grab()", timer);

    timer.restart();
    constexpr int Probes = 1000000;
    long long found = 0;
    const int height = grid.viewport()->height();
    for (int i = 0; i < Probes; ++i) {
        const CCellID cell = grid.GetCellFromPt(QPoint(200 + i % 500, i % height));
        found += cell.row;
    }
    Report("1000000 hit tests", timer);

    timer.restart();
    grid.SetRowHeight(Rows / 2, 40); // invalidates half of the positions
    grid.GetCellFromPt(QPoint(200, height - 5));
    grid.grab();
    Report("change one row height, hit test and paint", timer);

    timer.restart();
    for (int r = 1; r <= 1000; ++r)
        grid.SetRowHeight(r, 20 + r % 7);
    DrainEventLoop();
    Report("change 1000 row heights and drain", timer);

    timer.restart();
    grid.DeleteNonFixedRows();
    DrainEventLoop();
    Report("delete every row", timer);

    std::printf("(picture %dx%d, checksum %lld)\n", picture.width(), picture.height(), found);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (app.arguments().contains(QStringLiteral("--grid-once"))) { // for a profiler
        Texts();
        std::printf("grid %.1f ms\n", TimeGrid());
        return 0;
    }
    if (app.arguments().contains(QStringLiteral("--table-once"))) { // the suite's baseline
        Texts();
        std::printf("table %.1f ms\n", TimeTableWidget());
        return 0;
    }
    const bool onlyDetails = app.arguments().contains(QStringLiteral("--details"));
    if (!onlyDetails)
        CompareWithTableWidget();
    if (onlyDetails || app.arguments().contains(QStringLiteral("--all")))
        SingleTimings();
    return 0;
}
