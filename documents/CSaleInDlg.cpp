#include "documents/CSaleInDlg.h"

CSaleInDlg::CSaleInDlg(QWidget* parent) : CSaleDocDlg(SaleDocKind::SaleIn(), parent) {}
