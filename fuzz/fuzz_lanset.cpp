// Lanset.ini: what start-up and the LAN dialog make of any content, and the file round trip.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "FuzzCheck.h"
#include "db/ConnectionString.h"
#include "db/LansetFile.h"

namespace {

const QString& ScratchFile() {
    static const QString path = QDir::temp().filePath(
        QStringLiteral("fuzz_lanset_%1.ini").arg(QCoreApplication::applicationPid()));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content = FuzzBytes(data, size);

    const LansetSetting setting = ParseLansetForDialog(content);
    FUZZ_CHECK(setting.mode == 0 || setting.mode == 1);
    // What the dialog writes, it reads back unchanged.
    FUZZ_CHECK(setting.port >= 0 && setting.port <= 65535);
    const QByteArray written = FormatLanset(setting.mode, setting.hostIp, setting.port);
    const LansetSetting back = ParseLansetForDialog(written);
    FUZZ_CHECK(back.mode == setting.mode && back.hostIp == setting.hostIp &&
               back.port == setting.port);
    FUZZ_CHECK(written.size() <= 45);

    const QString connection = ConnectionStringFromLanset(content);
    if (content.startsWith('0'))
        FUZZ_CHECK(connection == LocalConnectionString());
    else if (!content.startsWith('1'))
        FUZZ_CHECK(connection.isEmpty());
    else
        FUZZ_CHECK(connection.startsWith(
            QStringLiteral("Provider=Microsoft.ACE.OLEDB.12.0; Data Source=")));

    quint32 ip = 0;
    if (ParseIpAddress(QString::fromLatin1(content), &ip)) {
        quint32 again = 0;
        FUZZ_CHECK(ParseIpAddress(FormatIpAddress(ip), &again) && again == ip);
    }

    // Written whole, read whole; a file over the limit is refused and left alone. The disk is
    // slow next to the rest: one input in eight goes through it.
    if (size % 8 != 0)
        return 0;
    QString error;
    FUZZ_CHECK(WriteLansetFile(ScratchFile(), content, &error));
    QByteArray read = "untouched";
    const LansetRead result = ReadLansetFile(ScratchFile(), &read);
    if (content.size() > kLansetMaxSize) {
        FUZZ_CHECK(result == LansetRead::TooLarge && read == "untouched");
    } else {
        FUZZ_CHECK(result == LansetRead::Ok && read == content);
    }
    return 0;
}
