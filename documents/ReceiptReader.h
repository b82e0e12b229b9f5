#pragma once

#include <QString>

#include "documents/DocumentForm.h"
#include "receipt/ReceiptDocument.h"

// The receipt of the document stored under oddnum in the kind's table, with the shop's name,
// address and phone from 公司信息 (left out unless exactly one row is kept there). False when
// nothing is stored under the number. Raises CDbException; callers run it in RunDbRead.
bool ReadReceipt(const DocumentForm& kind, const QString& oddnum, ReceiptDocument* receipt);

// The sales document kind of a table name (saleout or salein).
DocumentForm SaleFormOfTable(const QString& table);
