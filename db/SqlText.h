#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// Values reach the engine bound to the "?" of a statement, never spliced into its text.
// A LIKE pattern is bound as well: "WHERE pinyin LIKE ?" with LikeContains(typed). The record
// layer gives every "LIKE ?" the escape character "\", so the user's own "%", "_" and "\"
// match only themselves.

// A statement with the values for its "?", for code that builds a statement in one place and
// runs it in another.
struct SqlStatement {
    QString sql;
    QVariantList values;
};

// The user's text with "%", "_" and "\" escaped for a LIKE pattern.
QString LikeEscape(const QString& typed);
// A pattern that finds the typed text anywhere: "%" + escaped + "%".
QString LikeContains(const QString& typed);
// A pattern that finds the values that begin with the typed text: escaped + "%".
QString LikeStartsWith(const QString& typed);

// Text that is not valid UTF-16 (a lone surrogate, half of an emoji) with each bad unit
// replaced by U+FFFD, so what is stored is always valid Unicode.
QString RepairText(const QString& text);

// A column value as the program reads it: NULL as empty text, numbers in plain decimal form.
QString SqlValueText(const QVariant& value);

// The sum of a money column's number copy in whole hundredths, each row's amount rounded as
// the money texts round. The copies are written with six decimals ("%f"), so an older file's
// half cent 1.005 reads as 100.4999... hundredths: the small addition rounds it up as the
// digits of the text do (written as a subtraction: the statements' "+" joins text).
QString CentsSum(const QString& column);
