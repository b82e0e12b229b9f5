#include "documents/CSaleInDlg.h"

CSaleInDlg::CSaleInDlg(QWidget* parent) : CDocumentDlg(DocumentForm::SaleIn(), parent) {}
