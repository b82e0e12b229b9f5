#pragma once

#include "ui/ListPrintData.h"

// The home view's list slots and its print commands, for the windows that print lists.
//
//   ListPrintData& list = HandOverList(3);  // emptied; kind 3 is now the one that prints
//   list.m_strListTitle = "销售统计清单";
//   list.SetRowCount(rows); list.SetCell(1, 0, "单号"); ...
//   RunListPrint(1);
//
// Without a main window (a window tested on its own) the slots are the program's own spare
// ones and the commands do nothing.

// The slots of a kind (1 to 4) as they stand.
ListPrintData& PrintListSlots(int kind);
// Empties the slots of a kind and makes it the kind that prints.
ListPrintData& HandOverList(int kind);
// Makes a kind (1 to 4) the one that prints, with whatever its slots hold.
void SelectPrintKind(int kind);
// true: the paper of the print setup, as many pages as needed; false: one page of custom length.
void SetPagedPrinting(bool paged);
bool IsPagedPrinting();
// 1 print at once on the current printer, 2 paged printing and the print setup, 3 preview.
void RunListPrint(int mode);
