#pragma once

#include <QRect>

class ListPrintData;

// What the windows ask of the program's main window: its print-list slots and print
// commands, opening a window as a user's command does, and connecting again after the
// database went away. The application object sets itself as the link; a window used on its
// own (without the main window) finds none and does without.
class CShellLink {
  public:
    virtual ~CShellLink() = default;

    // The home view's slots of a print kind (1 to 4); null without a main window.
    virtual ListPrintData* PrintList(int kind) = 0;
    // Makes a kind (1 to 4, 0 none) the one that prints.
    virtual void SelectPrintKind(int kind) = 0;
    virtual void SetPagedPrinting(bool paged) = 0;
    virtual bool IsPagedPrinting() const = 0;
    // Runs a command of the main window (CommandIds.h); false without a main window.
    virtual bool RunCommand(int id) = 0;
    // The home view's work area in global coordinates.
    virtual QRect WorkArea() const = 0;
    // Closes the lost connection and shows the LAN settings, which connect again.
    virtual void ReconnectFromSettings() = 0;
};

void SetShellLink(CShellLink* link);
// The link, or null when no application object set one.
CShellLink* ShellLink();
