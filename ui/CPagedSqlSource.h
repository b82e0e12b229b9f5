#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariantList>

#include "grid/CGridRowSource.h"

class QWidget;

// What a long read-only list shows: some columns of one table's rows that a condition picks.
struct PagedQuery {
    QString columns;     // the shown columns in grid order, after the row number: "name,code"
    QString table;       // "property"
    QString where;       // condition with "?" for values; empty for every row
    QVariantList values; // one per "?" of where
    QString sums;        // optional totals, one expression per shown column: "'',SUM(x)"
    // The order of the rows and what a page goes on after: empty for the table's row id. For
    // a list of one row per key (grouped), the columns are aggregates of the key's rows.
    QString key;
    bool grouped = false;
    // Grouped totals read one row per key of these columns: "oddnum,freceivable".
    QString sumsOver;
};

// A list read from the database a page at a time as the grid paints it, in the order the rows
// were stored (or of their key). The rows are counted first; then each page is one short statement
// that goes on after the last row of the page before it (or, for a jump of the scroll bar, skips to
// the page), read to its end at once: no statement and no read transaction stays open between
// pages. The first column of each row is its number, from 1. A change by another window or
// workstation shows in the pages read after it; the count stays until the list is read again.
class CPagedSqlSource : public CGridRowSource {
  public:
    // Counts the rows. Raises CDbException. A failed page read shows a message naming what
    // on messageParent.
    CPagedSqlSource(PagedQuery query, QWidget* messageParent, QString what);

    int RowCount() const override { return m_nRows; }
    bool ReadRows(int first, int count, QList<QStringList>& rows) override;
    bool ReadRowsQuietly(int first, int count, QList<QStringList>& rows, QString& error) override;
    QStringList Sums() override;
    // The same without a message: raises CDbException.
    void Read(int first, int count, QList<QStringList>& rows);
    // The totals, one text per grid column (the number column's empty). Raises CDbException.
    QStringList ReadSums();
    // Where the row of a key stands in the list (from 0), or -1 when the list does not hold it.
    // Raises CDbException.
    int RowOfKey(const QVariant& key);

    // The statements, for the given row key column (rowid, harbor_id, or the query's key).
    static QString CountSql(const PagedQuery& query);
    // A page of count rows: after a row key (a "?" more) or after skipping offset rows.
    static QString PageSql(const PagedQuery& query, const QString& keyColumn, bool afterKey,
                           int count, int offset);

  private:
    static constexpr int kMaxKnownKeys = 4096;

    PagedQuery m_query;
    QPointer<QWidget> m_pParent;
    QString m_strWhat;
    int m_nRows = 0;
    QHash<int, QVariant> m_keyBefore; // row index -> key of the row just before it
};
