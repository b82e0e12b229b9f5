#pragma once

#include <QDate>
#include <QString>

// Document numbers: the date as YYYYMMDD followed by a three-digit sequence, counted per table
// (saleout, salein, entry) and date, from "001".

// The date part of a number: the year, then the month and the day with two digits each
// (6 December 2026 gives "20261206").
QString OddnumPrefix(const QDate& date);

// The date a number was drawn for (its first eight characters), or an invalid date.
QDate OddnumDate(const QString& oddnum);
