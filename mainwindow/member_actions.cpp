// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/member_actions.h"

#include "client/member_programs.h"
#include "client/network_commands.h"
#include "mainwindow/roster_view.h"
#include "settings/options_file.h"
#include "toolkit/toolkit.h"

namespace {

std::string SelectedAddress() {
    return MemberAddress(SelectedRowText());
}

}  // namespace

void PingSelectedMember() {
    PingMember(SelectedAddress());
}

void BrowseSelectedMember() {
    BrowseMember(SelectedAddress());
}

void ControlSelectedMember() {
    ControlMemberPc(SelectedAddress(), Options.VNCViewer, Options.VNCViewerParms);
}

void GiveControlToSelectedMember() {
    GiveControlToMember(SelectedAddress(), Options.GiveControlApp, Options.GiveControlParms);
}

void CopyMemberAddress() {
    CopyToClipboard(SelectedAddress());
}

void EvictSelectedMember() {
    if (Options.ConfirmEvict == 1 &&
        !AskYesNo("Hamachi", "Are you sure you want to evict this user?")) {
        return;
    }
    const std::string address = SelectedAddress();
    ShowOutcome(EvictMember(SelectedMemberNetwork(), address));
}
