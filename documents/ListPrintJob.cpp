#include "documents/ListPrintJob.h"

#include "app/CHarborApp.h"
#include "app/CHarborView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"

namespace {

CHarborView* HomeView() {
    return theApp.m_pMainWnd ? theApp.m_pMainWnd->View() : nullptr;
}

} // namespace

ListPrintData& PrintListSlots(int kind) {
    if (CHarborView* view = HomeView())
        return view->PrintList(kind);
    static ListPrintData spare[4] = {ListPrintData(1), ListPrintData(2), ListPrintData(3),
                                     ListPrintData(4)};
    return spare[qBound(1, kind, 4) - 1];
}

ListPrintData& HandOverList(int kind) {
    ListPrintData& list = PrintListSlots(kind);
    list.Clear();
    SelectPrintKind(kind);
    return list;
}

void SelectPrintKind(int kind) {
    if (CHarborView* view = HomeView())
        view->m_nPrintKind = (kind >= 1 && kind <= 4) ? kind : 0;
}

void SetPagedPrinting(bool paged) {
    if (CHarborView* view = HomeView())
        view->m_bPaged = paged;
}

bool IsPagedPrinting() {
    CHarborView* view = HomeView();
    return view && view->m_bPaged;
}

void RunListPrint(int mode) {
    CMainFrame* frame = theApp.m_pMainWnd;
    if (!frame)
        return;
    switch (mode) {
    case 1:
        frame->OnCommand(ID_FILE_PRINT_DIRECT);
        return;
    case 2:
        SetPagedPrinting(true);
        frame->OnCommand(ID_FILE_PRINT_SETUP);
        return;
    case 3:
        frame->OnCommand(ID_FILE_PRINT_PREVIEW);
        return;
    default:
        return;
    }
}
