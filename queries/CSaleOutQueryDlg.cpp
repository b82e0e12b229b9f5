#include "queries/CSaleOutQueryDlg.h"

CSaleOutQueryDlg::CSaleOutQueryDlg(QWidget* parent)
    : CSaleQueryDlg(SaleQueryKind::SaleOut(), parent) {}
