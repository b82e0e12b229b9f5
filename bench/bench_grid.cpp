// Timings of the grid with many rows: appending, scrolling to the end, painting, hit tests.
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdio>

namespace {

void Report(const char* what, const QElapsedTimer& timer) {
    std::printf("%-45s %8.1f ms\n", what, timer.nsecsElapsed() / 1e6);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    constexpr int Rows = 100000;
    constexpr int Cols = 10;

    CGridCtrl grid;
    grid.resize(900, 600);
    grid.show();
    grid.SetColumnCount(Cols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetListMode(true);

    QElapsedTimer timer;
    timer.start();
    for (int r = 1; r <= Rows; ++r) {
        const int row = grid.AppendRow(QString::number(r));
        for (int c = 1; c < Cols; ++c)
            grid.SetCellText(row, c, QStringLiteral("第%1行第%2列").arg(r).arg(c));
    }
    Report("append 100000 rows x 10 columns with texts", timer);

    timer.restart();
    grid.EnsureVisible(grid.GetRowCount() - 1, Cols - 1);
    grid.SetFocusCell(grid.GetRowCount() - 1, Cols - 1);
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
    grid.DeleteNonFixedRows();
    Report("delete every row", timer);

    std::printf("(picture %dx%d, checksum %lld)\n", picture.width(), picture.height(), found);
    return 0;
}
