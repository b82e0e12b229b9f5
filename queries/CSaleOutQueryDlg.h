#pragma once

#include "queries/CSaleQueryDlg.h"

// 销售出库查询 (sales-out documents).
class CSaleOutQueryDlg : public CSaleQueryDlg {
    Q_OBJECT
  public:
    explicit CSaleOutQueryDlg(QWidget* parent = nullptr);
};
