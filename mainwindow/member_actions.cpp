// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/member_actions.h"

#include "client/command_runner.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "common/text.h"
#include "settings/options_file.h"
#include "toolkit/toolkit.h"

namespace {

// The terminal hands its -e argument to a shell, so an address that goes
// into it must hold address characters only.  "" (no row selected) is one.
bool PlainAddress(const std::string& address) {
    return address.find_first_not_of("0123456789abcdefABCDEF.:") == std::string::npos;
}

// Starts `program` with before + ADDRESS + after as its parameter string;
// nothing when the selected row's address holds other characters.
void LaunchOnMember(const char* program, const std::string& before, const std::string& after) {
    const std::string address = MemberAddress(SelectedRowText());
    if (!PlainAddress(address)) return;
    LaunchProgram(program, before + address + after, "", false);
}

// The nearest network row above the selected row; "" when there is none.
std::string SelectedMemberNetwork() {
    for (int row = TreeSelectedRow(GadgetRoster) - 1; row >= 0; --row) {
        const std::string text = TreeRowText(GadgetRoster, row);
        if (IsNetworkRow(text)) return NetworkName(text);
    }
    return "";
}

}  // namespace

void PingMember() {
    LaunchOnMember("xterm", "-T Hamachi -e \"ping ", "\"");
}

void BrowseMember() {
    LaunchOnMember("nautilus", "smb://", "");
}

void ControlMemberPc() {
    LaunchOnMember("xterm",
                   "-T VNCviewer -geometry 60x5 -e \"" + VNCViewer + " " + VNCViewerParms + " ",
                   "\"");
}

void GiveControlToMember() {
    LaunchOnMember("xterm", "-T Hamachi -e \"" + GiveControlApp + " " + GiveControlParms + " ",
                   "\"");
}

void CopyMemberAddress() {
    CopyToClipboard(MemberAddress(SelectedRowText()));
}

void EvictMember() {
    if (ConfirmEvict == 1 && !AskYesNo("Hamachi", "Are you sure you want to evict this user?")) {
        return;
    }
    const std::string address = MemberAddress(SelectedRowText());
    const std::string network = SelectedMemberNetwork();
    WaitForRunner();
    if (Contains(RunCommand("hamachi evict " + ShellQuote(network) + " " + ShellQuote(address)),
                 "denied")) {
        MessageOk("Error", "Evict user failed, access denied");
        return;
    }
    RefreshRoster();
}
