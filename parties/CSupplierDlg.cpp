#include "parties/CSupplierDlg.h"

CSupplierDlg::CSupplierDlg(QWidget* parent) : CPartyDlg(Kind::Supplier, parent) {}
