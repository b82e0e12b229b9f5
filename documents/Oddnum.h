#pragma once

#include <QDate>
#include <QString>

#include "text/OddnumText.h"

class QWidget;

// The next number for the table ("saleout", "salein" or "entry") and date: the date's highest
// number in that table plus one (gaps are not filled), or the date followed by "001". Reads
// only; nothing is reserved until the document's first row is saved.
// When the date's last number "999" is taken, no number can be drawn: a message (exclamation
// icon, over parent) says so and the result is the empty text, on which the caller starts no
// document. The same holds for an unknown table name or an invalid date (no message).
// Raises CDbException on a database error.
QString NewOddnum(const QString& table, const QDate& date, QWidget* parent = nullptr);
