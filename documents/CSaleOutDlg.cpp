#include "documents/CSaleOutDlg.h"

CSaleOutDlg::CSaleOutDlg(QWidget* parent) : CSaleDocDlg(SaleDocKind::SaleOut(), parent) {}
