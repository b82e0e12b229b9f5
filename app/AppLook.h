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

// ApplicationLook in the per-user settings; 215 (Office 2007 blue) when there is none.
unsigned LoadApplicationLook();
void SaveApplicationLook(unsigned look);
