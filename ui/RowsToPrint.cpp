#include "ui/RowsToPrint.h"

#include "ui/CPagedSqlSource.h"
#include "ui/ListPrintData.h"

void CopyRowsToPrint(CPagedSqlSource& source, ListPrintData& list, int firstColumn,
                     int lastColumn) {
    constexpr int kBlock = 1000;
    const int rows = source.RowCount();
    list.SetRowCount(rows + 1);
    for (int first = 0; first < rows; first += kBlock) {
        QList<QStringList> block;
        source.Read(first, kBlock, block);
        for (int i = 0; i < block.size(); ++i)
            for (int column = firstColumn; column <= lastColumn; ++column)
                list.SetCell(column, first + i + 1, block.at(i).value(column));
    }
}
