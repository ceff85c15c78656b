// SPDX-License-Identifier: GPL-2.0-or-later
// What the create and join dialogs share: a name and a password sent to one
// sub-command, and one phrase of the client's answer that keeps the dialog open.
#pragma once

struct NetworkDialog {
    int window;
    int nameGadget;
    int passwordGadget;
    const char* subcommand;  // "create" or "join"
    const char* refusal;     // the phrase in the client's answer that keeps the dialog
    const char* message;     // shown when it does
};

// Sends the trimmed name and the password as typed; closes the dialog and
// refreshes the roster unless the name is empty or the client refused.
void SubmitNetworkDialog(const NetworkDialog& dialog);
