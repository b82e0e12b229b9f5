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

// A value of a row that is stored as a name or a code: a party's name, an employee's number.
struct NameField {
    int index;     // in the row's values
    QString label; // the field for the message: "客户名称"
    bool required; // false: may stay empty (an employee without a number)
};

// Where a save of the rows would store a name that cannot be stored (blank, or holding control
// characters; see NameProblem): the row, or -1, and the message naming the field. Rows left out
// of the save and rows whose values are still those of their record are not looked at, so an
// old record can always be saved unchanged; an empty required name is FirstNamelessRow's.
int FirstBadNameRow(const std::vector<TableRow>& rows, const QList<NameField>& fields,
                    QString* message);

// The same for the other values of a row (an address, a phone number, a remark), by the rule
// of every text box (TextProblem); labels name the values in order. The row, or -1; column is
// the value's index.
int FirstBadTextRow(const std::vector<TableRow>& rows, const QStringList& labels, int* column,
                    QString* message);
