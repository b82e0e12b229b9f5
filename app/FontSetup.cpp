#include "app/FontSetup.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

void SetupFonts() {
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"),
                               {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Droid Sans Fallback")});
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Micro Hei")});
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"),
                               {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UMing CN")});
    QFont font(QStringLiteral("微软雅黑"));
    font.setPointSize(10);
    QApplication::setFont(font);
}
