// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/network_dialog.h"

#include "dialogs/entry_text.h"
#include "toolkit/toolkit.h"

bool SubmitNetworkDialog(const NetworkDialog& dialog) {
    const std::optional<std::string> name = EntryForClient(dialog.nameGadget);
    if (!name) return false;
    // The password is read only for a name that is not empty.
    std::optional<std::string> password;
    if (!name->empty() && !(password = EntryForClient(dialog.passwordGadget))) return false;
    const Outcome outcome = SubmitNetwork(dialog.request, *name, password.value_or(""));
    if (outcome.message) MessageOk(outcome.message->title, outcome.message->text);
    if (outcome.done) CloseWindow(dialog.window);
    return outcome.done;
}
