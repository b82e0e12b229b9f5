#pragma once

#include <QString>

// How receipts print on this computer, kept in the program's settings: the roll, and either
// through Qt to a printer or as ESC/POS raster straight to a thermal printer's device file or
// network port, with or without the cash drawer's pulse after a settled sale.
struct ReceiptSettings {
    enum class Output { Printer, EscPos };

    int rollMm = 80; // 58 or 80
    Output output = Output::Printer;
    QString printerName; // empty: the system's default printer
    QString device;      // ESC/POS: a device file (/dev/usb/lp0) or host[:port], 9100 by default
    bool openDrawer = true;

    static ReceiptSettings Load();
    void Save() const;

    bool operator==(const ReceiptSettings&) const = default;
};
