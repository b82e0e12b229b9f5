// What a grid in virtual mode shows below its fixed rows. The grid keeps no cells for these
// rows: it asks the source for the texts of the rows it paints, copies or hands on, a block
// at a time, and keeps only a few blocks around the view.
#pragma once

#include <QList>
#include <QStringList>

class CGridRowSource {
  public:
    virtual ~CGridRowSource() = default;

    // Rows below the fixed ones.
    virtual int RowCount() const = 0;
    // The texts of rows [first, first + count), one list per row with one text per column of
    // the grid (the fixed columns included). Fewer rows than asked for when the list ends
    // sooner. False when they cannot be read; the source has told the user why.
    virtual bool ReadRows(int first, int count, QList<QStringList>& rows) = 0;
    // The same for a reader that tells the user itself (an export): the source shows no
    // message, error says what went wrong.
    virtual bool ReadRowsQuietly(int first, int count, QList<QStringList>& rows, QString& error) {
        error.clear();
        return ReadRows(first, count, rows);
    }
    // The column totals of every row, one text per column (empty for none); empty when the
    // source has no totals or they cannot be read.
    virtual QStringList Sums() { return {}; }
};
