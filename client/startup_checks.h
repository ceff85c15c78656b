// SPDX-License-Identifier: GPL-2.0-or-later
// What start-up makes sure of before the main window opens, and starting
// the client.  Each check reports back; the caller ends the program.
#pragma once

#include <string>

// The value of USER, read once at start-up.
extern std::string CurrentUser;

// Where the client can be obtained, shown when it is missing.
extern const char* const ClientDownloadAddress;

// Reads USER, then makes sure that tuncfg runs, that the client answers and
// that it has a configuration (offering to fix the first and the last), and
// sets ClientRunning and ClientLoggedIn from the probe.  False when the
// program must end; the user has then been told why where there is a reason.
bool CheckClient();

// Starts the client and gives it about three seconds to come up; false
// (after saying so) when it does not.
bool StartClient();
