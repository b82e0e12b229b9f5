#pragma once

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

// The rows of a table dialog (customers, suppliers, employees) against the records of its
// table. The tables have no key column, so a grid row knows its record by the values the record
// held when the row was loaded or last saved. Records with equal values cannot be told apart
// and are taken in table order.

// One grid row: the texts shown and, for a row that stands for a record, that record's values.
struct TableRow {
    QStringList values;
    std::optional<QStringList> stored;
};

// For each row, the index in records of the record it stands for: the first record holding
// exactly the stored values that no earlier row has taken; -1 for a row without stored values
// or whose record is gone.
std::vector<int> MatchRowsToRecords(const std::vector<TableRow>& rows,
                                    const QList<QStringList>& records);

// The first row that cannot be saved because its name (the first value) is empty, or -1.
// A row that stands for a record needs a name; an added row that is still blank is left out
// of the save and needs none.
int FirstNamelessRow(const std::vector<TableRow>& rows);

// An added row with nothing typed into it: the save leaves it out.
bool IsBlankAddedRow(const TableRow& row);
