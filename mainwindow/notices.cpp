// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/notices.h"

#include "client/shell.h"
#include "settings/options_file.h"
#include "toolkit/toolkit.h"

namespace {

void Tell(const std::string& summary, const std::string& body) {
    if (Options.Notifications != 0) Notify(summary, body);
}

}  // namespace

void NoticeMemberChanges(const std::string& before, const std::vector<RosterRow>& after) {
    if (before.empty() || Options.Notifications == 0) return;
    for (const MemberChange& change : MemberChanges(before, after)) {
        Tell(MemberNickname(change.member) + (change.online ? " is online" : " went offline"),
             MemberAddress(change.member) + " in " + change.network);
    }
}

void NoticeClientGone() {
    Tell("Hamachi is no longer running", "It was stopped outside Corvane.");
}

// Only the command and its sub-command: the rest may be a password.
void NoticeCommandCutShort(const std::string& commandLine) {
    const size_t second = commandLine.find(' ', commandLine.find(' ') + 1);
    Tell("Hamachi did not answer", "\"" + commandLine.substr(0, second) + "\" was ended after " +
                                       std::to_string(CommandTimeLimitMs / 1000) + " seconds.");
}
