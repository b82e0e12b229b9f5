#include "receipt/PrinterPort.h"

#include <QFile>
#include <QTcpSocket>

PrinterPort PrinterPort::Parse(const QString& text) {
    PrinterPort port;
    const QString target = text.trimmed();
    if (target.isEmpty() || target.contains(QLatin1Char('/')) ||
        target.contains(QLatin1Char('\\'))) {
        port.path = target;
        return port;
    }
    port.network = true;
    port.host = target;
    const qsizetype colon = target.lastIndexOf(QLatin1Char(':'));
    // One colon is host:port; an IPv6 address has several and no port.
    if (colon > 0 && target.count(QLatin1Char(':')) == 1) {
        bool ok = false;
        const uint number = target.mid(colon + 1).toUInt(&ok);
        if (ok && number > 0 && number <= 65535) {
            port.host = target.left(colon);
            port.port = quint16(number);
        }
    }
    return port;
}

namespace {

QString SendToFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty())
        return QStringLiteral("没有设置小票打印机");
    QFile device(path);
    if (!device.open(QIODevice::WriteOnly))
        return QStringLiteral("不能打开小票打印机 %1: %2").arg(path, device.errorString());
    if (device.write(bytes) != bytes.size() || !device.flush())
        return QStringLiteral("写入小票打印机 %1 失败: %2").arg(path, device.errorString());
    return QString();
}

QString SendToHost(const PrinterPort& port, const QByteArray& bytes, int timeoutMs) {
    const QString where = QStringLiteral("%1:%2").arg(port.host).arg(port.port);
    QTcpSocket socket;
    socket.connectToHost(port.host, port.port);
    if (!socket.waitForConnected(timeoutMs))
        return QStringLiteral("连接小票打印机 %1 失败: %2").arg(where, socket.errorString());
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = socket.write(bytes.constData() + written, bytes.size() - written);
        if (n < 0)
            break;
        written += n;
    }
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(timeoutMs)) {
    }
    if (written != bytes.size() || socket.bytesToWrite() > 0)
        return QStringLiteral("发送到小票打印机 %1 失败: %2").arg(where, socket.errorString());
    socket.disconnectFromHost();
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return QString();
}

} // namespace

QString SendToPrinterPort(const QString& target, const QByteArray& bytes, int timeoutMs) {
    const PrinterPort port = PrinterPort::Parse(target);
    return port.network ? SendToHost(port, bytes, timeoutMs) : SendToFile(port.path, bytes);
}
