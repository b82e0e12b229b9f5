#pragma once

#include <QColor>
#include <QString>

// The visual styles of the main window, by their command values 205 to 219.
struct AppLookColours {
    QColor face;
    QColor border;
    QColor text;
    bool windows7 = false;
};

AppLookColours ColoursForLook(unsigned look);

// Contrast ratio of two colours as WCAG defines it: 1 (same luminance) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// The colour darkened (or left) until white text on it has a contrast of at least 4.5.
QColor BackgroundForWhiteText(const QColor& colour);

// ApplicationLook in the per-user settings; 215 (Office 2007 blue) when there is none.
unsigned LoadApplicationLook();
void SaveApplicationLook(unsigned look);
