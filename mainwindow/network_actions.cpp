// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/network_actions.h"

#include "client/command_runner.h"
#include "client/roster.h"
#include "common/text.h"
#include "toolkit/toolkit.h"

namespace {

// The name reaches the client as one argument, whatever it holds: it comes
// from row texts that other people's nicknames can shape.
std::string RunOnNetwork(const std::string& subcommand, const std::string& name) {
    WaitForRunner();
    return RunCommand("hamachi " + subcommand + " " + ShellQuote(name));
}

// The watchdog's next refresh shows the new state.
void SetOnline(const std::string& subcommand) {
    const std::string answer = RunOnNetwork(subcommand, NetworkName(SelectedRowText()));
    if (Contains(answer, "failed")) MessageOk("Hamachi", answer);
}

}  // namespace

void GoOnline() {
    SetOnline("go-online");
}

void GoOffline() {
    SetOnline("go-offline");
}

void LeaveNetwork() {
    const std::string name = NetworkName(SelectedRowText());
    if (Contains(RunOnNetwork("leave", name), "you are an owner")) {
        MessageOk("Hamachi", "Leaving " + name + " failed, you are an owner");
        return;
    }
    RefreshRoster();
}

void DeleteNetwork() {
    if (!AskYesNo("Hamachi", "Are you sure you want to irreversibly destroy selected network?")) {
        return;
    }
    const std::string name = NetworkName(SelectedRowText());
    if (Contains(RunOnNetwork("delete", name), "not an owner")) {
        MessageOk("Hamachi", "Delete " + name + " failed, you are not an owner");
        return;
    }
    RefreshRoster();
}
