#include "queries/CSaleInQueryDlg.h"

CSaleInQueryDlg::CSaleInQueryDlg(QWidget* parent)
    : CSaleQueryDlg(SaleQueryKind::SaleIn(), parent) {}
