#pragma once

#include "documents/CDocumentDlg.h"

// 销售出库: a sale to a customer; saving lowers the stock of the products sold.
class CSaleOutDlg : public CDocumentDlg {
    Q_OBJECT
  public:
    explicit CSaleOutDlg(QWidget* parent = nullptr);
};
