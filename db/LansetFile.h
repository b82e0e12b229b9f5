#pragma once

#include <QByteArray>
#include <QString>

// The one-line Lanset.ini: mode flag, "-", then "\\" + host address + "\Harbor\Harbor.accdb".
// A server on another port than PostgreSQL's own is named "address:port"; a file without a
// port is written exactly as before.

inline constexpr int kLansetTailLength = 20;   // "\" + "Harbor\Harbor.accdb"
inline constexpr qint64 kLansetMaxSize = 4096; // a longer file is no settings of ours

// The content the LAN dialog writes for a mode and a host address (first octet highest), with
// the server's port when it is given (0: none).
QByteArray FormatLanset(int mode, quint32 hostIp, int port = 0);

// The connection string that start-up builds from the file's content: "0" local, "1" LAN with
// the text after the hyphen as data source, anything else empty.
QString ConnectionStringFromLanset(const QByteArray& content);

// What the LAN dialog loads from the file's content.
struct LansetSetting {
    int mode = 0;
    quint32 hostIp = 0;
    int port = 0; // 0: none, the server's own
};
LansetSetting ParseLansetForDialog(const QByteArray& content);

QString FormatIpAddress(quint32 hostIp);
// Exactly four dotted decimal numbers 0 to 255 of one to three digits ("192.168.0.5"); false
// for anything else, "1.2" and the empty text included.
bool ParseIpAddress(const QString& text, quint32* hostIp);
// "address" or "address:port" (port 1 to 65535), blanks around ignored; port 0 without one.
bool ParseHostAddress(const QString& text, quint32* hostIp, int* port);
// The address as the dialog shows it: "192.168.0.5" or "192.168.0.5:5433".
QString FormatHostAddress(quint32 hostIp, int port);

// The file in the data folder (beside a portable program).
QString LansetPath();

enum class LansetRead { Ok, Missing, Unreadable, TooLarge };
// Reads the whole file. A file of more than kLansetMaxSize bytes, or anything but a plain file,
// is refused without reading it.
LansetRead ReadLansetFile(const QString& path, QByteArray* content);
// Why reading failed, for the connection-failure message; empty for Ok.
QString LansetReadProblem(LansetRead result, const QString& path);

// Replaces the content of the file, creating it when it is missing. The file holds either the
// old or the new content, never a part. False with the reason when it cannot be written (a
// read-only file stays as it is).
bool WriteLansetFile(const QString& path, const QByteArray& content, QString* error);
