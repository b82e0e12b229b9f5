#pragma once

#include "documents/CSaleDocDlg.h"

// 销售出库: a sale to a customer; saving lowers the stock of the products sold.
class CSaleOutDlg : public CSaleDocDlg {
    Q_OBJECT
  public:
    explicit CSaleOutDlg(QWidget* parent = nullptr);
};
