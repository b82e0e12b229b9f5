#include "documents/ListPrintJob.h"

#include <QtGlobal>

#include "ui/CommandIds.h"
#include "ui/ShellLink.h"

ListPrintData& PrintListSlots(int kind) {
    if (CShellLink* link = ShellLink()) {
        if (ListPrintData* list = link->PrintList(kind))
            return *list;
    }
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
    if (CShellLink* link = ShellLink())
        link->SelectPrintKind(kind);
}

void SetPagedPrinting(bool paged) {
    if (CShellLink* link = ShellLink())
        link->SetPagedPrinting(paged);
}

bool IsPagedPrinting() {
    CShellLink* link = ShellLink();
    return link && link->IsPagedPrinting();
}

void RunListPrint(int mode) {
    CShellLink* link = ShellLink();
    if (!link)
        return;
    switch (mode) {
    case 1:
        link->RunCommand(ID_FILE_PRINT_DIRECT);
        return;
    case 2:
        SetPagedPrinting(true);
        link->RunCommand(ID_FILE_PRINT_SETUP);
        return;
    case 3:
        link->RunCommand(ID_FILE_PRINT_PREVIEW);
        return;
    default:
        return;
    }
}
