#include "db/SqlText.h"

QString LikeEscape(const QString& typed) {
    QString escaped;
    escaped.reserve(typed.size() + 4);
    for (QChar c : typed) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

QString LikeContains(const QString& typed) {
    return QLatin1Char('%') + LikeEscape(typed) + QLatin1Char('%');
}

QString LikeStartsWith(const QString& typed) {
    return LikeEscape(typed) + QLatin1Char('%');
}

QString RepairText(const QString& text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    // Most texts are sound: copy only when a bad unit is found.
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            break;
    }
    if (i == n)
        return text;
    QString repaired = text.left(i);
    repaired.reserve(n);
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            repaired += c;
            repaired += text.at(++i);
        } else {
            repaired += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
        }
    }
    return repaired;
}

QString SqlValueText(const QVariant& value) {
    if (value.isNull())
        return QString();
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float) {
        QString text = QString::number(value.toDouble(), 'f', 6);
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
        }
        return text;
    }
    return value.toString();
}

QString CentsSum(const QString& column) {
    return QStringLiteral("SUM(ROUND(%1*100-(-0.000001)))").arg(column);
}
