#include "documents/CSaleOutDlg.h"

CSaleOutDlg::CSaleOutDlg(QWidget* parent) : CDocumentDlg(DocumentForm::SaleOut(), parent) {}
