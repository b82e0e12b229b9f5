#include "documents/CEntryDlg.h"

CEntryDlg::CEntryDlg(QWidget* parent) : CDocumentDlg(DocumentForm::Entry(), parent) {}
