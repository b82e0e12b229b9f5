#pragma once

#include <QString>
#include <QStringList>

// Maps the font families the program names ("微软雅黑", "宋体", "楷体_GB2312") to installed
// CJK fonts and makes "微软雅黑" the program's font.
void SetupFonts();

// The family that stands for "微软雅黑" here: the first of its substitutes that is installed,
// or "微软雅黑" itself when none is (or when it is installed under its own name). Widgets and
// pictures drawn with it skip the substitution lookup that a missing family costs.
QString UiFontFamily();
