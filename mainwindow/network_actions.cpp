// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/network_actions.h"

#include "client/network_commands.h"
#include "mainwindow/roster_view.h"
#include "toolkit/toolkit.h"

namespace {

std::string SelectedNetwork() {
    return NetworkName(SelectedRowText());
}

}  // namespace

void GoOnline() {
    ShowOutcome(SetNetworkOnline(SelectedNetwork(), true));
}

void GoOffline() {
    ShowOutcome(SetNetworkOnline(SelectedNetwork(), false));
}

void LeaveSelectedNetwork() {
    ShowOutcome(LeaveNetwork(SelectedNetwork()));
}

void DeleteSelectedNetwork() {
    if (!AskYesNo("Hamachi", "Are you sure you want to irreversibly destroy selected network?")) {
        return;
    }
    ShowOutcome(DeleteNetwork(SelectedNetwork()));
}
