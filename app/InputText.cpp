#include "app/InputText.h"

bool HasControlCharacters(const QString& text) {
    for (const QChar c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            continue;
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

QString NameProblem(const QString& field, const QString& text) {
    if (text.trimmed().isEmpty())
        return QStringLiteral("%1不能为空").arg(field);
    if (HasControlCharacters(text))
        return QStringLiteral("%1中有不能保存的控制字符,请改正").arg(field);
    return QString();
}

QString OptionalNameProblem(const QString& field, const QString& text) {
    if (text.isEmpty())
        return QString();
    if (text.trimmed().isEmpty())
        return QStringLiteral("%1不能只有空格,请改正或清空").arg(field);
    return NameProblem(field, text);
}
