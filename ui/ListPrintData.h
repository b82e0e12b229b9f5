#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The texts of one printed list, as a window hands it to the home view.
// Kinds: 1 a sales document or the detail of a queried one, 2 a stock-in document,
// 3 a sales or sales-return query list, 4 the stock-in query list.
//
// Slots per kind (header texts / summary texts / column arrays):
//   1: 3 (left, centre, right) / 5 / 10, the columns of the sales grid
//   2: 3 (left, centre, right) / 2 / 7, the columns of the stock-in grid
//   3: 4 (first line; then left, centre, right) / 0 / 7, the list grid's columns 1 to 7
//   4: 2 (left, right) / 0 / 5, the list grid's columns 1 to 5
// Column k counts from 1 as in the source grid; row 0 of every column is its header.
class ListPrintData {
  public:
    explicit ListPrintData(int kind = 1);

    int Kind() const { return m_nKind; }
    static int HeadCount(int kind);
    static int SumCount(int kind);
    static int ColumnCount(int kind);

    // Empties every text and sizes the slots for the kind; no rows.
    void Clear();
    // Sets the row count (header row included) and sizes every column to it.
    void SetRowCount(int rows);
    // Column from 1, row from 0 (the header). Outside the slots: ignored / empty text.
    void SetCell(int column, int row, const QString& text);
    QString Cell(int column, int row) const;
    void SetHead(int index, const QString& text);
    QString Head(int index) const;
    void SetSum(int index, const QString& text);
    QString Sum(int index) const;

    QString m_strListTitle;
    QStringList m_strHead;
    QStringList m_strSum;
    int m_nListRows = 0;
    QList<QStringList> m_aColumn; // m_aColumn[k - 1] is column k

  private:
    int m_nKind;
};
