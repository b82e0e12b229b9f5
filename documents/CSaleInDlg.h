#pragma once

#include "documents/CDocumentDlg.h"

// 销售退货: goods a customer brings back; saving raises the stock of the products returned.
class CSaleInDlg : public CDocumentDlg {
    Q_OBJECT
  public:
    explicit CSaleInDlg(QWidget* parent = nullptr);
};
