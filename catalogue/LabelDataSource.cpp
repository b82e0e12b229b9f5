#include "catalogue/LabelDataSource.h"

#include <QLibrary>

namespace {

// SQLConfigDataSource(hwnd, request, driver, attributes) of the ODBC installer.
using ConfigDataSourceFn = int (*)(void*, unsigned short, const char*, const char*);
constexpr unsigned short kAddUserDsn = 1; // ODBC_ADD_DSN

ConfigDataSourceFn LoadConfigDataSource() {
    for (const char* name : {"odbcinst", "libodbcinst.so.2"}) {
        QLibrary library(QString::fromLatin1(name));
        if (!library.load())
            continue;
        // The library stays loaded for the rest of the run.
        if (auto fn = reinterpret_cast<ConfigDataSourceFn>(library.resolve("SQLConfigDataSource")))
            return fn;
    }
    return nullptr;
}

} // namespace

const char* const LabelDataSource::kDriver = "SQLite3";
const char* const LabelDataSource::kName = "远航销售";

QByteArray LabelDataSource::Attributes(const QString& databasePath) {
    QByteArray block = QByteArray("DSN=") + kName;
    block.append('\0');
    block.append("Database=" + databasePath.toUtf8());
    block.append('\0');
    block.append('\0');
    return block;
}

bool LabelDataSource::Register(const QString& databasePath) {
    static const ConfigDataSourceFn configure = LoadConfigDataSource();
    if (!configure)
        return false;
    const QByteArray attributes = Attributes(databasePath);
    return configure(nullptr, kAddUserDsn, kDriver, attributes.constData()) != 0;
}
