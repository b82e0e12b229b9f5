#include "ui/ListPrintData.h"

namespace {

int Pick(int kind, int one, int two, int three, int four) {
    switch (kind) {
    case 1:
        return one;
    case 2:
        return two;
    case 3:
        return three;
    case 4:
        return four;
    default:
        return 0;
    }
}

} // namespace

ListPrintData::ListPrintData(int kind) : m_nKind(kind) {
    Clear();
}

int ListPrintData::HeadCount(int kind) {
    return Pick(kind, 3, 3, 4, 2);
}

int ListPrintData::SumCount(int kind) {
    return Pick(kind, 5, 2, 0, 0);
}

int ListPrintData::ColumnCount(int kind) {
    return Pick(kind, 10, 7, 7, 5);
}

void ListPrintData::Clear() {
    m_strListTitle.clear();
    m_strHead = QStringList(HeadCount(m_nKind));
    m_strSum = QStringList(SumCount(m_nKind));
    m_nListRows = 0;
    m_aColumn = QList<QStringList>(ColumnCount(m_nKind));
}

void ListPrintData::SetRowCount(int rows) {
    m_nListRows = qMax(0, rows);
    for (QStringList& column : m_aColumn) {
        while (column.size() < m_nListRows)
            column.append(QString());
        while (column.size() > m_nListRows)
            column.removeLast();
    }
}

void ListPrintData::SetCell(int column, int row, const QString& text) {
    if (column < 1 || column > m_aColumn.size() || row < 0 || row >= m_aColumn[column - 1].size())
        return;
    m_aColumn[column - 1][row] = text;
}

QString ListPrintData::Cell(int column, int row) const {
    if (column < 1 || column > m_aColumn.size())
        return QString();
    return m_aColumn[column - 1].value(row);
}

void ListPrintData::SetHead(int index, const QString& text) {
    if (index >= 0 && index < m_strHead.size())
        m_strHead[index] = text;
}

QString ListPrintData::Head(int index) const {
    return m_strHead.value(index);
}

void ListPrintData::SetSum(int index, const QString& text) {
    if (index >= 0 && index < m_strSum.size())
        m_strSum[index] = text;
}

QString ListPrintData::Sum(int index) const {
    return m_strSum.value(index);
}
