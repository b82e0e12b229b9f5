#include "parties/CCustomerDlg.h"

CCustomerDlg::CCustomerDlg(QWidget* parent) : CPartyDlg(Kind::Customer, parent) {}
