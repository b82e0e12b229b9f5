// Shows a grid as the document dialogs build it: a header row, a line-number column, editable
// cells and a combo column. With --grab FILE it saves a picture of itself and exits.
#include "grid/CGridCellCombo.h"
#include "grid/CGridCtrl.h"
#include "ui/FontSetup.h"

#include <QApplication>
#include <QMainWindow>
#include <QPixmap>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>

namespace {

const QStringList Headers = {"序号", "商品名称", "规格", "数量", "单价", "金额", "付款状态"};
const QStringList States = {"结清", "未结", "欠款"};

struct Line {
    const char* name;
    const char* spec;
    const char* quantity;
    const char* price;
    const char* state;
};

const Line Lines[] = {
    {"电线-BV铜芯线-2.5平方", "100米/卷", "3", "268.0000", "结清"},
    {"开关-单开单控-白色", "10个/盒", "12", "8.5000", "未结"},
    {"插座-五孔-86型", "10个/盒", "20", "9.8000", "结清"},
    {"水管-PPR热水管-20mm", "4米/根", "15", "12.6000", "欠款"},
    {"螺丝-十字自攻螺丝-M4×25", "500个/盒", "2", "35.0000", "结清"},
    {"LED灯泡-E27螺口-9W暖白光超长名称示例", "1个/只", "40", "6.2000", "未结"},
    {"胶带-电工绝缘胶带-黑色", "10卷/筒", "5", "15.0000", "已退货"},
};

void FillGrid(CGridCtrl* grid) {
    grid->SetColumnCount(Headers.size());
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->ClearSelection();
    grid->SetSortColumn(-1);
    grid->SetListMode(true);
    grid->SetFixedColumnSelection(false);
    grid->SetTrackFocusCell(false);
    grid->SetGridBkColor(QColor(255, 255, 255));
    grid->SetSingleRowSelection(true);
    const int widths[] = {44, 250, 90, 60, 90, 90, 90};
    for (int c = 0; c < Headers.size(); ++c) {
        grid->SetCellText(0, c, Headers[c]);
        grid->SetCellFormat(0, c, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        grid->SetColumnWidth(c, widths[c]);
    }
    grid->SetRowHeight(0, grid->GetDefCellHeight() + 4);
    for (const Line& line : Lines) {
        const int row = grid->AppendRow(QString::number(grid->GetRowCount()));
        grid->SetCellFormat(row, 0, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        grid->SetCellText(row, 1, QString::fromUtf8(line.name));
        grid->SetCellText(row, 2, QString::fromUtf8(line.spec));
        grid->SetCellText(row, 3, QString::fromUtf8(line.quantity));
        grid->SetCellText(row, 4, QString::fromUtf8(line.price));
        const double amount =
            QString::fromUtf8(line.quantity).toDouble() * QString::fromUtf8(line.price).toDouble();
        grid->SetCellText(row, 5, QString::number(amount, 'f', 2));
        for (int c : {3, 4, 5})
            grid->SetCellFormat(row, c, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        grid->SetCellType<CGridCellCombo>(row, 6);
        grid->SetComboOptions(row, 6, States);
        grid->SetCellText(row, 6, QString::fromUtf8(line.state));
        grid->SetCellReadOnly(row, 5);
        grid->SetCellReadOnly(row, 2);
    }
    grid->SetModified(false);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    SetupFonts();
    QString grabFile;
    for (int i = 1; i + 1 < argc; ++i)
        if (QString::fromLocal8Bit(argv[i]) == QLatin1String("--grab"))
            grabFile = QString::fromLocal8Bit(argv[i + 1]);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("表格控件演示"));
    auto* grid = new CGridCtrl(&window);
    window.setCentralWidget(grid);
    FillGrid(grid);
    QObject::connect(grid, &CGridCtrl::endEdit, &window, [&](int row, int col, CGridResult*) {
        if (col == 3 || col == 4) {
            const double amount =
                grid->GetCellText(row, 3).toDouble() * grid->GetCellText(row, 4).toDouble();
            grid->SetCellText(row, 5, QString::number(amount, 'f', 2));
        }
        window.statusBar()->showMessage(QStringLiteral("第 %1 行第 %2 列：%3")
                                            .arg(row)
                                            .arg(col)
                                            .arg(grid->GetCellText(row, col)));
    });
    window.resize(780, 300);
    window.show();

    if (!grabFile.isEmpty()) {
        grid->SetFocusCell(2, 1);
        grid->SetSelectedRange(2, 1, 2, Headers.size() - 1);
        QTimer::singleShot(100, &window, [&] {
            const bool ok = window.grab().save(grabFile);
            std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(grabFile));
            app.exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
