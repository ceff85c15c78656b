// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/nickname.h"

#include "client/nickname.h"
#include "dialogs/entry_text.h"
#include "toolkit/toolkit.h"

NicknameDialogState NicknameDialog;

void OpenNicknameDialog(const std::string& shown) {
    const int w = NicknameWindow;
    if (!OpenWindow(w, "Change Nickname", 300, 117, WindowCentered)) return;
    NicknameDialog.Filled = shown;
    AddLabel(GadgetCurrentNickCaption, w, 5, 12, 95, 15, "Current nick:", Align::Left);
    AddLabel(GadgetNewNickCaption, w, 5, 43, 95, 15, "New nickname:", Align::Left);
    AddEntry(GadgetCurrentNick, w, 105, 10, 190, 20, shown);
    AddEntry(GadgetNewNick, w, 105, 40, 190, 20, shown);
    AddButton(GadgetNicknameChange, w, 60, 80, 75, 25, "Change");
    AddButton(GadgetNicknameCancel, w, 150, 80, 75, 25, "Cancel");
    SetGadgetSensitive(GadgetCurrentNick, false);
    SetGadgetAccessibleName(GadgetCurrentNick, "Current nick:");
    SetGadgetAccessibleName(GadgetNewNick, "New nickname:");
    ShowWindow(w);
}

bool ChangeNickname() {
    const std::optional<std::string> nickname = EntryForClient(GadgetNewNick);
    // Unedited, the entry may hold a status ("offline"), never to be sent.
    if (!nickname || *nickname == NicknameDialog.Filled) return false;
    const Outcome outcome = SetNickname(*nickname);
    if (outcome.message) MessageOk(outcome.message->title, outcome.message->text);
    if (outcome.done) CloseWindow(NicknameWindow);
    return outcome.done;
}
