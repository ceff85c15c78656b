// Logging in and out with the login button, and leaving through "Exit".
#pragma once

// Set when Exit stopped the client; the watchdog then offers no restart.
extern bool ClientStoppedByUser;

void ToggleLogin();
void ConfirmExit();
