#pragma once

// Maps the font families the program names ("微软雅黑", "宋体", "楷体_GB2312") to installed
// CJK fonts and makes "微软雅黑" the program's font.
void SetupFonts();
