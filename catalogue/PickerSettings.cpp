#include "catalogue/PickerSettings.h"

#include <QSettings>

namespace {

const char* const kOrganisation = "应用程序向导生成的本地应用程序";
const char* const kSingleMatchKey = "Picker/SingleMatchAtOnce";

QSettings Settings() {
    return QSettings(QString::fromUtf8(kOrganisation), QStringLiteral("Harbor"));
}

} // namespace

bool PickSingleMatchAtOnce() {
    return Settings().value(QLatin1String(kSingleMatchKey), true).toBool();
}

void SetPickSingleMatchAtOnce(bool on) {
    Settings().setValue(QLatin1String(kSingleMatchKey), on);
}
