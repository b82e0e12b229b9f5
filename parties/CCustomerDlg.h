#pragma once

#include "parties/CPartyDlg.h"

// "客户管理": the shop's customers (table customer).
class CCustomerDlg : public CPartyDlg {
    Q_OBJECT
  public:
    explicit CCustomerDlg(QWidget* parent = nullptr);
};
