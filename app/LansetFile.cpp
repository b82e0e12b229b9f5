#include "app/LansetFile.h"

#include <QCoreApplication>
#include <QStringList>

#include "app/ConnectionString.h"

QString FormatIpAddress(quint32 hostIp) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(hostIp >> 24)
        .arg((hostIp >> 16) & 0xFF)
        .arg((hostIp >> 8) & 0xFF)
        .arg(hostIp & 0xFF);
}

bool ParseIpAddress(const QString& text, quint32* hostIp) {
    // Only the four-part dotted form counts (inet_addr's shorter forms are not addresses here).
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    quint32 value = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const uint octet = part.toUInt(&ok, 10);
        if (!ok || octet > 255 || part.isEmpty() || part.size() > 3)
            return false;
        value = (value << 8) | octet;
    }
    *hostIp = value;
    return true;
}

QByteArray FormatLanset(int mode, quint32 hostIp) {
    const QString content = QStringLiteral("%1-\\\\%2\\Harbor\\Harbor.accdb")
                                .arg(mode)
                                .arg(FormatIpAddress(hostIp));
    return content.toLatin1();
}

QString ConnectionStringFromLanset(const QByteArray& content) {
    const QString text = QString::fromLocal8Bit(content);
    if (text.startsWith(QLatin1Char('0')))
        return LocalConnectionString();
    if (text.startsWith(QLatin1Char('1')))
        return LanConnectionString(text.mid(2));
    return QString();
}

LansetSetting ParseLansetForDialog(const QByteArray& content) {
    LansetSetting setting;
    const qsizetype n = qMax<qsizetype>(0, content.size() - kLansetTailLength);
    const QString text = QString::fromLocal8Bit(content.left(n));
    if (!text.isEmpty() && text.at(0).isDigit() && text.at(0).unicode() < 128)
        setting.mode = text.at(0) == QLatin1Char('1') ? 1 : 0;  // the radio group knows 0 and 1 only
    if (!ParseIpAddress(text.mid(4), &setting.hostIp))
        setting.hostIp = 0xFFFFFFFFu;
    return setting;
}

QString LansetPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Lanset.ini");
}
