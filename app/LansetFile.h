#pragma once

#include <QByteArray>
#include <QString>

// The one-line Lanset.ini: mode flag, "-", then "\\" + host address + "\Harbor\Harbor.accdb".

inline constexpr int kLansetTailLength = 20;  // "\" + "Harbor\Harbor.accdb"

// The content the LAN dialog writes for a mode and a host address (first octet highest).
QByteArray FormatLanset(int mode, quint32 hostIp);

// The connection string that start-up builds from the file's content: "0" local, "1" LAN with
// the text after the hyphen as data source, anything else empty.
QString ConnectionStringFromLanset(const QByteArray& content);

// What the LAN dialog loads from the file's content.
struct LansetSetting {
    int mode = 0;
    quint32 hostIp = 0;
};
LansetSetting ParseLansetForDialog(const QByteArray& content);

QString FormatIpAddress(quint32 hostIp);
// A dotted IPv4 address; false for anything else.
bool ParseIpAddress(const QString& text, quint32* hostIp);

// The file beside the program.
QString LansetPath();
