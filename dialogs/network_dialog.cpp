// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/network_dialog.h"

#include <string>

#include "client/command_runner.h"
#include "client/roster.h"
#include "common/text.h"
#include "toolkit/toolkit.h"

void SubmitNetworkDialog(const NetworkDialog& dialog) {
    const std::string name = GadgetText(dialog.nameGadget);
    // Tested before trimming: a name of blanks is sent, as an empty one.
    if (name.empty()) {
        MessageOk("Hamachi", "Please enter a network name");
        return;
    }
    const std::string password = GadgetText(dialog.passwordGadget);
    const std::string line = std::string("hamachi ") + dialog.subcommand + " " +
                             ShellQuote(Trim(name)) + " " + ShellQuote(password);
    WaitForRunner();
    if (Contains(RunCommand(line), dialog.refusal)) {
        MessageOk("Hamachi", dialog.message);
        return;
    }
    CloseWindow(dialog.window);
    RefreshRoster();
}
