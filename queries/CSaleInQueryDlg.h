#pragma once

#include "queries/CSaleQueryDlg.h"

// 销售退货查询 (sales-return documents).
class CSaleInQueryDlg : public CSaleQueryDlg {
    Q_OBJECT
  public:
    explicit CSaleInQueryDlg(QWidget* parent = nullptr);
};
