// The plain-text form of a block of grid cells on the clipboard: cells joined by a tab, every
// row ended by a carriage return and line feed.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace GridClipboardText {

QString Build(const QList<QStringList>& rows);
// Splits clipboard text into rows of cells; accepts "\r\n", "\n" or "\r" line ends, and drops
// a trailing zero character and the empty line after the last line end.
QList<QStringList> Parse(const QString& text);

} // namespace GridClipboardText
