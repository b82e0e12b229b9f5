#pragma once

#include <QDate>
#include <QString>

class QWidget;

// Document numbers: the date as YYYYMMDD followed by a three-digit sequence, counted per table
// (saleout, salein, entry) and date, from "001".

// The date part of a number: the year, then the month and the day with two digits each
// (6 December 2026 gives "20261206").
QString OddnumPrefix(const QDate& date);

// The date a number was drawn for (its first eight characters), or an invalid date.
QDate OddnumDate(const QString& oddnum);

// The next number for the table ("saleout", "salein" or "entry") and date: the date's highest
// number in that table plus one (gaps are not filled), or the date followed by "001". Reads
// only; nothing is reserved until the document's first row is saved.
// When the date's last number "999" is taken, no number can be drawn: a message (exclamation
// icon, over parent) says so and the result is the empty text, on which the caller starts no
// document. The same holds for an unknown table name or an invalid date (no message).
// Raises CDbException on a database error.
QString NewOddnum(const QString& table, const QDate& date, QWidget* parent = nullptr);
