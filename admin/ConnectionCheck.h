#pragma once

#include <QString>

// `Harbor --check`: connects exactly as start-up does, from the Lanset.ini at lansetPath (local
// file or LAN server), and tells in one line where the data is, or why it cannot be reached.
struct ConnectionCheck {
    bool ok = false;
    QString line; // "PostgreSQL 服务器 192.168.1.20, 数据库版本 1, 商品 120 种" or the reason
};

ConnectionCheck CheckConnection(const QString& lansetPath);

// The command: prints the line, returns 0 or 1.
int CheckConnectionCommand(const QString& lansetPath);

// `Harbor --lan-password [PASSWORD]`: keeps the server's password this shop chose at setup in
// this workstation's settings (none: back to the program's own).
int LanPasswordCommand(const QString& password);
