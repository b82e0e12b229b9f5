#include "queries/SaleQueryGrid.h"

#include "grid/CGridCtrl.h"
#include "grid/GridHeading.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

void SetupGrid(CGridCtrl* grid, const QStringList& headers, const QList<int>& widths) {
    SetPlainCentredLook(grid, kRowHeight);
    grid->SetColumnCount(static_cast<int>(headers.size()) + 1);
    grid->SetRowCount(1);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->SetRowHeight(0, kRowHeight);
    grid->SetColumnWidth(0, 25);
    for (int col = 1; col <= headers.size(); ++col) {
        grid->SetCellText(0, col, headers.at(col - 1));
        grid->SetCellFormat(0, col, kCentred);
        grid->SetColumnWidth(col, widths.at(col - 1));
    }
    grid->SetColumnResize(false);
    grid->SetRowResize(false);
}

// Appends a row with its number and the texts of columns 1, 2, ... in their formats.
int AppendRow(CGridCtrl* grid, const QStringList& texts, const QList<quint32>& formats) {
    const int row = grid->AppendRow(QString(), kRowHeight);
    grid->SetCellText(row, 0, QString::number(row));
    grid->SetCellFormat(row, 0, kCentred);
    for (int col = 1; col <= texts.size(); ++col) {
        grid->SetCellText(row, col, texts.at(col - 1));
        grid->SetCellFormat(row, col, formats.at(col - 1));
    }
    return row;
}

} // namespace

// The documents come from a row source. The number, customer and amount due stand for the
// stored document: only the amount received and the state (a drop list) are edited.
void SetupSaleListGrid(CGridCtrl* grid, const QStringList& headers) {
    SetupGrid(grid, headers, {85, 120, 130, 60, 60, 63, 60});
    grid->SetEditable(true);
    const quint32 formats[] = {kCentred, kCentred, kCentred, kCentred,
                               kRight,   kRight,   kCentred, kCentred};
    for (int col = 0; col < kListColumns; ++col)
        grid->SetColumnFormat(col, formats[col]);
    grid->SetColumnEditable(kListReceipt);
    grid->SetColumnEditable(kListState, SaleStates());
    WidenColumnFor(grid, kListOddnum, QStringLiteral("20261231999"));
    WidenColumnFor(grid, kListTime, QStringLiteral("2026-12-31 23:59:59"));
}

void ShowSaleList(CGridCtrl* grid, std::shared_ptr<CGridRowSource> documents) {
    const int rows = documents->RowCount();
    grid->SetRowSource(std::move(documents), kRowHeight);
    WidenColumnFor(grid, 0, QString::number(rows));
}

void SetupSaleDetailGrid(CGridCtrl* grid) {
    SetupGrid(grid,
              {QStringLiteral("商品名称"), QStringLiteral("条形码"), QStringLiteral("包装规格"),
               QStringLiteral("单价"), QStringLiteral("数量"), QStringLiteral("折扣"),
               QStringLiteral("金额"), QStringLiteral("件数"), QStringLiteral("备注")},
              {198, 95, 80, 45, 45, 45, 60, 45, 60});
    grid->SetEditable(false);
}

void AppendSaleDetailRow(CGridCtrl* grid, const SaleDetailLine& line) {
    AppendRow(grid,
              {line.name, line.code, line.spec, line.price, line.count, line.discount, line.total,
               line.pcs, line.remarks},
              {kCentred, kCentred, kCentred, kLeft, kLeft, kLeft, kRight, kRight, kRight});
}

void AppendReturnLinkRows(CGridCtrl* grid, const QVector<ReturnLink>& links, bool ofSale) {
    QString shown;
    for (const ReturnLink& link : links) {
        const QString document = ofSale ? link.retOddnum : link.saleOddnum;
        if (document != shown) {
            shown = document;
            SaleDetailLine title;
            if (ofSale)
                title.name = QStringLiteral("退货单%1").arg(document);
            else
                title.name = link.saleStored ? QStringLiteral("原销售单%1").arg(document)
                                             : QStringLiteral("原销售单%1(已删除)").arg(document);
            title.code = link.date.left(10);
            AppendSaleDetailRow(grid, title);
        }
        const QStringList& line = link.line; // LineKeyColumns
        AppendSaleDetailRow(grid, {line.value(0), line.value(2), line.value(3), line.value(4),
                                   line.value(5), line.value(6), line.value(7), QString(),
                                   ofSale ? QStringLiteral("退货") : QStringLiteral("原单"),
                                   line.value(1)});
    }
}
