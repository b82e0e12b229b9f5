#pragma once

#include <QString>
#include <QStringList>

// Searches by the beginning of a text that an index can serve on every engine. "oddnum LIKE
// '2025%'" cannot use an ordinary index where LIKE ignores case (SQLite); the same rows are
// "oddnum >= ? AND oddnum < ?" with the two ends of PrefixRange("2025").

// The texts that begin with a prefix, as a half-open range: low <= text < high in code point
// order (the order of the engines' binary comparison of UTF-8). high is the first text after
// all of them: the prefix with its last character raised by one ("2025" -> "2026",
// "202512" -> "202513"); a null high means no upper end (a prefix of only U+10FFFF).
struct TextRange {
    QString low;
    QString high;
};
TextRange PrefixRange(const QString& prefix);

// The four-digit years with which the document numbers of a table ("saleout", "salein" or
// "entry") begin, in ascending order; numbers that do not begin with four digits give none.
// One index seek per distinct four-character beginning, instead of reading every row.
// Raises CDbException on a database error or an unknown table.
QStringList YearsInTable(const QString& table);
