#pragma once

#include <QByteArray>
#include <QString>

// Where raw printer bytes go: a device file (/dev/usb/lp0, or any file) when the text is a
// path, otherwise a network printer's host with its raw port ("192.168.1.30", "pos:9100").
struct PrinterPort {
    bool network = false;
    QString path;
    QString host;
    quint16 port = 9100;

    static PrinterPort Parse(const QString& text);
};

// Sends the bytes; the empty text when all arrived at the port, otherwise the reason.
QString SendToPrinterPort(const QString& target, const QByteArray& bytes, int timeoutMs = 5000);
