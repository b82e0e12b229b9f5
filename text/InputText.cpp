#include "text/InputText.h"

namespace {

bool HasControlCharactersBut(const QString& text, bool lineBreaks) {
    for (const QChar c : text) {
        if (c == QLatin1Char('\t'))
            continue;
        if (lineBreaks && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            continue;
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

QString ControlCharacterMessage(const QString& field) {
    return QStringLiteral("%1中有不能保存的控制字符,请改正").arg(field);
}

} // namespace

bool HasControlCharacters(const QString& text) {
    return HasControlCharactersBut(text, true);
}

QString TextProblem(const QString& field, const QString& text, bool multiLine) {
    return HasControlCharactersBut(text, multiLine) ? ControlCharacterMessage(field) : QString();
}

QString NameProblem(const QString& field, const QString& text) {
    if (text.trimmed().isEmpty())
        return QStringLiteral("%1不能为空").arg(field);
    if (HasControlCharacters(text))
        return ControlCharacterMessage(field);
    return QString();
}

QString OptionalNameProblem(const QString& field, const QString& text) {
    if (text.isEmpty())
        return QString();
    if (text.trimmed().isEmpty())
        return QStringLiteral("%1不能只有空格,请改正或清空").arg(field);
    return NameProblem(field, text);
}
