// SPDX-License-Identifier: GPL-2.0-or-later
// Window 6, "Change Nickname".
#pragma once

#include <string>

constexpr int NicknameWindow = 6;

enum NicknameGadget {
    GadgetCurrentNickCaption = 67,
    GadgetNewNickCaption = 68,
    GadgetCurrentNick = 69,
    GadgetNewNick = 70,
    GadgetNicknameChange = 71,
    GadgetNicknameCancel = 72,
};

struct NicknameDialogState {
    std::string Filled;  // what both entries were filled with
};
extern NicknameDialogState NicknameDialog;

// Builds the dialog with `shown` (what the main window's status line shows:
// the nickname, or a status while logged out) in both entries, the first
// one greyed.
void OpenNicknameDialog(const std::string& shown);
// "Change": sends an edited nickname; on the client's exact "ok" closes the
// dialog and returns true (the caller shows the new nickname).
bool ChangeNickname();
