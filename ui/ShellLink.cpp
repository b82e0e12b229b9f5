#include "ui/ShellLink.h"

namespace {
CShellLink* g_pLink = nullptr;
}

void SetShellLink(CShellLink* link) {
    g_pLink = link;
}

CShellLink* ShellLink() {
    return g_pLink;
}
