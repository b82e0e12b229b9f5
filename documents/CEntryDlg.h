#pragma once

#include "documents/CDocumentDlg.h"

// 采购入库: goods received from a supplier; saving raises the stock of the products received.
// The number is drawn for the delivery date.
class CEntryDlg : public CDocumentDlg {
    Q_OBJECT
  public:
    explicit CEntryDlg(QWidget* parent = nullptr);
};
