#pragma once

#include <QString>
#include <QStringList>

// Builds statement text from a printf-style format in which every argument is text.
// Each "%s" takes the next argument with its single quotes doubled, "%%" is a literal "%".
// Example: SqlFormat("SELECT mc FROM customer WHERE pinyin LIKE '%%%s%%'", {typed})
QString SqlFormat(const char* format, const QStringList& args);

// A value with its single quotes doubled, ready to stand between quotes in a statement.
QString SqlEscape(const QString& value);

// A value for a LIKE pattern: besides doubling quotes, its own "%", "_" and "\" match only
// themselves. Use it for text the user typed that goes into a LIKE pattern.
QString SqlLikeEscape(const QString& value);
