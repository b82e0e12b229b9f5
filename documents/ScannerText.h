#pragma once

#include <QList>
#include <QString>

// The text a stock-taking scanner exports for a sales document: the employee number (one
// character), then one entry per line: "#", the ten-digit product code, ",", the quantity.
struct ScannerEntry {
    QString code;
    QString quantity;
};

struct ScannerText {
    // At least one entry, as many "#" as commas, and ten characters before every comma.
    bool wellFormed = false;
    QString employeeId; // the first character
    QList<ScannerEntry> entries;
};

// Splits a scanner text: for every comma the code is the ten characters before it and the
// quantity the text after it up to the end of its line.
ScannerText ParseScannerText(const QString& text);
