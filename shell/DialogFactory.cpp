#include "shell/DialogFactory.h"

#include "catalogue/CClassDlg.h"
#include "catalogue/CPrintCodeDlg.h"
#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "parties/CCompanyinfoDlg.h"
#include "parties/CCustomerDlg.h"
#include "parties/CEmployeeDlg.h"
#include "parties/CSupplierDlg.h"
#include "queries/CAccountDlg.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CReportDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "stock/CInventoryDlg.h"
#include "stock/CStocktakeDlg.h"
#include "ui/CommandIds.h"

CWorkDialog* CreateWorkDialog(int command) {
    switch (command) {
    case ID_SALE_OUT_DLG:
        return new CSaleOutDlg;
    case ID_SALE_IN_DLG:
        return new CSaleInDlg;
    case ID_SALEOUT_QUERY_DLG:
        return new CSaleOutQueryDlg;
    case ID_SALEIN_QUERY_DLG:
        return new CSaleInQueryDlg;
    case ID_ENTRY_DLG:
        return new CEntryDlg;
    case ID_ENTRY_QUERY_DLG:
        return new CEntryQueryDlg;
    case ID_INVENTORY_DLG:
        return new CInventoryDlg;
    case ID_STOCKTAKE_DLG:
        return new CStocktakeDlg;
    case ID_ACCOUNT_DLG:
        return new CAccountDlg;
    case ID_REPORT_DLG:
        return new CReportDlg;
    case ID_CLASS_DLG:
        return new CClassDlg;
    case ID_PRINT_CODE_BUTTON:
        return new CPrintCodeDlg;
    case ID_SUPPLIER_DLG:
        return new CSupplierDlg;
    case ID_CUSTOMER_BUTTON:
        return new CCustomerDlg;
    case ID_EMPLOYEE_BUTTON:
        return new CEmployeeDlg;
    default:
        return nullptr;
    }
}

bool RunModalDialog(int command, QWidget* parent) {
    if (command != ID_COMPANYINFO_BUTTON)
        return false;
    CCompanyinfoDlg dialog(parent);
    dialog.exec();
    return true;
}
