#pragma once

#include <QString>

// Empty when the text may be stored as a name or a code (a customer, a product level, an
// employee, a document's party): not empty, not only blanks, and no control characters other
// than tab and line breaks. Otherwise the message for the user, naming the field:
// "客户名称不能为空", "客户名称中有不能保存的控制字符,请改正".
QString NameProblem(const QString& field, const QString& text);

// The same for a name or code that may stay empty (an employee's number, the shop's name):
// empty passes, blanks alone do not ("工号不能只有空格,请改正或清空").
QString OptionalNameProblem(const QString& field, const QString& text);

// Whether the text holds a control character other than tab and line breaks.
bool HasControlCharacters(const QString& text);

// The rule for every text box that is stored: no control characters, except tab, and line
// breaks in a box of several lines (multiLine). Everything else is stored exactly as typed.
// Empty when the text passes, otherwise the message naming the box:
// "地址中有不能保存的控制字符,请改正".
QString TextProblem(const QString& field, const QString& text, bool multiLine = false);
