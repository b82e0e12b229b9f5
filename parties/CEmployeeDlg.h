#pragma once

#include "parties/CTableGridDlg.h"

// "员工管理": the shop's staff with their staff numbers (table employee). Its close box only
// hides it, so the next command shows the grid as it was left.
class CEmployeeDlg : public CTableGridDlg {
    Q_OBJECT
  public:
    explicit CEmployeeDlg(QWidget* parent = nullptr);

    CloseBox GetCloseBox() const override { return CloseBox::Hides; }
};
