// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/nickname.h"

#include <algorithm>
#include <string>

#include "client/client_state.h"
#include "client/command_runner.h"
#include "common/identifiers.h"
#include "toolkit/toolkit.h"

void OpenNicknameDialog() {
    const int w = NicknameWindow;
    if (!OpenWindow(w, "Change Nickname", 300, 117, WindowCentered)) return;
    AddLabel(GadgetCurrentNickCaption, w, 5, 12, 95, 15, "Current nick:", Align::Left);
    AddLabel(GadgetNewNickCaption, w, 5, 43, 95, 15, "New nickname:", Align::Left);
    // Logged out, the status line shows a status instead: that is taken too.
    const std::string shown = GadgetText(GadgetStatus);
    AddEntry(GadgetCurrentNick, w, 105, 10, 190, 20, shown);
    AddEntry(GadgetNewNick, w, 105, 40, 190, 20, shown);
    AddButton(GadgetNicknameChange, w, 60, 80, 75, 25, "Change");
    AddButton(GadgetNicknameCancel, w, 150, 80, 75, 25, "Cancel");
    SetGadgetSensitive(GadgetCurrentNick, false);
    SetGadgetAccessibleName(GadgetCurrentNick, "Current nick:");
    SetGadgetAccessibleName(GadgetNewNick, "New nickname:");
    ShowWindow(w);
}

void ChangeNickname() {
    const std::string nickname = GadgetText(GadgetNewNick);
    if (nickname == ClientNickname) return;
    WaitForRunner();
    std::string answer = RunCommand("hamachi set-nick " + ShellQuote(nickname));
    answer.erase(std::remove(answer.begin(), answer.end(), '\n'), answer.end());
    if (answer != "Setting nickname .. ok") {
        MessageOk("Hamachi", "Error: could not set new nick name.");
        return;
    }
    ClientNickname = nickname;
    CloseWindow(NicknameWindow);
    SetGadgetText(GadgetNickname, nickname);
    SetGadgetText(GadgetStatus, nickname);
}
