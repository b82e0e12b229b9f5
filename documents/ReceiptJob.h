#pragma once

#include <QString>

#include "documents/DocumentForm.h"

class QWidget;

// 打印小票: prints the receipt of a stored document the way this computer's receipt settings
// say, through Qt on a page of the roll or as ESC/POS raster to a thermal printer, and tells the
// user when it could not. settledSale: a sale just settled at the counter, which opens the cash
// drawer when the settings ask for it. True when the receipt went out.
bool PrintReceipt(QWidget* parent, const DocumentForm& kind, const QString& oddnum,
                  bool settledSale);

// Receipts that print through Qt go into this PDF file instead (tests, a saved copy); the
// empty text is the printer again.
void SetReceiptOutputFile(const QString& path);
