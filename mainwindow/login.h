// SPDX-License-Identifier: GPL-2.0-or-later
// Logging in and out with the login button, and leaving through "Exit".
#pragma once

// The program ends after the current pass of the event loop.
extern bool QuitRequested;
// The program ends at once, without finishing the pass.
extern bool EndRequested;
// Set when Exit stopped the client; the watchdog then offers no restart.
extern bool ClientStoppedByUser;

void ToggleLogin();
void ConfirmExit();
