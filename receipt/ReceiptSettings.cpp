#include "receipt/ReceiptSettings.h"

#include <QSettings>

namespace {

const char* const kOrganisation = "应用程序向导生成的本地应用程序";
const char* const kGroup = "Receipt";

QSettings Settings() {
    return QSettings(QString::fromUtf8(kOrganisation), QStringLiteral("Harbor"));
}

} // namespace

ReceiptSettings ReceiptSettings::Load() {
    QSettings settings = Settings();
    settings.beginGroup(QString::fromLatin1(kGroup));
    const ReceiptSettings fallback;
    ReceiptSettings kept;
    // Only the two rolls there are: anything else (a hand-edited value) is the usual one.
    const int roll = settings.value("rollMm", fallback.rollMm).toInt();
    kept.rollMm = roll == 58 || roll == 80 ? roll : fallback.rollMm;
    kept.output = settings.value("output").toString() == QLatin1String("escpos") ? Output::EscPos
                                                                                 : Output::Printer;
    kept.printerName = settings.value("printer").toString();
    kept.device = settings.value("device").toString();
    kept.openDrawer = settings.value("openDrawer", fallback.openDrawer).toBool();
    return kept;
}

void ReceiptSettings::Save() const {
    QSettings settings = Settings();
    settings.beginGroup(QString::fromLatin1(kGroup));
    settings.setValue("rollMm", rollMm);
    settings.setValue("output", output == Output::EscPos ? "escpos" : "printer");
    settings.setValue("printer", printerName);
    settings.setValue("device", device);
    settings.setValue("openDrawer", openDrawer);
    settings.endGroup();
    settings.sync();
}
