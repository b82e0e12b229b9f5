#include "shell/AppLook.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

#include "ui/CommandIds.h"

namespace {

const char* const kOrganisation = "应用程序向导生成的本地应用程序";
const char* const kLookKey = "ApplicationLook";

} // namespace

AppLookColours ColoursForLook(unsigned look) {
    switch (look) {
    case ID_VIEW_APPLOOK_WIN_2000:
    case ID_VIEW_APPLOOK_OFF_XP:
    case ID_VIEW_APPLOOK_WIN_XP:
    case ID_VIEW_APPLOOK_OFF_2003:
    case ID_VIEW_APPLOOK_VS_2005:
    case ID_VIEW_APPLOOK_VS_2008:
        return {QColor(236, 233, 216), QColor(172, 168, 153), QColor(0, 0, 0)};
    case ID_VIEW_APPLOOK_OFF_2007_BLACK:
        return {QColor(83, 83, 83), QColor(40, 40, 40), QColor(255, 255, 255)};
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
        return {QColor(233, 236, 241), QColor(165, 172, 181), QColor(32, 32, 48)};
    case ID_VIEW_APPLOOK_OFF_2007_AQUA:
        return {QColor(214, 236, 238), QColor(120, 170, 180), QColor(16, 56, 64)};
    case ID_VIEW_APPLOOK_WINDOWS_7:
        return {QColor(245, 246, 247), QColor(182, 186, 191), QColor(30, 57, 91), true};
    default:
        return {QColor(219, 230, 244), QColor(141, 178, 227), QColor(21, 66, 139)};
    }
}

namespace {

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& colour) {
    return 0.2126 * Linear(colour.red()) + 0.7152 * Linear(colour.green()) +
           0.0722 * Linear(colour.blue());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor BackgroundForWhiteText(const QColor& colour) {
    QColor c = colour;
    while (ContrastRatio(Qt::white, c) < 4.5 && c.value() > 0)
        c = c.darker(110);
    return c;
}

unsigned LoadApplicationLook() {
    QSettings settings(QString::fromUtf8(kOrganisation), QStringLiteral("Harbor"));
    return settings.value(QLatin1String(kLookKey), ID_VIEW_APPLOOK_OFF_2007_BLUE).toUInt();
}

void SaveApplicationLook(unsigned look) {
    QSettings settings(QString::fromUtf8(kOrganisation), QStringLiteral("Harbor"));
    settings.setValue(QLatin1String(kLookKey), look);
    settings.sync();
}
