#pragma once

#include "parties/CPartyDlg.h"

// "供货商管理": the shop's suppliers (table supplier).
class CSupplierDlg : public CPartyDlg {
    Q_OBJECT
  public:
    explicit CSupplierDlg(QWidget* parent = nullptr);
};
