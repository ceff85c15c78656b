#include "mainwindow/network_actions.h"

#include "client/roster.h"
#include "mainwindow/identifiers.h"
#include "toolkit/toolkit.h"

void OpenRosterMenu() {
    ShowPopupMenu(IsNetworkRow(SelectedRowText()) ? MenuNetwork : MenuMember);
}

// The network commands arrive with their own change; the menu already routes here.
void GoOnline() {}
void GoOffline() {}
void LeaveNetwork() {}
void DeleteNetwork() {}
