#include "ui/FontSetup.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace {

const QString kUiFamily = QStringLiteral("微软雅黑");

QStringList UiSubstitutes() {
    return {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("Droid Sans Fallback")};
}

} // namespace

QString UiFontFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        if (installed.contains(kUiFamily))
            return kUiFamily;
        for (const QString& substitute : UiSubstitutes()) {
            if (installed.contains(substitute))
                return substitute;
        }
        return kUiFamily;
    }();
    return family;
}

void SetupFonts() {
    QFont::insertSubstitutions(kUiFamily, UiSubstitutes());
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("AR PL UMing CN"),
                                                        QStringLiteral("WenQuanYi Micro Hei")});
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"),
                               {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UMing CN")});
    // The installed family itself: a font named after a missing family is looked up through
    // the substitutions, and fontconfig's fallback search, each time it is first used.
    QFont font(UiFontFamily());
    font.setPointSize(10);
    QApplication::setFont(font);
}
