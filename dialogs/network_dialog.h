// SPDX-License-Identifier: GPL-2.0-or-later
// What the create and join dialogs share: a name and a password sent to one
// sub-command.
#pragma once

#include "client/network_commands.h"

struct NetworkDialog {
    int window;
    int nameGadget;
    int passwordGadget;
    NetworkRequest request;
};

// Sends the name and the password; closes the dialog and returns true
// unless the name is empty, cannot be sent or the client refused (each is
// said in a message box).
bool SubmitNetworkDialog(const NetworkDialog& dialog);
