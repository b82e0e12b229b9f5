#include "app/SqlText.h"

QString SqlEscape(const QString& value) {
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return escaped;
}

QString SqlLikeEscape(const QString& value) {
    QString escaped;
    escaped.reserve(value.size() + 4);
    for (QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return SqlEscape(escaped);
}

QString SqlFormat(const char* format, const QStringList& args) {
    const QString fmt = QString::fromUtf8(format);
    QString out;
    out.reserve(fmt.size() + 32);
    int next = 0;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt.at(i);
        if (c != QLatin1Char('%') || i + 1 >= fmt.size()) {
            out += c;
            continue;
        }
        const QChar spec = fmt.at(i + 1);
        if (spec == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
        } else if (spec == QLatin1Char('s')) {
            Q_ASSERT_X(next < args.size(), "SqlFormat", "too few arguments");
            out += next < args.size() ? SqlEscape(args.at(next)) : QString();
            ++next;
            ++i;
        } else {
            out += c;  // not a conversion of ours: keep it as it stands
        }
    }
    Q_ASSERT_X(next == args.size(), "SqlFormat", "too many arguments");
    return out;
}
