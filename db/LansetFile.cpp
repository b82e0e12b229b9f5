#include "db/LansetFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include "db/ConnectionString.h"
#include "db/DataFolder.h"

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
        if (part.isEmpty() || part.size() > 3)
            return false;
        uint octet = 0;
        for (QChar c : part) {
            if (c < u'0' || c > u'9')
                return false;
            octet = octet * 10 + (c.unicode() - u'0');
        }
        if (octet > 255)
            return false;
        value = (value << 8) | octet;
    }
    *hostIp = value;
    return true;
}

bool ParseHostAddress(const QString& text, quint32* hostIp, int* port) {
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    int number = 0;
    if (colon >= 0) {
        const QString digits = trimmed.mid(colon + 1);
        if (digits.isEmpty() || digits.size() > 5)
            return false;
        for (QChar c : digits) {
            if (c < u'0' || c > u'9')
                return false;
            number = number * 10 + (c.unicode() - u'0');
        }
        if (number < 1 || number > 65535)
            return false;
    }
    if (!ParseIpAddress(colon >= 0 ? trimmed.left(colon) : trimmed, hostIp))
        return false;
    *port = number;
    return true;
}

QString FormatHostAddress(quint32 hostIp, int port) {
    const QString address = FormatIpAddress(hostIp);
    return port > 0 ? QStringLiteral("%1:%2").arg(address).arg(port) : address;
}

QByteArray FormatLanset(int mode, quint32 hostIp, int port) {
    const QString content = QStringLiteral("%1-\\\\%2\\Harbor\\Harbor.accdb")
                                .arg(mode)
                                .arg(FormatHostAddress(hostIp, port));
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
        setting.mode = text.at(0) == QLatin1Char('1') ? 1 : 0; // the radio group knows 0 and 1 only
    if (!ParseHostAddress(text.mid(4), &setting.hostIp, &setting.port)) {
        setting.hostIp = 0xFFFFFFFFu;
        setting.port = 0;
    }
    return setting;
}

QString LansetPath() {
    return DataFolder() + QStringLiteral("/Lanset.ini");
}

LansetRead ReadLansetFile(const QString& path, QByteArray* content) {
    const QFileInfo info(path);
    if (!info.exists())
        return LansetRead::Missing;
    // A pipe or device could block or never end: only a plain file is read.
    if (!info.isFile())
        return LansetRead::Unreadable;
    if (info.size() > kLansetMaxSize)
        return LansetRead::TooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LansetRead::Unreadable;
    // The file may have grown since it was looked at.
    const QByteArray bytes = file.read(kLansetMaxSize + 1);
    if (bytes.size() > kLansetMaxSize)
        return LansetRead::TooLarge;
    if (file.error() != QFileDevice::NoError)
        return LansetRead::Unreadable;
    *content = bytes;
    return LansetRead::Ok;
}

QString LansetReadProblem(LansetRead result, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    switch (result) {
    case LansetRead::Ok:
        return QString();
    case LansetRead::Missing:
        return QStringLiteral("找不到网络设置文件%1").arg(shown);
    case LansetRead::Unreadable:
        return QStringLiteral("不能读取网络设置文件%1").arg(shown);
    case LansetRead::TooLarge:
        return QStringLiteral("网络设置文件%1大于%2字节,没有读取").arg(shown).arg(kLansetMaxSize);
    }
    return QString();
}

bool WriteLansetFile(const QString& path, const QByteArray& content, QString* error) {
    const QFileInfo info(path);
    // The new file replaces the old one by a rename, which a read-only file would not stop.
    if (info.exists() && (!info.isFile() || !info.isWritable())) {
        *error = QStringLiteral("文件不可写");
        return false;
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
